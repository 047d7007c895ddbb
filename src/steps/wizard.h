#pragma once

namespace pastel {

struct Poster;

// The six step buttons. Each sets the complete control set of its target
// step; the step itself is only ever read back from the StepTitle.
void nextFrom1(Poster& p);  // Command11
void nextFrom2(Poster& p);  // Command6
void nextFrom3(Poster& p);  // Command4
void backFrom2(Poster& p);  // Command5
void backFrom3(Poster& p);  // Command15
void backFrom4(Poster& p);  // Command16

// Shows the photos and words the current step shows: none in step 1; the
// placed photos from step 2 on; in step 3 every word, else the placed ones.
// The others are hidden, and no frame is left on any.
void showSlotsOfStep(Poster& p);

// A step shown afresh, as if the child had come to it: its title and
// control set, the live paper only in step 1, its slots, its thumbnails.
// `opened` is step 4 as an opened poster shows it.
void showStep(Poster& p, int step, bool opened);

// Step 4 as opening a poster leaves it, from any step: its title and
// control set, no thumbnail, no frame, the parked photos and words hidden
// at their parked size.
void showOpenedStep(Poster& p);

}  // namespace pastel
