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
#include "camera_photos.h"
#include "capture/print.h"
#include "childs_poster.h"
#include "support/stand_ins.h"

namespace pastel {
namespace {

using Clock = std::chrono::steady_clock;

// The desktop printer writing a PDF file; its dialog says OK at once and
// starts the clock there.
class OkPrinter : public Printer {
 public:
  explicit OkPrinter(const QString& path) {
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setOutputFileName(path);
  }
  PrinterSetup showSetupDialog() override {
    ok = Clock::now();
    if (cancel) return PrinterSetup::Cancelled;
    return PrinterSetup::Accepted;
  }
  QPagedPaintDevice* device() override { return printer.device(); }
  bool failed() override { return printer.failed(); }
  QtPrinter printer;
  Clock::time_point ok;
  bool cancel = false;
};

// The real window in step 4 with the poster a child makes, printing to a
// PDF in a fresh folder. Made once for all the benchmarks.
struct PrintingApp {
  PrintingApp() : pdf(dir.filePath("poster.pdf")), printer(pdf) {
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.printer = &printer;
    o.executableFolder = dir.path();
    o.openSettings = false;
    app = std::make_unique<PastelApp>(o);
    const QStringList names = bench::writeCameraPhotos(dir.path()).names;
    app->start();
    app->window().run([&] { bench::makeChildsPoster(app->poster(), dir.path(), names); });
    newCapture = app->poster().svc.capture;
  }

  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  QString pdf;
  OkPrinter printer;
  std::unique_ptr<PastelApp> app;
  PaperCapture* newCapture = nullptr;
};

PrintingApp& printingApp() {
  static PrintingApp fx;
  return fx;
}

// One press of いんさつ per iteration, Picture2 hidden first so that every
// print grabs the live poster; timed from the dialog's OK.
void printFromDialogOk(benchmark::State& state, PaperCapture* capture) {
  PrintingApp& fx = printingApp();
  PastelApp& app = *fx.app;
  Poster& p = app.poster();
  PaperCapture* before = p.svc.capture;
  p.svc.capture = capture;
  for (auto _ : state) {
    p.form.picture2.visible = false;
    app.window().sync();
    app.window().run([&] { printPoster(p); });
    const auto done = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(done - fx.printer.ok).count());
  }
  p.svc.capture = before;
  if (!fx.dialogs.messages.empty()) state.SkipWithError("the print failed");
  state.counters["pdf_kB"] = double(QFileInfo(fx.pdf).size()) / 1024;
}

void BM_PrintFromDialogOk(benchmark::State& state) {
  printFromDialogOk(state, printingApp().newCapture);
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
