#pragma once
#include <QByteArray>
#include <QImage>

namespace pastel {

// True when the bytes are a BMP whose pixels are RLE8 or RLE4 compressed.
bool isRleBmp(const QByteArray& file);

// False when an uncompressed BMP holds fewer pixel bytes than its header
// promises: Qt decodes such a file without complaint.
bool bmpPixelsComplete(const QByteArray& file);

// Decodes an RLE8/RLE4 BMP into a 32-bit image. Pixels the codes skip (a
// delta, an early end of line or of bitmap) are white, so the result never
// depends on what memory held before. A null image when the file is broken
// or claims more pixels than a picture may have.
QImage decodeRleBmp(const QByteArray& file);

}  // namespace pastel
