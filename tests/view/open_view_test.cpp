#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImage>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "db_test_support.h"
#include "platform/file_picture_loader.h"
#include "platform/qt_platform_widgets.h"
#include "storage/poster_thumbnail.h"
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

// 開く's own dialog: each poster in the folder as a picture of its paper,
// in an icon view, and the dialog ends cleanly with pictures under way.
TEST(OpenView, TheDialogShowsEachPosterAsItsPaper) {
  QTemporaryDir dir;
  QDir().mkpath(dir.filePath("なつ"));
  QImage paper(707, 499, QImage::Format_RGB32);
  paper.fill(QColor(255, 200, 220));
  ASSERT_TRUE(paper.save(dir.filePath("なつ/なつ.bmp"), "BMP"));
  QStringList posters;
  for (int i = 0; i < 30; ++i) {
    posters << dir.filePath(QStringLiteral("なつ%1.mdb").arg(i));
    ASSERT_TRUE(writeTemplateDatabase(posters.back()));
    ASSERT_TRUE(test::rawExec(posters.back(), "UPDATE imagedata SET backcolor = 'なつ\\なつ.bmp'"));
  }
  FilePictureLoader loader;
  QtDialogs dialogs;
  FileDialogRequest request;
  request.filter = QStringLiteral("MDB(*.mdb)");
  request.directory = dir.path();
  bool looked = false;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dlg);
    auto* list = dlg->findChild<QListView*>(QStringLiteral("listView"));
    ASSERT_TRUE(list && list->isVisible());
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_GE(list->iconSize().width(), 128);
    EXPECT_EQ(dlg->nameFilters(), QStringList{"MDB(*.mdb)"});
    QAbstractProxyModel* icons = dlg->proxyModel();
    auto* files = icons ? qobject_cast<QFileSystemModel*>(icons->sourceModel()) : nullptr;
    ASSERT_TRUE(files);
    auto picture = [&](int i) {
      const QModelIndex at = icons->mapFromSource(files->index(posters[i]));
      const QIcon icon = qvariant_cast<QIcon>(icons->data(at, Qt::DecorationRole));
      return icon.availableSizes().contains(QSize(128, 90))
                 ? icon.pixmap(QSize(128, 90)).toImage().pixelColor(64, 45)
                 : QColor();
    };
    QTRY_COMPARE_WITH_TIMEOUT(picture(0), QColor(255, 200, 220), 20000);
    looked = true;
    dlg->reject();  // others still being made
  });
  const std::optional<QString> chosen = dialogs.openFileShowingPictures(
      request, [&loader](const QString& path) { return posterThumbnail(path, loader, 128); });
  EXPECT_FALSE(chosen);
  EXPECT_TRUE(looked);
}

}  // namespace
}  // namespace pastel
