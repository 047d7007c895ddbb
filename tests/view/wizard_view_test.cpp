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

TEST(WizardView, GrabRendersTheWindowsOwnPaper) {
  test::ViewFixture fx;
  Poster& p = fx.app->poster();
  // A window lying over the paper never gets into the grab.
  QWidget cover;
  cover.setGeometry(fx.app->window().geometry());
  cover.setAutoFillBackground(true);
  QPalette pal;
  pal.setColor(QPalette::Window, Qt::red);
  cover.setPalette(pal);
  cover.show();
  QImage a = p.svc.capture->grabPaper();
  QImage b = p.svc.capture->grabPaper();
  EXPECT_EQ(a.size(), QSize(707, 499));
  EXPECT_EQ(a, b);
  EXPECT_NE(a.constBits(), b.constBits());
  EXPECT_EQ(a.pixelColor(300, 300), QColor(Qt::white));
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
