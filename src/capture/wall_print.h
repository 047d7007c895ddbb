#pragma once
#include <functional>

#include "capture/poster_renderer.h"

class QPagedPaintDevice;
class QPainter;

namespace pastel {

struct Poster;
struct WallLayout;

// Command22 "おおきく いんさつ": asks how many sheets (4 or 9), grabs the
// paper into Picture2 and shows it as いんさつ does, asks the printer dialog
// and prints the poster across 2 x 2 or 3 x 3 sheets, its photos decoded
// again from their files for the size they print at. A failure is told once.
void printWallPoster(Poster& p);

// Begins `painter` on `page` (landscape, as one page prints) and draws what
// `shown` shows across n x n pages, one sheet a page, the pictures listed in
// `finer` from those pixels; `betweenSheets` runs after each sheet but the
// last. The caller ends the document by ending the painter. False when a
// page could not be begun.
bool printWallSheets(QPagedPaintDevice& page, QPainter& painter, const PaperSurface& shown, int n,
                     const PicturePixels& finer = {},
                     const std::function<void()>& betweenSheets = {});

// The layout printWallSheets uses on `page` once it is turned.
WallLayout wallLayoutOn(QPagedPaintDevice& page, int n);

}  // namespace pastel
