// 開く's dialog in a folder of 200 posters: from the call until the dialog
// stands drawn, and until the thumbnails it shows are there (cold cache).
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
#include "canvas/poster.h"
#include "platform/file_picture_loader.h"
#include "platform/picture_icons_widgets.h"
#include "platform/qt_platform_widgets.h"
#include "storage/poster_thumbnail.h"
#include "storage/save_poster.h"
#include "support/sample_poster.h"
#include "test_support.h"

namespace pastel {
namespace {

constexpr int kPosters = 200;

// One sample poster saved, its database copied 199 times beside it.
struct Folder {
  Folder() {
    test::PosterFixture fx;
    test::makeSamplePoster(fx.poster);
    fx.dialogs.paths.push_back(dir.filePath("p000.html"));
    ok = savePoster(fx.poster).status == SaveStatus::Saved;
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
  double shownMs = 0, picturesMs = 0;
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
  state.counters["pictures_ms"] = benchmark::Counter(picturesMs / double(state.iterations()));
  state.counters["made"] = benchmark::Counter(double(made) / double(state.iterations()));
  qunsetenv("XDG_CACHE_HOME");
}
BENCHMARK(BM_OpenDialog200Posters)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
