#pragma once
#include <QImage>
#include <QString>
#include <memory>

namespace pastel {

// A picture as the program holds it: pixels decoded at the size that is
// needed, plus the natural size of the file it came from.
struct Picture {
  QImage image;              // display pixels; null for an empty picture
  int widthHiMetric = 0;     // natural size, 0.01 mm
  int heightHiMetric = 0;
  bool broken = false;       // the file could not be decoded
  QString path;              // file it was loaded from, empty for grabs
};
using PictureRef = std::shared_ptr<const Picture>;

// Wraps pixels made by the program itself (a grab) as a picture whose
// natural size is its pixel size at 96 dpi.
PictureRef pictureFromImage(QImage image);

}  // namespace pastel
