#include "canvas/lines.h"

#include <algorithm>
#include <cmath>

#include "canvas/poster.h"
#include "form/twips.h"

namespace pastel {

namespace {

void paintDot(Poster& p, PaperSurface& surface, float x, float y) {
  p.penRadius = std::int16_t(p.form.hscroll1.scroll.value);
  const int px = int(std::floor(x / kTwipsPerPixel));
  const int py = int(std::floor(y / kTwipsPerPixel));
  surface.paintDot(px, py, p.penRadius, p.form.command13.backColor);
}

}  // namespace

void penPress(Poster& p, PaperSurface& surface, float x, float y) {
  p.penDown = 1;
  paintDot(p, surface, x, y);
}

void penMove(Poster& p, PaperSurface& surface, float x, float y) {
  if (p.penDown == 1) paintDot(p, surface, x, y);
}

void penRelease(Poster& p) { p.penDown = 0; }

void setBrushSize(Poster& p, int value) {
  ScrollRange& bar = p.form.hscroll1.scroll;
  bar.value = std::clamp(value, bar.min, bar.max);
}

}  // namespace pastel
