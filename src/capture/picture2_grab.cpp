#include "capture/picture2_grab.h"

#include <QPainter>

#include "canvas/poster.h"

namespace pastel {

namespace {

// The pixels drawn on the surface over its picture; null when there are none.
QImage strokesOver(const PaperSurface& s) {
  const QImage& shown = s.image();
  const QImage& under = s.backPicture()->image;
  QImage strokes(shown.size(), QImage::Format_ARGB32);
  strokes.fill(Qt::transparent);
  bool any = false;
  for (int y = 0; y < shown.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
    const QRgb* b = y < under.height() && under.format() == QImage::Format_RGB32
                        ? reinterpret_cast<const QRgb*>(under.constScanLine(y))
                        : nullptr;
    auto* out = reinterpret_cast<QRgb*>(strokes.scanLine(y));
    for (int x = 0; x < shown.width(); ++x) {
      const bool same = b && x < under.width() && (a[x] & 0xffffff) == (b[x] & 0xffffff);
      if (!same) {
        out[x] = a[x] | 0xff000000;
        any = true;
      }
    }
  }
  return any ? strokes : QImage();
}

QPicture withStrokes(const QPicture& base, const QImage& strokes) {
  if (strokes.isNull()) return base;
  QPicture out;
  QPainter painter(&out);
  painter.drawPicture(0, 0, base);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(0, 0, strokes);
  painter.end();
  out.setBoundingRect(base.boundingRect());
  return out;
}

}  // namespace

PaperPrint grabIntoPicture2(Poster& p) {
  PaperPrint what;
  PaperSurface& surface = p.form.surface2;
  if (p.svc.capture) {
    // Both at one moment, so the commands show what the grab shows.
    what.grab = p.svc.capture->grabPaper();
    const bool covered = p.form.picture2.visible && surface.backPicture() &&
                         surface.backPicture() == p.picture2SharpOf && !p.picture2Sharp.isNull();
    what.sharp =
        covered ? withStrokes(p.picture2Sharp, strokesOver(surface)) : p.svc.capture->recordPaper();
  }
  const PictureRef grabbed = pictureFromImage(what.grab);
  surface.setBackPicture(grabbed);
  p.form.picture2.visible = true;
  p.picture2Sharp = what.sharp;
  p.picture2SharpOf = grabbed;
  return what;
}

}  // namespace pastel
