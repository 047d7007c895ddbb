#include <gtest/gtest.h>
#include <libheif/heif.h>
#include <sys/resource.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <mutex>

#include "picture_file_test.h"
#include "picture_writers.h"
#include "platform/file_picture_loader.h"
#include "platform/picture_files.h"
#include "platform/picture_size.h"
#include "platform/thumbnail_cache.h"

namespace pastel {
namespace {

using test::bmp8File;
using test::gifFile;
using test::rleBmpFile;
using test::WmfWriter;

const QRgb kRed = qRgb(220, 30, 30), kBlue = qRgb(30, 60, 200), kOrange = qRgb(200, 120, 40);

QImage indexedImage(int w, int h, const QVector<QRgb>& palette, int fill = 0) {
  QImage img(w, h, QImage::Format_Indexed8);
  img.setColorTable(palette);
  img.fill(uint(fill));
  return img;
}

QByteArray encoded(const QImage& img, const char* format) {
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, format);
  return bytes;
}

QImage photo(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, 128));
  return img;
}

QByteArray sunWmf() {
  WmfWriter w(1440, 720, 1440);
  w.brush(qRgb(255, 255, 255));
  w.rectangle(0, 0, 1440, 720);
  w.pen(qRgb(200, 80, 0), 1);
  w.brush(qRgb(255, 200, 0));
  w.ellipse(400, 100, 1000, 620);
  return w.finish();
}

using PictureLoaderTest = test::PictureFileTest;

TEST_F(PictureLoaderTest, NaturalSizeOfEveryKindInHiMetricAt96Dpi) {
  const QVector<QRgb> pal{kRed, kBlue};
  struct Case {
    QString name;
    QByteArray bytes;
    int w, h;
  } cases[] = {
      {"a.bmp", bmp8File(indexedImage(96, 48, pal)), 2540, 1270},
      {"b.RLE", rleBmpFile(indexedImage(48, 96, pal), false), 1270, 2540},
      {"c.bmp", rleBmpFile(indexedImage(96, 96, pal), true), 2540, 2540},
      {"d.DIB", encoded(photo(192, 96), "BMP"), 5080, 2540},
      {"e.jpg", encoded(photo(192, 96), "JPEG"), 5080, 2540},
      {"f.Gif", gifFile(indexedImage(48, 24, pal, 1)), 1270, 635},
      {"g.wmf", sunWmf(), 2540, 1270},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    const QString path = write(c.name, c.bytes);
    const PictureInfo info = loader.probe(path);
    EXPECT_TRUE(info.usable);
    EXPECT_EQ(info.widthHiMetric, c.w);
    EXPECT_EQ(info.heightHiMetric, c.h);
    const PictureRef p = loader.load(path, QSize());
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->broken);
    EXPECT_FALSE(p->image.isNull());
    EXPECT_EQ(p->widthHiMetric, c.w);
    EXPECT_EQ(p->heightHiMetric, c.h);
    EXPECT_EQ(p->path, path);
  }
  // A metafile without a placeable header is sized by libwmf's scan.
  const QString bare = write("bare.wmf", sunWmf().mid(22));
  const PictureInfo info = loader.probe(bare);
  EXPECT_TRUE(info.usable);
  EXPECT_GT(info.widthHiMetric, 0);
  EXPECT_GT(info.heightHiMetric, 0);
  EXPECT_FALSE(loader.load(bare, QSize(119, 89))->broken);
}

TEST_F(PictureLoaderTest, DecodesScaledIntoTheBoxKeepingAspectNeverGrowing) {
  const QSize box(119, 89);
  const QString wide = write("wide.jpg", encoded(photo(400, 200), "JPEG"));
  EXPECT_EQ(loader.load(wide, box)->image.size(), QSize(119, 60));
  const QString tall = write("tall.bmp", encoded(photo(100, 300), "BMP"));
  EXPECT_EQ(loader.load(tall, box)->image.size(), QSize(30, 89));
  const QString small = write("small.gif", gifFile(indexedImage(50, 40, {kRed})));
  EXPECT_EQ(loader.load(small, box)->image.size(), QSize(50, 40));
  const QString big = write("big.JPG", encoded(photo(4000, 3000), "JPEG"));
  const PictureRef p = loader.load(big, box);
  EXPECT_EQ(p->image.size(), QSize(119, 89));
  EXPECT_EQ(p->widthHiMetric, 105833);  // the file's size, not the decoded one
  // One inch by half an inch: 96 x 48 pixels at 96 dpi, not grown by a large box.
  const QString wmf = write("sun.wmf", sunWmf());
  EXPECT_EQ(loader.load(wmf, box)->image.size(), QSize(96, 48));
  EXPECT_EQ(loader.load(wmf, QSize(48, 48))->image.size(), QSize(48, 24));
}

TEST_F(PictureLoaderTest, RleSkippedPixelsAreWhiteAndDecodingIsStable) {
  const QVector<QRgb> pal{qRgb(0, 0, 0), kRed, kBlue};
  // 4 x 3, bottom row first: red red, end of line, delta 2 right, blue, end.
  const QByteArray rle8("\x02\x01\x00\x00\x00\x02\x02\x00\x01\x02\x00\x01", 12);
  const QString p8 = write("codes.rle", test::bmpFile(4, 3, 8, pal, rle8, 1));
  const QImage a = loader.load(p8, QSize())->image;
  ASSERT_EQ(a.size(), QSize(4, 3));
  const QRgb white = qRgb(255, 255, 255);
  const QRgb expected[3][4] = {
      {white, white, white, white}, {white, white, kBlue, white}, {kRed, kRed, white, white}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(a.pixel(x, y), expected[y][x]) << x << "," << y;
  EXPECT_EQ(loader.load(p8, QSize())->image, a);

  // RLE4, 5 x 2: a run 1 2 1, end of line, absolute 1 2 3, end of bitmap.
  QVector<QRgb> pal16(16, qRgb(0, 0, 0));
  pal16[1] = kRed;
  pal16[2] = kBlue;
  pal16[3] = kOrange;
  const QByteArray rle4("\x03\x12\x00\x00\x00\x03\x12\x30\x00\x01", 10);
  const QImage b =
      loader.load(write("codes4.BMP", test::bmpFile(5, 2, 4, pal16, rle4, 2)), QSize())->image;
  ASSERT_EQ(b.size(), QSize(5, 2));
  const QRgb row1[5] = {kRed, kBlue, kRed, white, white};
  const QRgb row0[5] = {kRed, kBlue, kOrange, white, white};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(b.pixel(x, 1), row1[x]) << x;
    EXPECT_EQ(b.pixel(x, 0), row0[x]) << x;
  }
}

QByteArray paletteBytes(const QVector<QRgb>& palette, int entry = 4) {
  QByteArray b;
  for (QRgb c : palette) {
    b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
    if (entry == 4) b.append('\0');
  }
  return b;
}

TEST_F(PictureLoaderTest, TopDownBmpsOfEveryDepthShowTheRightWayUp) {
  const QRgb black = qRgb(0, 0, 0), red = qRgb(255, 0, 0), green = qRgb(0, 255, 0),
             blue = qRgb(0, 0, 255);
  const QVector<QVector<int>> shown{{1, 2, 3}, {0, 1, 0}};  // indices into these colours
  const QVector<QRgb> colours{black, red, green, blue};
  for (int bits : {1, 2, 4, 8, 16, 24, 32}) {
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(testing::Message() << bits << (topDown ? " top-down" : " bottom-up"));
      const QVector<quint32> value = bits == 16  ? QVector<quint32>{0, 0x7C00, 0x03E0, 0x001F}
                                     : bits > 16 ? QVector<quint32>{0, 0xFF0000, 0xFF00, 0xFF}
                                                 : QVector<quint32>{0, 1, 2, 3};
      const int n = bits == 1 ? 2 : 4;
      QVector<QVector<quint32>> rows;
      for (const auto& r : shown)
        rows.push_back({value[r[0] % n], value[r[1] % n], value[r[2] % n]});
      const QByteArray file =
          test::bmpOf(test::bmpInfo(40, 3, topDown ? -2 : 2, bits, 0, {}, bits <= 8 ? n : 0),
                      bits <= 8 ? paletteBytes(colours.mid(0, n)) : QByteArray(),
                      test::bmpRows(rows, bits, topDown));
      const QString path = write("depth.bmp", file);
      EXPECT_EQ(loader.probe(path).heightHiMetric, 53);
      const QImage img = loader.load(path, QSize())->image;
      ASSERT_EQ(img.size(), QSize(3, 2));
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
          EXPECT_EQ(img.pixel(x, y), colours[shown[y][x] % n]) << x << "," << y;
    }
  }
}

TEST_F(PictureLoaderTest, BitFieldsOfAnyWidthScaleToEightBitsOrAreRefused) {
  struct Case {
    const char* name;
    int bits;
    QVector<quint32> masks;  // red, green, blue (, alpha)
    quint32 pixel;
    QColor expected;  // invalid: refused
  };
  const QList<Case> cases = {
      {"11-11-10", 32, {0xFFE00000, 0x001FFC00, 0x3FF}, 2047u << 21 | 1024u << 10, {255, 128, 0}},
      {"5-6-5 white", 16, {0xF800, 0x07E0, 0x001F}, 0xFFFF, {255, 255, 255}},
      {"4-4-4-4", 16, {0x0F00, 0x00F0, 0x000F, 0xF000}, 0x8F08, {255, 0, 136, 136}},
      {"1-9-2-4",
       16,
       {0x7FC0, 0x0030, 0x000F, 0x8000},
       0x8000 | 256 << 6 | 1 << 4 | 15,
       {128, 85, 255, 255}},
      {"10-10-10-2",
       32,
       {0x3FF00000, 0x000FFC00, 0x3FF, 0xC0000000},
       2u << 30 | 1023u << 20 | 512u << 10,
       {255, 128, 0, 170}},
      {"alpha unused", 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 0x00204060, {32, 64, 96}},
      {"not one run", 16, {0x0F0F, 0x00F0, 0xF000}, 0x0F0F, {}},
      {"overlapping", 16, {0xFF00, 0x0FF0, 0x000F}, 0, {}},
      {"24 bits", 24, {0xFF0000, 0xFF00, 0xFF}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QByteArray pixels = test::bmpRows({{c.pixel}}, c.bits);
    QByteArray masks;
    for (quint32 m : c.masks) test::put32(masks, m);
    // Three masks after a plain header; with alpha, inside a version 5 header.
    const QByteArray file =
        c.masks.size() == 3 ? test::bmpOf(test::bmpInfo(40, 1, 1, c.bits, 3), masks, pixels)
                            : test::bmpOf(test::bmpInfo(124, 1, 1, c.bits, 3, c.masks), {}, pixels);
    const PictureRef p = loader.load(write("fields.bmp", file), QSize());
    if (!c.expected.isValid()) {
      EXPECT_TRUE(p->broken);
      continue;
    }
    ASSERT_FALSE(p->broken);
    const QColor got = p->image.pixelColor(0, 0);
    EXPECT_EQ(got.alpha(), c.expected.alpha());
    for (auto [a, b] : {std::pair{got.red(), c.expected.red()},
                        {got.green(), c.expected.green()},
                        {got.blue(), c.expected.blue()}})
      EXPECT_NEAR(a, b, 1);  // alpha is held premultiplied
  }
  // Qt widened 5-bit channels by shifting: white came out 248.
  const QByteArray white555 =
      test::bmpOf(test::bmpInfo(40, 1, 1, 16, 0), {}, test::bmpRows({{0x7FFF}}, 16));
  EXPECT_EQ(loader.load(write("555.bmp", white555), QSize())->image.pixel(0, 0),
            qRgb(255, 255, 255));
}

TEST_F(PictureLoaderTest, ShortPalettesAndOs2HeadersReadOnlyWhatTheFileHolds) {
  const QRgb black = qRgb(0, 0, 0), green = qRgb(0, 200, 0);
  // OS/2 1.x: three-byte entries, as many as fit before the pixels.
  QByteArray os2;
  test::put32(os2, 12);
  for (unsigned v : {4u, 1u, 1u, 8u}) test::put16(os2, v);
  const QByteArray os2File =
      test::bmpOf(os2, paletteBytes({kRed, green, kBlue}, 3), test::bmpRows({{0, 1, 2, 200}}, 8));
  // OS/2 2.x with its shortest header, and Windows with two colours of 256.
  QByteArray os2v2;
  test::put32(os2v2, 16);
  test::put32(os2v2, 4);
  test::put32(os2v2, 1);
  test::put16(os2v2, 1);
  test::put16(os2v2, 4);
  const QByteArray os2v2File =
      test::bmpOf(os2v2, paletteBytes({kRed, green}), test::bmpRows({{1, 0, 9, 1}}, 4));
  const QByteArray twoFile =
      test::bmpOf(test::bmpInfo(40, 4, 1, 8, 0, {}, 2), paletteBytes({kRed, green}),
                  test::bmpRows({{1, 0, 255, 1}}, 8));
  const QList<QPair<QByteArray, QVector<QRgb>>> shown = {
      {os2File, {kRed, green, kBlue, black}},
      {os2v2File, {green, kRed, black, green}},
      {twoFile, {green, kRed, black, green}},
  };
  for (const auto& [file, colours] : shown) {
    const QImage img = loader.load(write("short.bmp", file), QSize())->image;
    ASSERT_EQ(img.size(), QSize(4, 1));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(img.pixel(x, 0), colours[x]) << x;
  }
  // OS/2 2.x Huffman coding, and pixels said to start inside the header.
  QByteArray huffman = test::bmpInfo(40, 4, 1, 1, 3);
  huffman[0] = 64;
  huffman.resize(64, '\0');
  QByteArray early = twoFile;
  early[10] = 20;
  for (const QByteArray& file :
       {test::bmpOf(huffman, paletteBytes({kRed, green}), QByteArray(4, 0)), early})
    EXPECT_TRUE(loader.load(write("refused.bmp", file), QSize())->broken);
}

TEST_F(PictureLoaderTest, RleBitmapsInAMetafileAreDrawnRightOrLeftOut) {
  QImage halves = indexedImage(8, 4, {kRed, kBlue});
  for (int y = 0; y < 4; ++y)
    for (int x = 4; x < 8; ++x) halves.setPixel(x, y, 1);
  for (bool four : {false, true}) {
    SCOPED_TRACE(four ? "RLE4" : "RLE8");
    const QByteArray dib = rleBmpFile(halves, four).mid(14);
    auto metafile = [](const QByteArray& bitmap) {
      WmfWriter w(1440, 720, 1440);
      w.brush(qRgb(255, 255, 255));
      w.rectangle(0, 0, 1440, 720);
      w.stretchDib(0, 0, 1440, 720, 8, 4, bitmap);
      return w.finish();
    };
    const QImage img = loader.load(write("rle.wmf", metafile(dib)), QSize())->image;
    ASSERT_EQ(img.size(), QSize(96, 48));
    // libwmf's drawing may move a channel by one.
    auto close = [](QRgb a, QRgb b) {
      return qAbs(qRed(a) - qRed(b)) <= 2 && qAbs(qGreen(a) - qGreen(b)) <= 2 &&
             qAbs(qBlue(a) - qBlue(b)) <= 2;
    };
    EXPECT_TRUE(close(img.pixel(20, 24), kRed));
    EXPECT_TRUE(close(img.pixel(76, 24), kBlue));
    // Cut before its end code: left out, the white beneath shows.
    const QImage cut =
        loader.load(write("cut.wmf", metafile(dib.left(dib.size() - 6))), QSize())->image;
    ASSERT_EQ(cut.size(), QSize(96, 48));
    EXPECT_EQ(cut.pixel(20, 24), qRgb(255, 255, 255));
  }
}

TEST_F(PictureLoaderTest, PaletteColoursStayExactWhenScaledDown) {
  const QVector<QRgb> pal{kOrange, kBlue};
  for (const QString& name : {QString("flat.bmp"), QString("flat.gif"), QString("flat.rle")}) {
    SCOPED_TRACE(name.toStdString());
    const QImage src = indexedImage(600, 300, pal);
    const QByteArray bytes = name.endsWith("gif")   ? gifFile(src)
                             : name.endsWith("rle") ? rleBmpFile(src, false)
                                                    : bmp8File(src);
    const QImage img = loader.load(write(name, bytes), QSize(119, 89))->image;
    ASSERT_EQ(img.size(), QSize(119, 60));
    int off = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) off += img.pixel(x, y) != kOrange;
    EXPECT_EQ(off, 0);
  }
}

long long peakRssMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

QByteArray wmfWithHugeBitmap() {
  // A StretchDIB record carrying a 30000 x 30000 RLE8 bitmap of a few bytes.
  QByteArray dib;
  test::put32(dib, 40);
  test::put32(dib, 30000);
  test::put32(dib, 30000);
  test::put16(dib, 1);
  test::put16(dib, 8);
  test::put32(dib, 1);
  test::put32(dib, 4);
  for (int i = 0; i < 4; ++i) test::put32(dib, 0);
  for (int i = 0; i < 256; ++i) test::put32(dib, 0x00FF00);
  dib.append("\x00\x01", 2);
  QByteArray params;
  test::put32(params, 0x00CC0020);  // SRCCOPY
  test::put16(params, 0);
  for (int v : {30000, 30000, 0, 0, 720, 1440, 0, 0}) test::put16(params, unsigned(v));
  params += dib;
  QByteArray file = sunWmf();
  file.chop(6);  // the end record
  QByteArray rec;
  test::put32(rec, quint32(3 + params.size() / 2));
  test::put16(rec, 0x0F43);
  rec += params;
  rec.append("\x03\x00\x00\x00\x00\x00", 6);
  file += rec;
  // The header's largest record and file size must admit the new one.
  const quint32 words = quint32(file.size() - 22) / 2, maxRec = quint32(3 + params.size() / 2);
  for (int i = 0; i < 4; ++i) {
    file[22 + 6 + i] = char((words >> (8 * i)) & 255);
    file[22 + 12 + i] = char((maxRec >> (8 * i)) & 255);
  }
  return file;
}

TEST_F(PictureLoaderTest, BrokenFilesGiveBrokenPicturesWithinBoundedMemory) {
  const QByteArray bmp = encoded(photo(200, 100), "BMP");
  const QByteArray jpeg = encoded(photo(640, 480), "JPEG");
  QByteArray huge = test::bmpFile(50000, 50000, 8, {kRed}, QByteArray(16, '\0'));
  QByteArray gif = gifFile(indexedImage(2, 2, {kRed}));
  gif[6] = char(0x88), gif[7] = char(0x13), gif[8] = char(0x88), gif[9] = char(0x13);  // 5000
  const QByteArray gif35 = gif.left(35);
  QByteArray rle = rleBmpFile(indexedImage(64, 64, {kRed, kBlue}, 1), false);
  rle.chop(20);
  QByteArray absurd = sunWmf();
  absurd[22 + 12] = absurd[22 + 13] = absurd[22 + 14] = char(0xFF);  // largest record
  absurd[22 + 15] = char(0x3F);
  QByteArray oversized = sunWmf();
  oversized[22 + 18] = char(0xFF), oversized[22 + 19] = char(0x7F);  // first record's size
  QByteArray zeroInch = sunWmf();
  zeroInch[14] = zeroInch[15] = '\0';
  QByteArray noBounds = sunWmf();
  for (int i = 6; i < 14; ++i) noBounds[i] = '\0';
  QDir(dir.path()).mkdir("folder.jpg");

  const QList<QPair<QString, QByteArray>> cases = {
      {"zero.bmp", {}},
      {"half.bmp", bmp.left(bmp.size() / 2)},
      {"text.jpg", "これは え では ありません"},
      {"huge.bmp", huge},
      {"claims5000.gif", gif35},
      {"half.jpg", jpeg.left(jpeg.size() / 2)},
      {"cut.rle", rle},
      {"absurd.wmf", absurd},
      {"oversized.wmf", oversized},
      {"zeroinch.wmf", zeroInch},
      {"nobounds.wmf", noBounds},
      {"hugebitmap.wmf", wmfWithHugeBitmap()},
      {"folder.jpg", {}},
      {"missing.gif", {}},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name.toStdString());
    const QString path = dir.filePath(name);
    if (!bytes.isEmpty() || name == "zero.bmp") write(name, bytes);
    const PictureRef p = loader.load(path, QSize(119, 89));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->broken);
    EXPECT_TRUE(p->image.isNull());
    EXPECT_EQ(p->widthHiMetric, 0);
    // The probe reads headers only; these cases have intact ones.
    const bool headerIntact = name.startsWith("half") || name == "cut.rle" || name.endsWith(".wmf");
    if (!headerIntact) {
      EXPECT_FALSE(loader.probe(path).usable);
    }
  }
  EXPECT_TRUE(loader.load(QString(), QSize(119, 89))->broken);
  EXPECT_LT(peakRssMb(), 1024);
}

TEST_F(PictureLoaderTest, FormatIsDecidedByContentNotByName) {
  const QImage img = photo(64, 32);
  EXPECT_FALSE(loader.load(write("png.jpg", encoded(img, "PNG")), QSize())->broken);
  EXPECT_TRUE(loader.probe(dir.filePath("png.jpg")).usable);
  EXPECT_TRUE(loader
                  .load(write("avif.heic",
                              "\0\0\0\x18"
                              "ftypavif\0\0\0\0mif1avif"),
                        QSize())
                  ->broken);
  EXPECT_TRUE(loader.load(write("icon.gif", encoded(img, "ICO")), QSize())->broken);
  const PictureRef bmpAsJpg = loader.load(write("bmp.jpg", encoded(img, "BMP")), QSize());
  EXPECT_FALSE(bmpAsJpg->broken);
  EXPECT_EQ(bmpAsJpg->image.size(), QSize(64, 32));
  EXPECT_FALSE(loader.load(write("jpeg.WMF", encoded(img, "JPEG")), QSize())->broken);
}

// Left half opaque red, right half transparent, a see-through blue band.
QImage seeThrough(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (x < w / 2) img.setPixel(x, y, y < h / 2 ? kRed : qRgba(30, 60, 200, 128));
  return img;
}

bool near(QRgb a, QRgb b, int tolerance) {
  return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
         qAbs(qBlue(a) - qBlue(b)) <= tolerance && qAbs(qAlpha(a) - qAlpha(b)) <= tolerance;
}

TEST_F(PictureLoaderTest, NewKindsDecodeWithTheirTransparency) {
  const QImage clear = seeThrough(40, 20);
  QImage palette = indexedImage(40, 20, {kRed, qRgba(0, 0, 0, 0), qRgba(30, 60, 200, 128)}, 1);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) palette.setPixel(x, y, y < 10 ? 0 : 2);
  QImage deep = clear.convertToFormat(QImage::Format_RGBA64);
  QImage grey(40, 20, QImage::Format_Grayscale16);
  grey.fill(QColor(128, 128, 128));
  QByteArray lossless, lossy;
  {
    QBuffer b(&lossless);
    b.open(QIODevice::WriteOnly);
    QImageWriter w(&b, "webp");
    w.setQuality(100);
    ASSERT_TRUE(w.write(clear));
  }
  lossy = encoded(photo(40, 20), "WEBP");
  QImage red(40, 20, QImage::Format_RGB32), blue(40, 20, QImage::Format_RGB32);
  red.fill(kRed);
  blue.fill(kBlue);
  QImage heicSource = photo(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 32; ++x) heicSource.setPixel(x, y, kRed);
  struct Case {
    QString name;
    QByteArray bytes;
    QSize size;
    bool alpha;  // transparent where the source was
  } cases[] = {
      {"rgba.png", test::pngFile(clear, false), {40, 20}, true},
      {"adam7.PNG", test::pngFile(clear, true), {40, 20}, true},
      {"palette.png", encoded(palette, "PNG"), {40, 20}, true},
      {"deep.png", encoded(deep, "PNG"), {40, 20}, true},
      {"grey16.png", encoded(grey, "PNG"), {40, 20}, false},
      {"alpha.webp", lossless, {40, 20}, true},
      {"lossy.webp", lossy, {40, 20}, false},
      {"moving.webp",
       test::animatedWebp({encoded(red, "WEBP"), encoded(blue, "WEBP")}, 40, 20),
       {40, 20},
       false},
      {"photo.tif", encoded(clear, "TIFF"), {40, 20}, true},
      {"photo.heic", test::heicFile(heicSource, 90), {64, 48}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    ASSERT_FALSE(c.bytes.isEmpty());
    const QString path = write(c.name, c.bytes);
    const PictureInfo info = loader.probe(path);
    EXPECT_TRUE(info.usable);
    EXPECT_EQ(info.widthHiMetric, pixelsToHiMetric(c.size.width()));
    const PictureRef p = loader.load(path, QSize());
    ASSERT_FALSE(p->broken);
    const QImage& img = p->image;
    ASSERT_EQ(img.size(), c.size);
    if (c.name.startsWith("grey")) {
      EXPECT_TRUE(near(img.pixel(3, 3), qRgb(128, 128, 128), 1));
    } else if (c.name.startsWith("lossy")) {
      EXPECT_TRUE(near(img.pixel(20, 10), photo(40, 20).pixel(20, 10), 12));
    } else {
      // The first frame of an animation; the second is blue.
      const int lossy = c.name.endsWith("heic") ? 12 : c.name.startsWith("moving") ? 4 : 0;
      EXPECT_TRUE(near(img.pixel(3, 3), kRed, lossy));
    }
    if (c.alpha) {  // premultiplied, so transparency can show what lies beneath
      EXPECT_EQ(img.format(), QImage::Format_ARGB32_Premultiplied);
      EXPECT_EQ(qAlpha(img.pixel(30, 5)), 0);
      EXPECT_TRUE(near(img.pixel(3, 15), qPremultiply(qRgba(30, 60, 200, 128)), 2));
    }
    // Fitted into a strip cell like every other kind.
    EXPECT_EQ(loader.load(path, QSize(20, 20))->image.width(), 20);
  }
}

TEST_F(PictureLoaderTest, HeicIsTurnedOnceAndItsThumbnailStandsInOnlyWithItsShape) {
  // Red above blue once turned a quarter clockwise, as both irot and the
  // EXIF orientation say: turned twice, it would lie on its side.
  QImage side(64, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) side.setPixel(x, y, x < 32 ? kRed : kBlue);
  const QString turned = write("turned.heic", test::heicFile(side, 90, 6, 6));
  EXPECT_EQ(loader.probe(turned).widthHiMetric, pixelsToHiMetric(32));
  const QImage shown = loader.load(turned, QSize())->image;
  ASSERT_EQ(shown.size(), QSize(32, 64));
  EXPECT_TRUE(near(shown.pixel(16, 8), kRed, 12));
  EXPECT_TRUE(near(shown.pixel(16, 56), kBlue, 12));

  // A green thumbnail tells when the thumbnail was used for a strip cell.
  QImage red(400, 300, QImage::Format_RGB32);
  red.fill(kRed);
  auto green = [](int w, int h) {
    QImage g(w, h, QImage::Format_RGB32);
    g.fill(qRgb(0, 200, 0));
    return g;
  };
  struct Case {
    const char* name;
    int orientation;
    QImage thumbnail;
    bool used;
  } cases[] = {
      {"same.heic", 1, green(400, 300), true},
      {"within2.heic", 1, green(400, 295), true},    // 1.7 % wider
      {"cropped.heic", 1, green(400, 290), false},   // 3.4 % wider
      {"unturned.heic", 6, green(400, 300), false},  // the photo was turned, not it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = write(c.name, test::heicFile(red, 50, c.orientation, 0, 320, c.thumbnail));
    const PictureRef cell = loader.load(path, QSize(119, 89));
    ASSERT_FALSE(cell->broken);
    EXPECT_EQ(cell->image.size(), c.orientation == 6 ? QSize(67, 89) : QSize(119, 89));
    EXPECT_TRUE(near(cell->image.pixel(30, 30), c.used ? qRgb(0, 200, 0) : kRed, 16));
    // A photo opened small on a poster may come from it too; one just
    // placed, which may be made large, never does.
    EXPECT_TRUE(near(loader.load(path, QSize(300, 300))->image.pixel(30, 30),
                     c.used ? qRgb(0, 200, 0) : kRed, 16));
    EXPECT_TRUE(near(loader.load(path, QSize(1400, 1000))->image.pixel(30, 30), kRed, 16));
  }
}

TEST_F(PictureLoaderTest, HeicGridsAreJoinedAndBroughtDownWhole) {
  // Three colours whose edges cross the tiles of 64, the last column and
  // row of tiles cut short, as a phone's photo is; below the red, black and
  // white lines that come down to grey.
  QImage picture(300, 200, QImage::Format_RGB32);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x)
      picture.setPixel(x, y,
                       x >= 100  ? (y < 90 ? kBlue : kOrange)
                       : y < 150 ? kRed
                                 : (y % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)));
  const QString grid = write("grid.heic", test::heicGridFile(picture, 64, 90));
  struct Point {
    int x, y;
    QRgb colour;
  } points[] = {{10, 10, kRed},   {90, 140, kRed},     {290, 10, kBlue},
                {120, 80, kBlue}, {120, 100, kOrange}, {290, 190, kOrange}};
  for (QSize box : {QSize(), QSize(1400, 1000), QSize(100, 100)}) {
    SCOPED_TRACE(box.width());
    const QImage shown = loader.load(grid, box)->image;
    const QSize size = box.width() == 100 ? QSize(100, 67) : QSize(300, 200);
    ASSERT_EQ(shown.size(), size);
    for (const Point& p : points)
      EXPECT_TRUE(
          near(shown.pixel(p.x * size.width() / 300, p.y * size.height() / 200), p.colour, 12))
          << p.x << "," << p.y;
    if (box.width() == 100) {
      EXPECT_TRUE(near(shown.pixel(30, 58), qRgb(128, 128, 128), 24));
    }
  }
  // A grid short of a tile is refused, not shown with a hole.
  const QString holed = write("holed.heic", test::heicGridFile(picture, 64, 90, 0, nullptr, 1));
  EXPECT_TRUE(loader.load(holed, QSize())->broken);
  EXPECT_TRUE(loader.load(holed, QSize(119, 89))->broken);

  // With alpha, the clear part stays clear.
  const QString clear = write("clear.heic", test::heicFile(seeThrough(40, 20), 90));
  const QImage seen = loader.load(clear, QSize(20, 20))->image;
  ASSERT_EQ(seen.size(), QSize(20, 10));
  EXPECT_EQ(seen.format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_LE(qAlpha(seen.pixel(16, 2)), 8);
  EXPECT_TRUE(near(seen.pixel(2, 2), kRed, 16));
}

TEST_F(PictureLoaderTest, NewKindsRefuseBrokenAndOversizedFiles) {
  const QByteArray png = encoded(photo(200, 100), "PNG");
  const QByteArray webp = encoded(photo(200, 100), "WEBP");
  const QByteArray tiff = encoded(photo(200, 100), "TIFF");
  const QByteArray heic = test::heicFile(photo(128, 96), 60);
  QByteArray heicBits = heic;  // the decoder's set-up overwritten
  for (qsizetype i = heic.indexOf("hvcC") + 4; i < heic.indexOf("hvcC") + 60; ++i)
    heicBits[i] = '\x55';
  QByteArray heicHuge = heic;  // every ispe claims 30000 x 30000
  for (qsizetype at = 0; (at = heicHuge.indexOf("ispe", at)) >= 0; at += 4)
    heicHuge.replace(at + 8, 8, QByteArray("\0\0\x75\x30\0\0\x75\x30", 8));
  QByteArray webpHuge = encoded(seeThrough(200, 100), "WEBP");
  QByteArray lossless = webpHuge;
  // Canvas 16000 x 16000 in the extended header.
  webpHuge = lossless.left(12) + QByteArray("VP8X\x0a\0\0\0\x10\0\0\0\x7f\x3e\0\x7f\x3e\0", 18) +
             lossless.mid(12);
  QByteArray riffSize;
  test::put32(riffSize, quint32(webpHuge.size() - 8));
  webpHuge.replace(4, 4, riffSize);
  const QList<QPair<QString, QByteArray>> cases = {
      {"half.png", png.left(png.size() / 2)},
      {"claims.png", test::pngFile(photo(20, 20), false, 20000, 20000)},
      {"half.webp", webp.left(webp.size() / 2)},
      {"claims.webp", webpHuge},
      {"half.tif", tiff.left(tiff.size() / 2)},
      {"half.heic", heic.left(heic.size() / 2)},
      {"bits.heic", heicBits},
      {"claims.heic", heicHuge},
      {"avif.heic",
       "\0\0\0\x18"
       "ftypavif\0\0\0\0mif1avif"},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name.toStdString());
    const QString path = write(name, bytes);
    EXPECT_TRUE(loader.load(path, QSize(119, 89))->broken);
    EXPECT_TRUE(loader.load(path, QSize())->broken);
    if (name.startsWith("claims")) {
      EXPECT_FALSE(loader.probe(path).usable);
    }
  }
  EXPECT_LT(peakRssMb(), 1024);
}

TEST(PictureFiles, TheListOffersTheNewKindsByTheirUsualExtensions) {
  QTemporaryDir dir;
  for (const char* name : {"a.PNG", "b.webp", "c.heic", "d.HEIF", "e.tif", "f.tiff", "g.jpeg",
                           "h.JPE", "i.jpg", "j.avif", "k.svg", "l.png.txt"}) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  EXPECT_EQ(listPictureFiles(dir.path()),
            QStringList({"a.PNG", "b.webp", "c.heic", "d.HEIF", "e.tif", "f.tiff", "g.jpeg",
                         "h.JPE", "i.jpg"}));
}

TEST_F(PictureLoaderTest, LoadEachReportsEveryIndexOnceOnTheCallingThread) {
  QStringList paths;
  for (int i = 0; i < 9; ++i)
    paths << write(QString("p%1.jpg").arg(i), encoded(photo(100 + 10 * i, 80), "JPEG"));
  paths << write("broken.gif", "GIF89a");
  paths << write("sun.wmf", sunWmf());
  QSet<int> seen;
  int calls = 0;
  loader.loadEach(paths, QSize(119, 89), [&](int i, PictureRef p) {
    ++calls;
    EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
    seen.insert(i);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->path, paths[i]);
    EXPECT_EQ(p->broken, i == 9);
    if (i < 9) {
      EXPECT_EQ(p->image.width(), qMin(119, 100 + 10 * i));
    }
  });
  EXPECT_EQ(calls, paths.size());
  EXPECT_EQ(seen.size(), paths.size());
  loader.loadEach({}, QSize(119, 89), [&](int, PictureRef) { ++calls; });
  EXPECT_EQ(calls, paths.size());
}

TEST_F(PictureLoaderTest, StripPicturesComeFromTheSharedCacheOnlyWhileTheFileIsUnchanged) {
  QImage red(400, 300, QImage::Format_ARGB32);
  red.fill(qRgba(220, 30, 30, 128));
  const QString path = write("big.png", encoded(red, "PNG"));
  const QSize cell(119, 89);
  const PictureRef fresh = loader.load(path, cell);
  const QImage cached = cachedThumbnail(path, ThumbnailSize::Normal, true);
  ASSERT_EQ(cached.size(), QSize(128, 96));
  EXPECT_EQ(cached.text("Thumb::Image::Width"), "400");
  // A cached cell is the fresh one: same pixels, same natural size.
  const PictureRef again = loader.load(path, cell);
  EXPECT_EQ(again->image, fresh->image);
  EXPECT_EQ(again->widthHiMetric, pixelsToHiMetric(400));
  EXPECT_EQ(again->heightHiMetric, fresh->heightHiMetric);

  // Another program's thumbnail (which may show what we cannot read) is not used.
  QImage green(128, 96, QImage::Format_RGB32);
  green.fill(qRgb(0, 200, 0));
  ASSERT_TRUE(storeThumbnail(path, ThumbnailSize::Normal, green, QSize(400, 300)));
  QFile f(thumbnailCacheRoot() + "/normal/" +
          QCryptographicHash::hash(QUrl::fromLocalFile(path).toEncoded(), QCryptographicHash::Md5)
              .toHex() +
          ".png");
  QImage foreign(f.fileName());
  foreign.setText("Software", "another");
  ASSERT_TRUE(foreign.save(f.fileName()));
  EXPECT_EQ(qRed(loader.load(path, cell)->image.pixel(5, 5)), qRed(fresh->image.pixel(5, 5)));

  // A changed file is decoded again, never shown from an old thumbnail, even
  // when it changed within the same second.
  QImage blue(300, 300, QImage::Format_RGB32);
  blue.fill(kBlue);
  write("big.png", encoded(blue, "PNG"));
  const PictureRef changed = loader.load(path, cell);
  EXPECT_EQ(changed->image.pixel(5, 5), kBlue);
  EXPECT_EQ(changed->image.size(), QSize(89, 89));
  // A file smaller than a thumbnail is its own: nothing is cached for it.
  const QString small = write("small.png", encoded(blue.scaled(60, 60), "PNG"));
  loader.load(small, cell);
  EXPECT_TRUE(cachedThumbnail(small, ThumbnailSize::Normal).isNull());
}

TEST_F(PictureLoaderTest, NaturalSizeRoundsToTheNearestTwip) {
  // A 3-pixel side is 45 twips, not 44 as truncation made it.
  const PictureInfo info = loader.probe(write("three.bmp", encoded(photo(3, 7), "BMP")));
  ASSERT_TRUE(info.usable);
  EXPECT_EQ(hiMetricToTwips(info.widthHiMetric), 45);
  EXPECT_EQ(hiMetricToTwips(info.heightHiMetric), 105);
}

// Each "picture" takes a while to decode, and every start is noted.
class SlowLoader : public FilePictureLoader {
 public:
  PictureRef load(const QString& path, QSize) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      started_ << path;
    }
    QThread::msleep(50);
    auto p = std::make_shared<Picture>();
    p->path = path;
    p->image = QImage(4, 4, QImage::Format_RGB32);
    return p;
  }
  int startedWith(const QString& prefix) {
    std::lock_guard<std::mutex> lock(mutex_);
    return int(started_.filter(QRegularExpression("^" + prefix)).size());
  }

 private:
  std::mutex mutex_;
  QStringList started_;
};

// The strip scrolls on while a page decodes: the old page decodes no
// further picture, none of it arrives any more, and the new page comes at once.
TEST_F(PictureLoaderTest, LoadLaterHandsThePictureBackOnTheCallingThreadsLoop) {
  const QString path = write("later.bmp", bmp8File(indexedImage(64, 32, {kRed})));
  PictureRef got;
  QThread* on = nullptr;
  loader.loadLater(path, QSize(), [&](PictureRef p) {
    got = std::move(p);
    on = QThread::currentThread();
  });
  EXPECT_FALSE(got);
  QDeadlineTimer deadline(10000);
  while (!got && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  ASSERT_TRUE(got);
  EXPECT_EQ(on, QThread::currentThread());
  EXPECT_EQ(got->image.size(), QSize(64, 32));
}

TEST(PictureLoaderCancel, ANewerBatchStopsTheOldOne) {
  SlowLoader loader;
  QStringList oldPage, newPage;
  for (int i = 0; i < 10; ++i) {
    oldPage << QString("old%1").arg(i);
    newPage << QString("new%1").arg(i);
  }
  auto cancelOld = std::make_shared<std::atomic<bool>>(false);
  QStringList arrived;
  int oldAtCancel = 0;
  loader.loadEach(
      oldPage, QSize(119, 89),
      [&](int, PictureRef p) {
        arrived << p->path;
        if (arrived.size() != 1) return;
        *cancelOld = true;
        oldAtCancel = loader.startedWith("old");
        loader.loadEach(newPage, QSize(119, 89), [&](int, PictureRef q) { arrived << q->path; });
      },
      cancelOld);
  ASSERT_EQ(arrived.size(), 11);
  for (int k = 1; k < 11; ++k) EXPECT_TRUE(arrived[k].startsWith("new")) << k;
  // At most the pictures the workers were already fetching get started.
  EXPECT_LE(loader.startedWith("old"), oldAtCancel + FilePictureLoader::kWorkers);
  EXPECT_LT(loader.startedWith("old"), 10);
}

}  // namespace
}  // namespace pastel
