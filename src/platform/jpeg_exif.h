#pragma once
#include <QByteArray>
#include <QIODevice>

namespace pastel {

// A JPEG segment's length field is 16 bits, so no EXIF block is larger.
inline constexpr int kMaxExifBytes = 65533;

// The EXIF block of a JPEG (the APP1 segment's payload, from "Exif\0\0"),
// read from the device's current position, which is kept. Empty when the
// file has none before its first scan. Only the segment headers and that
// one payload are read.
QByteArray readExifSegment(QIODevice& device);

// What the program uses of a photo's EXIF block.
struct JpegExif {
  int orientation = 1;   // 1..8, see picture_orientation.h
  QByteArray thumbnail;  // the embedded thumbnail's bytes, unchecked
};

// Reads an EXIF block with libexif. Each call has its own ExifData, so the
// loader's worker threads may call it at once. Bad data gives the defaults.
JpegExif parseJpegExif(const QByteArray& exifSegment);

}  // namespace pastel
