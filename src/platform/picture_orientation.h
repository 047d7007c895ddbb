#pragma once
#include <QImage>
#include <QSize>

namespace pastel {

// Orientation as a camera marks it (EXIF tag 274): 1 upright, 2 mirrored,
// 3 upside down, 4 flipped, 5 to 8 stored on their side (6 turned a quarter
// clockwise to show, 8 anticlockwise, 5 and 7 mirrored too). Anything
// else counts as 1.
int usableOrientation(int tag);

// The size a stored size shows at, and back: 5 to 8 swap the sides.
QSize orientedSize(QSize stored, int orientation);

// Stored pixels turned and mirrored the way the camera meant them shown.
// Exact (no smoothing): only whole quarter turns and mirrors.
QImage orientImage(const QImage& stored, int orientation);

}  // namespace pastel
