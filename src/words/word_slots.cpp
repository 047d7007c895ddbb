#include "words/word_slots.h"

#include "canvas/poster.h"
#include "form/int16.h"
#include "words/word_lines.h"

namespace pastel {

namespace {

bool editorOpen(const Poster& p) { return p.wordEditMode == QLatin1String("1"); }

}  // namespace

void applyHeightRule(Poster& p, int i) {
  Element& w = p.form.text1[i];
  w.height = 45 + 300.0f * float(displayedLineCount(w));
}

void setWordText(Poster& p, int i, const QString& text) {
  if (p.form.text1[i].caption == text) return;
  p.form.text1[i].caption = text;
  wordTextChanged(p, i);
}

void selectWord(Poster& p, int i, float x, float y) {
  p.selectionActive = 1;
  p.selectedKind = SelectedKind::Word;
  clearFrames(p);
  p.grabOffsetX = toInt16(x).value_or(0);
  p.grabOffsetY = toInt16(y).value_or(0);
  p.form.text1[i].borderStyle = 1;
  bringWordToTop(p, i);
  if (editorOpen(p)) handOverToWordEditor(p, i);
  applyHeightRule(p, i);
  p.selectedIndex = std::int16_t(i);
}

void dragWord(Poster& p, int i, float x, float y) {
  if (editorOpen(p)) return;
  Element& w = p.form.text1[i];
  const auto t = toInt16(w.top), l = toInt16(w.left), h = toInt16(w.height), wd = toInt16(w.width);
  if (!t || !l || !h || !wd) return;  // off any screen: leave it where it is
  const float dy = y - float(p.grabOffsetY);
  const float dx = x - float(p.grabOffsetX);
  if (dy < 0 && *t > 0) w.top = *t + dy;
  if (dx < 0 && *l > 0) w.left = *l + dx;
  if (dy > 0 && (p.form.height - *h) > *t) w.top = *t + dy;
  if (dx > 0 && (p.form.width - *wd) > *l) w.left = *l + dx;
}

void wordTextChanged(Poster& p, int i) { applyHeightRule(p, i); }

void wordFocusGained(Poster& p, int i) { applyHeightRule(p, i); }

void wordFocusLost(Poster& p, int i) {
  Element& w = p.form.text1[i];
  if (w.left >= kPlacementBoundary) parkWord(p, i, WordPark::Here);
  if (p.form.label5.caption == kStep4Title && w.left >= kPlacementBoundary) w.visible = false;
}

}  // namespace pastel
