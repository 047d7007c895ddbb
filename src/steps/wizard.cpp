#include "steps/wizard.h"

#include <algorithm>

#include "canvas/poster.h"

namespace pastel {

namespace {

// Which step buttons and tools each step shows. Per step, one letter:
// 'S' shown and enabled, 'D' shown but disabled, '-' hidden (enabled left as
// it is), 'E' hidden and enabled, '.' left as it is. Every transition sets
// the whole set of its target step. The fifth column is step 4 reached by
// opening a poster, which may start from any step.
struct ControlRow {
  Element MainForm::*control;
  const char* steps;  // steps 1, 2, 3, 4, 4 after opening
};
constexpr int kOpenedSet = 5;
const ControlRow kControlSets[] = {
    {&MainForm::label2, "-S---"},     // BackWarning
    {&MainForm::command5, "DS--E"},   // もどる
    {&MainForm::command15, "--S--"},  //
    {&MainForm::command16, "---SS"},  //
    {&MainForm::command11, "S----"},  // つぎへ
    {&MainForm::command6, "-S---"},   //
    {&MainForm::command4, "--SDD"},   //
    {&MainForm::command19, "S----"},  // クリア
    {&MainForm::command10, "-S---"},  //
    {&MainForm::command9, "--S--"},   //
    {&MainForm::command1, "-SD--"},   // ちいさく
    {&MainForm::command2, "-SD--"},   // おおきく
    {&MainForm::command12, "S----"},  // かみのいろ
    {&MainForm::command13, "S----"},  // せんのいろ
    {&MainForm::hscroll1, "S----"},   // brush size
    {&MainForm::vscroll1, "-S---"},   // picture strip
    {&MainForm::command17, "--S--"},  // もじいろ
    {&MainForm::command18, "--S--"},  // わくいろ
    {&MainForm::command21, "--S--"},  // もじ の へんしゅう
    {&MainForm::command14, "---SS"},  // いんさつ
    {&MainForm::command22, "---SS"},  // おおきく いんさつ
    {&MainForm::command20, "---SS"},  // ほぞん
    {&MainForm::picture1, "....-"},   // the live paper
    {&MainForm::picture2, "---.-"},   // the print surface; it would hide the live paper
};

void setControlSet(MainForm& f, int step, const QString& title) {
  f.label5.caption = title;
  for (const ControlRow& row : kControlSets) {
    Element& e = f.*row.control;
    const char state = row.steps[step - 1];
    if (state == '.') continue;
    e.visible = state == 'S' || state == 'D';
    if (e.visible) e.enabled = state == 'S';
    if (state == 'E') e.enabled = true;
  }
}

bool canPress(const Element& button) { return button.visible && button.enabled; }

void showThumbnails(Poster& p) {
  for (int i = 0; i < kStripCells; ++i) p.form.image1[i].visible = i < p.thumbnailCount;
}

void hideThumbnails(Poster& p) {
  for (auto& t : p.form.image1) t.visible = false;
}

void setPaperSnapshot(Poster& p) {
  if (!p.svc.capture) return;
  p.form.image2.picture = p.svc.capture->grabPaperPicture();
  // A second, independent grab becomes the paper's own picture.
  p.form.paper.setBackPicture(p.svc.capture->grabPaperPicture());
}

// The things that lie on no paper go back to their parked size, or where
// their kind parks them at this change; which of them show is
// showSlotsOfStep's.
void parkUnplaced(Poster& p, StepChange change) {
  forEachKind([&](auto k) {
    using K = decltype(k);
    const Park where = K::kParking[change];
    if (where == Park::Stay) return;
    auto& elements = p.form.*K::kSlotsOf;
    for (int i = 0; i < kSlots; ++i)
      if (!isPlaced(elements[size_t(i)])) K::park(elements[size_t(i)], i, where);
  });
}

}  // namespace

void showSlotsOfStep(Poster& p) {
  const int step = currentStep(p);
  clearFrames(p);
  forEachKind([&](auto k) {
    using K = decltype(k);
    auto& elements = p.form.*K::kSlotsOf;
    // The overflow slot, past the poster's own, never shows here.
    for (size_t i = 0; i < elements.size(); ++i)
      elements[i].visible = i < kSlots && K::shows(step, isPlaced(elements[i]));
  });
}

void showStep(Poster& p, int step, bool opened) {
  MainForm& f = p.form;
  step = std::clamp(step, 1, 4);
  if (opened && step == 4) {
    showOpenedStep(p);
  } else {
    static const QString* const kTitles[] = {&kStep1Title, &kStep2Title, &kStep3Title,
                                             &kStep4Title};
    setControlSet(f, step, *kTitles[step - 1]);
    parkUnplaced(p, kStepShown);
  }
  f.picture1.visible = step == 1;
  f.picture2.visible = false;
  p.selectionActive = 0;
  showSlotsOfStep(p);
  if (step == 2)
    showThumbnails(p);
  else
    hideThumbnails(p);
}

void showOpenedStep(Poster& p) {
  hideThumbnails(p);
  parkUnplaced(p, kOpenedShown);
  setControlSet(p.form, kOpenedSet, kStep4OpenedTitle);
  showSlotsOfStep(p);
}

void nextFrom1(Poster& p) {
  MainForm& f = p.form;
  if (!canPress(f.command11)) return;
  setControlSet(f, 2, kStep2Title);
  setPaperSnapshot(p);
  f.picture1.visible = false;
  yieldToEvents(p);
  showThumbnails(p);
}

void nextFrom2(Poster& p) {
  MainForm& f = p.form;
  if (!canPress(f.command6)) return;
  setControlSet(f, 3, kStep3Title);
  hideThumbnails(p);
  parkUnplaced(p, kTo3);
  showSlotsOfStep(p);
  yieldToEvents(p);
}

void nextFrom3(Poster& p) {
  MainForm& f = p.form;
  if (!canPress(f.command4)) return;
  p.selectionActive = 0;
  setControlSet(f, 4, kStep4Title);
  hideThumbnails(p);
  parkUnplaced(p, kTo4);
  showSlotsOfStep(p);
  yieldToEvents(p);
}

void backFrom2(Poster& p) {
  MainForm& f = p.form;
  if (!canPress(f.command5)) return;
  setControlSet(f, 1, kStep1Title);
  hideThumbnails(p);
  // Whatever their position: the photos and words are only parked, their
  // pictures, texts and colours stay.
  forEachKind([&](auto k) {
    using K = decltype(k);
    for (int i = 0; i < kSlots; ++i) {
      Element& e = (f.*K::kSlotsOf)[size_t(i)];
      e.visible = false;
      K::park(e, i, Park::Home);
    }
  });
  yieldToEvents(p);
  p.selectionActive = 0;
  f.picture1.visible = true;
  yieldToEvents(p);
}

void backFrom3(Poster& p) {
  MainForm& f = p.form;
  if (!canPress(f.command15)) return;
  setControlSet(f, 2, kStep2Title);
  parkUnplaced(p, kBackTo2);
  showSlotsOfStep(p);
  yieldToEvents(p);
  showThumbnails(p);
}

void backFrom4(Poster& p) {
  MainForm& f = p.form;
  if (!canPress(f.command16)) return;
  setControlSet(f, 3, kStep3Title);
  hideThumbnails(p);
  parkUnplaced(p, kBackTo3);
  showSlotsOfStep(p);
  yieldToEvents(p);
}

}  // namespace pastel
