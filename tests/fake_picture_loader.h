#pragma once
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/picture_loader.h"
#include "platform/twips.h"

namespace pastel::test {

// Pictures from their file names alone: "anything_3000x1000.bmp" is a solid
// picture whose natural size is 3000 x 1000 twips; a name holding "broken"
// cannot be decoded. Nothing is read from disk.
class FakePictureLoader : public PictureLoader {
 public:
  // Natural size in HiMetric that comes back as exactly these whole twips,
  // through the loader's own conversion.
  static int himetricFor(int twips) {
    int h = int(std::floor(twips * 2540.0 / 1440.0));
    while (hiMetricToTwips(h) < twips) ++h;
    return h;
  }

  PictureInfo probe(const QString& path) override {
    PictureInfo info;
    int w = 0, h = 0;
    if (!sizeFromName(path, w, h)) return info;
    info.usable = true;
    info.widthHiMetric = himetricFor(w);
    info.heightHiMetric = himetricFor(h);
    return info;
  }

  PictureRef load(const QString& path, QSize maxPixels) override {
    ++loads;
    lastMaxPixels = maxPixels;
    auto pic = std::make_shared<Picture>();
    pic->path = path;
    int w = 0, h = 0;
    if (!sizeFromName(path, w, h)) {
      pic->broken = true;
      return pic;
    }
    pic->widthHiMetric = himetricFor(w);
    pic->heightHiMetric = himetricFor(h);
    QSize px(std::max(1, int(w / kTwipsPerPixel)), std::max(1, int(h / kTwipsPerPixel)));
    if (px.width() > maxPixels.width() || px.height() > maxPixels.height())
      px = px.scaled(maxPixels, Qt::KeepAspectRatio);
    QImage img(px.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    img.fill(colourFor(path));
    pic->image = img;
    return pic;
  }

  // Hands the pictures back last first, as a pool finishing out of order.
  void loadEach(const QStringList& paths, QSize maxPixels,
                const std::function<void(int, PictureRef)>& onEach,
                const LoadCancel& cancel = nullptr) override {
    for (int i = int(paths.size()) - 1; i >= 0 && !isCancelled(cancel); --i)
      onEach(i, load(paths[i], maxPixels));
  }

  static QColor colourFor(const QString& path) {
    const uint h = qHash(QFileInfo(path).fileName());
    return QColor(int(h & 0x7f) + 64, int((h >> 8) & 0x7f) + 64, int((h >> 16) & 0x7f) + 64);
  }

  int loads = 0;
  QSize lastMaxPixels;

 private:
  static bool sizeFromName(const QString& path, int& w, int& h) {
    const QString name = QFileInfo(path).fileName();
    if (name.contains(QLatin1String("broken"))) return false;
    static const QRegularExpression re(QStringLiteral("(\\d+)x(\\d+)"));
    const auto m = re.match(name);
    if (!m.hasMatch()) return false;
    w = m.captured(1).toInt();
    h = m.captured(2).toInt();
    return w > 0 && h > 0;
  }
};

}  // namespace pastel::test
