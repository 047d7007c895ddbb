#pragma once
#include <QString>
#include <QStringList>

#include "storage/open_poster.h"

namespace pastel {

struct Poster;

// The folder with exactly one trailing "/" ("/" stays "/").
QString appFolderFrom(const QString& folder);

// AppFolder: computed from the program's folder on first call, then kept.
QString appFolderPath(Poster& p);

// Start-up up to the point where the main window shows itself.
void startUpBeforeShow(Poster& p);
// The rest of start-up, after the window is shown (and the settings dialog
// has been opened by the caller).
void startUpAfterShow(Poster& p);

// The poster named on the command line (a file manager's "open with"), as an
// absolute path, or empty: the first argument after the program's name that
// is not an option ("--" ends the options); a file: URL gives its local path.
QString posterFileArgument(const QStringList& arguments);

// Opens that poster once start-up has finished, as if it had been chosen in
// 開く(&O)'s dialog: a file that is not a poster gets the same message, and
// the window stays as it was.
OpenResult openPosterOnStart(Poster& p, const QString& path);

// "おわり" and "終了(&Q)": asks, and on Yes ends the program at once.
// Returns true when the answer was Yes.
bool confirmEnd(Poster& p);

}  // namespace pastel
