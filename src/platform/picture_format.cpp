#include "platform/picture_format.h"

#include <algorithm>

namespace pastel {

namespace {

unsigned u8(const QByteArray& b, int i) { return static_cast<unsigned char>(b[i]); }
unsigned le16(const QByteArray& b, int i) { return u8(b, i) | u8(b, i + 1) << 8; }
unsigned le32(const QByteArray& b, int i) { return le16(b, i) | le16(b, i + 2) << 16; }
unsigned be32(const QByteArray& b, int i) {
  return u8(b, i) << 24 | u8(b, i + 1) << 16 | u8(b, i + 2) << 8 | u8(b, i + 3);
}

bool isBmp(const QByteArray& h) {
  if (h.size() < 18 || h[0] != 'B' || h[1] != 'M') return false;
  return isBmpInfoHeaderSize(le32(h, 14));
}

bool isWmf(const QByteArray& h) {
  if (h.size() >= 4 && le32(h, 0) == 0x9AC6CDD7u) return true;
  // Standard header: type 1 (memory) or 2 (disk), 9 words long, version 0x100/0x300.
  if (h.size() < 18) return false;
  const unsigned type = le16(h, 0), words = le16(h, 2), version = le16(h, 4);
  return (type == 1 || type == 2) && words == 9 && (version == 0x100 || version == 0x300);
}

// An ISO media file whose brands name a HEIF picture coded with HEVC. The
// generic image brand (mif1) alone does not: AVIF carries it too.
bool isHeif(const QByteArray& h) {
  if (h.size() < 16 || h.mid(4, 4) != "ftyp") return false;
  const qsizetype end = std::min<qsizetype>(h.size(), be32(h, 0));
  auto hevcBrand = [](const QByteArray& b) {
    return b == "heic" || b == "heix" || b == "heim" || b == "heis" || b == "hevc" || b == "hevx";
  };
  if (hevcBrand(h.mid(8, 4))) return true;
  for (qsizetype at = 16; at + 4 <= end; at += 4)
    if (hevcBrand(h.mid(at, 4))) return true;
  return false;
}

}  // namespace

PictureFormat sniffPictureFormat(const QByteArray& h) {
  if (isBmp(h)) return PictureFormat::Bmp;
  if (h.size() >= 3 && u8(h, 0) == 0xFF && u8(h, 1) == 0xD8 && u8(h, 2) == 0xFF)
    return PictureFormat::Jpeg;
  if (h.startsWith("GIF87a") || h.startsWith("GIF89a")) return PictureFormat::Gif;
  if (isWmf(h)) return PictureFormat::Wmf;
  if (h.startsWith("\x89PNG\r\n\x1a\n")) return PictureFormat::Png;
  if (h.size() >= 12 && h.startsWith("RIFF") && h.mid(8, 4) == "WEBP") return PictureFormat::WebP;
  if (h.startsWith(QByteArrayView("II*\0", 4)) || h.startsWith(QByteArrayView("MM\0*", 4)))
    return PictureFormat::Tiff;
  if (isHeif(h)) return PictureFormat::Heif;
  return PictureFormat::None;
}

const char* qtFormatName(PictureFormat f) {
  switch (f) {
    case PictureFormat::Bmp:
      return "bmp";
    case PictureFormat::Jpeg:
      return "jpeg";
    case PictureFormat::Gif:
      return "gif";
    case PictureFormat::Png:
      return "png";
    case PictureFormat::WebP:
      return "webp";
    case PictureFormat::Tiff:
      return "tiff";
    default:
      return nullptr;
  }
}

bool pixelSizeAllowed(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

// The Windows and OS/2 info headers our reader understands.
bool isBmpInfoHeaderSize(quint32 size) {
  switch (size) {
    case 12:
    case 16:
    case 40:
    case 52:
    case 56:
    case 64:
    case 108:
    case 124:
      return true;
    default:
      return false;
  }
}

}  // namespace pastel
