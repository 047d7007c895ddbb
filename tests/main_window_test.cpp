#include <gtest/gtest.h>

#include <cmath>

#include "form/int16.h"
#include "platform/screen_fit.h"
#include "steps/palette.h"
#include "steps/startup.h"
#include "test_support.h"

namespace pastel {
namespace {

TEST(MainWindowStartUp, EstablishesTheStartValuesAndStepOne) {
  test::PosterFixture fx;
  Poster& p = fx.poster;
  EXPECT_EQ(p.paperColourCode, "#ffffff");
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(p.wordTextColourCodes[i], "#000000");
    EXPECT_EQ(p.wordFrameColourCodes[i], "#ffffff");
    EXPECT_EQ(p.photoStackOrder[i], i);
    EXPECT_EQ(p.wordStackOrder[i], i);
    EXPECT_FALSE(p.form.text1[i].visible);
    EXPECT_FLOAT_EQ(p.form.text1[i].top, 2640 + 720 * i);
    EXPECT_FLOAT_EQ(p.form.text1[i].fontSize, 14.25f);
  }
  EXPECT_TRUE(p.wordTextColourCodes[10].isEmpty());
  EXPECT_TRUE(p.wordFrameColourCodes[10].isEmpty());
  for (int i = 10; i <= 20; ++i) EXPECT_EQ(p.photoStackOrder[i], 0);
  for (int i = 0; i <= 10; ++i) {
    EXPECT_FALSE(p.form.image3[i].visible);
    EXPECT_FLOAT_EQ(p.form.image3[i].left, 11040 + 120 * i);
    EXPECT_FLOAT_EQ(p.form.image3[i].height, 1335);
  }
  EXPECT_EQ(p.selectionActive, 0);
  EXPECT_EQ(p.penDown, 0);
  EXPECT_EQ(p.wordEditMode, "3");
  EXPECT_EQ(p.selectedIndex, 0);
  EXPECT_EQ(p.selectedKind, SelectedKind::None);
  EXPECT_EQ(p.form.paper.backColor(), kSysWindowBackground);

  // Centred on the designed size, then the height is set.
  EXPECT_FLOAT_EQ(p.form.left, (1920 * kTwipsPerPixel - 15240) / 2.0f);
  EXPECT_FLOAT_EQ(p.form.top, (1080 * kTwipsPerPixel - 11520) / 2.0f);
  EXPECT_FLOAT_EQ(p.form.width, 15240);
  EXPECT_FLOAT_EQ(p.form.height, 11520);
  EXPECT_EQ(fx.loop.yields, 2);

  EXPECT_EQ(p.form.label5.caption, "１．かみのいろを きめます");
  EXPECT_EQ(currentStep(p), 1);
  std::vector<QString> shown;
  p.form.forEach([&](Element& e) {
    if (e.visible && e.name != "Image2") shown.push_back(e.name);
  });
  std::vector<QString> expected{"Label3",    "Label5",    "Command5",  "Command11", "Command3",
                                "Command19", "Command12", "Command13", "Picture1",  "HScroll1"};
  std::sort(shown.begin(), shown.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(shown, expected);
  EXPECT_FALSE(p.form.command5.enabled);
}

TEST(MainWindowStartUp, CentringOnASmallScreenIsKeptNegative) {
  Poster p;
  FixedDesktop small(800 * kTwipsPerPixel, 600 * kTwipsPerPixel);
  p.svc.desktop = &small;
  startUpBeforeShow(p);
  EXPECT_LT(p.form.left, 0);
  EXPECT_LT(p.form.top, 0);
}

// The window with its frame and menu bar, and its client area, in pixels.
double scaleFor(int width, int height) {
  return scaleToFit(
      QSize(width, height),
      QSize(twipsToPixels(MainForm::kOuterWidth), twipsToPixels(MainForm::kOuterHeight)),
      QSize(twipsToPixels(MainForm::kClientWidth), twipsToPixels(MainForm::kClientHeight)));
}

TEST(MainWindowStartUp, IsDrawnSmallerOnlyWhereItDoesNotFitTheScreen) {
  for (QSize s : {QSize(1024, 768), QSize(1366, 768), QSize(1920, 1040), QSize(1016, 768)})
    EXPECT_EQ(scaleFor(s.width(), s.height()), 1) << s.width() << "x" << s.height();
  // 1920 x 1080 at 150 %, a school laptop with its taskbar, a narrow screen.
  for (QSize s : {QSize(1280, 720), QSize(1366, 728), QSize(1024, 728), QSize(800, 600)}) {
    const double f = scaleFor(s.width(), s.height());
    EXPECT_LT(f, 1) << s.width() << "x" << s.height();
    EXPECT_EQ(f * 64, std::floor(f * 64));
    // Client area and menu drawn at f, frame and menu at full size: it fits,
    // and at the next step up it would not.
    auto fits = [&](double g) { return 58 + 710 * g <= s.height() && 8 + 1008 * g <= s.width(); };
    EXPECT_TRUE(fits(f)) << s.width() << "x" << s.height();
    EXPECT_FALSE(fits(f + 1.0 / 64)) << s.width() << "x" << s.height();
  }
  EXPECT_EQ(scaleFor(1280, 720), 59.0 / 64);
}

// Drawn smaller, the window and the palette beside it are centred on what
// the panels leave, not on the whole screen.
TEST(MainWindowStartUp, DrawnSmallerItIsCentredOnTheFreeArea) {
  Poster p;
  FixedDesktop laptop(1482 * kTwipsPerPixel, 833 * kTwipsPerPixel);  // 1366 x 768 at 59/64
  laptop.fitted = QRectF(0, 30 * kTwipsPerPixel, 1482 * kTwipsPerPixel, 781 * kTwipsPerPixel);
  p.svc.desktop = &laptop;
  startUpBeforeShow(p);
  EXPECT_FLOAT_EQ(p.form.left, (1482 * kTwipsPerPixel - 15240) / 2);
  EXPECT_FLOAT_EQ(p.form.top, 30 * kTwipsPerPixel + (781 * kTwipsPerPixel - 11520) / 2);
  openPalette(p, PaletteTarget::Line);
  EXPECT_FLOAT_EQ(p.palette.left, p.form.left + 11000);
  EXPECT_FLOAT_EQ(p.palette.top, p.form.top + 780);

  // Left at 1x on a screen without high-DPI scaling: the menu bar stays on it.
  Poster q;
  FixedDesktop flat(1366 * kTwipsPerPixel, 768 * kTwipsPerPixel);
  flat.fitted = QRectF(0, 0, 1366 * kTwipsPerPixel, 728 * kTwipsPerPixel);
  q.svc.desktop = &flat;
  startUpBeforeShow(q);
  EXPECT_FLOAT_EQ(q.form.top, 0);
}

TEST(PosterModel, StackOrderMovesThePressedToTheEnd) {
  Poster p;
  p.setStartValues();
  for (int i : {3, 7, 3}) bringPhotoToTop(p, i);
  const std::vector<int> want{0, 1, 2, 4, 5, 6, 8, 9, 7, 3};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(p.photoStackOrder[k], want[k]) << k;
  // The most recently pressed photo is also in front on screen.
  EXPECT_GT(p.form.image3[3].z, p.form.image3[7].z);

  // An index not in the list (entries 10..20 are 0): p stays 0.
  std::array<std::int16_t, 21> order{};
  for (int k = 0; k < 10; ++k) order[k] = std::int16_t(k + 1);
  moveToTopOfStack(order, 42);
  EXPECT_EQ(order[0], 2);
  EXPECT_EQ(order[8], 10);
  EXPECT_EQ(order[9], 42);
}

TEST(PosterModel, PlacementAndFreeSlots) {
  Poster p;
  EXPECT_EQ(firstFreePhotoSlot(p), 0);
  p.form.image3[0].left = 9299;
  EXPECT_TRUE(isPlaced(p.form.image3[0]));
  p.form.image3[1].left = 9300;
  EXPECT_FALSE(isPlaced(p.form.image3[1]));
  EXPECT_EQ(firstFreePhotoSlot(p), 1);
  for (int i = 0; i < 10; ++i) p.form.image3[i].left = 100;
  EXPECT_EQ(firstFreePhotoSlot(p), 10);
  p.form.image3[4].borderStyle = 1;
  p.form.text1[9].borderStyle = 1;
  clearFrames(p);
  EXPECT_EQ(p.form.image3[4].borderStyle, 0);
  EXPECT_EQ(p.form.text1[9].borderStyle, 0);
}

TEST(PosterModel, SixteenBitConversionRoundsHalvesToEvenAndReportsOverflow) {
  EXPECT_EQ(toInt16(0.5), 0);
  EXPECT_EQ(toInt16(1.5), 2);
  EXPECT_EQ(toInt16(2.5), 2);
  EXPECT_EQ(toInt16(-2.5), -2);
  EXPECT_EQ(toInt16(372.5), 372);
  EXPECT_EQ(toInt16(3998.4), 3998);
  EXPECT_EQ(toInt16(32767.4), 32767);
  EXPECT_EQ(toInt16(-32768.0), -32768);
  EXPECT_FALSE(toInt16(32767.5).has_value());  // rounds to 32768
  EXPECT_FALSE(toInt16(-32769.0).has_value());
  EXPECT_FALSE(toInt16(1e9).has_value());
  EXPECT_FALSE(toInt16(std::nan("")).has_value());
}

TEST(MainWindowStartUp, AppFolderEndsInExactlyOneSlash) {
  EXPECT_EQ(appFolderFrom("/usr/local/bin"), "/usr/local/bin/");
  EXPECT_EQ(appFolderFrom("/usr/local/bin/"), "/usr/local/bin/");
  EXPECT_EQ(appFolderFrom("/opt/パステル ボード//"), "/opt/パステル ボード/");
  EXPECT_EQ(appFolderFrom("/"), "/");
  Poster p;
  p.svc.executableFolder = "/a/b";
  EXPECT_EQ(appFolderPath(p), "/a/b/");
  p.svc.executableFolder = "/elsewhere";
  EXPECT_EQ(appFolderPath(p), "/a/b/");  // computed once and kept
}

TEST(EndConfirmation, AsksAndEndsOnlyOnYes) {
  test::PosterFixture fx;
  Poster& p = fx.poster;
  p.form.image3[2].left = 500;
  fx.dialogs.answers = {MsgAnswer::No};
  EXPECT_FALSE(confirmEnd(p));
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  const MessageBoxText& m = fx.dialogs.messages[0];
  EXPECT_EQ(m.text, "ほんとうに おわりにしますか？");
  EXPECT_EQ(m.title, "確認");
  EXPECT_EQ(m.icon, MsgIcon::Information);
  EXPECT_EQ(m.buttons, MsgButtons::YesNo);
  EXPECT_EQ(m.defaultButton, MsgAnswer::No);
  EXPECT_EQ(fx.desktop.terminated, 0);
  EXPECT_FLOAT_EQ(p.form.image3[2].left, 500);

  fx.dialogs.answers = {};  // Enter takes the default, No
  EXPECT_FALSE(confirmEnd(p));
  EXPECT_EQ(fx.desktop.terminated, 0);

  fx.dialogs.answers = {MsgAnswer::Yes};
  EXPECT_TRUE(confirmEnd(p));
  EXPECT_EQ(fx.desktop.terminated, 1);
}

}  // namespace
}  // namespace pastel
