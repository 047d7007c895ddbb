#include "capture/print_page.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace pastel {

namespace {
constexpr double kHiMetricPerInch = 2540;
}

QPageLayout::Orientation orientationFor(QSizeF picture) {
  return picture.height() >= picture.width() ? QPageLayout::Portrait : QPageLayout::Landscape;
}

QSizeF drawnSize(QSizeF picture, QSizeF printable) {
  if (picture.isEmpty() || printable.isEmpty()) return {};
  const double pictureRatio = picture.width() / picture.height();
  const double printerRatio = printable.width() / printable.height();
  if (pictureRatio >= printerRatio) return {printable.width(), printable.width() / pictureRatio};
  return {printable.height() * pictureRatio, printable.height()};
}

QRectF printScaledToPage(QPagedPaintDevice& page, QPainter& painter, const PaperPrint& what) {
  const QSizeF picture = what.grab.size();
  // The orientation first: it turns the printable area that is measured.
  page.setPageOrientation(orientationFor(picture));
  // The printable area in the device's own units, to HiMetric and back.
  const double dpiX = page.logicalDpiX(), dpiY = page.logicalDpiY();
  const QSizeF printable(page.width() * kHiMetricPerInch / dpiX,
                         page.height() * kHiMetricPerInch / dpiY);
  const QSizeF hiMetric = drawnSize(picture, printable);
  if (hiMetric.isEmpty()) return {};
  const QRectF target(0, 0, hiMetric.width() * dpiX / kHiMetricPerInch,
                      hiMetric.height() * dpiY / kHiMetricPerInch);
  if (!painter.begin(&page)) return {};
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setClipRect(target);
  if (what.drawSharp)
    what.drawSharp(painter, target);
  else
    painter.drawImage(target, what.grab);
  return target;
}

}  // namespace pastel
