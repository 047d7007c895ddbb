#include "app/pastel_app_view.h"
#include "words/word_slots.h"

namespace pastel {

void wireWords(MainWindowView& view, Poster& p) {
  for (int i = 0; i < 10; ++i) {
    ElementEvents& ev = view.on(p.form.text1[i]);
    ev.press = [&view, &p, i](Qt::MouseButtons, float x, float y) {
      view.run([&p, i, x, y] { selectWord(p, i, x, y); });
    };
    ev.move = [&view, &p, i](Qt::MouseButtons held, float x, float y) {
      if (held != Qt::NoButton) view.run([&p, i, x, y] { dragWord(p, i, x, y); });
    };
    // A word has no release of its own; the release still ends the drag,
    // which is when the change is taken.
    ev.release = [&view](Qt::MouseButtons, float, float) { view.run([] {}); };
    ev.textChanged = [&p, i] { wordTextChanged(p, i); };
    ev.focusIn = [&view, &p, i] { view.run([&p, i] { wordFocusGained(p, i); }); };
    ev.focusOut = [&view, &p, i] { view.run([&p, i] { wordFocusLost(p, i); }); };
  }
}

}  // namespace pastel
