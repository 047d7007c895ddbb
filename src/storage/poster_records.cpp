#include "storage/poster_records.h"

#include <QRegularExpression>

#include "canvas/poster.h"
#include "storage/field_binding.h"
#include "storage/poster_names.h"
#include "storage/value_formats.h"
#include "words/word_lines.h"

namespace pastel {

namespace {

// A twips value from the file, or the parked one when it does not convert
// or could not be a 16-bit position.
float twipsOr(const QString& text, float parked) {
  const std::optional<float> v = parseTwips(text);
  return v && *v >= -32768 && *v <= 32767 ? *v : parked;
}

QString withEditorBreaks(const QString& stored) {
  QString t = stored;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

// 45 + 300 twips a line, as a word box with no frame shows the text.
float wordHeightFor(const WordContent& w) {
  Element box;
  box.caption = w.text;
  box.width = w.width;
  box.fontSize = w.fontSize;
  return 45 + 300.0f * float(displayedLineCount(box));
}

}  // namespace

void fillPosterBuffers(const PosterContent& c, const QString& posterName,
                       const std::array<QString, kSlots + 1>& copyNames, FieldBuffers& b) {
  for (int k = 0; k < kSlots; ++k) {
    const int j = c.photoStackOrder[size_t(k)];
    auto at = [&](PhotoField f) -> QString& { return b[size_t(photoBuffer(k, f))]; };
    if (j < 0 || j >= kSlots || !isPlaced(c.photos[size_t(j)])) {
      at(kPhotoLeft) = QStringLiteral("13200");
      at(kPhotoTop) = QStringLiteral("0");
      at(kPhotoWidth) = QStringLiteral("1785");
      at(kPhotoHeight) = QStringLiteral("1335");
      at(kPhotoFile) = QString();
      continue;
    }
    const PhotoContent& e = c.photos[size_t(j)];
    at(kPhotoLeft) = twipsText(e.left);
    at(kPhotoTop) = twipsText(e.top);
    at(kPhotoWidth) = twipsText(e.width);
    at(kPhotoHeight) = twipsText(e.height);
    if (!copyNames[size_t(j)].isEmpty())
      at(kPhotoFile) = storedRelativePath(posterName, copyNames[size_t(j)]);
  }
  for (int k = 0; k < kSlots; ++k) {
    const int j = c.wordStackOrder[size_t(k)];
    if (j < 0 || j >= kSlots) continue;
    auto at = [&](WordField f) -> QString& { return b[size_t(wordBuffer(k, f))]; };
    const WordContent& e = c.words[size_t(j)];
    if (isPlaced(e)) {
      at(kWordLeft) = twipsText(e.left);
      at(kWordTop) = twipsText(e.top);
      at(kWordWidth) = twipsText(e.width);
      at(kWordHeight) = twipsText(e.height);
      at(kWordFontSize) = fontSizeText(e.fontSize);
    } else {
      at(kWordLeft) = QStringLiteral("11040");
      at(kWordTop) = twipsText(wordHomeTop(j));
      at(kWordWidth) = QStringLiteral("3855");
      at(kWordHeight) = QStringLiteral("555");
      at(kWordFontSize) = QStringLiteral("14");
    }
    at(kWordText) = withCrLf(e.text);
    at(kWordTextColour) = colourText(e.textColour);
    at(kWordFrameColour) = colourText(e.frameColour);
  }
  b[kPaperBitmapBuffer] = storedRelativePath(posterName, posterName + QStringLiteral(".bmp"));
  b[kPaperCodeBuffer] = c.paperColourCode;
}

PosterContent posterFromBuffers(const FieldBuffers& b, PosterContent c) {
  for (int i = 0; i < kSlots; ++i) {
    PhotoContent& e = c.photos[size_t(i)];
    auto at = [&](PhotoField f) { return b[size_t(photoBuffer(i, f))]; };
    e.left = twipsOr(at(kPhotoLeft), kParkedPhotoLeft);
    e.top = twipsOr(at(kPhotoTop), 0);
    e.width = twipsOr(at(kPhotoWidth), kParkedPhotoWidth);
    e.height = twipsOr(at(kPhotoHeight), kParkedPhotoHeight);
    c.photoStackOrder[size_t(i)] = std::int16_t(i);
  }
  for (int i = 0; i < kSlots; ++i) {
    WordContent& w = c.words[size_t(i)];
    auto at = [&](WordField f) { return b[size_t(wordBuffer(i, f))]; };
    w.left = twipsOr(at(kWordLeft), kWordColumnLeft);
    w.top = twipsOr(at(kWordTop), wordColumnTop(i));
    w.width = twipsOr(at(kWordWidth), kParkedWordWidth);
    const std::optional<float> size = parseFontSize(at(kWordFontSize));
    w.fontSize = size && *size >= 1 && *size <= 200 ? *size : kParkedWordFontSize;
    w.text = withinWordLength(withEditorBreaks(at(kWordText)));
    w.height = wordHeightFor(w);
    w.textColour = parseColour(at(kWordTextColour)).value_or(kBlack);
    w.textCode = swatchCodeOf(w.textColour, "#000000");
    w.frameColour = parseColour(at(kWordFrameColour)).value_or(kWhite);
    w.frameCode = swatchCodeOf(w.frameColour, "#ffffff");
    c.wordStackOrder[size_t(i)] = std::int16_t(i);
  }
  // Kept, so that saving again stores the code the poster had.
  static const QRegularExpression code(QStringLiteral("^#[0-9a-fA-F]{6}$"));
  if (code.match(b[kPaperCodeBuffer]).hasMatch()) c.paperColourCode = b[kPaperCodeBuffer].toLower();
  return c;
}

}  // namespace pastel
