#pragma once
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace pastel {

// What goes on the page: the grab's pixels, or the grab drawn again at the
// printer's resolution where it can be.
struct PaperPrint {
  QImage grab;
  std::function<void(QPainter&, const QRectF&)> drawSharp;
};

// Portrait when the picture is at least as tall as it is wide.
QPageLayout::Orientation orientationFor(QSizeF picture);

// The picture's shape grown to the printable area: its full width when the
// picture is as wide or wider in shape, else its full height. Same unit as
// the printable size.
QSizeF drawnSize(QSizeF picture, QSizeF printable);

// Sets the orientation, measures the printable area in HiMetric and begins
// `painter` on the page to draw the picture at the area's top left, as large
// as fits. The caller ends the document by ending the painter. Returns the
// drawn rectangle in device units; empty when the page could not be begun.
QRectF printScaledToPage(QPagedPaintDevice& page, QPainter& painter, const PaperPrint& what);

}  // namespace pastel
