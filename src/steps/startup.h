#pragma once
#include <QPointF>
#include <QString>
#include <QStringList>

namespace pastel {

struct Poster;
class Desktop;

// Where a window of that outer size (twips) is centred: on the screen, or,
// where the main window does not fit it at 1x, on what its panels leave,
// its top left corner never outside.
QPointF centredPlace(const Desktop& d, float width, float height);

// Start-up up to the point where the main window shows itself.
void startUpBeforeShow(Poster& p);
// The rest of start-up, after the window is shown (and the settings dialog
// has been opened by the caller).
void startUpAfterShow(Poster& p);

// The poster named on the command line (a file manager's "open with"), as an
// absolute path, or empty: the first argument after the program's name that
// is not an option ("--" ends the options); a file: URL gives its local path.
QString posterFileArgument(const QStringList& arguments);

// "おわり" and "終了(&Q)": asks, and on Yes ends the program at once.
// Returns true when the answer was Yes.
bool confirmEnd(Poster& p);

}  // namespace pastel
