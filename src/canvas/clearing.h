#pragma once

namespace pastel {

struct Poster;

// "クリア" of the paper step: the paper goes back to the window colour,
// without lines. PaperColourCode keeps the last chosen colour.
void clearPaper(Poster& p);
// "クリア" of the photo step: every photo (every kind cleared there) parked
// and hidden.
void clearPhotos(Poster& p);
// "クリア" of the word step: every word (every kind cleared there) back in
// the word column.
void clearWords(Poster& p);

}  // namespace pastel
