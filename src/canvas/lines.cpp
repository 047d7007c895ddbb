#include "canvas/lines.h"

#include <cmath>

#include "canvas/poster.h"

namespace pastel {

namespace {

constexpr double kTwipsPerSurfacePixel = 15;

void paintDot(Poster& p, PaperSurface& surface, float x, float y) {
  p.penRadius = std::int16_t(p.form.hscroll1.scroll.value);
  const int px = int(std::floor(x / kTwipsPerSurfacePixel));
  const int py = int(std::floor(y / kTwipsPerSurfacePixel));
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

}  // namespace pastel
