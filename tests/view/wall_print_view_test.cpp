#include <gtest/gtest.h>

#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "support/sample_poster.h"
#include "view_support.h"

namespace pastel {
namespace {

TEST(WallPrintView, TheButtonShowsInStepFourAndPrintsFourLandscapeSheets) {
  test::ViewFixture fx;
  Poster& p = fx.app->poster();
  QPushButton* button = fx.widget<QPushButton>("Command22");
  ASSERT_TRUE(button);
  EXPECT_EQ(button->text(), "おおきく いんさつ");
  EXPECT_FALSE(button->isVisible());
  fx.app->window().run([&] { test::makeSamplePoster(p); });
  ASSERT_TRUE(button->isVisible());

  const QString pdf = fx.dir.filePath("wall.pdf");
  test::FilePrinter printer(pdf);
  p.svc.printer = &printer;
  fx.dialogs.chosen = {0};
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(fx.dialogs.messages.empty());
  EXPECT_TRUE(fx.widget("Picture2")->isVisible());
  QProcess info;
  info.start("pdfinfo", {pdf});
  info.waitForFinished();
  const QString out = QString::fromUtf8(info.readAllStandardOutput());
  EXPECT_TRUE(out.contains(QRegularExpression("Pages:\\s+4\\n"))) << out.toStdString();
  EXPECT_EQ(printer.printer().pageLayout().orientation(), QPageLayout::Landscape);
}

}  // namespace
}  // namespace pastel
