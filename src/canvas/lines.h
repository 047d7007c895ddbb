#pragma once

namespace pastel {

struct Poster;
class PaperSurface;

// Freehand lines on the paper (Picture1) or the output surface (Picture2):
// filled dots in the line colour, radius HScroll1's value in pixels, one
// per mouse event, each joined to the previous dot of the same stroke by a
// band as wide. Positions are twips inside the surface.
void penPress(Poster& p, PaperSurface& surface, float x, float y);
void penMove(Poster& p, PaperSurface& surface, float x, float y);
void penRelease(Poster& p);

// HScroll1 moved: the brush radius for the next dots.
void setBrushSize(Poster& p, int value);

}  // namespace pastel
