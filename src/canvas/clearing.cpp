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

namespace {

// Every thing the step places goes home, hidden where the step hides what
// lies off the paper. The paper's background picture and Picture1 are left
// alone: the picture holds the child's lines, which later saves still need.
void clearThingsOfStep(Poster& p, int step) {
  p.selectionActive = 0;
  forEachKind([&](auto k) {
    using K = decltype(k);
    if (K::kClearedInStep != step) return;
    auto& elements = p.form.*K::kSlotsOf;
    // SelectedIndex 10 is left by the OverflowSlot, which only photos have.
    if (p.selectedIndex >= 0 && size_t(p.selectedIndex) < elements.size())
      elements[size_t(p.selectedIndex)].borderStyle = 0;
    for (int i = 0; i < kSlots; ++i) {
      Element& e = elements[size_t(i)];
      e.visible = e.visible && K::shows(step, false);
      K::park(e, i, Park::Home);
    }
  });
}

}  // namespace

void clearPhotos(Poster& p) { clearThingsOfStep(p, PhotoKind::kClearedInStep); }

void clearWords(Poster& p) { clearThingsOfStep(p, WordKind::kClearedInStep); }

}  // namespace pastel
