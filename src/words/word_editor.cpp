#include "words/word_editor.h"

#include "canvas/poster.h"
#include "platform/key_injection.h"
#include "words/word_slots.h"

namespace pastel {

namespace {

const QString kEditMode = QStringLiteral("1");
const QString kClosedMode = QStringLiteral("0");
const QString kFirstMode = QStringLiteral("3");

bool hasWordSlot(int i) { return i >= 0 && i < kSlots; }

void showPlacedPhotosAndWords(Poster& p, bool shown) {
  for (int i = 0; i < kSlots; ++i) {
    if (isPlaced(p.form.image3[i])) p.form.image3[i].visible = shown;
    if (isPlaced(p.form.text1[i])) p.form.text1[i].visible = shown;
  }
}

void moveKanaPad(Poster& p, float dy) {
  for (Element& key : p.form.label1) key.top += dy;
}

void showEditor(Poster& p, bool shown) {
  p.form.label4.visible = shown;
  p.form.check1.visible = shown;
  p.form.text3.visible = shown;
}

void toggleKanaLockAndYield(Poster& p) {
  if (p.svc.keys) p.svc.keys->toggleKanaLock();
  yieldToEvents(p);
}

void open(Poster& p, const QString& mode) {
  MainForm& f = p.form;
  showPlacedPhotosAndWords(p, false);
  if (mode == kFirstMode) {
    for (int k = 0; k < kNextKey; ++k) f.label1[k].visible = true;
  } else {
    moveKanaPad(p, -kKanaPadDisplacement);
  }
  showEditor(p, true);
  // The Shift-sequence keys do not move the focus: the editor must have it
  // before the first of them, and before the kana-lock key below.
  p.focusRequest = f.text3.name;
  if (p.svc.keys && !p.svc.keys->kanaLockOn()) toggleKanaLockAndYield(p);
  f.text3.caption = f.text1[p.selectedIndex].caption;
  for (Element* b : {&f.command1, &f.command2, &f.command3, &f.command4, &f.command9, &f.command15})
    b->enabled = false;
  f.command21.caption = QStringLiteral("はりつけ に もどる");
  p.wordEditMode = kEditMode;
}

void close(Poster& p) {
  MainForm& f = p.form;
  showPlacedPhotosAndWords(p, true);
  moveKanaPad(p, kKanaPadDisplacement);
  showEditor(p, false);
  toggleKanaLockAndYield(p);
  for (Element* b : {&f.command3, &f.command4, &f.command9, &f.command15}) b->enabled = true;
  f.command21.caption = QStringLiteral("もじ の へんしゅう");
  // Read after the yield: the keys still on their way have typed meanwhile.
  commitWordEditor(p);
  p.wordEditMode = kClosedMode;
}

}  // namespace

bool wordEditorOpen(const Poster& p) { return p.wordEditMode == kEditMode; }

void commitWordEditor(Poster& p) {
  if (!wordEditorOpen(p) || !hasWordSlot(p.selectedIndex)) return;
  setWordText(p, p.selectedIndex, p.form.text3.caption);
}

void wordEditorClick(Poster& p) {
  if (!p.form.command21.visible || !p.form.command21.enabled) return;
  const QString mode = p.wordEditMode;
  const bool opening = mode == kFirstMode || mode == kClosedMode;
  // No word 10 to edit: the overflow photo's index.
  if (opening && !hasWordSlot(p.selectedIndex)) return;
  p.awaitingNext = 0;
  if (opening)
    open(p, mode);
  else if (mode == kEditMode)
    close(p);
}

void nextKeyOptionClick(Poster& p, int value) {
  p.form.check1.value = value;
  p.awaitingNext = 0;
  p.form.label1[kNextKey].visible = value == 1;
}

}  // namespace pastel
