#pragma once
#include <QIODevice>
#include <QImage>
#include <QSize>

namespace pastel {

// HEIF/HEIC pictures through libheif, read from an open, seekable device:
// libheif reads the boxes it needs and the coded data of the one image it
// decodes, not the whole file.
//
// The primary image is shown turned and mirrored as its irot/imir say
// (libheif applies them while decoding). An EXIF orientation inside the file
// is not applied as well: in HEIF only those properties turn a picture, and
// phones write both, so applying the EXIF tag too would turn twice.

// No image or tile of a HEIF file may be wider or taller than this: a grid
// may claim a small picture yet describe a huge one, which libheif then
// refuses before allocating it.
inline constexpr int kHeifMaxSide = 8192;

// The primary image's size as shown (after turning). Invalid when the file
// cannot be read or its size is beyond the picture limits.
QSize heifPictureSize(QIODevice& device);

struct HeifDecoded {
  QImage image;   // as shown, not yet fitted exactly; null when broken
  QSize natural;  // the primary image's size as shown
};

// The primary image, wanted no larger than `box`. An embedded thumbnail
// stands in when it is at least the size the box fits the picture to and
// has the picture's shape (within 2 %, after turning), as a camera JPEG's
// does. Else, as HEVC cannot decode scaled, the picture is decoded whole and
// brought down by a whole factor, no smaller than the box fits it to.
HeifDecoded decodeHeif(QIODevice& device, QSize box);

}  // namespace pastel
