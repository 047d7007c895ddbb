#pragma once
#include "form/palette_form.h"

namespace pastel {

struct Poster;

// Command12 / Command13 / Command18 / Command17 of the main window.
void openPalette(Poster& p, PaletteTarget target);
void clickSwatch(Poster& p, int k);
void paletteOk(Poster& p);
// The palette's frame closed: only hidden, the pick is kept.
void closePalette(Poster& p);

// The codes of a restored word, from the colours it shows.
void textCodeOfColour(Poster& p, int k);
void frameCodeOfColour(Poster& p, int k);

}  // namespace pastel
