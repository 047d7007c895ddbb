#include "canvas/poster.h"
#include "words/word_editor.h"
#include "words/word_slots.h"

namespace pastel {

void handOverToWordEditor(Poster& p, int i) {
  commitWordEditor(p);
  yieldToEvents(p);
  // Keys still on their way may have typed into the editor meanwhile: they
  // belong to the word it held.
  commitWordEditor(p);
  p.form.text3.caption = p.form.text1[i].caption;
  p.focusRequest = p.form.text3.name;
}

}  // namespace pastel
