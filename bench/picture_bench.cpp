// How long the strip waits for its pictures: ten thumbnails from ten
// 4000 x 3000 camera photos, read by the loader alone and inside the
// program (loader, model and the strip's repaints), with the files in the
// page cache (warm) and read from the disk (cold); and listing a folder of
// 32001 picture files; the same for ten 12-megapixel HEIC photos (from
// their embedded thumbnails, and one placed) and ten 4000 x 3000 PNG and
// WebP pictures. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>
#include <libheif/heif.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "camera_photos.h"
#include "canvas/picture_strip.h"
#include "platform/file_picture_loader.h"
#include "platform/picture_files.h"
#include "platform/thumbnail_cache.h"
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

// Ten pictures of one newer kind, made once per kind from the camera
// pictures: HEIC as a phone writes it, PNG and lossy WebP as Qt writes them.
struct KindFiles {
  explicit KindFiles(const char* kind) {
    for (int i = 0; i < 10; ++i) {
      QByteArray bytes;
      if (qstrcmp(kind, "heic") == 0) {
        bytes = bench::phoneHeic(i);
      } else {
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        bench::cameraPicture(i).save(&buf, kind);
      }
      QFile f(dir.filePath(QStringLiteral("pic%1.%2").arg(i).arg(kind)));
      if (bytes.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        continue;
      paths << f.fileName();
      this->bytes += bytes.size();
    }
  }
  QTemporaryDir dir;
  QStringList paths;
  qsizetype bytes = 0;
};

KindFiles& kindFiles(const char* kind) {
  static std::map<std::string, std::unique_ptr<KindFiles>> made;
  auto& files = made[kind];
  if (!files) files = std::make_unique<KindFiles>(kind);
  return *files;
}

// Ten pictures of a kind into a strip's cells on the loader's pool;
// `firstTime`, with no thumbnail of them in the shared cache yet.
void stripOfKind(benchmark::State& state, const char* kind, Cache cache, bool firstTime = false) {
  const KindFiles& files = kindFiles(kind);
  if (files.paths.size() != 10) return state.SkipWithError("pictures not written");
  FilePictureLoader loader;
  for (auto _ : state) {
    if (cache == Cache::Cold) bench::dropFromPageCache(files.paths);
    if (firstTime) QDir(thumbnailCacheRoot()).removeRecursively();
    const auto start = Clock::now();
    int n = 0;
    loader.loadEach(files.paths, kThumbnail, [&](int, PictureRef p) { n += !p->broken; });
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    if (n != 10) state.SkipWithError("a picture did not load");
  }
  state.counters["file_bytes"] = double(files.bytes) / 10;
}

void BM_StripHeicFromThumbnails(benchmark::State& state) {
  stripOfKind(state, "heic", Cache(state.range(0)));
}
// Argument 1: the first time the pictures are shown (none in the cache).
void BM_StripPng(benchmark::State& state) {
  stripOfKind(state, "png", Cache::Warm, state.range(0));
}
void BM_StripWebp(benchmark::State& state) {
  stripOfKind(state, "webp", Cache::Warm, state.range(0));
}

// Placing one HEIC photo: decoded whole and fitted into the placed photo's
// largest size.
void BM_PlaceHeicPhoto(benchmark::State& state) {
  const KindFiles& files = kindFiles("heic");
  if (files.paths.size() != 10) return state.SkipWithError("pictures not written");
  FilePictureLoader loader;
  int i = 0;
  for (auto _ : state) {
    const PictureRef p = loader.load(files.paths[i++ % 10], QSize(1400, 1000));
    if (p->broken) state.SkipWithError("the photo did not load");
    benchmark::DoNotOptimize(p->image.constBits());
  }
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
BENCHMARK(BM_StripHeicFromThumbnails)
    ->ArgName("cold")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_PlaceHeicPhoto)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StripPng)
    ->ArgName("first")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_StripWebp)
    ->ArgName("first")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_ListFolderOf32001Pictures)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
