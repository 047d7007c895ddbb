#include "words/word_lines.h"

#include <QTextLayout>
#include <QTextOption>
#include <cmath>

#include "form/element.h"
#include "form/twips.h"
#include "platform/gothic_font.h"

namespace pastel {

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
  for (const QString& block : plain.split(QLatin1Char('\n'))) {
    QTextLayout layout(block, font);
    layout.setTextOption(option);
    layout.beginLayout();
    int n = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      ++n;
    }
    layout.endLayout();
    lines += std::max(1, n);
  }
  return std::max(1, lines);
}

int displayedLineCount(const Element& e) {
  return displayedLineCount(e.caption, e.fontSize, wordTextWidthPx(e));
}

}  // namespace pastel
