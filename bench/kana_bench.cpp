// The word editor's input method: a key to its character on screen, and
// conversions through Anthy. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>

#include "app/element_widgets_view.h"
#include "bench_main.h"
#include "platform/anthy_converter.h"
#include "words/kana_composer.h"
#include "words/kana_input_view.h"

namespace pastel {
namespace {

const QString kTenKana = QStringLiteral("なつやすみのえにっき");  // 夏休みの絵日記

// Start of Anthy and the first conversion, in a fresh converter each time.
void BM_AnthyFirstConversion(benchmark::State& state) {
  QTemporaryDir home;
  for (auto _ : state) {
    AnthyConverter anthy(home.path());
    benchmark::DoNotOptimize(kanaCandidates(&anthy, kTenKana));
  }
}
BENCHMARK(BM_AnthyFirstConversion)->Unit(benchmark::kMillisecond)->Iterations(5);

// A ten-kana word converted into the candidate list, Anthy already started.
void BM_AnthyConvertTenKana(benchmark::State& state) {
  QTemporaryDir home;
  AnthyConverter anthy(home.path());
  anthy.start();
  for (auto _ : state) benchmark::DoNotOptimize(kanaCandidates(&anthy, kTenKana));
  state.SetLabel(kanaCandidates(&anthy, kTenKana).join(' ').toStdString());
}
BENCHMARK(BM_AnthyConvertTenKana)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void post(QWidget* to, QEvent::Type t, int vk) {
  QCoreApplication::postEvent(
      to, new QKeyEvent(t, Qt::Key_unknown, Qt::NoModifier, 0, quint32(vk), 0, QString()));
}

// One injected key (down and up, as the pad posts it) until the editor has
// painted its character; the composition then holds a few kana, as a word does.
void BM_KeyToCharacterShown(benchmark::State& state) {
  QWidget window;
  window.resize(760, 560);
  auto* editor = new TextBoxWidget(&window);
  editor->setGeometry(16, 208, 585, 105);
  QFont f = editor->font();
  f.setPointSize(20);
  editor->setFont(f);
  editor->setPlainText(QStringLiteral("なつやすみ"));
  editor->moveCursor(QTextCursor::End);
  KanaInputMethod* im = attachKanaInputMethod(editor, nullptr);
  window.show();
  editor->setFocus();
  post(editor, QEvent::KeyPress, 0x15);
  QApplication::processEvents();
  for (int k : {84, 192, 90}) post(editor, QEvent::KeyPress, k);
  QApplication::processEvents();
  for (auto _ : state) {
    post(editor, QEvent::KeyPress, 84);  // か
    post(editor, QEvent::KeyRelease, 84);
    QApplication::processEvents();
    editor->viewport()->repaint();
    state.PauseTiming();
    post(editor, QEvent::KeyPress, 8);
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.SetLabel(im->composer().shown().toStdString());
}
BENCHMARK(BM_KeyToCharacterShown)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
