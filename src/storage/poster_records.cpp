#include "storage/poster_records.h"

#include "canvas/poster.h"
#include "storage/poster_names.h"
#include "storage/value_formats.h"

namespace pastel {

namespace {

constexpr int kBackColorBuffer = 0;
constexpr int kSgazoBuffer = 132;
int photoBuffer(int k) { return 1 + 5 * k; }
int wordBuffer(int k) { return 52 + 8 * k; }

}  // namespace

void fillPosterBuffers(const Poster& p, const QString& posterName,
                       const std::array<QString, 11>& copyNames, FieldBuffers& b) {
  for (int k = 0; k < 10; ++k) {
    const int j = p.photoStackOrder[size_t(k)];
    const int f = photoBuffer(k);
    if (j < 0 || j > 9 || !isPlaced(p.form.image3[size_t(j)])) {
      b[f] = QStringLiteral("13200");
      b[f + 1] = QStringLiteral("0");
      b[f + 2] = QStringLiteral("1785");
      b[f + 3] = QStringLiteral("1335");
      b[f + 4] = QString();
      continue;
    }
    const Element& e = p.form.image3[size_t(j)];
    b[f] = twipsText(e.left);
    b[f + 1] = twipsText(e.top);
    b[f + 2] = twipsText(e.width);
    b[f + 3] = twipsText(e.height);
    if (!copyNames[size_t(j)].isEmpty())
      b[f + 4] = storedRelativePath(posterName, copyNames[size_t(j)]);
  }
  for (int k = 0; k < 10; ++k) {
    const int j = p.wordStackOrder[size_t(k)];
    const int f = wordBuffer(k);
    if (j < 0 || j > 9) continue;
    const Element& e = p.form.text1[size_t(j)];
    if (isPlaced(e)) {
      b[f] = twipsText(e.left);
      b[f + 1] = twipsText(e.top);
      b[f + 2] = twipsText(e.width);
      b[f + 3] = twipsText(e.height);
      b[f + 4] = fontSizeText(e.fontSize);
    } else {
      b[f] = QStringLiteral("11040");
      b[f + 1] = twipsText(wordHomeTop(j));
      b[f + 2] = QStringLiteral("3855");
      b[f + 3] = QStringLiteral("555");
      b[f + 4] = QStringLiteral("14");
    }
    b[f + 5] = withCrLf(e.caption);
    b[f + 6] = colourText(e.foreColor);
    b[f + 7] = colourText(e.backColor);
  }
  b[kBackColorBuffer] = storedRelativePath(posterName, posterName + QStringLiteral(".bmp"));
  b[kSgazoBuffer] = p.paperColourCode;
}

}  // namespace pastel
