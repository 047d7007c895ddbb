#pragma once
#include <QString>
#include <array>

#include "form/form_table.h"

namespace pastel {

enum class PaletteTarget { None = 0, Paper = 1, Line = 2, WordFrame = 3, WordText = 4 };

struct Swatch {
  ColourValue shown;  // what the screen uses
  const char* code;   // what the poster files record; ten differ from shown
};
extern const std::array<Swatch, 24> kSwatches;

namespace look {
inline const Look kSwatch = [] {
  Look l;
  l.border = kEtchedFrame;
  return l;
}();
inline const Look kOkButton = [] {
  Look l;
  l.fontSize = 16, l.bold = true, l.back = kWhite;
  return l;
}();
}  // namespace look

inline Rect swatchCell(int k) {
  return {120 + 480.0f * float(k % 8), 120 + 480.0f * float(k / 8), 495, 495};
}

// The palette window Form2 (columns: form/form_table.h).
#define PASTEL_PALETTE_TABLE(X, ARRAY)                                        \
  ARRAY(label3, "Label3(%1)", 0, 24, Label, swatchCell, look::kSwatch, Shown) \
  X(command12, "Command12", Button, "OK", 840, 1680, 2415, 615, look::kOkButton, Shown)

// The palette: 24 swatches and an OK button whose back colour is the colour
// OK applies. Created on first use, then only shown and hidden; the pick
// survives hiding.
struct PaletteForm {
  PaletteForm();
  static constexpr float kClientWidth = 4095, kClientHeight = 2355;
  PASTEL_FORM_MEMBERS(PASTEL_PALETTE_TABLE)

  bool created = false;
  bool visible = false;
  float left = 0, top = 0;
  PaletteTarget target = PaletteTarget::None;
  QString pickedCode;  // empty until the first click in the process

  template <class F>
  void forEach(F&& f) {
    PASTEL_FORM_FOR_EACH(PASTEL_PALETTE_TABLE)
  }
};

}  // namespace pastel
