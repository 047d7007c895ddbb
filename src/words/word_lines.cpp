#include "words/word_lines.h"

#include <QTextLayout>
#include <QTextOption>
#include <cmath>

#include "form/element.h"
#include "platform/gothic_font.h"
#include "platform/twips.h"

namespace pastel {

namespace {

// A block up to this long is laid out whole, exactly as the word box does.
// Longer ones go in pieces: Qt's wrapping looks for a break opportunity up
// to the end of the text for every line, so a long run without one costs
// time growing with the square of its length.
constexpr qsizetype kWholeBlock = 2000;
constexpr qsizetype kPiece = 256;

// Where each line of the text starts, laid out at the width.
QList<qsizetype> lineStarts(const QString& text, const QFont& font, const QTextOption& option,
                            qreal width) {
  QTextLayout layout(text, font);
  layout.setTextOption(option);
  layout.beginLayout();
  QList<qsizetype> starts;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    starts << line.textStart();
  }
  layout.endLayout();
  return starts;
}

// A line's end depends only on the text up to just past the width, so a
// piece gives every line but its last as the whole block would; the last
// one, perhaps cut short by the piece's end, is laid out again with the
// next piece.
int blockLines(const QString& block, const QFont& font, const QTextOption& option, qreal width) {
  int lines = 0;
  qsizetype from = 0;
  qsizetype piece = block.size() <= kWholeBlock ? block.size() : kPiece;
  for (;;) {
    const bool last = block.size() - from <= piece;
    const QList<qsizetype> starts =
        lineStarts(last ? block.mid(from) : block.mid(from, piece), font, option, width);
    if (last) return lines + std::max<int>(1, int(starts.size()));
    if (starts.size() < 2) {
      piece *= 2;  // one line holds the whole piece: take more
      continue;
    }
    lines += int(starts.size()) - 1;
    from += starts.back();
    piece = kPiece;
  }
}

}  // namespace

QString withinWordLength(const QString& text) {
  if (text.size() <= kMaxWordLength) return text;
  qsizetype n = kMaxWordLength;
  if (text[n - 1].isHighSurrogate() ||
      (text[n - 1] == QLatin1Char('\r') && text[n] == QLatin1Char('\n')))
    --n;
  return text.left(n);
}

int wordTextWidthPx(const Element& e) {
  const int frame = e.borderStyle ? 1 : 0;
  return twipsToPixels(e.width) - 2 * frame - 2;
}

int displayedLineCount(const QString& text, float fontSize, int textWidthPx) {
  QString plain = text;
  plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  const QFont font = gothicFont(fontSize, false);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  // A box narrower than one glyph still shows one glyph a line.
  const qreal width = std::max(1, textWidthPx);
  int lines = 0;
  for (const QString& block : plain.split(QLatin1Char('\n')))
    lines += blockLines(block, font, option, width);
  return std::max(1, lines);
}

int displayedLineCount(const Element& e) {
  return displayedLineCount(e.caption, e.fontSize, wordTextWidthPx(e));
}

}  // namespace pastel
