#include "steps/palette.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace pastel {
namespace {

TEST(Palette, OkAppliesThePickByTarget) {
  test::PosterFixture fx;
  Poster& p = fx.poster;
  PaletteForm& pal = p.palette;

  // OK before any swatch: white, and the empty code.
  p.form.paper.paintDot(5, 5, 2, kBlack);
  openPalette(p, PaletteTarget::Paper);
  EXPECT_TRUE(pal.visible);
  paletteOk(p);
  EXPECT_FALSE(pal.visible);
  EXPECT_EQ(p.paperColourCode, "");
  EXPECT_EQ(p.form.paper.backColor(), kWhite);
  EXPECT_EQ(p.form.paper.image().pixelColor(5, 5), QColor(Qt::white));  // lines erased
  for (int i = 0; i < 10; ++i) EXPECT_EQ(p.wordFrameColourCodes[i], "");

  // Swatch 8 for the paper: shows e0e0e0, records #dfdfdf; words follow.
  p.form.paper.setBackPicture(pictureFromImage(QImage(707, 499, QImage::Format_RGB32)));
  openPalette(p, PaletteTarget::Paper);
  clickSwatch(p, 8);
  paletteOk(p);
  EXPECT_EQ(p.paperColourCode, "#dfdfdf");
  EXPECT_EQ(p.form.shownBackColor(p.form.command12), rgb(0xe0, 0xe0, 0xe0));
  EXPECT_EQ(p.form.paper.backColor(), rgb(0xe0, 0xe0, 0xe0));
  EXPECT_FALSE(p.form.paper.backPicture());
  EXPECT_EQ(p.form.paper.image().pixelColor(300, 300), QColor(0xe0, 0xe0, 0xe0));
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(p.form.text1[i].backColor, rgb(0xe0, 0xe0, 0xe0));
    EXPECT_EQ(p.wordFrameColourCodes[i], "#dfdfdf");
  }

  // OK without a new click re-applies the previous pick to another target.
  openPalette(p, PaletteTarget::Line);
  paletteOk(p);
  EXPECT_EQ(p.form.command13.backColor, rgb(0xe0, 0xe0, 0xe0));

  // Swatch 18 for the selected word's text records #fd7e00.
  p.selectedIndex = 3;
  openPalette(p, PaletteTarget::WordText);
  clickSwatch(p, 18);
  paletteOk(p);
  EXPECT_EQ(p.wordTextColourCodes[3], "#fd7e00");
  EXPECT_EQ(p.form.text1[3].foreColor, rgb(0xff, 0x80, 0x00));
  EXPECT_EQ(p.wordTextColourCodes[2], "#000000");

  openPalette(p, PaletteTarget::WordFrame);
  clickSwatch(p, 21);
  paletteOk(p);
  EXPECT_EQ(p.wordFrameColourCodes[3], "#00fdf0");
  EXPECT_EQ(p.form.text1[3].backColor, rgb(0x00, 0xff, 0xff));

  // SelectedIndex 10 (left by the OverflowSlot) names no word.
  p.selectedIndex = 10;
  const auto before = p.wordTextColourCodes;
  openPalette(p, PaletteTarget::WordText);
  clickSwatch(p, 17);
  paletteOk(p);
  EXPECT_EQ(p.wordTextColourCodes, before);
}

TEST(Palette, IsPlacedOnceByItsFormula) {
  test::PosterFixture fx;
  PaletteForm& pal = fx.poster.palette;
  openPalette(fx.poster, PaletteTarget::Line);
  EXPECT_FLOAT_EQ(pal.left, (1920 * kTwipsPerPixel - 15240) / 2.0f + 11000);
  EXPECT_FLOAT_EQ(pal.top, (1080 * kTwipsPerPixel - 11520) / 2.0f + 780);
  pal.left = 42;  // moved by the user
  openPalette(fx.poster, PaletteTarget::Paper);
  EXPECT_FLOAT_EQ(pal.left, 42);
  EXPECT_EQ(pal.target, PaletteTarget::Paper);
  // Ten codes differ from the colour shown.
  int differ = 0;
  for (const Swatch& s : kSwatches) {
    const QString hex =
        QString::asprintf("#%02x%02x%02x", redOf(s.shown), greenOf(s.shown), blueOf(s.shown));
    if (hex != s.code) ++differ;
  }
  EXPECT_EQ(differ, 10);
}

TEST(Palette, CodesOfRestoredColours) {
  test::PosterFixture fx;
  Poster& p = fx.poster;
  p.form.text1[0].foreColor = rgb(0xff, 0x80, 0x00);
  p.form.text1[0].backColor = rgb(0xc0, 0xff, 0xc0);
  p.form.text1[1].foreColor = rgb(1, 2, 3);
  p.form.text1[1].backColor = rgb(1, 2, 3);
  for (int k : {0, 1}) {
    textCodeOfColour(p, k);
    frameCodeOfColour(p, k);
  }
  EXPECT_EQ(p.wordTextColourCodes[0], "#fd7e00");
  EXPECT_EQ(p.wordFrameColourCodes[0], "#b7ffc0");
  EXPECT_EQ(p.wordTextColourCodes[1], "#000000");
  EXPECT_EQ(p.wordFrameColourCodes[1], "#ffffff");
}

}  // namespace
}  // namespace pastel
