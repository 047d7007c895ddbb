// How long the strip waits for its pictures: ten thumbnails from ten
// 4000 x 3000 camera photos, read by the loader alone and inside the
// program (loader, model and the strip's repaints), with the files in the
// page cache (warm) and read from the disk (cold); and listing a folder of
// 32001 picture files. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "camera_photos.h"
#include "canvas/picture_strip.h"
#include "platform/file_picture_loader.h"
#include "platform/picture_files.h"
#include "steps/wizard.h"
#include "support/stand_ins.h"

namespace pastel {
namespace {

using Clock = std::chrono::steady_clock;

const QSize kThumbnail(119, 89);  // a strip cell, 1785 x 1340 twips

// Made once, before the first timed iteration of whichever benchmark runs
// first: the same ten photos with and without their EXIF thumbnail.
struct Photos {
  Photos() { files = bench::writeCameraPhotos(withThumbnail.path(), plain.path()); }
  QTemporaryDir withThumbnail, plain;
  bench::CameraPhotos files;
};

Photos& photos() {
  static Photos p;
  return p;
}

enum class Cache { Warm, Cold };

// Runs `fill` once per iteration and times it alone; cold, the files are
// dropped from the page cache before each.
template <typename Fill>
void timeFills(benchmark::State& state, const QStringList& paths, Cache cache, Fill fill) {
  for (auto _ : state) {
    if (cache == Cache::Cold) bench::dropFromPageCache(paths);
    const auto start = Clock::now();
    if (!fill()) state.SkipWithError("a photo did not load");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
  state.counters["photo_bytes"] = double(photos().files.bytes) / 10;
}

// One strip fill on the loader's pool; `finish` turns each picture into
// the thumbnail's pixels.
template <typename Finish>
void fillStrip(benchmark::State& state, const QStringList& paths, QSize box, Cache cache,
               Finish finish) {
  FilePictureLoader loader;
  timeFills(state, paths, cache, [&] {
    int n = 0;
    loader.loadEach(paths, box, [&](int, PictureRef p) {
      n += !p->broken;
      benchmark::DoNotOptimize(finish(p->image).constBits());
    });
    return n == 10;
  });
}

QImage asIs(const QImage& image) { return image; }

// Cameras' 160 x 120 thumbnails, as the strip reads them.
void BM_StripLoaderFromEmbeddedThumbnails(benchmark::State& state) {
  fillStrip(state, photos().files.paths, kThumbnail, Cache(state.range(0)), asIs);
}

// The same photos decoded DCT-scaled (1/8 while decoding, then smoothed),
// as the strip reads a photo without a thumbnail.
void BM_StripLoaderDctScaled(benchmark::State& state) {
  fillStrip(state, photos().files.plainPaths, kThumbnail, Cache(state.range(0)), asIs);
}

// What the strip would cost decoding every photo at full size first.
void BM_StripLoaderFromFullDecode(benchmark::State& state) {
  fillStrip(state, photos().files.paths, QSize(), Cache::Warm, [](const QImage& full) {
    return full.scaled(kThumbnail, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  });
}

// The program in the photo step; each fill is the settings dialog's new
// list arriving: the loader, the thumbnails placed one by one with a yield
// (and so a repaint) after each, and the last repaint.
void BM_StripFillInProgram(benchmark::State& state) {
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  PastelApp::Options o;
  o.dialogs = &dialogs;
  o.desktop = &desktop;
  o.executableFolder = dir.path();
  o.openSettings = false;
  PastelApp app(o);
  app.start();
  Poster& p = app.poster();
  app.window().run([&] { nextFrom1(p); });
  QCoreApplication::processEvents();
  p.pictureFolderPath = photos().withThumbnail.path() + "/";
  const QStringList& names = photos().files.names;
  timeFills(state, photos().files.paths, Cache(state.range(0)), [&] {
    app.window().run([&] { loadPictureStrip(p, names); });
    QCoreApplication::processEvents();  // the last thumbnail painted
    int shown = 0;
    for (const Element& t : p.form.image1) shown += t.visible && t.picture && !t.picture->broken;
    return shown == 10;
  });
}

void BM_ListFolderOf32001Pictures(benchmark::State& state) {
  static QTemporaryDir dir;
  static bool made = false;
  if (!made) {
    const char* exts[] = {"jpg", "BMP", "gif", "wmf", "Dib", "rle"};
    for (int i = 0; i < 32001; ++i) {
      QFile f(dir.filePath(QString("pic%1.%2").arg(i, 5, 10, QChar('0')).arg(exts[i % 6])));
      f.open(QIODevice::WriteOnly);
    }
    for (int i = 0; i < 200; ++i) {  // not offered by the strip
      QFile f(dir.filePath(QString("note%1.txt").arg(i)));
      f.open(QIODevice::WriteOnly);
    }
    made = true;
  }
  for (auto _ : state) {
    const QStringList names = listPictureFiles(dir.path());
    if (names.size() != 32001) state.SkipWithError("wrong count");
    benchmark::DoNotOptimize(names.constData());
  }
}

// Argument 0: warm, 1: cold.
BENCHMARK(BM_StripLoaderFromEmbeddedThumbnails)
    ->ArgName("cold")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_StripFillInProgram)
    ->ArgName("cold")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_StripLoaderDctScaled)
    ->ArgName("cold")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_StripLoaderFromFullDecode)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ListFolderOf32001Pictures)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
