// One click on a kana key until its two key events reach the word editor.
// Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <memory>

#include "app/pastel_app_view.h"
#include "app/wizard.h"
#include "bench_main.h"
#include "support/stand_ins.h"
#include "words/word_editor.h"

namespace pastel {
namespace {

struct KeyCounter : QObject {
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) ++seen;
    return false;
  }
  int seen = 0;
};

void click(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  const QPointF global = w->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, {});
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, {});
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

void BM_KanaKeyClickToKeyEvents(benchmark::State& state) {
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
  QWidget* editor = app.window().findChild<QWidget*>("Text3");
  auto* key = app.window().findChild<QLabel*>("Label1(5)");  // か
  KeyCounter counter;
  editor->installEventFilter(&counter);
  for (auto _ : state) {
    const int before = counter.seen;
    click(key);
    while (counter.seen < before + 2) QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_KanaKeyClickToKeyEvents)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pastel

int main(int argc, char** argv) { return runBenchmarks<QApplication>(argc, argv); }
