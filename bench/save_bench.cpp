// Saving a poster with ten camera photos placed on it.
// Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "canvas/photo_editing.h"
#include "canvas/picture_strip.h"
#include "storage/save_poster.h"
#include "support/stand_ins.h"

namespace pastel {
namespace {

// Ten camera-sized JPEG files, as a phone or camera writes them: the
// gradients of the canvas benchmark plus sensor noise, which brings them to
// the size of a real photo (about 1.8 MB).
void writeCameraPhotos(const QString& folder) {
  QImage full(4000, 3000, QImage::Format_RGB32);
  quint32 seed = 1;
  for (int i = 0; i < 10; ++i) {
    for (int y = 0; y < full.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(full.scanLine(y));
      for (int x = 0; x < full.width(); ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int n = int(seed >> 28);  // 0..15
        line[x] = qRgb(((x / 16 + i * 20) & 0xff) ^ n, ((y / 12) & 0xff) ^ n,
                       (((x + y) / 24) & 0xff) ^ n);
      }
    }
    full.save(QStringLiteral("%1/IMG_%2.JPG").arg(folder).arg(i), "JPEG", 90);
  }
}

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
    writeCameraPhotos(dir.path());
    app->start();
    QImage paper(707, 499, QImage::Format_RGB32);
    paper.fill(QColor(255, 240, 200));
    p.form.paper.setBackPicture(pictureFromImage(paper));
    p.form.image2.picture = pictureFromImage(paper);
    p.form.picture1.visible = false;
    p.form.vscroll1.visible = true;
    p.pictureFolderPath = dir.path() + "/";
    QStringList names;
    for (int i = 0; i < 10; ++i) names << QString("IMG_%1.JPG").arg(i);
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
