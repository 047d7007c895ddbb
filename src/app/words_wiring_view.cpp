#include "app/pastel_app_view.h"
#include "words/word_slots.h"

namespace pastel {

void wireWords(MainWindowView& view, Poster& p) {
  for (int i = 0; i < kSlots; ++i) {
    ElementEvents& ev = view.on(p.form.text1[i]);
    ev.press = [&p, i](Qt::MouseButtons, float x, float y) { selectWord(p, i, x, y); };
    ev.move = [&p, i](Qt::MouseButtons, float x, float y) { dragWord(p, i, x, y); };
    // A word has no release of its own; the release still ends the drag,
    // which is when the change is taken.
    ev.release = [](Qt::MouseButtons, float, float) {};
    ev.textChanged = [&p, i] { wordTextChanged(p, i); };
    ev.focusIn = [&p, i] { wordFocusGained(p, i); };
    ev.focusOut = [&p, i] { wordFocusLost(p, i); };
  }
}

}  // namespace pastel
