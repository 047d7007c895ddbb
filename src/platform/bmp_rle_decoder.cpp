#include "platform/bmp_rle_decoder.h"

#include <QVector>

#include "platform/picture_format.h"

namespace pastel {

namespace {

constexpr unsigned kRle8 = 1, kRle4 = 2;

unsigned u8(const QByteArray& b, qsizetype i) { return static_cast<unsigned char>(b[i]); }
unsigned le16(const QByteArray& b, qsizetype i) { return u8(b, i) | u8(b, i + 1) << 8; }
quint32 le32(const QByteArray& b, qsizetype i) {
  return le16(b, i) | quint32(le16(b, i + 2)) << 16;
}

struct Header {
  qint32 width = 0, height = 0;
  unsigned bits = 0, compression = 0;
  quint32 dataOffset = 0, infoSize = 0, colours = 0;
};

bool readHeader(const QByteArray& f, Header& h) {
  if (f.size() < 54 || f[0] != 'B' || f[1] != 'M') return false;
  h.dataOffset = le32(f, 10);
  h.infoSize = le32(f, 14);
  if (h.infoSize < 40 || h.infoSize > 124) return false;
  h.width = qint32(le32(f, 18));
  h.height = qint32(le32(f, 22));
  h.bits = le16(f, 28);
  h.compression = le32(f, 30);
  h.colours = le32(f, 46);
  return true;
}

class RleWriter {
 public:
  RleWriter(QImage& img, const QVector<QRgb>& palette)
      : bits_(img.bits()),
        stride_(img.bytesPerLine()),
        w_(img.width()),
        h_(img.height()),
        palette_(palette) {}
  bool done() const { return y_ >= h_; }
  void put(unsigned index) {
    if (x_ < w_ && !done()) {
      // Rows are stored bottom-up.
      reinterpret_cast<QRgb*>(bits_ + (h_ - 1 - y_) * stride_)[x_] = colour(index);
    }
    x_ = qMin(x_ + 1, w_);
  }
  // `count` pixels alternating between two palette entries, clipped to the row.
  void run(unsigned count, unsigned first, unsigned second) {
    const int n = done() ? 0 : qMin(int(count), w_ - x_);
    if (n > 0) {
      const QRgb a = colour(first), b = colour(second);
      QRgb* row = reinterpret_cast<QRgb*>(bits_ + (h_ - 1 - y_) * stride_) + x_;
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
    y_ = qMin(y_ + int(dy), h_);
  }

 private:
  QRgb colour(unsigned index) const {
    return index < unsigned(palette_.size()) ? palette_[index] : qRgb(0, 0, 0);
  }
  uchar* bits_;
  qsizetype stride_;
  int w_, h_;
  const QVector<QRgb>& palette_;
  int x_ = 0, y_ = 0;
};

}  // namespace

bool isRleBmp(const QByteArray& file) {
  Header h;
  return readHeader(file, h) && (h.compression == kRle8 || h.compression == kRle4);
}

bool bmpPixelsComplete(const QByteArray& f) {
  if (f.size() < 26) return false;
  const quint32 offset = le32(f, 10), info = le32(f, 14);
  qint64 width, height;
  unsigned bits;
  if (info == 12) {
    width = le16(f, 18);
    height = le16(f, 20);
    bits = le16(f, 24);
  } else {
    Header h;
    if (!readHeader(f, h)) return false;
    if (h.compression != 0 && h.compression != 3) return true;  // not ours to measure
    width = h.width;
    height = h.height < 0 ? -qint64(h.height) : h.height;
    bits = h.bits;
  }
  const qint64 rowBytes = (width * bits + 31) / 32 * 4;
  return width > 0 && rowBytes > 0 && qint64(offset) + rowBytes * height <= f.size();
}

QImage decodeRleBmp(const QByteArray& f) {
  Header h;
  if (!readHeader(f, h)) return {};
  const bool four = h.compression == kRle4;
  if (!(h.compression == kRle8 && h.bits == 8) && !(four && h.bits == 4)) return {};
  // RLE bitmaps are always bottom-up: a negative height is not allowed.
  if (!pixelSizeAllowed(h.width, h.height)) return {};

  const quint32 maxColours = 1u << h.bits;
  const quint32 colours = h.colours == 0 ? maxColours : qMin(h.colours, maxColours);
  const qsizetype paletteAt = 14 + qsizetype(h.infoSize);
  if (paletteAt + qsizetype(colours) * 4 > f.size()) return {};
  QVector<QRgb> palette;
  for (quint32 i = 0; i < colours; ++i) {
    const qsizetype p = paletteAt + qsizetype(i) * 4;
    palette << qRgb(int(u8(f, p + 2)), int(u8(f, p + 1)), int(u8(f, p)));
  }
  if (h.dataOffset < paletteAt || h.dataOffset >= quint32(f.size())) return {};

  QImage img(h.width, h.height, QImage::Format_RGB32);
  if (img.isNull()) return {};
  img.fill(Qt::white);
  RleWriter out(img, palette);

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

}  // namespace pastel
