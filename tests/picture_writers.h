#pragma once
// Small writers for what Qt cannot write (RLE bitmaps, GIF, WMF, a JPEG
// camera's EXIF block, HEIC), shared by the tests, benchmarks and
// tools/make_samples.
#include <QByteArray>
#include <QImage>
#include <QVector>
#include <QtEndian>

namespace pastel::test {

inline void put16(QByteArray& b, unsigned v) {
  b.append(char(v & 255)).append(char((v >> 8) & 255));
}
inline void put32(QByteArray& b, quint32 v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
inline void putBig16(QByteArray& b, unsigned v) {
  b.append(char((v >> 8) & 255)).append(char(v & 255));
}
inline void putBig32(QByteArray& b, quint32 v) {
  putBig16(b, v >> 16);
  putBig16(b, v & 0xFFFF);
}

// A BMP file around ready-made pixel data (compression 0, 1 = RLE8, 2 = RLE4).
inline QByteArray bmpFile(int w, int h, int bits, const QVector<QRgb>& palette,
                          const QByteArray& data, unsigned compression = 0) {
  QByteArray b;
  const quint32 offset = 14 + 40 + 4 * quint32(palette.size());
  b.append("BM");
  put32(b, offset + quint32(data.size()));
  put32(b, 0);
  put32(b, offset);
  put32(b, 40);
  put32(b, quint32(w));
  put32(b, quint32(h));
  put16(b, 1);
  put16(b, unsigned(bits));
  put32(b, compression);
  put32(b, quint32(data.size()));
  put32(b, 3780);
  put32(b, 3780);
  put32(b, quint32(palette.size()));
  put32(b, 0);
  for (QRgb c : palette)
    b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
  return b + data;
}

// A BMP from its info header, what follows that (masks, palette) and its pixels.
inline QByteArray bmpOf(const QByteArray& info, const QByteArray& between,
                        const QByteArray& pixels) {
  const quint32 offset = 14 + quint32(info.size() + between.size());
  QByteArray b("BM");
  put32(b, offset + quint32(pixels.size()));
  put32(b, 0);
  put32(b, offset);
  return b + info + between + pixels;
}

// A Windows info header of `size` bytes (40, 56, 108 or 124); from 56 bytes on
// the masks (red, green, blue, alpha) are inside it.
inline QByteArray bmpInfo(int size, int w, int h, int bits, unsigned compression,
                          QVector<quint32> masks = {}, quint32 colours = 0) {
  QByteArray b;
  for (quint32 v : {quint32(size), quint32(w), quint32(h)}) put32(b, v);
  put16(b, 1);
  put16(b, unsigned(bits));
  for (quint32 v : {quint32(compression), 0u, 3780u, 3780u, colours, 0u}) put32(b, v);
  if (size > 40) {
    masks.resize(4);
    for (quint32 m : masks) put32(b, m);
  }
  b.resize(size, '\0');
  return b;
}

// Rows of `bits`-bit pixel values (24 bits as 0xRRGGBB), top row first,
// each padded to 4 bytes; stored bottom-up unless topDown.
inline QByteArray bmpRows(const QVector<QVector<quint32>>& rows, int bits, bool topDown = false) {
  QByteArray data;
  for (int r = 0; r < rows.size(); ++r) {
    const QVector<quint32>& row = rows[topDown ? r : rows.size() - 1 - r];
    QByteArray out((row.size() * bits + 31) / 32 * 4, '\0');
    for (int x = 0; x < row.size(); ++x) {
      const quint32 v = row[x];
      if (bits <= 8) {
        const int bit = x * bits;
        out[bit / 8] = char(quint8(out[bit / 8]) | v << (8 - bits - bit % 8));
      } else {
        for (int i = 0; i < bits / 8; ++i) out[x * bits / 8 + i] = char((v >> (8 * i)) & 255);
      }
    }
    data += out;
  }
  return data;
}

// Uncompressed 8-bit BMP of an indexed image.
inline QByteArray bmp8File(const QImage& indexed) {
  QByteArray data;
  const int stride = (indexed.width() + 3) & ~3;
  for (int y = indexed.height() - 1; y >= 0; --y) {
    QByteArray row(reinterpret_cast<const char*>(indexed.constScanLine(y)), indexed.width());
    row.resize(stride, '\0');
    data += row;
  }
  return bmpFile(indexed.width(), indexed.height(), 8, indexed.colorTable(), data);
}

// RLE8 (or RLE4 with at most 16 colours) runs of equal pixels, rows bottom-up.
inline QByteArray rleBmpFile(const QImage& indexed, bool four) {
  QByteArray data;
  for (int y = indexed.height() - 1; y >= 0; --y) {
    const uchar* row = indexed.constScanLine(y);
    for (int x = 0; x < indexed.width();) {
      int run = 1;
      while (x + run < indexed.width() && run < 255 && row[x + run] == row[x]) ++run;
      data.append(char(run)).append(char(four ? (row[x] << 4 | row[x]) : row[x]));
      x += run;
    }
    data.append('\0').append('\0');  // end of line
  }
  data.append('\0').append('\1');  // end of bitmap
  QVector<QRgb> palette = indexed.colorTable();
  if (four) palette.resize(16);
  return bmpFile(indexed.width(), indexed.height(), four ? 4 : 8, palette, data, four ? 2 : 1);
}

// GIF of an indexed image (up to 256 colours). The LZW stream resets before
// the code width would grow, which keeps the writer short.
inline QByteArray gifFile(const QImage& indexed) {
  constexpr int kBits = 8, kClear = 1 << kBits, kEnd = kClear + 1, kWidth = kBits + 1;
  QByteArray b("GIF89a");
  put16(b, unsigned(indexed.width()));
  put16(b, unsigned(indexed.height()));
  b.append(char(0xF7)).append('\0').append('\0');  // global table of 256
  QVector<QRgb> palette = indexed.colorTable();
  palette.resize(256);
  for (QRgb c : palette) b.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
  b.append(',');
  put16(b, 0);
  put16(b, 0);
  put16(b, unsigned(indexed.width()));
  put16(b, unsigned(indexed.height()));
  b.append('\0').append(char(kBits));
  QByteArray lzw;
  quint32 acc = 0;
  int nbits = 0;
  auto code = [&](int c) {
    acc |= quint32(c) << nbits;
    nbits += kWidth;
    while (nbits >= 8) {
      lzw.append(char(acc & 255));
      acc >>= 8;
      nbits -= 8;
    }
  };
  int sinceClear = 0;
  code(kClear);
  for (int y = 0; y < indexed.height(); ++y)
    for (int x = 0; x < indexed.width(); ++x) {
      if (sinceClear == (1 << kBits) - 4) {
        code(kClear);
        sinceClear = 0;
      }
      code(indexed.constScanLine(y)[x]);
      ++sinceClear;
    }
  code(kEnd);
  if (nbits > 0) lzw.append(char(acc & 255));
  for (qsizetype i = 0; i < lzw.size(); i += 255) {
    const QByteArray block = lzw.mid(i, 255);
    b.append(char(block.size())).append(block);
  }
  b.append('\0').append(';');
  return b;
}

// The EXIF block a camera writes in a JPEG's APP1 segment: the orientation
// tag (0 leaves it out) and, when given, a JPEG thumbnail in the second IFD
// (as the TIFF layout of EXIF says), little- or big-endian.
inline QByteArray exifBlock(int orientation, const QByteArray& thumbnail = {},
                            bool bigEndian = false) {
  QByteArray t;
  auto p16 = [&](unsigned v) {
    if (bigEndian)
      t.append(char((v >> 8) & 255)).append(char(v & 255));
    else
      put16(t, v);
  };
  auto p32 = [&](quint32 v) {
    p16(bigEndian ? v >> 16 : v & 0xFFFF);
    p16(bigEndian ? v & 0xFFFF : v >> 16);
  };
  auto entry = [&](unsigned tag, unsigned type, quint32 value) {
    p16(tag);
    p16(type);
    p32(1);
    if (type == 3) {  // a SHORT sits in the first half of the value field
      p16(value);
      p16(0);
    } else {
      p32(value);
    }
  };
  t.append(bigEndian ? "MM" : "II");
  p16(42);
  p32(8);
  p16(orientation ? 1 : 0);
  if (orientation) entry(0x0112, 3, quint32(orientation));
  const quint32 ifd1 = thumbnail.isEmpty() ? 0 : quint32(t.size() + 4);
  p32(ifd1);
  if (!thumbnail.isEmpty()) {
    p16(3);
    entry(0x0103, 3, 6);                          // compression: JPEG
    entry(0x0201, 4, ifd1 + 2 + 3 * 12 + 4);      // where the thumbnail starts
    entry(0x0202, 4, quint32(thumbnail.size()));  // and its length
    p32(0);
    t += thumbnail;
  }
  return QByteArray("Exif\0\0", 6) + t;
}

// A JPEG with an EXIF block in an APP1 segment: after the JFIF segment when
// the file has one, or in its place, as cameras write it.
inline QByteArray withExif(const QByteArray& jpeg, const QByteArray& exif,
                           bool replaceJfif = false) {
  qsizetype at = 2, jfifEnd = 2;
  if (jpeg.size() > 6 && quint8(jpeg[2]) == 0xFF && quint8(jpeg[3]) == 0xE0)
    jfifEnd = 4 + (quint8(jpeg[4]) << 8 | quint8(jpeg[5]));
  if (!replaceJfif) at = jfifEnd;
  QByteArray segment("\xFF\xE1", 2);
  const qsizetype length = exif.size() + 2;
  segment.append(char((length >> 8) & 255)).append(char(length & 255)).append(exif);
  return jpeg.left(at) + segment + jpeg.mid(jfifEnd);
}

// A metafile built record by record, with a placeable header.
class WmfWriter {
 public:
  WmfWriter(int width, int height, int unitsPerInch) : w_(width), h_(height), inch_(unitsPerInch) {
    record(0x0103, {8});                       // SetMapMode MM_ANISOTROPIC
    record(0x020B, {0, 0});                    // SetWindowOrg
    record(0x020C, {qint16(h_), qint16(w_)});  // SetWindowExt
  }
  void brush(QRgb c) {  // CreateBrushIndirect + select + delete the previous
    record(0x02FC, {0, qint16(qRed(c) | qGreen(c) << 8), qint16(qBlue(c)), 0});
    select();
  }
  void pen(QRgb c, int width) {  // CreatePenIndirect
    record(0x02FA, {0, qint16(width), 0, qint16(qRed(c) | qGreen(c) << 8), qint16(qBlue(c))});
    select();
  }
  void rectangle(int l, int t, int r, int b) {
    record(0x041B, {qint16(b), qint16(r), qint16(t), qint16(l)});
  }
  void ellipse(int l, int t, int r, int b) {
    record(0x0418, {qint16(b), qint16(r), qint16(t), qint16(l)});
  }
  void polygon(const QVector<QPoint>& pts) {
    QVector<qint16> p{qint16(pts.size())};
    for (QPoint q : pts) p << qint16(q.x()) << qint16(q.y());
    record(0x0324, p);
  }
  // StretchDIB of a bitmap (its info header onward) over (l, t, w, h).
  void stretchDib(int l, int t, int w, int h, int srcWidth, int srcHeight, const QByteArray& dib) {
    QByteArray p;
    put32(p, 0x00CC0020);  // SRCCOPY
    put16(p, 0);           // the palette holds colours
    for (int v : {srcHeight, srcWidth, 0, 0, h, w, t, l}) put16(p, unsigned(v));
    p += dib;
    if (p.size() % 2) p.append('\0');
    const quint32 words = 3 + quint32(p.size() / 2);
    put32(records_, words);
    put16(records_, 0x0F43);
    records_ += p;
    maxRecord_ = qMax(maxRecord_, words);
  }
  QByteArray finish() {
    record(0, {});
    QByteArray head;
    put32(head, 0x9AC6CDD7u);
    put16(head, 0);
    put16(head, 0);
    put16(head, 0);
    put16(head, unsigned(w_));
    put16(head, unsigned(h_));
    put16(head, unsigned(inch_));
    put32(head, 0);
    unsigned sum = 0;
    for (int i = 0; i < 20; i += 2) sum ^= quint8(head[i]) | quint8(head[i + 1]) << 8;
    put16(head, sum);
    put16(head, 1);  // disk metafile
    put16(head, 9);
    put16(head, 0x300);
    put32(head, quint32(9 + records_.size() / 2));
    put16(head, unsigned(objects_));
    put32(head, maxRecord_);
    put16(head, 0);
    return head + records_;
  }

 private:
  void record(unsigned function, const QVector<qint16>& params) {
    const quint32 words = 3 + quint32(params.size());
    put32(records_, words);
    put16(records_, function);
    for (qint16 p : params) put16(records_, quint16(p));
    maxRecord_ = qMax(maxRecord_, words);
  }
  // Each object gets its own slot of the object table; none is deleted.
  void select() { record(0x012D, {qint16(objects_++)}); }
  QByteArray records_;
  int w_, h_, inch_;
  quint32 maxRecord_ = 3;
  int objects_ = 0;
};

inline quint32 crc32Of(const QByteArray& bytes) {
  quint32 crc = 0xFFFFFFFFu;
  for (char c : bytes) {
    crc ^= quint8(c);
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

// An 8-bit RGBA PNG, Adam7-interlaced when asked (Qt's writer never is).
// `width`/`height` other than 0 are what the header claims instead.
inline QByteArray pngFile(const QImage& picture, bool interlaced, int width = 0, int height = 0) {
  const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
  QByteArray file("\x89PNG\r\n\x1a\n", 8);
  auto chunk = [&](const char* type, const QByteArray& data) {
    putBig32(file, quint32(data.size()));
    const QByteArray body = type + data;
    file += body;
    putBig32(file, crc32Of(body));
  };
  QByteArray head;
  putBig32(head, quint32(width ? width : rgba.width()));
  putBig32(head, quint32(height ? height : rgba.height()));
  head.append("\x08\x06\x00\x00", 4).append(char(interlaced));
  chunk("IHDR", head);
  // Adam7's seven passes, or one pass of every pixel.
  static const int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                    {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  static const int kWhole[1][4] = {{0, 0, 1, 1}};
  QByteArray raw;
  const int(*passes)[4] = interlaced ? kPasses : kWhole;
  for (int i = 0; i < (interlaced ? 7 : 1); ++i) {
    const int* p = passes[i];
    if (p[0] >= rgba.width() || p[1] >= rgba.height()) continue;
    for (int y = p[1]; y < rgba.height(); y += p[3]) {
      raw.append('\0');
      for (int x = p[0]; x < rgba.width(); x += p[2])
        raw.append(reinterpret_cast<const char*>(rgba.constScanLine(y)) + 4 * x, 4);
    }
  }
  chunk("IDAT", qCompress(raw).mid(4));  // qCompress puts the length first
  chunk("IEND", {});
  return file;
}

// An animated WebP of opaque frames, each a WebP file Qt wrote.
inline QByteArray animatedWebp(const QList<QByteArray>& frames, int width, int height) {
  auto put24 = [](QByteArray& b, unsigned v) { put16(b, v & 0xFFFF), b.append(char(v >> 16)); };
  auto chunk = [](const char* type, const QByteArray& data) {
    QByteArray c(type);
    put32(c, quint32(data.size()));
    c += data;
    if (data.size() & 1) c.append('\0');
    return c;
  };
  QByteArray head("\x02\0\0\0", 4);  // animated
  put24(head, unsigned(width - 1));
  put24(head, unsigned(height - 1));
  QByteArray anim;
  put32(anim, 0xFFFFFFFFu);
  put16(anim, 0);
  QByteArray body = "WEBP" + chunk("VP8X", head) + chunk("ANIM", anim);
  for (const QByteArray& frame : frames) {
    QByteArray f;
    put24(f, 0);
    put24(f, 0);
    put24(f, unsigned(width - 1));
    put24(f, unsigned(height - 1));
    put24(f, 100);
    f.append('\0');
    body += chunk("ANMF", f + frame.mid(12));  // the frame's own chunk, after "RIFF....WEBP"
  }
  QByteArray file("RIFF");
  put32(file, quint32(body.size()));
  return file + body;
}

#ifdef LIBHEIF_HEIF_H
// A HEIC as a phone writes one: HEVC at `quality`, turned for showing by
// irot/imir (`orientation` as EXIF numbers it), with an EXIF block carrying
// `exifOrientation` when that is not 0, and a thumbnail fitted into a square
// of `thumbnailSide` when that is not 0: of the picture, turned the same, or
// of `thumbnail` as it is given (an editor's stale one). Empty when libheif
// fails.
inline QByteArray heicFile(const QImage& picture, int quality = 60, int orientation = 1,
                           int exifOrientation = 0, int thumbnailSide = 0,
                           const QImage& thumbnail = {}, const char* preset = nullptr) {
  auto toHeif = [](const QImage& source) {
    const QImage rgba = source.convertToFormat(QImage::Format_RGBA8888);
    const bool alpha = source.hasAlphaChannel();
    heif_image* img = nullptr;
    heif_image_create(rgba.width(), rgba.height(), heif_colorspace_RGB,
                      alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, &img);
    heif_image_add_plane(img, heif_channel_interleaved, rgba.width(), rgba.height(), 8);
    int stride = 0;
    uint8_t* out = heif_image_get_plane(img, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgba.height(); ++y)
      for (int x = 0; x < rgba.width(); ++x)
        for (int c = 0; c < (alpha ? 4 : 3); ++c)
          out[y * stride + x * (alpha ? 4 : 3) + c] = rgba.constScanLine(y)[4 * x + c];
    return img;
  };
  QByteArray bytes;
  heif_context* ctx = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  if (heif_context_get_encoder_for_format(ctx, heif_compression_HEVC, &encoder).code) {
    heif_context_free(ctx);
    return bytes;
  }
  heif_encoder_set_lossy_quality(encoder, quality);
  if (preset) heif_encoder_set_parameter(encoder, "preset", preset);
  heif_encoding_options* options = heif_encoding_options_alloc();
  options->image_orientation = heif_orientation(orientation);
  heif_image* img = toHeif(picture);
  heif_image_handle* handle = nullptr;
  bool ok = !heif_context_encode_image(ctx, img, encoder, options, &handle).code;
  if (ok && thumbnailSide) {
    heif_image* small = thumbnail.isNull() ? img : toHeif(thumbnail);
    heif_encoding_options* upright = heif_encoding_options_alloc();
    ok = !heif_context_encode_thumbnail(ctx, small, handle, encoder,
                                        small == img ? options : upright, thumbnailSide, nullptr)
              .code;
    heif_encoding_options_free(upright);
    if (small != img) heif_image_release(small);
  }
  if (ok && exifOrientation) {
    const QByteArray exif = exifBlock(exifOrientation);
    ok = !heif_context_add_exif_metadata(ctx, handle, exif.constData(), int(exif.size())).code;
  }
  heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* out) {
                       static_cast<QByteArray*>(out)->append(static_cast<const char*>(data),
                                                             qsizetype(size));
                       return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                     }};
  if (ok) heif_context_write(ctx, &writer, &bytes);
  heif_image_handle_release(handle);
  heif_image_release(img);
  heif_encoding_options_free(options);
  heif_encoder_release(encoder);
  heif_context_free(ctx);
  return bytes;
}

// The boxes an ISO media file is made of: a 4CC and what follows it.
inline QByteArray isoBox(const char* type, const QByteArray& body) {
  QByteArray b;
  putBig32(b, quint32(8 + body.size()));
  return b + QByteArray(type, 4) + body;
}
inline QByteArray isoFullBox(const char* type, int version, quint32 flags, const QByteArray& body) {
  QByteArray head;
  putBig32(head, quint32(version) << 24 | flags);
  return isoBox(type, head + body);
}
// The body of the first box called `path[0]` in `b`, then of `path[1]`
// inside that, and so on; `meta` is a full box, its children after 4 bytes.
inline QByteArray isoBodyOf(const QByteArray& b, std::initializer_list<const char*> path) {
  QByteArray at = b;
  for (const char* type : path) {
    QByteArray found;
    for (qsizetype i = 0; i + 8 <= at.size();) {
      const quint32 size = qFromBigEndian<quint32>(at.constData() + i);
      if (size < 8 || i + size > at.size()) break;
      if (at.mid(i + 4, 4) == type) {
        found = at.mid(i + 8, size - 8);
        break;
      }
      i += size;
    }
    at = qstrcmp(type, "meta") == 0 ? found.mid(4) : found;
  }
  return at;
}

// A HEIC as an iPhone writes one: the picture cut into square tiles of
// `tile` pixels, each its own hidden HEVC image, joined by a grid that is the
// primary image, with a thumbnail fitted into `thumbnailSide` when that is
// not 0. The grid names `missingTiles` fewer tiles than it needs when asked.
inline QByteArray heicGridFile(const QImage& picture, int tile, int quality = 60,
                               int thumbnailSide = 0, const char* preset = nullptr,
                               int missingTiles = 0) {
  struct Item {
    QByteArray type, data, hvcc;
    QSize size;
  };
  QList<Item> items;
  auto coded = [&](const QImage& part) {
    const QByteArray file = heicFile(part, quality, 1, 0, 0, {}, preset);
    return Item{"hvc1", isoBodyOf(file, {"mdat"}),
                isoBodyOf(file, {"meta", "iprp", "ipco", "hvcC"}), part.size()};
  };
  const int columns = (picture.width() + tile - 1) / tile;
  const int rows = (picture.height() + tile - 1) / tile;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) items << coded(picture.copy(c * tile, r * tile, tile, tile));
  if (items.size() - missingTiles <= 0) return {};
  for (const Item& t : items)
    if (t.data.isEmpty() || t.hvcc.isEmpty()) return {};
  QByteArray layout("\0\0", 2);
  layout.append(char(rows - 1)).append(char(columns - 1));
  putBig16(layout, unsigned(picture.width()));
  putBig16(layout, unsigned(picture.height()));
  const int grid = int(items.size()) + 1;
  items << Item{"grid", layout, {}, picture.size()};
  if (thumbnailSide)
    items << coded(picture.scaled(thumbnailSide, thumbnailSide, Qt::KeepAspectRatio,
                                  Qt::SmoothTransformation));

  // Properties shared where they are the same, as a phone shares them.
  QList<QByteArray> properties;
  auto property = [&](const QByteArray& box) {
    qsizetype i = properties.indexOf(box);
    if (i < 0) properties << box, i = properties.size() - 1;
    return char(i + 1);
  };
  QByteArray infos, associations, dimg;
  putBig16(infos, unsigned(items.size()));
  putBig32(associations, quint32(items.size()));
  putBig16(dimg, unsigned(grid));
  putBig16(dimg, unsigned(grid - 1 - missingTiles));
  for (int id = 1; id <= items.size(); ++id) {
    const Item& item = items[id - 1];
    QByteArray info;
    putBig16(info, unsigned(id));
    putBig16(info, 0);
    infos += isoFullBox("infe", 2, id < grid ? 1 : 0, info + item.type + QByteArray(1, '\0'));
    QByteArray extent;
    putBig32(extent, quint32(item.size.width()));
    putBig32(extent, quint32(item.size.height()));
    QByteArray own;
    if (!item.hvcc.isEmpty()) own.append(char(0x80 | property(isoBox("hvcC", item.hvcc))));
    own.append(property(isoFullBox("ispe", 0, 0, extent)));
    putBig16(associations, unsigned(id));
    associations.append(char(own.size())) += own;
    if (id < grid - missingTiles) putBig16(dimg, unsigned(id));
  }
  QByteArray references = isoBox("dimg", dimg);
  if (thumbnailSide) {
    QByteArray thmb;
    putBig16(thmb, unsigned(grid + 1));
    putBig16(thmb, 1);
    putBig16(thmb, unsigned(grid));
    references += isoBox("thmb", thmb);
  }
  const QByteArray ftyp = isoBox("ftyp", QByteArray("heic\0\0\0\0mif1heic", 16));
  auto meta = [&](quint32 dataStart) {
    QByteArray locations("\x44\0", 2);  // 4-byte offsets and lengths
    putBig16(locations, unsigned(items.size()));
    for (int id = 1; id <= items.size(); ++id) {
      putBig16(locations, unsigned(id));
      putBig16(locations, 0);
      putBig16(locations, 1);
      putBig32(locations, dataStart);
      putBig32(locations, quint32(items[id - 1].data.size()));
      dataStart += quint32(items[id - 1].data.size());
    }
    QByteArray primary, handler(4, '\0');
    putBig16(primary, unsigned(grid));
    handler += QByteArray("pict", 4) + QByteArray(13, '\0');
    return isoFullBox("meta", 0, 0,
                      isoFullBox("hdlr", 0, 0, handler) + isoFullBox("pitm", 0, 0, primary) +
                          isoFullBox("iloc", 0, 0, locations) + isoFullBox("iinf", 0, 0, infos) +
                          isoFullBox("iref", 0, 0, references) +
                          isoBox("iprp", isoBox("ipco", properties.join()) +
                                             isoFullBox("ipma", 0, 0, associations)));
  };
  QByteArray data;
  for (const Item& item : items) data += item.data;
  const quint32 start = quint32(ftyp.size() + meta(0).size() + 8);
  return ftyp + meta(start) + isoBox("mdat", data);
}
#endif

}  // namespace pastel::test
