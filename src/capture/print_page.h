#pragma once
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace pastel {

// What goes on the page: the grab, or where the window can draw the same
// paper at the printer's resolution, that drawing with the grab's pixels
// laid over it wherever the two differ (strokes on Picture2, say).
struct PaperPrint {
  QImage grab;
  std::function<bool(QPainter&, const QRectF&)> drawSharp;  // false: use the grab
  QImage overlay;  // transparent where the sharp drawing shows the grab
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
