// Counting a word box's lines for the height rule, for words without any
// break opportunity, and opening a poster that holds a million-letter word.
// Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTextLayout>
#include <memory>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "platform/gothic_font.h"
#include "steps/wizard.h"
#include "storage/template_db.h"
#include "support/stand_ins.h"
#include "words/word_lines.h"

namespace pastel {
namespace {

// The count as one layout of the whole text, as the word box itself does.
int laidOutWhole(const QString& text) {
  QTextLayout layout(text, gothicFont(14, false));
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  int n = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(255);
    ++n;
  }
  layout.endLayout();
  return n;
}

void BM_LineCountLaidOutWhole(benchmark::State& state) {
  const QString word(state.range(0), QLatin1Char('a'));
  for (auto _ : state) benchmark::DoNotOptimize(laidOutWhole(word));
}
BENCHMARK(BM_LineCountLaidOutWhole)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_LineCountInPieces(benchmark::State& state) {
  const QString word(state.range(0), QLatin1Char('a'));
  for (auto _ : state) benchmark::DoNotOptimize(displayedLineCount(word, 14, 255));
}
BENCHMARK(BM_LineCountInPieces)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// 開く(&O) on a poster whose first word is a million letters long, until the
// window has drawn step 4.
void BM_OpenMillionLetterWord(benchmark::State& state) {
  QTemporaryDir dir;
  const QString db = dir.path() + "/long.mdb";
  bool made = writeTemplateDatabase(db);
  sqlite3* raw = nullptr;
  made = made && sqlite3_open(db.toUtf8().constData(), &raw) == SQLITE_OK &&
         sqlite3_exec(raw,
                      "UPDATE textdata SET tex0L = '1440', tex0T = '3300', "
                      "tex0F = replace(hex(zeroblob(500000)), '0', 'a')",
                      nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(raw);
  if (!made) state.SkipWithError("the poster was not written");
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  PastelApp::Options o;
  o.dialogs = &dialogs;
  o.desktop = &desktop;
  o.executableFolder = dir.path();
  o.openSettings = false;
  PastelApp app(o);
  app.start();
  MainWindowView& window = app.window();
  window.show();
  for (auto _ : state) {
    dialogs.paths.push_back(db);
    window.itemOpen()->trigger();
    window.repaint();
    if (currentStep(app.poster()) != 4) state.SkipWithError("not in step 4");
    state.PauseTiming();
    window.run([&app] { backFrom4(app.poster()); });
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenMillionLetterWord)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
