#pragma once
#include <QString>
#include <array>

#include "form/element.h"

namespace pastel {

struct Poster;

enum class PaletteTarget { None = 0, Paper = 1, Line = 2, WordFrame = 3, WordText = 4 };

struct Swatch {
  ColourValue shown;   // what the screen uses
  const char* code;    // what the poster files record; ten differ from shown
};
extern const std::array<Swatch, 24> kSwatches;

// The palette window Form2: 24 swatches and an OK button that shows the
// colour last clicked. Created on first use, then only shown and hidden;
// the pick survives hiding.
struct Palette {
  Palette();
  bool created = false;
  bool visible = false;
  float left = 0, top = 0;
  static constexpr float kClientWidth = 4095, kClientHeight = 2355;
  std::array<Element, 24> label3;
  Element command12;  // OK: its backColor is the colour OK applies
  PaletteTarget target = PaletteTarget::None;
  QString pickedCode;  // empty until the first click in the process
};

// Command12 / Command13 / Command18 / Command17 of the main window.
void openPalette(Poster& p, Palette& pal, PaletteTarget target);
void clickSwatch(Palette& pal, int k);
void paletteOk(Poster& p, Palette& pal);

// The codes of a restored word, from the colours it shows.
void textCodeOfColour(Poster& p, int k);
void frameCodeOfColour(Poster& p, int k);

}  // namespace pastel
