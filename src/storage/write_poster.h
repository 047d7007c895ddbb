#pragma once
#include <QString>
#include <QStringList>

namespace pastel {

struct PosterContent;
struct PosterNames;
class EventLoop;

enum class SaveStatus {
  Cancelled,    // the dialog was cancelled, or replacing a poster refused: nothing written
  NameRefused,  // no PosterName follows from the name chosen: nothing written
  Failed,       // nothing put in place; an earlier poster of the name is as it was
  Saved,
};

struct SaveResult {
  SaveStatus status = SaveStatus::Failed;
  QStringList missingPhotos;  // file names of placed photos that could not be read
  QStringList droppedPhotos;  // placed photos whose stored path opening refused
  QString error;              // what failed, for a person looking into it
};

// Writes the page, the poster database (a copy of the word list's file at
// `wordList`, filled) and the poster folder for names already chosen, all
// put in place together or not at all. Yields once through `loop` (when
// given), between the two paper pictures.
SaveResult writePoster(const PosterContent& c, const PosterNames& names, const QString& wordList,
                       EventLoop* loop);

// False when a file that is not the poster's holds a paper picture's name.
bool posterNamesUsable(const PosterNames& names);

// What to ask before writing: the save dialog asks before it replaces a
// page, so only a poster whose page is gone or a folder of its name is left.
enum class SaveQuestion { None, ReplacePoster, BesideFolder };
SaveQuestion questionBeforeSaving(const PosterNames& names);

}  // namespace pastel
