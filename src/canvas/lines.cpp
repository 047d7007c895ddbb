#include "canvas/lines.h"

#include <algorithm>

#include "canvas/poster.h"
#include "platform/twips.h"

namespace pastel {

namespace {

// A quick stroke moves many pixels between two mouse events: each dot is
// joined to the one before it in the same stroke, so the line stays whole.
void paintDot(Poster& p, PaperSurface& surface, float x, float y, bool joinPrevious) {
  const int radius = p.form.hscroll1.scroll.value;  // read at every dot
  const QPoint at(twipsToPixels(x), twipsToPixels(y));
  const ColourValue colour = p.form.command13.backColor;
  surface.paintDot(at.x(), at.y(), radius, colour);
  if (joinPrevious && p.strokeSurface == &surface && p.strokeEnd != at)
    surface.paintSegment(p.strokeEnd, at, radius, colour);
  p.strokeSurface = &surface;
  p.strokeEnd = at;
}

}  // namespace

void penPress(Poster& p, PaperSurface& surface, float x, float y) {
  p.penDown = 1;
  paintDot(p, surface, x, y, false);
}

void penMove(Poster& p, PaperSurface& surface, float x, float y) {
  if (p.penDown == 1) paintDot(p, surface, x, y, true);
}

void penRelease(Poster& p) {
  p.penDown = 0;
  p.strokeSurface = nullptr;
}

void setBrushSize(Poster& p, int value) {
  ScrollRange& bar = p.form.hscroll1.scroll;
  bar.value = std::clamp(value, bar.min, bar.max);
}

}  // namespace pastel
