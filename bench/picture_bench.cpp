// How long the strip waits for its pictures: ten thumbnails from ten
// 4000 x 3000 camera photos, and listing a folder of 32001 picture files.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "bench_main.h"
#include "camera_photos.h"
#include "platform/file_picture_loader.h"
#include "platform/picture_files.h"

namespace {

const QSize kThumbnail(119, 89);  // a strip cell, 1785 x 1340 twips

// Made once, before the first timed iteration of whichever benchmark runs
// first: the same ten photos with and without their EXIF thumbnail.
struct Photos {
  Photos() { files = pastel::bench::writeCameraPhotos(withThumbnail.path(), plain.path()); }
  QTemporaryDir withThumbnail, plain;
  pastel::bench::CameraPhotos files;
};

Photos& photos() {
  static Photos p;
  return p;
}

// One strip fill on the loader's pool; `finish` turns each picture into
// the thumbnail's pixels.
template <typename Finish>
void fillStrip(benchmark::State& state, const QStringList& paths, QSize box, Finish finish) {
  pastel::FilePictureLoader loader;
  for (auto _ : state) {
    int n = 0;
    loader.loadEach(paths, box, [&](int, pastel::PictureRef p) {
      n += !p->broken;
      benchmark::DoNotOptimize(finish(p->image).constBits());
    });
    if (n != 10) state.SkipWithError("a photo did not load");
  }
  state.counters["photo_bytes"] = double(photos().files.bytes) / 10;
}

QImage asIs(const QImage& image) { return image; }

// Cameras' 160 x 120 thumbnails, as the strip now reads them.
void BM_StripFromEmbeddedThumbnails(benchmark::State& state) {
  fillStrip(state, photos().files.paths, kThumbnail, asIs);
}

// The same photos decoded DCT-scaled (1/8 while decoding, then smoothed),
// as the strip reads a photo without a thumbnail.
void BM_StripDctScaled(benchmark::State& state) {
  fillStrip(state, photos().files.plainPaths, kThumbnail, asIs);
}

// What the strip would cost decoding every photo at full size first.
void BM_StripFromFullDecode(benchmark::State& state) {
  fillStrip(state, photos().files.paths, QSize(), [](const QImage& full) {
    return full.scaled(kThumbnail, Qt::KeepAspectRatio, Qt::SmoothTransformation);
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
    const QStringList names = pastel::listPictureFiles(dir.path());
    if (names.size() != 32001) state.SkipWithError("wrong count");
    benchmark::DoNotOptimize(names.constData());
  }
}

BENCHMARK(BM_StripFromEmbeddedThumbnails)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StripDctScaled)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StripFromFullDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListFolderOf32001Pictures)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return runBenchmarks<QGuiApplication>(argc, argv); }
