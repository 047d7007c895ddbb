// Dragging over a full poster and what ten camera photos cost in memory.
// Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "camera_photos.h"
#include "canvas/photo_editing.h"
#include "canvas/picture_strip.h"
#include "support/stand_ins.h"

namespace pastel {
namespace {

long residentBytes() {
  long size = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &size, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * sysconf(_SC_PAGESIZE);
}

// The program in the photo step with ten camera photos on the paper, read
// by the real loader, each floated from the strip and dragged in.
struct FullPoster {
  FullPoster() {
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.executableFolder = dir.path();
    o.openSettings = false;
    app = std::make_unique<PastelApp>(o);
    Poster& p = app->poster();
    const QStringList names = bench::writeCameraPhotos(dir.path()).names;
    app->start();
    baseline = residentBytes();
    QImage paper(707, 499, QImage::Format_RGB32);
    paper.fill(QColor(255, 240, 200));
    p.form.image2.picture = pictureFromImage(paper);
    p.form.picture1.visible = false;
    p.form.vscroll1.visible = true;
    p.pictureFolderPath = dir.path() + "/";
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
  std::unique_ptr<PastelApp> app;
  long baseline = 0, loaded = 0;
};

FullPoster& poster() {
  static FullPoster full;
  return full;
}

const QRect kPaperPixels(kPaperPxLeft, kPaperPxTop, PaperSurface::kWidthPx,
                         PaperSurface::kHeightPx);

// The top photo moves one pixel to and fro, and the widgets follow.
void dragStep(FullPoster& fx) {
  static int step = 15;
  fx.app->poster().form.image3[9].left += float(step);
  step = -step;
  fx.app->window().sync();
}

// One mouse step of a drag: the photo moves a pixel, the paper repaints.
void BM_DragRepaintOfPaper(benchmark::State& state) {
  FullPoster& fx = poster();
  QWidget* area = fx.app->window().paperArea();
  for (auto _ : state) {
    dragStep(fx);
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
  QWidget* area = fx.app->window().paperArea();
  for (auto _ : state) {
    dragStep(fx);
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

// What the first hover over a thumbnail costs: its photo decoded at the
// size a placed photo keeps.
void BM_HoverDecodesCameraPhoto(benchmark::State& state) {
  FullPoster& fx = poster();
  Poster& p = fx.app->poster();
  const QString path = p.pictureFiles.front();
  for (auto _ : state) benchmark::DoNotOptimize(p.svc.pictures->load(path, kPhotoMaxPixels));
}
BENCHMARK(BM_HoverDecodesCameraPhoto)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
