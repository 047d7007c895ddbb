// Printing the poster a child makes: ten camera photos from the strip,
// dragged onto the paper (which enlarges them), ten words and lines drawn
// on the paper. From the printer dialog's OK to the finished PDF page,
// through the program's own printer. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "capture/print.h"
#include "printing_app.h"

namespace pastel {
namespace {

using bench::Clock;
using bench::PrintingApp;

PrintingApp& printingApp() {
  static PrintingApp fx(QStringLiteral("poster.pdf"));
  return fx;
}

// One press of いんさつ per iteration, Picture2 hidden first so that every
// print grabs the live poster; timed from the dialog's OK.
void BM_PrintFromDialogOk(benchmark::State& state) {
  PrintingApp& fx = printingApp();
  PastelApp& app = *fx.app;
  Poster& p = app.poster();
  for (auto _ : state) {
    p.form.picture2.visible = false;
    app.window().sync();
    app.window().run([&] { printPoster(p); });
    const auto done = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(done - fx.printer.ok).count());
  }
  if (!fx.dialogs.messages.empty()) state.SkipWithError("the print failed");
  state.counters["pdf_kB"] = double(QFileInfo(fx.pdf).size()) / 1024;
}

// From the click on いんさつ to the printer dialog: the yield and the grab.
void BM_PrintClickToDialog(benchmark::State& state) {
  PrintingApp& fx = printingApp();
  Poster& p = fx.app->poster();
  fx.printer.cancel = true;
  for (auto _ : state) {
    p.form.picture2.visible = false;
    fx.app->window().sync();
    const auto click = Clock::now();
    fx.app->window().run([&] { printPoster(p); });
    state.SetIterationTime(std::chrono::duration<double>(fx.printer.ok - click).count());
  }
  fx.printer.cancel = false;
}

BENCHMARK(BM_PrintClickToDialog)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintFromDialogOk)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
