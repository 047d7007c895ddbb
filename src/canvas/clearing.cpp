#include "canvas/clearing.h"

#include "canvas/poster.h"

namespace pastel {

void clearPaper(Poster& p) {
  MainForm& f = p.form;
  // Command12 shows the paper's colour, so it follows.
  f.paper.setBackPicture(nullptr);
  f.paper.setBackColor(kSysWindowBackground);  // repaints: the lines go too
  yieldToEvents(p);
}

// The paper's background picture and Picture1 are left alone here: the
// picture holds the child's lines, which later saves still need.
void clearPhotos(Poster& p) {
  MainForm& f = p.form;
  p.selectionActive = 0;
  if (p.selectedIndex >= 0 && p.selectedIndex <= kOverflowSlot)
    f.image3[size_t(p.selectedIndex)].borderStyle = 0;
  for (int k = 0; k < kSlots; ++k) {
    f.image3[size_t(k)].visible = false;
    parkPhoto(p, k, true);
  }
}

void clearWords(Poster& p) {
  MainForm& f = p.form;
  p.selectionActive = 0;
  // SelectedIndex 10 is left by the OverflowSlot: no such word.
  if (p.selectedIndex >= 0 && p.selectedIndex < kSlots)
    f.text1[size_t(p.selectedIndex)].borderStyle = 0;
  for (int i = 0; i < kSlots; ++i) parkWord(p, i, WordPark::Home);
}

}  // namespace pastel
