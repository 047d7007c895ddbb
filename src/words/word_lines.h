#pragma once
#include <QString>

namespace pastel {

struct Element;

// How many lines a word box shows for its text: explicit line breaks plus
// wrapped lines at the box's width in its font. An empty text is one line.
// The word box widget lays out with the same font, width and wrapping, so
// handlers and screen agree.
int displayedLineCount(const QString& text, float fontSize, int textWidthPx);
int displayedLineCount(const Element& wordBox);

// The width in pixels a word box's text wraps at: the box less its frame
// and the one-pixel document margin on each side.
int wordTextWidthPx(const Element& wordBox);

// The longest word a poster file or the word list hands over, in UTF-16
// units: far beyond what a child types, short enough to lay out at once.
constexpr qsizetype kMaxWordLength = 1000;

// The text as reading accepts it: cut to kMaxWordLength, never inside a
// character or a CR LF.
QString withinWordLength(const QString& text);

}  // namespace pastel
