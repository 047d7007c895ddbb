// Dragging over a full poster and what ten camera photos cost in memory.
// Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "app/pastel_app_view.h"
#include "canvas/photo_editing.h"
#include "canvas/picture_strip.h"
#include "platform/picture_loader.h"

namespace pastel {
namespace {

// Stands in for the file loader: a 4000 x 3000 camera picture, decoded and
// then brought down to the size asked for, as a real decode would be.
class CameraPictureLoader : public PictureLoader {
 public:
  PictureInfo probe(const QString&) override { return {true, 4000 * 2540 / 96, 3000 * 2540 / 96}; }
  PictureRef load(const QString& path, QSize maxPixels) override {
    QImage full(4000, 3000, QImage::Format_RGB32);
    const uint seed = qHash(path);
    for (int y = 0; y < full.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(full.scanLine(y));
      for (int x = 0; x < full.width(); ++x)
        line[x] = qRgb((x + int(seed)) & 0xff, (y + int(seed >> 8)) & 0xff, (x ^ y) & 0xff);
    }
    auto pic = std::make_shared<Picture>();
    pic->path = path;
    pic->widthHiMetric = 4000 * 2540 / 96;
    pic->heightHiMetric = 3000 * 2540 / 96;
    pic->image = full.scaled(maxPixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return pic;
  }
};

long residentBytes() {
  long size = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &size, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * sysconf(_SC_PAGESIZE);
}

// The program in the photo step with ten camera photos on the paper, each
// floated from the strip and dragged in (so enlarged once).
struct FullPoster {
  FullPoster() {
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.executableFolder = dir.path();
    o.openSettings = false;
    app = std::make_unique<PastelApp>(o);
    Poster& p = app->poster();
    p.svc.pictures = &loader;
    app->start();
    baseline = residentBytes();
    QImage paper(707, 499, QImage::Format_RGB32);
    paper.fill(QColor(255, 240, 200));
    p.form.image2.picture = pictureFromImage(paper);
    p.form.picture1.visible = false;
    p.form.vscroll1.visible = true;
    p.pictureFolderPath = "/camera/";
    QStringList names;
    for (int i = 0; i < 10; ++i) names << QString("IMG_%1.JPG").arg(i);
    loadPictureStrip(p, names);
    for (int k = 0; k < 10; ++k) {
      floatPhotoSlot(p, k, 0, 0);
      pressPhoto(p, k);
      Element& e = p.form.image3[size_t(k)];
      movePhoto(p, k, true, 600.0f + 700 * k - e.left, 3000.0f + 500 * (k % 5) - e.top);
      releasePhoto(p, k);
    }
    app->window().sync();
    app->window().paperArea()->repaint();
    QCoreApplication::processEvents();
    loaded = residentBytes();
  }
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  CameraPictureLoader loader;
  std::unique_ptr<PastelApp> app;
  long baseline = 0, loaded = 0;
};

FullPoster& poster() {
  static FullPoster full;
  return full;
}

const QRect kPaperPixels(kPaperPxLeft, kPaperPxTop, PaperSurface::kWidthPx,
                         PaperSurface::kHeightPx);

// One mouse step of a drag: the photo moves a pixel, the paper repaints.
void BM_DragRepaintOfPaper(benchmark::State& state) {
  FullPoster& fx = poster();
  Element& e = fx.app->poster().form.image3[9];
  QWidget* area = fx.app->window().paperArea();
  int step = 15;
  for (auto _ : state) {
    e.left += float(step);
    step = -step;
    fx.app->window().sync();
    area->repaint(kPaperPixels);
  }
}
BENCHMARK(BM_DragRepaintOfPaper)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same step, the paper region rendered into a picture (as a grab does).
void BM_DragGrabOfPaper(benchmark::State& state) {
  FullPoster& fx = poster();
  Element& e = fx.app->poster().form.image3[9];
  QWidget* area = fx.app->window().paperArea();
  int step = 15;
  for (auto _ : state) {
    e.left += float(step);
    step = -step;
    fx.app->window().sync();
    benchmark::DoNotOptimize(area->grab(kPaperPixels));
  }
}
BENCHMARK(BM_DragGrabOfPaper)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ResidentWithTenPhotos(benchmark::State& state) {
  FullPoster& fx = poster();
  for (auto _ : state) benchmark::DoNotOptimize(residentBytes());
  state.counters["resident_MB"] = double(residentBytes()) / (1024 * 1024);
  state.counters["before_photos_MB"] = double(fx.baseline) / (1024 * 1024);
  state.counters["after_loading_MB"] = double(fx.loaded) / (1024 * 1024);
}
BENCHMARK(BM_ResidentWithTenPhotos)->Iterations(1);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
