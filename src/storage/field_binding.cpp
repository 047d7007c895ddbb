#include "storage/field_binding.h"

#include "form/slots.h"

namespace pastel {

namespace {
const char kPhotoLetters[] = "LTWHF";
const char kWordLetters[] = "LTWHSFCB";
}  // namespace

FieldColumn fieldColumn(int buffer) {
  if (buffer == kPaperBitmapBuffer) return {kImageTable, QStringLiteral("backcolor")};
  if (buffer == kColcodeBuffer) return {kImageTable, QStringLiteral("colcode")};
  if (buffer == kPaperCodeBuffer) return {kImageTable, QStringLiteral("sgazo")};
  const int firstPhoto = photoBuffer(0, kPhotoLeft), firstWord = wordBuffer(0, kWordLeft);
  if (buffer >= firstPhoto && buffer < photoBuffer(kSlots, kPhotoLeft)) {
    const int at = buffer - firstPhoto;
    return {kImageTable, QStringLiteral("ima%1%2")
                             .arg(at / kPhotoFields)
                             .arg(QLatin1Char(kPhotoLetters[at % kPhotoFields]))};
  }
  if (buffer >= firstWord && buffer < wordBuffer(kSlots, kWordLeft)) {
    const int at = buffer - firstWord;
    return {kTextTable, QStringLiteral("tex%1%2")
                            .arg(at / kWordFields)
                            .arg(QLatin1Char(kWordLetters[at % kWordFields]))};
  }
  return {};
}

QStringList imageColumns() {
  QStringList c;
  for (int b = 0; b < kFieldBufferCount; ++b)
    if (fieldColumn(b).table == kImageTable) c << fieldColumn(b).column;
  return c;
}

QStringList textColumns() {
  QStringList c;
  for (int b = 0; b < kFieldBufferCount; ++b)
    if (fieldColumn(b).table == kTextTable) c << fieldColumn(b).column;
  return c;
}

QStringList wordListColumns() {
  QStringList c;
  for (int k = 1; k <= kSlots; ++k) c << QStringLiteral("moji%1").arg(k);
  return c;
}

}  // namespace pastel
