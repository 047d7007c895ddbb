// One click on a kana key until its character shows in the word editor:
// the key events delivered, composed and painted as the underlined
// composition. The editor is emptied between clicks, so every click types
// into the same empty editor. Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <memory>

#include "app/pastel_app_view.h"
#include "bench_main.h"
#include "steps/wizard.h"
#include "support/stand_ins.h"
#include "words/kana_input_view.h"
#include "words/word_editor.h"

namespace pastel {
namespace {

// Sees the editor's text area paint while the composition shows `wanted`.
struct ShownWatcher : QObject {
  ShownWatcher(QPlainTextEdit* editor, QString wanted)
      : im(kanaInputMethodOf(editor)), wanted(std::move(wanted)) {
    editor->viewport()->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint && im && im->composer().shown() == wanted) shown = true;
    return false;
  }
  KanaInputMethod* im;
  QString wanted;
  bool shown = false;
};

void click(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  const QPointF global = w->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, {});
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, {});
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

void BM_KanaKeyClickToCharacterShown(benchmark::State& state) {
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  PastelApp::Options o;
  o.dialogs = &dialogs;
  o.desktop = &desktop;
  o.executableFolder = dir.path();
  o.openSettings = false;
  PastelApp app(o);
  app.start();
  Poster& p = app.poster();
  app.window().run([&] {
    nextFrom1(p);
    nextFrom2(p);
    wordEditorClick(p);
  });
  QCoreApplication::processEvents();
  auto* editor = app.window().findChild<QPlainTextEdit*>("Text3");
  auto* key = app.window().findChild<QLabel*>("Label1(5)");  // か
  KanaInputMethod* im = kanaInputMethodOf(editor);
  if (!editor || !key || !im) {
    state.SkipWithError("no word editor");
    return;
  }
  ShownWatcher watcher(editor, QStringLiteral("か"));
  for (auto _ : state) {
    state.PauseTiming();
    im->commitPending();
    app.window().run([&] { p.form.text3.caption.clear(); });
    QCoreApplication::processEvents();
    watcher.shown = false;
    state.ResumeTiming();
    click(key);
    for (int spins = 0; !watcher.shown; ++spins) {
      QCoreApplication::processEvents();
      if (spins > 100000) {
        state.SkipWithError("the character never showed");
        return;
      }
    }
  }
}
BENCHMARK(BM_KanaKeyClickToCharacterShown)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
