#include "platform/picture_orientation.h"

#include <QTransform>

namespace pastel {

namespace {

QImage quarterTurn(const QImage& image, int degrees) {
  return image.transformed(QTransform().rotate(degrees), Qt::FastTransformation);
}

}  // namespace

int usableOrientation(int tag) { return tag >= 1 && tag <= 8 ? tag : 1; }

QSize orientedSize(QSize stored, int orientation) {
  return usableOrientation(orientation) >= 5 ? stored.transposed() : stored;
}

QImage orientImage(const QImage& stored, int orientation) {
  if (stored.isNull()) return stored;
  switch (usableOrientation(orientation)) {
    case 2:
      return stored.mirrored(true, false);
    case 3:
      return stored.mirrored(true, true);
    case 4:
      return stored.mirrored(false, true);
    case 5:  // transposed: a quarter clockwise, then mirrored left to right
      return quarterTurn(stored, 90).mirrored(true, false);
    case 6:
      return quarterTurn(stored, 90);
    case 7:  // transversed: a quarter clockwise, then upside down
      return quarterTurn(stored, 90).mirrored(false, true);
    case 8:
      return quarterTurn(stored, 270);
    default:
      return stored;
  }
}

}  // namespace pastel
