// How long the strip waits for its pictures: ten thumbnails from ten
// 4000 x 3000 photos, and listing a folder of 32001 picture files.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cmath>

#include "platform/file_picture_loader.h"
#include "platform/picture_files.h"

namespace {

const QSize kThumbnail(119, 89);  // a strip cell, 1785 x 1340 twips

// A photo-like picture: smooth gradients, soft rings and sensor-like grain
// (about 3 bits per pixel at quality 90, as a 12-megapixel camera writes).
// Decoding time follows the compressed size, reported as photo_bytes.
QByteArray bigPhoto() {
  QImage img(4000, 3000, QImage::Format_RGB32);
  QRandomGenerator rng(7);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const int grain = int(rng.bounded(10));
      const int ring = int(std::lround(40 * std::sin(std::hypot(x - 2000, y - 1500) / 90.0)));
      line[x] = qRgb(qBound(0, x / 20 + ring + grain, 255), qBound(0, y / 14 + grain, 255),
                     qBound(0, 128 + ring + grain, 255));
    }
  }
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, "JPEG", 90);
  return bytes;
}

struct Photos {
  Photos() {
    const QByteArray jpeg = bigPhoto();
    for (int i = 0; i < 10; ++i) {
      QFile f(dir.filePath(QString("photo%1.jpg").arg(i)));
      f.open(QIODevice::WriteOnly);
      f.write(jpeg);
      paths << f.fileName();
    }
    bytes = jpeg.size();
  }
  QTemporaryDir dir;
  QStringList paths;
  qsizetype bytes = 0;
};

Photos& photos() {
  static Photos p;
  return p;
}

void BM_TenThumbnailsOnThePool(benchmark::State& state) {
  pastel::FilePictureLoader loader;
  for (auto _ : state) {
    int n = 0;
    loader.loadEach(photos().paths, kThumbnail, [&](int, pastel::PictureRef p) {
      n += !p->broken;
      benchmark::DoNotOptimize(p->image.constBits());
    });
    if (n != 10) state.SkipWithError("a photo did not load");
  }
  state.counters["photo_bytes"] = double(photos().bytes);
}

void BM_TenThumbnailsOnOneThread(benchmark::State& state) {
  pastel::FilePictureLoader loader;
  for (auto _ : state)
    for (const QString& path : photos().paths) {
      const pastel::PictureRef p = loader.load(path, kThumbnail);
      if (p->broken) state.SkipWithError("a photo did not load");
      benchmark::DoNotOptimize(p->image.constBits());
    }
}

// What the strip would cost decoding every photo at full size first.
void BM_TenThumbnailsFromFullDecode(benchmark::State& state) {
  for (auto _ : state)
    for (const QString& path : photos().paths) {
      QImageReader reader(path);
      const QImage full = reader.read();
      const QImage thumb = full.scaled(kThumbnail, Qt::KeepAspectRatio, Qt::SmoothTransformation);
      if (thumb.isNull()) state.SkipWithError("a photo did not load");
      benchmark::DoNotOptimize(thumb.constBits());
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
    const QStringList names = pastel::listPictureFiles(dir.path());
    if (names.size() != 32001) state.SkipWithError("wrong count");
    benchmark::DoNotOptimize(names.constData());
  }
}

BENCHMARK(BM_TenThumbnailsOnThePool)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TenThumbnailsOnOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TenThumbnailsFromFullDecode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListFolderOf32001Pictures)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
