#pragma once
#include "platform/kana_converter.h"

namespace pastel {

// Kana-kanji conversion through Anthy. It starts on the first conversion,
// with its home in `home` (never the account's own) and a personality that
// learns nothing, so every child and every test gets the same candidates.
// Anthy is one per process: a second converter shares the first's start.
class AnthyConverter : public KanaConverter {
 public:
  explicit AnthyConverter(QString home);
  ~AnthyConverter() override;
  AnthyConverter(const AnthyConverter&) = delete;
  AnthyConverter& operator=(const AnthyConverter&) = delete;

  // Starts Anthy if it has not been tried; false when it cannot start.
  bool start();
  KanaConversion convert(const QString& reading) override;

 private:
  QString home_;
  bool tried_ = false;
  bool started_ = false;
  void* context_ = nullptr;  // anthy_context_t
};

// Anthy's home for this program: pastelboard/anthy/ under the XDG data folder.
QString anthyHomeFolder();

}  // namespace pastel
