// Opening a poster with ten camera photos placed on it, from the menu to the
// window showing step 4. Run with QT_QPA_PLATFORM=offscreen.
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
#include "steps/open_poster.h"
#include "steps/save_poster.h"
#include "steps/wizard.h"
#include "support/stand_ins.h"

namespace pastel {
namespace {

struct App {
  explicit App(const QString& folder) {
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.executableFolder = folder;
    o.openSettings = false;
    app = std::make_unique<PastelApp>(o);
    app->start();
  }
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  std::unique_ptr<PastelApp> app;
};

// The photos on the poster: a camera's JPEGs, a phone's HEICs as placed, or
// those made twice as large (past what their thumbnails cover).
enum class Photos { Jpeg, Heic, LargeHeic };

// A poster saved with the ten 4000 x 3000 photos placed and ten words, and
// a second window that opens it.
struct SavedPoster {
  explicit SavedPoster(Photos kind) : maker(dir.path()), opener(dir.path()) {
    const bench::CameraPhotos photos =
        bench::writeCameraPhotos(dir.path(), {}, kind != Photos::Jpeg);
    Poster& p = maker.app->poster();
    QImage paper(707, 499, QImage::Format_RGB32);
    paper.fill(QColor(255, 240, 200));
    p.form.paper.setBackPicture(pictureFromImage(paper));
    p.form.image2.picture = pictureFromImage(paper);
    p.form.picture1.visible = false;
    p.form.vscroll1.visible = true;
    p.pictureFolderPath = dir.path() + "/";
    loadPictureStrip(p, photos.names);
    for (int k = 0; k < 10; ++k) {
      floatPhotoSlot(p, k, 0, 0);
      pressPhoto(p, k);
      Element& e = p.form.image3[size_t(k)];
      movePhoto(p, k, true, 600.0f + 700 * k - e.left, 3000.0f + 500 * (k % 5) - e.top);
      releasePhoto(p, k);
      if (kind == Photos::LargeHeic) {
        e.width *= 2;
        e.height *= 2;
      }
      p.form.text1[size_t(k)].left = 1000.0f + 500 * k;
      p.form.text1[size_t(k)].caption = QStringLiteral("なつやすみ\nうみ");
    }
    QDir().mkpath(dir.path() + "/out");
    maker.dialogs.paths.push_back(dir.path() + "/out/natsu.html");
    saved = savePoster(p).status == SaveStatus::Saved;
    opener.app->window().show();
  }
  QTemporaryDir dir;
  App maker, opener;
  bool saved = false;
};

SavedPoster& saved(Photos kind = Photos::Jpeg) {
  static std::unique_ptr<SavedPoster> made[3];
  auto& s = made[int(kind)];
  if (!s) s = std::make_unique<SavedPoster>(kind);
  return *s;
}

// One choice of 開く(&O), the dialog answered at once, until the window has
// drawn the opened poster. The argument is the kind of photos.
void BM_OpenTenCameraPhotos(benchmark::State& state) {
  SavedPoster& s = saved(Photos(state.range(0)));
  if (!s.saved) state.SkipWithError("the poster was not saved");
  const QString db = s.dir.path() + "/out/natsu.mdb";
  MainWindowView& window = s.opener.app->window();
  for (auto _ : state) {
    s.opener.dialogs.paths.push_back(db);
    window.itemOpen()->trigger();
    window.repaint();
    if (currentStep(s.opener.app->poster()) != 4) state.SkipWithError("not in step 4");
    state.PauseTiming();
    window.run([&s] { backFrom4(s.opener.app->poster()); });  // a fresh start for the next
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenTenCameraPhotos)
    ->ArgName("photos")
    ->DenseRange(int(Photos::Jpeg), int(Photos::LargeHeic))
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Hands back an empty picture for every file without reading it.
class NoDecoding : public PictureLoader {
 public:
  PictureInfo probe(const QString&) override { return {}; }
  PictureRef load(const QString& path, QSize) override {
    auto p = std::make_shared<Picture>();
    p->path = path;
    return p;
  }
};

// The same open with decoding taken out: what the rest of it costs.
void BM_OpenWithoutDecoding(benchmark::State& state) {
  SavedPoster& s = saved();
  if (!s.saved) state.SkipWithError("the poster was not saved");
  const QString db = s.dir.path() + "/out/natsu.mdb";
  MainWindowView& window = s.opener.app->window();
  Poster& p = s.opener.app->poster();
  NoDecoding none;
  PictureLoader* real = p.svc.pictures;
  p.svc.pictures = &none;
  for (auto _ : state) {
    s.opener.dialogs.paths.push_back(db);
    window.itemOpen()->trigger();
    window.repaint();
    state.PauseTiming();
    window.run([&p] { backFrom4(p); });
    state.ResumeTiming();
  }
  p.svc.pictures = real;
}
BENCHMARK(BM_OpenWithoutDecoding)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
