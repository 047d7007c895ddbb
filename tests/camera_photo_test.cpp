#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "canvas/picture_strip.h"
#include "form/element.h"
#include "picture_file_test.h"
#include "picture_writers.h"
#include "platform/file_picture_loader.h"
#include "platform/picture_size.h"

namespace pastel {
namespace {

using test::exifBlock;
using test::withExif;

QByteArray jpeg(const QImage& img, const char* format = "JPEG") {
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, format, 95);
  return bytes;
}

// A picture as the camera meant it shown: four coloured quarters, so any
// turn or mirror moves at least two of them.
struct Quarters {
  QRgb topLeft, topRight, bottomLeft, bottomRight;
  QRgb at(int x, int y, QSize s) const {
    const bool left = x < s.width() / 2, top = y < s.height() / 2;
    return top ? (left ? topLeft : topRight) : (left ? bottomLeft : bottomRight);
  }
};
const Quarters kPhoto{qRgb(220, 30, 30), qRgb(30, 180, 40), qRgb(30, 60, 220), qRgb(250, 250, 250)};
const Quarters kThumb{qRgb(240, 220, 0), qRgb(200, 0, 200), qRgb(0, 200, 220), qRgb(0, 0, 0)};

// What the file stores for orientation o: which shown pixel each stored one
// is, as the tag defines it (row 0 / column 0 of the stored picture are the
// shown picture's top/left, top/right, bottom/right, bottom/left, then
// left/top, right/top, right/bottom, left/bottom).
QImage storedFor(const Quarters& q, QSize shown, int o) {
  const int W = shown.width(), H = shown.height();
  const QSize stored = o >= 5 ? shown.transposed() : shown;
  const std::function<QPoint(int, int)> shownOf[9] = {
      {},
      [&](int x, int y) { return QPoint(x, y); },
      [&](int x, int y) { return QPoint(W - 1 - x, y); },
      [&](int x, int y) { return QPoint(W - 1 - x, H - 1 - y); },
      [&](int x, int y) { return QPoint(x, H - 1 - y); },
      [&](int x, int y) { return QPoint(y, x); },
      [&](int x, int y) { return QPoint(W - 1 - y, x); },
      [&](int x, int y) { return QPoint(W - 1 - y, H - 1 - x); },
      [&](int x, int y) { return QPoint(y, H - 1 - x); },
  };
  QImage img(stored, QImage::Format_RGB32);
  for (int y = 0; y < stored.height(); ++y)
    for (int x = 0; x < stored.width(); ++x) {
      const QPoint s = shownOf[o](x, y);
      img.setPixel(x, y, q.at(s.x(), s.y(), shown));
    }
  return img;
}

bool near(QRgb a, QRgb b) {
  return qAbs(qRed(a) - qRed(b)) < 40 && qAbs(qGreen(a) - qGreen(b)) < 40 &&
         qAbs(qBlue(a) - qBlue(b)) < 40;
}

void expectQuarters(const QImage& img, const Quarters& q) {
  const int w = img.width(), h = img.height();
  EXPECT_TRUE(near(img.pixel(w / 4, h / 4), q.topLeft));
  EXPECT_TRUE(near(img.pixel(3 * w / 4, h / 4), q.topRight));
  EXPECT_TRUE(near(img.pixel(w / 4, 3 * h / 4), q.bottomLeft));
  EXPECT_TRUE(near(img.pixel(3 * w / 4, 3 * h / 4), q.bottomRight));
}

using CameraPhotos = test::PictureFileTest;

TEST_F(CameraPhotos, EveryOrientationShowsAsTheCameraMeant) {
  const QSize shown(320, 240);
  QStringList paths;
  for (int o = 1; o <= 8; ++o) {
    const QByteArray photo = jpeg(storedFor(kPhoto, shown, o));
    // The strip takes the thumbnail (other colours, so it shows which was used).
    const QByteArray thumb = jpeg(storedFor(kThumb, QSize(160, 120), o));
    paths << write(QString("o%1.jpg").arg(o), withExif(photo, exifBlock(o, thumb, o % 2), o > 4));
  }
  int strip = 0;
  loader.loadEach(paths, kThumbnailMaxPixels, [&](int i, PictureRef p) {
    SCOPED_TRACE(i + 1);
    ++strip;
    ASSERT_FALSE(p->broken);
    EXPECT_EQ(p->image.size(), QSize(119, 89));
    expectQuarters(p->image, kThumb);
    EXPECT_EQ(p->widthHiMetric, 8467);  // the photo's size, 320 x 240 at 96 dpi
    EXPECT_EQ(p->heightHiMetric, 6350);
  });
  EXPECT_EQ(strip, 8);
  for (int o = 1; o <= 8; ++o) {
    SCOPED_TRACE(o);
    const PictureRef placed = loader.load(paths[o - 1], kPhotoMaxPixels);
    ASSERT_FALSE(placed->broken);
    EXPECT_EQ(placed->image.size(), shown);
    expectQuarters(placed->image, kPhoto);
    const PictureInfo info = loader.probe(paths[o - 1]);
    EXPECT_EQ(info.widthHiMetric, 8467);
    EXPECT_EQ(info.heightHiMetric, 6350);
  }
}

TEST_F(CameraPhotos, PortraitPhoneFileIsPortraitInTheStrip) {
  // Stored 400 x 300, marked as taken upright (6): a portrait photo.
  const QString path =
      write("phone.jpg", withExif(jpeg(storedFor(kPhoto, QSize(300, 400), 6)), exifBlock(6)));
  const PictureInfo info = loader.probe(path);
  EXPECT_EQ(info.widthHiMetric, 7938);
  EXPECT_EQ(info.heightHiMetric, 10583);
  const PictureRef p = loader.load(path, kThumbnailMaxPixels);
  EXPECT_EQ(p->image.size(), QSize(67, 89));
  EXPECT_EQ(p->widthHiMetric, 7938);
  Element cell;
  ASSERT_TRUE(fitThumbnail(cell, 0, *p));
  EXPECT_FLOAT_EQ(cell.height, 1340);
  EXPECT_LT(cell.width, 1100);
  expectQuarters(loader.load(path, kPhotoMaxPixels)->image, kPhoto);
}

TEST_F(CameraPhotos, EmbeddedThumbnailOnlyWhenFitAndWhole) {
  const QImage blue =
      storedFor({kPhoto.bottomLeft, kPhoto.bottomLeft, kPhoto.bottomLeft, kPhoto.bottomLeft},
                QSize(640, 480), 1);
  const QByteArray photo = jpeg(blue);
  auto thumbOf = [](QSize s) { return jpeg(storedFor(kThumb, s, 1)); };
  const QByteArray good = thumbOf(QSize(160, 120));
  QByteArray lyingLength = exifBlock(1, good);
  lyingLength[6 + 8 + 2 + 12 + 4 + 2 + 12 + 12 + 8 + 3] = char(0x7F);  // runs past the block
  const struct Case {
    const char* name;
    QByteArray exif;
    bool thumbnailShown;
  } cases[] = {
      {"fit", exifBlock(1, good), true},
      {"big-endian", exifBlock(1, good, true), true},
      {"shape within 1 %", exifBlock(1, thumbOf(QSize(160, 121))), true},
      {"shape 1.7 % off", exifBlock(1, thumbOf(QSize(160, 118))), true},
      {"shape 2.6 % off", exifBlock(1, thumbOf(QSize(160, 117))), false},
      {"left unturned", exifBlock(1, thumbOf(QSize(120, 160))), false},
      {"too small", exifBlock(1, thumbOf(QSize(80, 60))), false},
      {"other shape", exifBlock(1, thumbOf(QSize(160, 90))), false},
      {"not a JPEG", exifBlock(1, jpeg(storedFor(kThumb, QSize(160, 120), 1), "PNG")), false},
      {"cut off", exifBlock(1, good.left(good.size() / 2)), false},
      {"length past the block", lyingLength, false},
      {"garbage", QByteArray("Exif\0\0", 6) + QByteArray(300, '\xA5'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = write("t.jpg", withExif(photo, c.exif));
    const PictureRef p = loader.load(path, kThumbnailMaxPixels);
    ASSERT_FALSE(p->broken);
    EXPECT_EQ(p->image.size(), QSize(119, 89));
    EXPECT_EQ(p->widthHiMetric, 16933);
    const QRgb middle = p->image.pixel(30, 22);
    EXPECT_TRUE(near(middle, c.thumbnailShown ? kThumb.topLeft : kPhoto.bottomLeft));
    // Placing always decodes the photo itself.
    EXPECT_TRUE(near(loader.load(path, kPhotoMaxPixels)->image.pixel(30, 22), kPhoto.bottomLeft));
  }
  // A photo no larger than the cell is shown from its own pixels; a photo
  // cut off stays broken even with a good thumbnail.
  const QByteArray small = jpeg(blue.scaled(100, 75));
  const QString smallPath = write("small.jpg", withExif(small, exifBlock(1, good)));
  EXPECT_TRUE(
      near(loader.load(smallPath, kThumbnailMaxPixels)->image.pixel(30, 22), kPhoto.bottomLeft));
  const QByteArray whole = withExif(photo, exifBlock(1, good));
  EXPECT_TRUE(
      loader.load(write("cut.jpg", whole.left(whole.size() - 300)), kThumbnailMaxPixels)->broken);
}

// What this process has read from files so far, in bytes.
qint64 bytesReadSoFar() {
  QFile io("/proc/self/io");
  if (!io.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : io.readAll().split('\n'))
    if (line.startsWith("rchar:")) return line.mid(6).trimmed().toLongLong();
  return -1;
}

TEST_F(CameraPhotos, AStripCellReadsThePhotosHeadAndEndOnly) {
  if (bytesReadSoFar() < 0) GTEST_SKIP() << "no /proc/self/io";
  // Grain keeps the photo as large as a camera's (over a megabyte).
  QImage grain(1600, 1200, QImage::Format_RGB32);
  quint32 seed = 7;
  for (int y = 0; y < grain.height(); ++y)
    for (int x = 0; x < grain.width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      grain.setPixel(x, y, qRgb(int(seed >> 24), int(seed >> 16) & 0xff, int(seed >> 8) & 0xff));
    }
  const QByteArray whole =
      withExif(jpeg(grain), exifBlock(6, jpeg(storedFor(kThumb, QSize(120, 160), 6))));
  ASSERT_GT(whole.size(), 1'000'000);
  const struct Case {
    const char* name;
    QByteArray file;
    qint64 mostRead;
  } cases[] = {
      {"camera photo", whole, 64 * 1024},
      // Bytes after the end (as some phones append): the whole file is read.
      {"trailer", whole + QByteArray(20000, 'x'), whole.size() + 20000 + 64 * 1024},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = write("big.jpg", c.file);
    const qint64 before = bytesReadSoFar();
    const PictureRef p = loader.load(path, kThumbnailMaxPixels);
    EXPECT_LE(bytesReadSoFar() - before, c.mostRead);
    ASSERT_FALSE(p->broken);
    // The thumbnail, turned upright (6: taken on its side), the photo's size.
    EXPECT_EQ(p->image.size(), QSize(67, 89));
    expectQuarters(p->image, kThumb);
    EXPECT_EQ(p->widthHiMetric, pixelsToHiMetric(1200));
    EXPECT_EQ(p->heightHiMetric, pixelsToHiMetric(1600));
  }
}

TEST_F(CameraPhotos, OddOrientationTagsLeaveThePhotoUpright) {
  const QByteArray photo = jpeg(storedFor(kPhoto, QSize(64, 48), 1));
  QByteArray longTag = exifBlock(6);
  longTag[6 + 8 + 2 + 2] = 4;  // the tag as LONG instead of SHORT
  QByteArray ifdOutside = exifBlock(6);
  ifdOutside[6 + 4 + 3] = char(0x7F);  // first IFD far past the block
  for (const QByteArray& exif : {exifBlock(0), exifBlock(9), exifBlock(0xFFFF), longTag, ifdOutside,
                                 QByteArray("Exif\0\0MM", 8)}) {
    const PictureRef p = loader.load(write("odd.jpg", withExif(photo, exif)), QSize());
    ASSERT_FALSE(p->broken);
    EXPECT_EQ(p->image.size(), QSize(64, 48));
    expectQuarters(p->image, kPhoto);
  }
}

}  // namespace
}  // namespace pastel
