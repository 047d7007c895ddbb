// 開く's dialog in a folder of 200 posters: from the call until the dialog
// stands drawn, until it is drawn with the folder listed, and until the
// thumbnails in view are there (cold cache).
// Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include "bench_main.h"
#include "platform/file_picture_loader.h"
#include "platform/picture_icons_widgets.h"
#include "platform/qt_platform_widgets.h"
#include "platform/sqlite_db.h"
#include "storage/poster_thumbnail.h"
#include "storage/template_db.h"

namespace pastel {
namespace {

constexpr int kPosters = 200;

// 200 posters on one paper picture with a photo, the database written
// once and copied.
struct Folder {
  Folder() {
    QDir().mkpath(dir.filePath("natsu"));
    QImage paper(707, 499, QImage::Format_RGB32);
    paper.fill(QColor(255, 240, 200));
    QImage photo(1400, 1000, QImage::Format_RGB32);
    photo.fill(QColor(40, 120, 200));
    ok = paper.save(dir.filePath("natsu/natsu.bmp"), "BMP") &&
         photo.save(dir.filePath("natsu/umi.jpg"), "JPEG") &&
         writeTemplateDatabase(dir.filePath("p000.mdb"));
    SqliteDb db;
    ok = ok && db.open(dir.filePath("p000.mdb"), SqliteDb::Mode::ReadWrite) &&
         db.exec(QStringLiteral(
             "UPDATE imagedata SET backcolor = 'natsu\\natsu.bmp', ima9L = '1440', "
             "ima9T = '3300', ima9W = '3000', ima9H = '2250', ima9F = 'natsu\\umi.jpg'; "
             "UPDATE textdata SET tex9L = '6000', tex9T = '6000', tex9W = '3000', "
             "tex9H = '645', tex9S = '14', tex9F = 'なつ', tex9C = '255', tex9B = '65535'"));
    db.close();
    for (int i = 1; i < kPosters; ++i)
      ok = ok && QFile::copy(dir.filePath("p000.mdb"), dir.filePath(QStringLiteral("p%1.mdb").arg(
                                                           i, 3, 10, QLatin1Char('0'))));
  }
  QTemporaryDir dir;
  bool ok = false;
};

void BM_OpenDialog200Posters(benchmark::State& state) {
  static Folder folder;
  if (!folder.ok) state.SkipWithError("the posters were not saved");
  FilePictureLoader loader;
  QtDialogs dialogs;
  FileDialogRequest request;
  request.filter = QStringLiteral("MDB(*.mdb)");
  request.directory = folder.dir.path();
  double shownMs = 0, listedMs = 0, picturesMs = 0;
  int made = 0;
  for (auto _ : state) {
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    QElapsedTimer t;
    t.start();
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dlg) return;
      dlg->grab();  // drawn whole, the list asking for its icons
      shownMs += double(t.nsecsElapsed()) / 1e6;
      auto* icons = dynamic_cast<PictureIcons*>(dlg->proxyModel());
      // The folder is listed in the background: until its files are drawn.
      auto* list = dlg->findChild<QAbstractItemView*>(QStringLiteral("listView"));
      while (list && list->model()->rowCount(list->rootIndex()) < kPosters + 1 &&
             t.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      dlg->grab();
      listedMs += double(t.nsecsElapsed()) / 1e6;
      // Every file shown: the ones in view get their pictures.
      while (icons && icons->made() < 12 && t.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      }
      picturesMs += double(t.nsecsElapsed()) / 1e6;
      made += icons ? icons->made() : 0;
      dlg->reject();
    });
    dialogs.openFileShowingPictures(
        request, [&loader](const QString& path) { return posterIcon(path, loader); });
  }
  state.counters["shown_ms"] = benchmark::Counter(shownMs / double(state.iterations()));
  state.counters["listed_ms"] = benchmark::Counter(listedMs / double(state.iterations()));
  state.counters["pictures_ms"] = benchmark::Counter(picturesMs / double(state.iterations()));
  state.counters["made"] = benchmark::Counter(double(made) / double(state.iterations()));
  qunsetenv("XDG_CACHE_HOME");
}
BENCHMARK(BM_OpenDialog200Posters)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
