#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>

#include "db_test_support.h"
#include "storage/template_db.h"
#include "view_support.h"

namespace pastel {
namespace {

QPoint paperPixel(float left, float top) {
  return {twipsToPixels(left - kPaperLeft), twipsToPixels(top - kPaperTop)};
}

// A poster written by hand beside a folder of pictures, opened through the
// menu: the window shows its paper, its photo and its word where they were.
TEST(OpenView, KaikuShowsThePosterWhereItWasSaved) {
  test::ViewFixture fx;
  const QString folder = fx.dir.path() + QStringLiteral("/ぼくの ポスター");
  QDir().mkpath(folder + QStringLiteral("/なつ"));
  QImage paper(707, 499, QImage::Format_RGB32);
  paper.fill(QColor(255, 200, 220));
  ASSERT_TRUE(paper.save(folder + QStringLiteral("/なつ/なつ.bmp"), "BMP"));
  QImage photo(300, 300, QImage::Format_RGB32);
  photo.fill(QColor(0, 0, 255));
  ASSERT_TRUE(photo.save(folder + QStringLiteral("/なつ/うみ.jpg"), "JPEG"));
  const QString db = folder + QStringLiteral("/なつ.mdb");
  ASSERT_TRUE(writeTemplateDatabase(db));
  ASSERT_TRUE(
      test::rawExec(db,
                    "UPDATE imagedata SET backcolor = 'なつ\\なつ.bmp', ima9L = '1440', "
                    "ima9T = '3300', ima9W = '1500', ima9H = '1500', ima9F = 'なつ\\うみ.jpg'; "
                    "UPDATE textdata SET tex9L = '6000', tex9T = '6000', tex9W = '3000', "
                    "tex9H = '645', tex9S = '14', tex9F = 'あ', tex9C = '255', "
                    "tex9B = '65535'"));

  Poster& p = fx.app->poster();
  fx.dialogs.paths.push_back(db);
  fx.app->window().itemOpen()->trigger();
  ASSERT_EQ(fx.dialogs.fileDialogs.size(), 1u);
  EXPECT_TRUE(fx.dialogs.messages.empty());
  EXPECT_EQ(p.form.label5.caption, kStep4OpenedTitle);
  EXPECT_TRUE(fx.widget<QPushButton>("Command20")->isVisible());
  EXPECT_TRUE(fx.app->window().menuBar()->isEnabled());

  const QImage shown = test::shownPaper(fx.app->window());
  const QString shots = qEnvironmentVariable("PASTEL_SCREENSHOT_DIR");
  if (!shots.isEmpty()) fx.app->window().grab().save(shots + QStringLiteral("/opened.png"));
  // Near: the photo went through JPEG.
  auto at = [&shown](QPoint pt) {
    const QColor c(shown.pixel(pt));
    auto near = [](int v) { return v < 8 ? 0 : v > 247 ? 255 : v; };
    return QColor(near(c.red()), near(c.green()), near(c.blue()));
  };
  EXPECT_EQ(at(QPoint(650, 450)), QColor(255, 200, 220));                // the paper picture
  EXPECT_EQ(at(paperPixel(1440 + 750, 3300 + 750)), QColor(0, 0, 255));  // the photo
  EXPECT_EQ(at(paperPixel(1440 + 1560, 3300 + 750)), QColor(255, 200, 220));
  EXPECT_EQ(at(paperPixel(6000 + 2900, 6000 + 300)), QColor(255, 255, 0));  // the word's frame
  EXPECT_EQ(at(paperPixel(6000 + 3100, 6000 + 300)), QColor(255, 200, 220));
  int red = 0;  // the word's text, in red
  for (int x = paperPixel(6000, 0).x(); x < paperPixel(6600, 0).x(); ++x)
    for (int y = paperPixel(0, 6000).y(); y < paperPixel(0, 6600).y(); ++y)
      red += at(QPoint(x, y)) == QColor(255, 0, 0);
  EXPECT_GT(red, 5);
}

}  // namespace
}  // namespace pastel
