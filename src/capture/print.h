#pragma once

namespace pastel {

struct Poster;

// Command14 "いんさつ": grabs the paper into Picture2 and shows it, asks the
// printer dialog, and prints the grab on one page, scaled to fit, sharper
// than the screen where the view can record the paper. Picture2 stays shown.
void printPoster(Poster& p);

// The message a print that did not reach the printer or its file gives.
void tellPrintFailed(Poster& p);

}  // namespace pastel
