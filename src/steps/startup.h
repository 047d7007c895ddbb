#pragma once
#include <QString>

namespace pastel {

struct Poster;

// Start-up up to the point where the main window shows itself.
void startUpBeforeShow(Poster& p);
// The rest of start-up, after the window is shown (and the settings dialog
// has been opened by the caller).
void startUpAfterShow(Poster& p);

// "おわり" and "終了(&Q)": asks, and on Yes ends the program at once.
// Returns true when the answer was Yes.
bool confirmEnd(Poster& p);

}  // namespace pastel
