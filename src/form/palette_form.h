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

// The ColourCode of the swatch showing `shown`; `otherwise` when none does.
QString swatchCodeOf(ColourValue shown, const char* otherwise);

namespace look {
inline const Look kSwatch = [] {
  Look l;
  l.border = kEtchedFrame;
  return l;
}();
inline const Look kOkButton = [] {
  Look l;
  l.fontSize = 16, l.bold = true;
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

// The palette: 24 swatches and an OK button showing the colour OK applies.
// Placed on first use, then only shown and hidden; the pick survives hiding.
struct PaletteForm {
  PaletteForm();
  static constexpr float kClientWidth = 4095, kClientHeight = 2355;
  PASTEL_FORM_MEMBERS(PASTEL_PALETTE_TABLE)

  bool created = false;
  bool visible = false;
  float left = 0, top = 0;
  PaletteTarget target = PaletteTarget::None;
  int picked = -1;  // the swatch clicked last; none before the first click

  // What OK applies: the pick's shown colour (white before any) and its
  // ColourCode (empty before any).
  ColourValue okColour() const { return picked < 0 ? kWhite : kSwatches[size_t(picked)].shown; }
  QString pickedCode() const {
    return picked < 0 ? QString() : QString::fromLatin1(kSwatches[size_t(picked)].code);
  }
  // The OK button shows the pick.
  ColourValue shownBackColor(const Element& e) const {
    return &e == &command12 ? okColour() : e.backColor;
  }

  template <class F>
  void forEach(F&& f) {
    PASTEL_FORM_FOR_EACH(PASTEL_PALETTE_TABLE)
  }
};

}  // namespace pastel
