#pragma once
#include <map>

#include "platform/kana_converter.h"

namespace pastel {

// A converter that answers from a table and records what it was handed.
class TableConverter : public KanaConverter {
 public:
  KanaConversion convert(const QString& reading) override {
    readings << reading;
    const auto it = table.find(reading);
    return it == table.end() ? KanaConversion{} : it->second;
  }
  std::map<QString, KanaConversion> table;
  QStringList readings;
};

}  // namespace pastel
