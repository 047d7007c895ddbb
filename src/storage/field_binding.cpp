#include "storage/field_binding.h"

namespace pastel {

namespace {
const char kPhotoLetters[] = "LTWHF";
const char kWordLetters[] = "LTWHSFCB";
}  // namespace

FieldColumn fieldColumn(int buffer) {
  if (buffer == 0) return {kImageTable, QStringLiteral("backcolor")};
  if (buffer >= 1 && buffer <= 50) {
    const int i = (buffer - 1) / 5;
    return {kImageTable,
            QStringLiteral("ima%1%2").arg(i).arg(QLatin1Char(kPhotoLetters[(buffer - 1) % 5]))};
  }
  if (buffer == 51) return {kImageTable, QStringLiteral("colcode")};
  if (buffer >= 52 && buffer <= 131) {
    const int i = (buffer - 52) / 8;
    return {kTextTable,
            QStringLiteral("tex%1%2").arg(i).arg(QLatin1Char(kWordLetters[(buffer - 52) % 8]))};
  }
  if (buffer == 132) return {kImageTable, QStringLiteral("sgazo")};
  return {};
}

QStringList imageColumns() {
  QStringList c{QStringLiteral("backcolor")};
  for (int b = 1; b <= 50; ++b) c << fieldColumn(b).column;
  c << QStringLiteral("colcode") << QStringLiteral("sgazo");
  return c;
}

QStringList textColumns() {
  QStringList c;
  for (int b = 52; b <= 131; ++b) c << fieldColumn(b).column;
  return c;
}

QStringList wordListColumns() {
  QStringList c;
  for (int k = 1; k <= 10; ++k) c << QStringLiteral("moji%1").arg(k);
  return c;
}

}  // namespace pastel
