#pragma once
#include <QString>

namespace pastel {

struct Poster;

// The ten word boxes Text1(0..9): pressing, dragging, text and focus.

// Height = 45 + 300 twips a displayed line.
void applyHeightRule(Poster& p, int i);

// Sets a word's text as other parts do (settings, opening a poster); the
// height follows whenever the text actually changes.
void setWordText(Poster& p, int i, const QString& text);

// Mouse press with any button at (x, y) twips inside the word.
void selectWord(Poster& p, int i, float x, float y);

// Mouse move with at least one button held, (x, y) inside the word.
void dragWord(Poster& p, int i, float x, float y);

void wordTextChanged(Poster& p, int i);
void wordFocusGained(Poster& p, int i);
void wordFocusLost(Poster& p, int i);

// The word editor's share of a press while it is open (WordEditMode "1"):
// keep the edit in the word being edited, then load word i into the editor.
void handOverToWordEditor(Poster& p, int i);

}  // namespace pastel
