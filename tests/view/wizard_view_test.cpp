#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "view_support.h"

namespace pastel {
namespace {

TEST(WizardView, ChosenPaperColourEndsUpInTheSnapshot) {
  test::ViewFixture fx;
  QTest::mouseClick(fx.widget<QPushButton>("Command12"), Qt::LeftButton);
  QWidget* palette = test::topLevel("Form2");
  ASSERT_NE(palette, nullptr);
  EXPECT_TRUE(palette->isVisible());
  EXPECT_EQ(palette->size(), QSize(273, 157));
  auto* swatch = palette->findChild<QLabel*>("Label3(12)");  // 80 ff 80
  ASSERT_NE(swatch, nullptr);
  QTest::mouseClick(swatch, Qt::LeftButton);
  auto* ok = palette->findChild<QPushButton*>("Command12");
  EXPECT_EQ(ok->palette().color(QPalette::Button), QColor(0x80, 0xff, 0x80));
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_FALSE(palette->isVisible());
  EXPECT_EQ(fx.app->poster().paperColourCode, "#80ff80");

  QTest::mouseClick(fx.widget<QPushButton>("Command11"), Qt::LeftButton);
  Poster& p = fx.app->poster();
  EXPECT_EQ(p.form.label5.caption, kStep2Title);
  ASSERT_TRUE(p.form.image2.picture);
  const QImage& snap = p.form.image2.picture->image;
  EXPECT_EQ(snap.size(), QSize(707, 499));
  EXPECT_EQ(snap.pixelColor(350, 250), QColor(0x80, 0xff, 0x80));
  EXPECT_EQ(snap.pixelColor(0, 0), QColor(0x80, 0xff, 0x80));
  EXPECT_EQ(snap.pixelColor(706, 498), QColor(0x80, 0xff, 0x80));
  EXPECT_FALSE(fx.widget("Picture1")->isVisible());
  EXPECT_TRUE(fx.widget("Command6")->isVisible());
}

// The grab is what the paper shows now, photos and words on it included,
// and nothing of the window beside it.
TEST(WizardView, GrabRendersThePaperAsItIsNow) {
  test::ViewFixture fx;
  Poster& p = fx.app->poster();
  p.form.paper.setBackColor(rgb(0, 0, 255));  // no sync since
  QImage a = p.svc.capture->grabPaper();
  EXPECT_EQ(a.size(), QSize(707, 499));
  EXPECT_EQ(a.pixelColor(300, 300), QColor(0, 0, 255));

  // In the photo step, a photo over the paper, a thumbnail in the strip.
  QTest::mouseClick(fx.widget<QPushButton>("Command11"), Qt::LeftButton);
  Element& photo = p.form.image3[0];
  photo.picture = pictureFromImage([] {
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    return img;
  }());
  photo.left = kPaperLeft + kTwipsPerPixel * 100;
  photo.top = kPaperTop + kTwipsPerPixel * 50;
  photo.width = photo.height = kTwipsPerPixel * 40;
  photo.visible = true;
  Element& thumb = p.form.image1[0];
  thumb.picture = photo.picture;
  thumb.visible = true;
  QImage b = p.svc.capture->grabPaper();
  EXPECT_EQ(b.pixelColor(120, 70), QColor(Qt::red));
  EXPECT_EQ(b.pixelColor(99, 49), QColor(0, 0, 255));
  EXPECT_EQ(b.pixelColor(706, 0), QColor(0, 0, 255));
  // The earlier grab is its own picture.
  EXPECT_EQ(a.pixelColor(120, 70), QColor(0, 0, 255));
}

}  // namespace
}  // namespace pastel

namespace pastel {
namespace {

// Walks the four steps by their buttons; with PASTEL_SCREENSHOT_DIR set it
// also saves a picture of the window in each step for a person to look at.
TEST(WizardView, WalksTheFourStepsByTheirButtons) {
  test::ViewFixture fx;
  const QString dir = qEnvironmentVariable("PASTEL_SCREENSHOT_DIR");
  auto shoot = [&](int step) {
    QCoreApplication::processEvents();
    if (!dir.isEmpty())
      fx.app->window().grab().save(QStringLiteral("%1/step%2.png").arg(dir).arg(step));
  };
  const char* next[] = {"Command11", "Command6", "Command4"};
  for (int step = 1; step <= 4; ++step) {
    EXPECT_EQ(currentStep(fx.app->poster()), step);
    EXPECT_TRUE(fx.widget(step == 4 ? "Command20" : "Command3")->isVisible());
    shoot(step);
    if (step < 4) QTest::mouseClick(fx.widget<QPushButton>(next[step - 1]), Qt::LeftButton);
  }
  // Disabled Next in step 4 does nothing.
  QTest::mouseClick(fx.widget<QPushButton>("Command4"), Qt::LeftButton);
  EXPECT_EQ(fx.app->poster().form.label5.caption, kStep4Title);
  QTest::mouseClick(fx.widget<QPushButton>("Command16"), Qt::LeftButton);
  EXPECT_EQ(fx.app->poster().form.label5.caption, kStep3Title);
}

}  // namespace
}  // namespace pastel
