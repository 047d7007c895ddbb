#pragma once
#include <QString>
#include <QStringList>
#include <array>

#include "form/settings_form.h"
#include "storage/template_db.h"

namespace pastel {

struct Poster;

// The settings dialog frmList as plain values: what its controls show.
struct SettingsDialog {
  WordList wordFields;     // Text11 .. Text20, moji1 .. moji10, Text1(0..9)
  QStringList drives;      // Drive1's entries
  QString drive;           // Drive1
  QString dirPath;         // Dir1, no trailing "/" except the root
  QStringList subfolders;  // Dir1's folders below dirPath, names only
  QStringList fileList;    // File1: picture names of dirPath, sorted
  QString templatePath;    // the word list's file (wordListFile)
  // Whether the fields started from the file. After a failed read they hold
  // only what the poster or the user put there, never the list itself.
  bool wordsRead = false;
  WordList storedWords;                 // the list as read, when wordsRead
  bool storedRow = false;               // the table held its row then
  std::array<bool, kSlots> fieldSet{};  // holds a word from the poster or typed
};

struct SettingsLoad {
  bool wordsRead = false;  // false: the file could not be used
  QString error;
};

// Creation: reads the word list, lets words edited on the poster replace
// the stored ones, and shows the start folder.
SettingsLoad loadSettings(Poster& p, SettingsDialog& d, const QString& startFolder,
                          const QStringList& drives);

// Drive1 changed. False when the drive cannot be read; Dir1 then shows
// currentFolder instead.
bool changeDrive(SettingsDialog& d, const QString& drive, const QString& currentFolder);

// Dir1's path changed: the folders and picture files shown follow.
void changeFolder(SettingsDialog& d, const QString& path);

// A folder ending in exactly one "/" ("/" stays "/").
QString pictureFolderFrom(const QString& path);

// What the window frmList shows of the dialog: the word fields, the drives
// with the one chosen, the folder list (the path from the root down, then
// the folders below, the open one marked) and the picture files.
void showSettingsDialog(const SettingsDialog& d, SettingsForm& f);
// The folder of Dir1's entry `row`; empty when there is none.
QString folderOfRow(const SettingsDialog& d, int row);

// "これでよし" would find no picture in the folder.
bool noPicturesToOffer(const SettingsDialog& d);

struct SettingsConfirm {
  bool wordsRead = true;    // false: the list could not be read, nor stored
  bool wordsStored = true;  // false: a change could not be stored
  QString error;
};

// Hands the words to the word slots, stores them when one differs from the
// list as read, makes the folder shown the picture folder, rebuilds the
// picture strip and remembers the drive. The dialog is closed by the caller.
// Fields that never showed the list are no list to store: the file is read
// again first, its words fill the fields nothing was put into; while it
// still cannot be read, only the fields set go to the slots and the file is
// left as it is.
SettingsConfirm confirmSettings(Poster& p, const SettingsDialog& d);

}  // namespace pastel
