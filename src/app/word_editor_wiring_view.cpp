#include "app/pastel_app_view.h"
#include "words/kana_pad.h"
#include "words/word_editor.h"

namespace pastel {

void wireWordEditor(MainWindowView& view, Poster& p) {
  view.on(p.form.command21).click = [&p] { wordEditorClick(p); };
  view.on(p.form.check1).valueChanged = [&p](int v) { nextKeyOptionClick(p, v); };
  for (int k = 0; k < kKanaKeyCount; ++k)
    view.on(p.form.label1[k]).click = [&p, k] { kanaKeyClick(p, k); };
}

}  // namespace pastel
