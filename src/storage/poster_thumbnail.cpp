#include "storage/poster_thumbnail.h"

#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "canvas/poster_content.h"
#include "capture/poster_renderer.h"
#include "platform/file_picture_loader.h"
#include "platform/picture_loader.h"
#include "platform/save_file.h"
#include "platform/thumbnail_cache.h"
#include "storage/read_poster.h"

namespace pastel {

namespace {

// Decodes on the caller's thread: a thumbnail is already made on a worker.
class CallerThreadLoader : public PictureLoader {
 public:
  explicit CallerThreadLoader(PictureLoader& inner) : inner_(inner) {}
  PictureInfo probe(const QString& path) override { return inner_.probe(path); }
  PictureRef load(const QString& path, QSize maxPixels) override {
    return inner_.load(path, maxPixels);
  }

 private:
  PictureLoader& inner_;
};

constexpr int kLargestThumbnail = 2048;

}  // namespace

QImage posterThumbnail(const QString& path, PictureLoader& loader, int width) {
  if (width < 1 || width > kLargestThumbnail) return {};
  CallerThreadLoader here(loader);
  const PosterRead r = readPosterContent(path, &here, PosterContent());
  if (!r.content) return {};
  const PaperScene scene = sceneOf(*r.content);
  const QSize paper(PaperSurface::kWidthPx, PaperSurface::kHeightPx);
  const QSize size(width,
                   std::max(1, int(std::lround(double(width) * paper.height() / paper.width()))));
  // Smaller than the paper: its own pixels averaged down read better than
  // thin lines and letters drawn at a fraction of a pixel.
  if (width <= paper.width())
    return renderScene(scene).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QImage img(size, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  drawScene(p, scene, QRectF(img.rect()));
  return img;
}

QImage posterIcon(const QString& path, PictureLoader& loader) {
  // File managers made theirs with this program's thumbnailer: shared.
  QImage icon = cachedThumbnail(path, ThumbnailSize::Normal);
  if (!icon.isNull() || thumbnailFailed(path)) return icon;
  icon = posterThumbnail(path, loader, int(ThumbnailSize::Normal));
  if (icon.isNull())
    markThumbnailFailed(path);
  else
    storeThumbnail(path, ThumbnailSize::Normal, icon);
  return icon;
}

bool writePosterThumbnail(const QString& input, const QString& output, int size) {
  FilePictureLoader loader;
  const QImage img = posterThumbnail(input, loader, size);
  if (img.isNull()) return false;
  QSaveFile file(output);
  if (!file.open(QIODevice::WriteOnly) || !img.save(&file, "PNG")) return false;
  return commitWhole(file);
}

}  // namespace pastel
