// Saving a poster with ten camera photos placed on it: 4000 x 3000 JPEGs of
// 2-4 MB, as a camera writes them.
// Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "camera_photos.h"
#include "canvas/photo_editing.h"
#include "canvas/picture_strip.h"
#include "steps/save_poster.h"
#include "support/stand_ins.h"

namespace pastel {
namespace {

// The program in step 4 with ten camera photos on the paper and ten words.
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
    QImage paper(707, 499, QImage::Format_RGB32);
    paper.fill(QColor(255, 240, 200));
    p.form.paper.setBackPicture(pictureFromImage(paper));
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
      p.form.text1[size_t(k)].left = 1000.0f + 500 * k;
      p.form.text1[size_t(k)].caption = QStringLiteral("なつやすみ\nうみ");
    }
    app->window().sync();
    QDir().mkpath(dir.path() + "/out");
  }
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  std::unique_ptr<PastelApp> app;
};

FullPoster& poster() {
  static FullPoster full;
  return full;
}

// One press of ほぞん, the dialog answered at once; saving over the previous
// save each time, as a child saving again does.
void BM_SaveTenCameraPhotos(benchmark::State& state) {
  FullPoster& fx = poster();
  const QString page = fx.dir.path() + "/out/natsu.html";
  qint64 photoBytes = 0;
  for (const QString& f : fx.app->poster().photoFiles) photoBytes += QFileInfo(f).size();
  for (auto _ : state) {
    fx.dialogs.paths.push_back(page);
    const SaveResult r = savePoster(fx.app->poster());
    if (r.status != SaveStatus::Saved) state.SkipWithError(r.error.toUtf8().constData());
  }
  state.counters["photos_MB"] = double(photoBytes) / (1024 * 1024);
}
BENCHMARK(BM_SaveTenCameraPhotos)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
