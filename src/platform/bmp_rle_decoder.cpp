#include "platform/bmp_rle_decoder.h"

#include <QVector>
#include <QtAlgorithms>

#include "platform/picture_format.h"

namespace pastel {

namespace {

enum : unsigned { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

unsigned u8(const QByteArray& b, qsizetype i) { return static_cast<unsigned char>(b[i]); }
unsigned le16(const QByteArray& b, qsizetype i) { return u8(b, i) | u8(b, i + 1) << 8; }
quint32 le32(const QByteArray& b, qsizetype i) {
  return le16(b, i) | quint32(le16(b, i + 2)) << 16;
}

struct Header {
  qint64 width = 0, height = 0;  // height as shown, positive
  bool topDown = false;
  unsigned bits = 0, compression = kRgb;
  quint32 dataOffset = 0, infoSize = 0, colours = 0;
  int paletteEntry = 4;   // OS/2 1.x stores three bytes a colour
  quint32 masks[4] = {};  // red, green, blue, alpha
};

bool os2Header(quint32 size) { return size == 12 || size == 16 || size == 64; }

bool readHeader(const QByteArray& f, Header& h) {
  if (f.size() < 26 || f[0] != 'B' || f[1] != 'M') return false;
  h.dataOffset = le32(f, 10);
  h.infoSize = le32(f, 14);
  if (!isBmpInfoHeaderSize(h.infoSize)) return false;
  if (f.size() < 14 + qsizetype(h.infoSize)) return false;
  if (h.infoSize == 12) {
    h.width = le16(f, 18);
    h.height = le16(f, 20);
    h.bits = le16(f, 24);
    h.paletteEntry = 3;
  } else {
    h.width = qint32(le32(f, 18));
    h.height = qint32(le32(f, 22));
    h.bits = le16(f, 28);
    // A short OS/2 2.x header ends before these; what follows is palette.
    if (h.infoSize >= 20) h.compression = le32(f, 30);
    if (h.infoSize >= 36) h.colours = le32(f, 46);
  }
  if (h.height < 0) {
    h.topDown = true;
    h.height = -h.height;
  }
  return true;
}

// Bit fields are one run of bits each, inside the pixel and apart.
bool masksUsable(const quint32 (&m)[4], unsigned bits) {
  if (!(m[0] | m[1] | m[2])) return false;
  quint32 seen = 0;
  for (quint32 mask : m) {
    if (!mask) continue;
    const quint32 run = mask >> qCountTrailingZeroBits(mask);
    if ((run & (run + 1)) != 0 || (seen & mask) != 0) return false;
    if (bits == 16 && mask > 0xFFFFu) return false;
    seen |= mask;
  }
  return true;
}

// Reads the masks, the palette's place and size; false for what is refused.
// `whole` when f is the whole file, not only its head.
bool readLayout(const QByteArray& f, bool whole, Header& h, qsizetype& paletteAt,
                int& paletteSize) {
  paletteAt = 14 + qsizetype(h.infoSize);
  paletteSize = 0;
  const bool os2 = os2Header(h.infoSize);
  switch (h.compression) {
    case kRgb:
      if (h.bits == 16) {
        h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
      } else if (h.bits == 32) {
        h.masks[0] = 0xFF0000, h.masks[1] = 0xFF00, h.masks[2] = 0xFF;
      } else if (h.bits != 1 && h.bits != 2 && h.bits != 4 && h.bits != 8 && h.bits != 24) {
        return false;
      }
      break;
    case kRle8:
      if (h.bits != 8) return false;
      break;
    case kRle4:
      if (h.bits != 4) return false;
      break;
    case kBitFields:
    case kAlphaBitFields: {
      // For OS/2 2.x, 3 is Huffman coding; neither it nor RLE24 is read.
      if (os2 || (h.bits != 16 && h.bits != 32)) return false;
      const int n = h.compression == kAlphaBitFields || h.infoSize >= 56 ? 4 : 3;
      if (f.size() < 54 + 4 * n) return false;
      for (int i = 0; i < n; ++i) h.masks[i] = le32(f, 54 + 4 * i);
      if (h.infoSize == 40) paletteAt += 4 * n;  // the masks follow the header
      if (!masksUsable(h.masks, h.bits)) return false;
      break;
    }
    default:
      return false;
  }
  if (h.bits > 8) return true;
  // A palette shorter than the depth leaves the rest black; none reaches
  // into the pixels (OS/2 1.x files say its length only that way).
  quint32 n = 1u << h.bits;
  if (h.colours != 0 && h.colours < n) n = h.colours;
  if (h.dataOffset < paletteAt) return false;
  n = qMin(n, quint32((h.dataOffset - paletteAt) / h.paletteEntry));
  if (whole && paletteAt + qsizetype(n) * h.paletteEntry > f.size()) return false;
  paletteSize = int(n);
  return true;
}

QVector<QRgb> readPalette(const QByteArray& f, const Header& h, qsizetype at, int size) {
  QVector<QRgb> palette(1 << h.bits, qRgb(0, 0, 0));
  for (int i = 0; i < size; ++i) {
    const qsizetype p = at + qsizetype(i) * h.paletteEntry;
    palette[i] = qRgb(int(u8(f, p + 2)), int(u8(f, p + 1)), int(u8(f, p)));
  }
  return palette;
}

QRgb* rowOf(QImage& img, const Header& h, qint64 stored) {
  return reinterpret_cast<QRgb*>(img.scanLine(int(h.topDown ? stored : h.height - 1 - stored)));
}

class RleWriter {
 public:
  RleWriter(QImage& img, const Header& h, const QVector<QRgb>& palette)
      : img_(img), h_(h), w_(img.width()), rows_(img.height()), palette_(palette) {}
  bool done() const { return y_ >= rows_; }
  void put(unsigned index) {
    if (x_ < w_ && !done()) rowOf(img_, h_, y_)[x_] = palette_[index];
    x_ = qMin(x_ + 1, w_);
  }
  // `count` pixels alternating between two palette entries, clipped to the row.
  void run(unsigned count, unsigned first, unsigned second) {
    const int n = done() ? 0 : qMin(int(count), w_ - x_);
    if (n > 0) {
      const QRgb a = palette_[first], b = palette_[second];
      QRgb* row = rowOf(img_, h_, y_) + x_;
      for (int i = 0; i < n; ++i) row[i] = i % 2 ? b : a;
    }
    x_ = qMin(x_ + int(count), w_);
  }
  void endOfLine() {
    x_ = 0;
    ++y_;
  }
  void delta(unsigned dx, unsigned dy) {
    x_ = qMin(x_ + int(dx), w_);
    y_ = qMin(y_ + int(dy), rows_);
  }

 private:
  QImage& img_;
  const Header& h_;
  int w_, rows_;
  const QVector<QRgb>& palette_;  // every index of the depth has an entry
  int x_ = 0, y_ = 0;
};

QImage decodeRle(const QByteArray& f, const Header& h, const QVector<QRgb>& palette) {
  if (h.dataOffset >= quint32(f.size())) return {};
  QImage img(int(h.width), int(h.height), QImage::Format_RGB32);
  if (img.isNull()) return {};
  img.fill(Qt::white);
  RleWriter out(img, h, palette);
  const bool four = h.compression == kRle4;
  qsizetype pos = h.dataOffset;
  const qsizetype end = f.size();
  auto have = [&](qsizetype n) { return pos + n <= end; };
  while (!out.done()) {
    if (!have(2)) return {};  // cut off before the end-of-bitmap code
    const unsigned count = u8(f, pos), value = u8(f, pos + 1);
    pos += 2;
    if (count > 0) {
      if (four)
        out.run(count, value >> 4, value & 15);
      else
        out.run(count, value, value);
      continue;
    }
    if (value == 0) {
      out.endOfLine();
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (!have(2)) return {};
      out.delta(u8(f, pos), u8(f, pos + 1));
      pos += 2;
    } else {
      // Absolute run of `value` pixels, padded to a 16-bit boundary.
      const qsizetype bytes = four ? (value + 1) / 2 : value;
      if (!have(bytes)) return {};
      for (unsigned i = 0; i < value; ++i) {
        const unsigned b = u8(f, pos + (four ? i / 2 : i));
        out.put(four ? (i % 2 ? b & 15 : b >> 4) : b);
      }
      pos += bytes + (bytes & 1);
    }
  }
  return img;
}

// One bit field widened (or narrowed) to 8 bits, rounded.
class Channel {
 public:
  Channel(quint32 mask, unsigned absent) : mask_(mask), absent_(absent) {
    if (!mask) return;
    shift_ = unsigned(qCountTrailingZeroBits(mask));
    max_ = quint64(mask >> shift_);
    if (max_ <= 0xFFFF) {
      table_.resize(qsizetype(max_) + 1);
      for (quint64 v = 0; v <= max_; ++v) table_[qsizetype(v)] = uchar(scale(v));
    }
  }
  unsigned operator()(quint32 pixel) const {
    if (!mask_) return absent_;
    const quint64 v = (pixel & mask_) >> shift_;
    return table_.isEmpty() ? scale(v) : table_[qsizetype(v)];
  }

 private:
  unsigned scale(quint64 v) const { return unsigned((v * 255 + max_ / 2) / max_); }
  quint32 mask_;
  unsigned absent_, shift_ = 0;
  quint64 max_ = 1;
  QVector<uchar> table_;
};

QImage decodeUncompressed(const QByteArray& f, const Header& h, const QVector<QRgb>& palette) {
  const qint64 rowBytes = (h.width * h.bits + 31) / 32 * 4;
  const qint64 lastRow = (h.width * h.bits + 7) / 8;  // its padding may be missing
  if (qint64(h.dataOffset) + rowBytes * (h.height - 1) + lastRow > f.size()) return {};
  const bool alpha = h.masks[3] != 0;
  QImage img(int(h.width), int(h.height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (img.isNull()) return {};
  const Channel red(h.masks[0], 0), green(h.masks[1], 0), blue(h.masks[2], 0),
      opacity(h.masks[3], 255);
  bool anyOpacity = false;
  const auto* data = reinterpret_cast<const uchar*>(f.constData()) + h.dataOffset;
  for (qint64 y = 0; y < h.height; ++y) {
    const uchar* in = data + y * rowBytes;
    QRgb* out = rowOf(img, h, y);
    for (qint64 x = 0; x < h.width; ++x) {
      if (h.bits <= 8) {
        const qint64 bit = x * h.bits;
        const unsigned index = (in[bit / 8] >> (8 - h.bits - bit % 8)) & ((1u << h.bits) - 1);
        out[x] = palette[index];
      } else if (h.bits == 24) {
        const uchar* p = in + 3 * x;
        out[x] = qRgb(p[2], p[1], p[0]);
      } else {
        const uchar* p = in + x * (h.bits / 8);
        const quint32 v = h.bits == 16
                              ? quint32(p[0] | p[1] << 8)
                              : quint32(p[0] | p[1] << 8 | p[2] << 16) | quint32(p[3]) << 24;
        const unsigned a = opacity(v);
        anyOpacity |= a != 0;
        out[x] = qRgba(int(red(v)), int(green(v)), int(blue(v)), int(a));
      }
    }
  }
  // Pictures whose alpha is zero throughout were written by programs that
  // leave the alpha unused: shown opaque rather than not at all.
  if (alpha && !anyOpacity) {
    for (int y = 0; y < img.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x) row[x] |= 0xFF000000u;
    }
    img.reinterpretAsFormat(QImage::Format_RGB32);
  }
  return img;
}

}  // namespace

bool isRleBmp(const QByteArray& file) {
  Header h;
  return readHeader(file, h) && (h.compression == kRle8 || h.compression == kRle4);
}

QSize bmpHeaderSize(const QByteArray& head) {
  Header h;
  qsizetype paletteAt;
  int paletteSize;
  if (!readHeader(head, h) || !pixelSizeAllowed(h.width, h.height)) return {};
  if (!readLayout(head, false, h, paletteAt, paletteSize)) return {};
  return QSize(int(h.width), int(h.height));
}

QImage decodeBmp(const QByteArray& f) {
  Header h;
  qsizetype paletteAt;
  int paletteSize;
  if (!readHeader(f, h) || !pixelSizeAllowed(h.width, h.height) ||
      !readLayout(f, true, h, paletteAt, paletteSize))
    return {};
  const QVector<QRgb> palette =
      h.bits <= 8 ? readPalette(f, h, paletteAt, paletteSize) : QVector<QRgb>();
  if (h.compression == kRle8 || h.compression == kRle4) return decodeRle(f, h, palette);
  return decodeUncompressed(f, h, palette);
}

}  // namespace pastel
