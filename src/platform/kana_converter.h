#pragma once
#include <QString>
#include <QStringList>

namespace pastel {

// A composition never holds more kana than this; it keeps conversion fast.
constexpr int kMaxReadingKana = 32;

// What a converter makes of a reading.
struct KanaConversion {
  QStringList word;  // the whole reading as one word, best first
  QString phrase;    // the first candidates of its own words joined, when it splits it
};

// Kana-kanji conversion. Empty results when the reading is not one it may
// be handed or the converter could not start.
class KanaConverter {
 public:
  virtual ~KanaConverter() = default;
  virtual KanaConversion convert(const QString& reading) = 0;
};

// Only these readings go to a converter: 1..kMaxReadingKana characters of
// hiragana and the kana-keyboard marks (ー、。゛゜「」・), nothing else.
bool isConvertibleKana(const QString& reading);

}  // namespace pastel
