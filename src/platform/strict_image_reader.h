#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QSize>

#include "platform/picture_format.h"

namespace pastel {

// The pixel size a bmp/jpeg/gif header gives, read with that format's Qt
// handler only. Invalid when the header cannot be read.
QSize qtHeaderSize(QIODevice& device, PictureFormat format);

// Decodes with that format's Qt handler only, at `size` (JPEG scales while
// decoding; the others are scaled afterwards by the caller). A null image
// when Qt fails or reports any warning while reading: Qt decodes a JPEG cut
// off halfway "successfully" and only says so in a warning.
QImage qtReadStrictly(const QByteArray& bytes, PictureFormat format, QSize size);

// True when a JPEG's last scan is followed by its end marker.
bool jpegHasEnd(const QByteArray& bytes);
// The same read from a JPEG file open on a seekable device (the file's start
// at position 0): the segment headers up to the first scan and the last
// kJpegTailBytes only. False, where the bytes could still say true, when no
// end marker lies in those last bytes or the first scan lies beyond
// kJpegMarkersWalked markers.
bool jpegHasEnd(QIODevice& device);
inline constexpr int kJpegTailBytes = 4096;
inline constexpr int kJpegMarkersWalked = 1024;

}  // namespace pastel
