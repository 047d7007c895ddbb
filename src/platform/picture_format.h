#pragma once
#include <QByteArray>

namespace pastel {

// The kinds of picture file the program reads. Decided from the bytes, never
// from the name: Qt would happily decode WebP or TIFF named ".jpg".
enum class PictureFormat { None, Bmp, Jpeg, Gif, Wmf, Png, WebP, Tiff, Heif };

// Whether a BMP's info header of this size is one the reader understands.
bool isBmpInfoHeaderSize(quint32 size);

// Looks at the first bytes of a file (kSniffBytes are enough).
PictureFormat sniffPictureFormat(const QByteArray& head);
inline constexpr int kSniffBytes = 32;

// Qt's format name for the Qt-decoded kinds; nullptr for the others.
const char* qtFormatName(PictureFormat f);

// Limits on what one file may cost. A header is refused when it claims more
// than kMaxPicturePixels (24 megapixels: a 6000 x 4000 photo still loads, a
// 5000 x 5000 GIF of 35 bytes does not) or a side beyond kMaxPictureSide.
inline constexpr long long kMaxPicturePixels = 24'000'000;
inline constexpr int kMaxPictureSide = 20'000;
// Files larger than this are not read at all.
inline constexpr long long kMaxPictureFileBytes = 256LL * 1024 * 1024;

bool pixelSizeAllowed(long long width, long long height);

}  // namespace pastel
