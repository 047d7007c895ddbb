// A wall poster of the poster a child makes: ten camera photos from the
// strip, dragged onto the paper (which enlarges them), ten words and lines
// drawn on the paper, printed across 9 sheets to a PDF file through the
// program's own printer. Timed from the printer dialog's OK to the finished
// file; the peak memory the prints add is reported once. Run with
// QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "capture/wall_print.h"
#include "printing_app.h"

namespace pastel {
namespace {

using bench::Clock;

double peakRssMb() {
  rusage use{};
  getrusage(RUSAGE_SELF, &use);
  return double(use.ru_maxrss) / 1024;
}

// One press of おおきく いんさつ → 9まい per iteration.
void BM_WallPrintNineSheets(benchmark::State& state) {
  bench::PrintingApp fx(QStringLiteral("wall.pdf"));
  PastelApp& app = *fx.app;
  Poster& p = app.poster();
  const double before = peakRssMb();
  for (auto _ : state) {
    p.form.picture2.visible = false;
    app.window().sync();
    fx.dialogs.chosen = {1};
    app.window().run([&] { printWallPoster(p); });
    const auto done = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(done - fx.printer.ok).count());
  }
  if (!fx.dialogs.messages.empty()) state.SkipWithError("the print failed");
  state.counters["pdf_MB"] = double(QFileInfo(fx.pdf).size()) / (1024 * 1024);
  state.counters["peak_rss_growth_MB"] = peakRssMb() - before;
}

BENCHMARK(BM_WallPrintNineSheets)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
