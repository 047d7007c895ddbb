// Keeping the poster for crash recovery, restoring it, and undo: a poster
// with ten 4000 x 3000 camera photos placed, ten words and lines.
// Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <memory>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "camera_photos.h"
#include "canvas/photo_editing.h"
#include "canvas/picture_strip.h"
#include "canvas/poster_content.h"
#include "canvas/undo_history.h"
#include "keeping/kept_poster.h"
#include "support/stand_ins.h"

namespace pastel {
namespace {

// The program with the ten photos placed, ten words on the paper, a
// grabbed paper picture and lines drawn over it.
struct FullPoster {
  FullPoster() {
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.executableFolder = dir.path();
    o.openSettings = false;
    app = std::make_unique<PastelApp>(o);
    app->start();
    const bench::CameraPhotos photos = bench::writeCameraPhotos(dir.path());
    Poster& p = app->poster();
    p.form.paper.setBackColor(rgb(255, 240, 200));
    for (int k = 0; k < 40; ++k) stroke(k);
    p.form.paper.setBackPicture(pictureFromImage(p.form.paper.image().copy()));
    p.form.image2.picture = pictureFromImage(p.form.paper.image().copy());
    for (int k = 40; k < 60; ++k) stroke(k);
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
      p.form.text1[size_t(k)].left = 1000.0f + 500 * k;
      p.form.text1[size_t(k)].top = 8000.0f + 200 * (k % 4);
      p.form.text1[size_t(k)].visible = true;
      p.form.text1[size_t(k)].caption = QStringLiteral("なつやすみ\nうみ");
    }
    app->window().show();
    app->window().repaint();
  }
  // A stroke of a child's: a band of a few segments across part of the paper.
  void stroke(int k) {
    PaperSurface& s = app->poster().form.paper;
    QPoint at((k * 97) % 650, (k * 61) % 450);
    for (int j = 0; j < 6; ++j) {
      const QPoint to(std::clamp(at.x() + 40 - (k + j) % 80, 0, 706),
                      std::clamp(at.y() + 25 - (k * j) % 50, 0, 498));
      s.paintSegment(at, to, 5, rgb((k * 40) & 255, 80, 160));
      at = to;
    }
  }
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  std::unique_ptr<PastelApp> app;
};

FullPoster& full() {
  static FullPoster f;
  return f;
}

KeptPosterStore::Options storeAt(const QString& folder, const QString& name) {
  KeptPosterStore::Options o;
  o.folder = folder;
  o.name = name;
  return o;
}

// What the UI thread does after a stroke: take the content and hand it to
// the keeper (the stroke's own painting included, which now copies the
// paper once because the keeper shares it).
void BM_KeepOnUiThread(benchmark::State& state) {
  FullPoster& f = full();
  Poster& p = f.app->poster();
  KeptPosterStore store(storeAt(f.dir.path() + "/state", "1"));
  int k = 0;
  for (auto _ : state) {
    f.stroke(k++);
    store.keep(takePosterContent(p), {1, false});
  }
  state.counters["writes"] = store.writes();
  store.discard();
}
BENCHMARK(BM_KeepOnUiThread)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same strokes without a keeper: what the stroke costs by itself.
void BM_StrokeAlone(benchmark::State& state) {
  FullPoster& f = full();
  int k = 0;
  for (auto _ : state) f.stroke(k++);
}
BENCHMARK(BM_StrokeAlone)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// One whole write on the worker: encoding the paper's pictures, writing,
// syncing, renaming and syncing the folder (keep, then flush at once).
void BM_KeepWholeWrite(benchmark::State& state) {
  FullPoster& f = full();
  Poster& p = f.app->poster();
  KeptPosterStore store(storeAt(f.dir.path() + "/state", "2"));
  int k = 0;
  for (auto _ : state) {
    state.PauseTiming();
    f.stroke(k++);
    const PosterContent c = takePosterContent(p);
    state.ResumeTiming();
    store.keep(c, {1, false});
    store.flush();
  }
  state.counters["bytes"] = double(QFileInfo(store.path()).size());
  store.discard();
}
BENCHMARK(BM_KeepWholeWrite)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A start after a crash: finding the kept poster, reading it, decoding the
// ten photos again from their files and showing it on the window.
void BM_RestoreAndShow(benchmark::State& state) {
  FullPoster& f = full();
  Poster& p = f.app->poster();
  const QString folder = f.dir.path() + "/state";
  QDir().mkpath(folder);
  const QByteArray kept = encodeKeptPoster(takePosterContent(p), {4, true});
  PosterContent blank = takePosterContent(p);  // nothing drawn, no photos
  blank.paper.shown = QImage();
  for (PhotoContent& ph : blank.photos) ph.picture = nullptr;
  MainWindowView& window = f.app->window();
  for (auto _ : state) {
    state.PauseTiming();
    QFile out(folder + "/77.kept");
    if (!out.open(QIODevice::WriteOnly) || out.write(kept) != kept.size())
      state.SkipWithError("cannot write the kept file");
    out.close();
    window.run([&p, &blank] { applyPosterContent(p, blank); });
    window.repaint();
    state.ResumeTiming();
    KeptPosterStore store(storeAt(folder, "78"));
    const KeptFindings found = store.findLeftBehind();
    if (found.offers.size() != 1) state.SkipWithError("nothing offered");
    std::optional<KeptPoster> back = store.restore(found.offers[0], *p.svc.pictures);
    if (!back) state.SkipWithError("not restored");
    window.run([&p, &back] { applyPosterContent(p, back->content); });
    window.repaint();
    state.PauseTiming();
    store.discard();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RestoreAndShow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Ctrl+Z then Ctrl+Y after fifty strokes, each applied to the window and
// drawn: the time is for the two together.
void BM_UndoThenRedo(benchmark::State& state) {
  FullPoster& f = full();
  Poster& p = f.app->poster();
  MainWindowView& window = f.app->window();
  UndoHistory h;
  for (int k = 0; k < 50; ++k) {
    h.record(takePosterContent(p));
    f.stroke(100 + k);
  }
  for (auto _ : state) {
    window.run([&p, &h] { applyPosterContent(p, *h.undo(takePosterContent(p))); });
    window.repaint();
    window.run([&p, &h] { applyPosterContent(p, *h.redo(takePosterContent(p))); });
    window.repaint();
  }
}
BENCHMARK(BM_UndoThenRedo)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The heap fifty strokes take with history, less the same strokes without:
// glibc's count of bytes in use (mallinfo2: heap chunks in use plus mapped
// blocks), after the strokes. Short strokes, and scribbles over the whole of
// a photo-like paper.
size_t heapInUse() {
  malloc_trim(0);
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;  // the heap's chunks in use and the mapped ones
}

QImage photoLikePaper() {
  QImage img(PaperSurface::kWidthPx, PaperSurface::kHeightPx, QImage::Format_RGB32);
  quint32 seed = 7;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      img.setPixel(x, y, qRgb((x / 3) ^ int(seed >> 29), (y / 2) & 255, (x + y) & 255));
    }
  return img;
}

void BM_HistoryMemory(benchmark::State& state) {
  const bool scribbles = state.range(0) == 1;
  PaperSurface paper;
  paper.setBackColor(rgb(255, 255, 224));
  if (scribbles) paper.setBackPicture(pictureFromImage(photoLikePaper()));
  auto draw = [&paper, scribbles](int k) {
    if (!scribbles) {
      const QPoint at((k * 97) % 600, (k * 61) % 420);
      paper.paintSegment(at, at + QPoint(60, 30 + k % 7), 5, rgb(k * 5, 0, 200));
      return;
    }
    // Up and down across the whole paper: every row changes from its
    // left edge to its right.
    for (int j = 0; j < 16; ++j)
      paper.paintSegment(QPoint(j * 44 + k % 20, j % 2 ? 498 : 0),
                         QPoint(j * 44 + 44 + k % 20, j % 2 ? 0 : 498), 5, rgb(k * 5, j * 15, 200));
  };
  auto content = [&paper] {
    PosterContent c;
    c.paper = {paper.backColor(), paper.backPicture(), paper.image(), nullptr, {}};
    return c;
  };
  double withHistory = 0, without = 0, held = 0;
  for (auto _ : state) {
    const size_t base = heapInUse();
    for (int k = 0; k < 50; ++k) draw(k);
    without = double(heapInUse()) - double(base);
    UndoHistory h;
    const size_t start = heapInUse();
    double recording = 0;
    for (int k = 0; k < 50; ++k) {
      const PosterContent before = content();
      draw(k);
      const auto r0 = std::chrono::steady_clock::now();
      h.record(before);
      recording +=
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - r0).count();
    }
    state.counters["record_ms"] = recording / 50;
    withHistory = double(heapInUse()) - double(start);
    held = double(h.paperBytes());
    // One undo and redo of the oldest kind cost no more than the rest.
    const auto t0 = std::chrono::steady_clock::now();
    PosterContent c = content();
    for (int k = 0; k < 50; ++k) c = *h.undo(c);
    for (int k = 0; k < 50; ++k) c = *h.redo(c);
    state.counters["undo_redo_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() /
        100;
  }
  state.counters["heap_MB"] = (withHistory - without) / 1e6;
  state.counters["held_MB"] = held / 1e6;
}
BENCHMARK(BM_HistoryMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
