#pragma once
#include <QString>
#include <functional>

namespace pastel {

struct Poster;

// Where the word list pastel.mdb is kept, and what finding it took.
struct WordListPlace {
  enum class How { AppFolder, UserPresent, UserCopied, UserWritten, Failed };
  How how = How::Failed;
  QString path;   // the file to read and write; when Failed, AppFolder's to read from
  QString error;  // for Failed
};

// AppFolder's pastel.mdb while it can be written there (a fresh one is
// written when missing). Otherwise the copy in userFolder, made on first
// use from AppFolder's, or fresh when AppFolder has none: an installed
// program's folder is never written to.
// canWrite(folder, file) tells whether this account may write file and
// other files beside it; by default what the file system says.
using CanWrite = std::function<bool(const QString& folder, const QString& file)>;
bool canWriteThere(const QString& folder, const QString& file);
WordListPlace placeWordList(const QString& appFolder, const QString& userFolder,
                            const CanWrite& canWrite = canWriteThere);

// The folder of the word list new accounts start from, ending in "/". A
// program running from its install folder (PREFIX/lib/pastelboard/) finds it
// in the configuration folder it was built for (/etc/pastelboard/ in the
// Debian package), reached from its own folder; anywhere else (a build tree,
// a copied folder) it is the program's folder itself.
QString installedWordListFolder(const QString& appFolder);

// The user's own folder for the word list: pastelboard/ under the XDG data
// folder (~/.local/share/pastelboard/), ending in "/".
QString userWordListFolder();

// The one word list file of this run, for the settings dialog and for the
// copy every saved poster starts from: placeWordList for the installed word
// list's folder and the user's folder. Never empty: when no writable place
// can be had it is AppFolder's, which then only serves reading.
WordListPlace wordListPlace(Poster& p);
QString wordListFile(Poster& p);

}  // namespace pastel
