#include "canvas/poster.h"
#include "words/word_slots.h"

namespace pastel {

// Filled in with the word editor: first commit the editor's text into word
// p.selectedIndex, yield to the event loop, then put word i's text into the
// editor. Until the editor exists there is nothing to hand over.
void handOverToWordEditor(Poster&, int) {}

}  // namespace pastel
