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

}  // namespace pastel
