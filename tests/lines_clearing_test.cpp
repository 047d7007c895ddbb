#include <gtest/gtest.h>

#include <QRect>

#include "canvas/clearing.h"
#include "canvas/lines.h"
#include "canvas/picture_strip.h"
#include "canvas_fixture.h"

namespace pastel {
namespace {

using test::CanvasFixture;
using test::PosterFixture;

struct Dots {
  int count = 0;
  QRect box;
};

Dots dotsOf(const QImage& img, ColourValue c) {
  const QRgb want = qRgb(redOf(c), greenOf(c), blueOf(c));
  Dots d;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xffffff) == (want & 0xffffff)) {
        ++d.count;
        d.box |= QRect(x, y, 1, 1);
      }
  return d;
}

TEST(Lines, DotsHaveTheScrollBarsRadiusInPixels) {
  PosterFixture fx;
  Poster& p = fx.poster;
  const ColourValue red = rgb(255, 0, 0);
  p.form.command13.backColor = red;
  for (int r : {1, 30}) {
    p.form.paper.setBackColor(kWhite);
    p.form.hscroll1.scroll.value = r;
    penPress(p, p.form.paper, 200 * kTwipsPerPixel, 150 * kTwipsPerPixel);
    penRelease(p);
    const Dots d = dotsOf(p.form.paper.image(), red);
    EXPECT_GE(d.count, int(3.14159 * (r - 1) * (r - 1))) << r;
    EXPECT_LE(d.count, int(3.14159 * (r + 1) * (r + 1)) + 1) << r;
    EXPECT_TRUE(QRect(200 - r, 150 - r, 2 * r + 1, 2 * r + 1).contains(d.box)) << r;
    EXPECT_TRUE(d.box.contains(QPoint(200, 150))) << r;
  }
}

// A child's quick stroke gives mouse events 10 to 20 pixels apart: it must
// still draw one line, as wide as its dots.
TEST(Lines, AStrokeIsOneLineDrawnOnlyWhileThePenIsDown) {
  PosterFixture fx;
  Poster& p = fx.poster;
  const ColourValue blue = rgb(0, 0, 255);
  p.form.command13.backColor = blue;
  p.form.paper.setBackColor(kWhite);
  p.form.hscroll1.scroll.value = 2;
  const QImage& img = p.form.paper.image();
  auto inked = [](const QImage& i, int x, int y) { return (i.pixel(x, y) & 0xffffff) == 0xffu; };
  penMove(p, p.form.paper, 1500, 1500);
  EXPECT_EQ(dotsOf(img, blue).count, 0);
  penPress(p, p.form.paper, 1500, 1500);  // pixel 100, 100
  penMove(p, p.form.paper, 4500, 1500);   // pixel 300, 100
  penMove(p, p.form.paper, 4500, 3750);   // pixel 300, 250
  penRelease(p);
  penMove(p, p.form.paper, 6000, 1500);
  for (int x = 100; x <= 300; x += 10) EXPECT_TRUE(inked(img, x, 100)) << x;
  for (int y = 100; y <= 250; y += 10) EXPECT_TRUE(inked(img, 300, y)) << y;
  EXPECT_TRUE(inked(img, 200, 98) && inked(img, 200, 102));  // as wide as a dot
  EXPECT_FALSE(inked(img, 200, 97) || inked(img, 200, 103));
  EXPECT_FALSE(inked(img, 400, 100));
  EXPECT_FALSE(inked(img, 350, 100));
  // The next stroke starts on its own.
  penPress(p, p.form.paper, 1500, 6000);  // pixel 100, 400
  penMove(p, p.form.paper, 1650, 6000);
  penRelease(p);
  EXPECT_TRUE(inked(img, 105, 400));
  EXPECT_FALSE(inked(img, 200, 325));
  // A press without a move is one dot.
  p.form.paper.setBackColor(kWhite);
  penPress(p, p.form.paper, 3000, 3000);
  penRelease(p);
  EXPECT_EQ(dotsOf(img, blue).box, QRect(198, 198, 5, 5));

  // The output surface draws on itself the same way.
  penPress(p, p.form.surface2, 1500, 3000);
  penMove(p, p.form.surface2, 4500, 3000);
  penRelease(p);
  EXPECT_TRUE(inked(p.form.surface2.image(), 200, 200));
  EXPECT_FALSE(inked(img, 150, 200));
}

TEST(Clearing, PaperClearRestoresTheWindowColourButNotTheCode) {
  PosterFixture fx;
  Poster& p = fx.poster;
  p.form.paper.setBackColor(rgb(0, 0, 200));
  p.paperColourCode = "#0000c8";
  p.form.paper.setBackPicture(pictureFromImage(QImage(50, 50, QImage::Format_RGB32)));
  p.form.command13.backColor = rgb(255, 0, 0);
  penPress(p, p.form.paper, 1500, 1500);
  const int yields = fx.loop.yields;
  clearPaper(p);
  EXPECT_EQ(p.form.shownBackColor(p.form.picture1), kSysWindowBackground);
  EXPECT_EQ(p.form.paper.backColor(), kSysWindowBackground);
  EXPECT_EQ(p.form.shownBackColor(p.form.command12), kSysWindowBackground);
  EXPECT_FALSE(p.form.paper.backPicture());
  EXPECT_EQ(p.paperColourCode, "#0000c8");
  const ColourValue win = resolveColour(kSysWindowBackground);
  EXPECT_EQ(dotsOf(p.form.paper.image(), win).count,
            PaperSurface::kWidthPx * PaperSurface::kHeightPx);
  EXPECT_EQ(fx.loop.yields, yields + 1);
}

TEST(Clearing, PhotoClearParksEveryPhotoAndKeepsThePaper) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  loadPictureStrip(p, CanvasFixture::names(3));
  for (int k = 0; k < 10; ++k) fx.place(k, 100.0f * k, 3000 + 10.0f * k);
  p.form.image3[6].width = 4000;
  p.form.image3[6].borderStyle = 1;
  p.selectedIndex = 6;
  p.selectionActive = 1;
  const auto order = p.photoStackOrder;
  auto snapshot = pictureFromImage(QImage(707, 499, QImage::Format_RGB32));
  p.form.paper.setBackPicture(snapshot);
  clearPhotos(p);
  EXPECT_EQ(p.selectionActive, 0);
  for (int k = 0; k < 10; ++k) {
    const Element& e = p.form.image3[k];
    EXPECT_FALSE(e.visible) << k;
    EXPECT_FLOAT_EQ(e.left, 9500) << k;
    EXPECT_FLOAT_EQ(e.top, 3000 + 10.0f * k) << k;
    EXPECT_FLOAT_EQ(e.width, 1785) << k;
    EXPECT_FLOAT_EQ(e.height, 1340) << k;
    EXPECT_EQ(e.borderStyle, 0) << k;
    EXPECT_FALSE(p.photoFiles[k].isEmpty()) << k;
  }
  EXPECT_EQ(p.photoStackOrder, order);
  // The paper and its lines stay for the next save.
  EXPECT_EQ(p.form.paper.backPicture(), snapshot);
  EXPECT_EQ(floatPhotoSlot(p, 0, 0, 0), 0);
}

TEST(Clearing, WordClearSendsEveryWordHome) {
  PosterFixture fx;
  Poster& p = fx.poster;
  for (int i = 0; i < 10; ++i) {
    Element& w = p.form.text1[i];
    w.caption = QStringLiteral("ことば%1").arg(i);
    w.left = 500;
    w.top = 3000;
    w.height = 645;
    w.width = 5000;
    w.fontSize = 14.25f;
    w.foreColor = rgb(255, 0, 0);
  }
  p.form.text1[2].borderStyle = 1;
  p.selectedIndex = 2;
  p.selectionActive = 1;
  p.form.paper.setBackPicture(pictureFromImage(QImage(10, 10, QImage::Format_RGB32)));
  p.form.picture1.visible = false;
  clearWords(p);
  EXPECT_EQ(p.selectionActive, 0);
  for (int i = 0; i < 10; ++i) {
    const Element& w = p.form.text1[i];
    EXPECT_FLOAT_EQ(w.left, 11040);
    EXPECT_FLOAT_EQ(w.top, 2520 + 720.0f * i);
    EXPECT_FLOAT_EQ(w.width, 3855);
    EXPECT_FLOAT_EQ(w.height, 345);
    EXPECT_FLOAT_EQ(w.fontSize, 14);
    EXPECT_EQ(w.caption, QStringLiteral("ことば%1").arg(i));
    EXPECT_EQ(w.foreColor, rgb(255, 0, 0));
    EXPECT_EQ(w.borderStyle, 0);
    EXPECT_FALSE(isPlaced(w));
  }
  EXPECT_FLOAT_EQ(p.form.text1[9].top, 9000);
  EXPECT_TRUE(p.form.paper.backPicture());
  EXPECT_FALSE(p.form.picture1.visible);
  // Left by the OverflowSlot: no word to unframe, no harm.
  p.selectedIndex = 10;
  clearWords(p);
  EXPECT_FLOAT_EQ(p.form.text1[0].left, 11040);
}

}  // namespace
}  // namespace pastel
