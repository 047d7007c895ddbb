#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace pastel {

// Every BMP is decoded here, not by Qt: Qt refuses top-down BMPs by their
// negative height, reads most bit-field masks into wrong colours and leaves
// pixels that RLE codes skip uninitialised.

// True when the bytes are a BMP whose pixels are RLE8 or RLE4 compressed.
bool isRleBmp(const QByteArray& file);

// The bytes of a file's start that bmpHeaderSize needs.
inline constexpr int kBmpHeadBytes = 14 + 124 + 16;

// The pixel size a BMP's header gives, bottom-up or top-down; invalid when
// the header is not one decodeBmp reads or claims more pixels than a picture
// may have.
QSize bmpHeaderSize(const QByteArray& head);

// Decodes a BMP of any depth (1, 2, 4, 8, 16, 24, 32 bits; bit fields of any
// width, alpha too, scaled to 8 bits a channel; RLE8 and RLE4; Windows and
// OS/2 headers) into a 32-bit image, ARGB32 when it has an alpha mask. Pixels
// RLE codes skip are white and palette indices past a short palette black,
// so the result never depends on what memory held before. A null image when
// the file is broken, cut short or of a kind it refuses (JPEG or PNG inside,
// OS/2 Huffman and RLE24, masks that are not one run of bits).
QImage decodeBmp(const QByteArray& file);

}  // namespace pastel
