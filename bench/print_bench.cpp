// Printing a full poster: from the printer dialog's OK to the finished PDF
// page, through the program's own printer. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "capture/print.h"
#include "support/sample_poster.h"
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

// The real window with the sample poster, printing to a PDF in a fresh folder.
struct PrintingApp {
  PrintingApp() : pdf(dir.filePath("poster.pdf")), printer(pdf) {
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.printer = &printer;
    o.executableFolder = dir.path();
    o.openSettings = false;
    app = std::make_unique<PastelApp>(o);
    app->start();
    app->window().run([this] { test::makeSamplePoster(app->poster()); });
  }
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  QString pdf;
  OkPrinter printer;
  std::unique_ptr<PastelApp> app;
};

void BM_PrintFromDialogOk(benchmark::State& state) {
  PrintingApp fx;
  PastelApp& app = *fx.app;
  OkPrinter& printer = fx.printer;
  const QString& pdf = fx.pdf;
  Poster& p = app.poster();
  for (auto _ : state) {
    // Picture2 hidden again, so every print grabs the live poster.
    p.form.picture2.visible = false;
    app.window().sync();
    app.window().run([&] { printPoster(p); });
    const auto done = Clock::now();
    state.SetIterationTime(std::chrono::duration<double>(done - printer.ok).count());
  }
  state.counters["pdf_kB"] = double(QFileInfo(pdf).size()) / 1024;
}
// From the click on いんさつ to the printer dialog: the yield, the grab and
// its recording.
void BM_PrintClickToDialog(benchmark::State& state) {
  PrintingApp fx;
  PastelApp& app = *fx.app;
  OkPrinter& printer = fx.printer;
  printer.cancel = true;
  Poster& p = app.poster();
  for (auto _ : state) {
    p.form.picture2.visible = false;
    app.window().sync();
    const auto click = Clock::now();
    app.window().run([&] { printPoster(p); });
    state.SetIterationTime(std::chrono::duration<double>(printer.ok - click).count());
  }
}
BENCHMARK(BM_PrintClickToDialog)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK(BM_PrintFromDialogOk)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
