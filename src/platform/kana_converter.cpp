#include "platform/kana_converter.h"

namespace pastel {

bool isConvertibleKana(const QString& reading) {
  if (reading.isEmpty() || reading.size() > kMaxReadingKana) return false;
  for (QChar c : reading) {
    const char16_t u = c.unicode();
    const bool hiragana = u >= 0x3041 && u <= 0x3094;
    const bool mark = u == 0x30FC || u == 0x3001 || u == 0x3002 || u == 0x309B || u == 0x309C ||
                      u == 0x300C || u == 0x300D || u == 0x30FB;
    if (!hiragana && !mark) return false;
  }
  return true;
}

}  // namespace pastel
