#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "view_support.h"

namespace pastel {
namespace {

TEST(SaveView, HozonInStepFourWritesThePosterFiles) {
  test::ViewFixture fx;
  Poster& p = fx.app->poster();
  p.form.text1[4].caption = QStringLiteral("なつ");
  p.form.text1[4].left = 3000;
  p.form.text1[4].top = 4000;
  for (const char* next : {"Command11", "Command6", "Command4"})
    QTest::mouseClick(fx.widget<QPushButton>(next), Qt::LeftButton);
  ASSERT_EQ(currentStep(p), 4);
  auto* hozon = fx.widget<QPushButton>("Command20");
  ASSERT_TRUE(hozon->isVisible());
  EXPECT_EQ(hozon->text(), QStringLiteral("ほぞん"));

  const QString folder = fx.dir.path() + QStringLiteral("/ぼくの ポスター");
  QDir().mkpath(folder);
  fx.dialogs.paths.push_back(folder + QStringLiteral("/なつ"));
  QTest::mouseClick(hozon, Qt::LeftButton);

  ASSERT_EQ(fx.dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(fx.dialogs.fileDialogs[0].filter, QStringLiteral("HTML(*.html)"));
  EXPECT_TRUE(fx.dialogs.messages.empty());
  EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/なつ.html")).isFile());
  EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/なつ.mdb")).isFile());
  const QImage bmp(folder + QStringLiteral("/なつ/なつ.bmp"), "BMP");
  const QImage jpeg(folder + QStringLiteral("/なつ/なつ.jpg"), "JPEG");
  EXPECT_EQ(bmp.size(), QSize(707, 499));
  EXPECT_EQ(jpeg.size(), QSize(707, 499));
  // The window takes input again.
  EXPECT_TRUE(fx.app->window().paperArea()->isEnabled());
  EXPECT_TRUE(fx.app->window().menuBar()->isEnabled());
}

}  // namespace
}  // namespace pastel
