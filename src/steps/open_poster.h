#pragma once
#include <QString>

namespace pastel {

struct Poster;

enum class OpenStatus {
  Cancelled,  // the dialog was cancelled: nothing changed
  Refused,    // not a poster file, or one that cannot be read: nothing changed
  Opened,
};

struct OpenResult {
  OpenStatus status = OpenStatus::Refused;
  QString error;  // what was wrong with the file, for a person looking into it
};

inline const QString kOpenTitle = QStringLiteral("ひらく");
inline const QString kOpenRefusedText = QStringLiteral("この ファイルは ひらけません。");

// Itemopen "開く(&O)": asks for a poster database and puts its photos, words
// and paper back on the window, in step 4. A file that is not a whole
// poster database is refused with a message before anything changes.
OpenResult openPoster(Poster& p);

// A poster chosen elsewhere (a file manager's "open with"), opened as if it
// had been chosen in the dialog: a file that is not a poster gets the same
// message, and the window stays as it was.
OpenResult openPosterAt(Poster& p, const QString& path);

// Everything after the dialog, for a path already chosen: the file read
// whole, then put on the window, which yields three times and ends in the
// opened step. Shows no message.
OpenResult openPosterFile(Poster& p, const QString& path);

}  // namespace pastel
