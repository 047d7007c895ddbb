#pragma once

namespace pastel {

struct Poster;

enum class PhotoPress {
  Selected,          // the photo is selected, framed and on top
  TooManyPhotos,     // the OverflowSlot: the limit message was shown
  OverflowWithdrawn  // the OverflowSlot was hidden, slot 0 is free again
};

// Press on PhotoSlot i (0..10), any button.
PhotoPress pressPhoto(Poster& p, int i);
// Mouse movement over PhotoSlot i at (x, y) twips inside it.
void movePhoto(Poster& p, int i, bool buttonHeld, float x, float y);
// Release on PhotoSlot i: dropped at 9300 or beyond, it leaves the poster.
void releasePhoto(Poster& p, int i);

// "ちいさく" (x 0.9) and "おおきく" (x 1.1) on the selected photo.
void makePhotoSmaller(Poster& p);
void makePhotoBigger(Poster& p);

}  // namespace pastel
