#pragma once
#include <QSet>
#include <QString>
#include <array>
#include <optional>

#include "form/slots.h"

namespace pastel {

struct PosterContent;

// The files one save writes, derived from the path chosen in the dialog.
struct PosterNames {
  QString page;        // the PosterPage, as chosen (".html" added when it had no ".")
  QString folder;      // the page's folder, ending in "/"
  QString posterName;  // the page's file name up to its last "."

  QString posterFolder() const { return folder + posterName; }
  QString database() const { return folder + posterName + QStringLiteral(".mdb"); }
  QString paperBitmap() const { return inPosterFolder(posterName + QStringLiteral(".bmp")); }
  QString paperJpeg() const { return inPosterFolder(posterName + QStringLiteral(".jpg")); }
  QString inPosterFolder(const QString& fileName) const {
    return posterFolder() + QLatin1Char('/') + fileName;
  }
};

// Nothing when no usable PosterName follows from the path (see below); nor
// when the page would lie on the poster's database or folder (a name ending
// in ".mdb" or ".").
std::optional<PosterNames> posterNamesFor(const QString& chosenPath);

// Whether a poster may have this name: not empty, no "/" and no "\" (the
// separator inside the poster files), and not only dots and spaces, which
// would make the poster folder the chosen folder itself or its parent.
bool usablePosterName(const QString& name);

// The file name of a PhotoFiles entry: what follows its last "/".
QString photoFileName(const QString& entry);

// The name of each placed photo's copy in the PosterFolder, by PhotoSlot;
// empty for a parked slot or an entry without a file name. Two files of one
// name from different folders get names of their own ("cat-2.jpg"), as do
// names that would take the place of the paper pictures; the same file
// placed twice shares one copy. A "\" in a file name becomes "_". No copy
// takes a name in keep (case-folded names of files that are not the poster's).
std::array<QString, kSlots + 1> photoCopyNames(const PosterContent& c, const QString& posterName,
                                               const QSet<QString>& keep = {});

// The name of the picture the page shows in place of a copy browsers cannot
// show: the copy's name and the companion's extension ("cat.wmf" ->
// "cat.wmf.png"), numbered ("cat.wmf-2.png") while it is in taken
// (case-folded: every copy's name and every file that is not the poster's).
QString companionName(const QString& copy, const QString& extension, const QSet<QString>& taken);

// Whether name is one companionName can give for copy, without case.
bool isCompanionName(const QString& name, const QString& copy);

// Line breaks as the poster files keep them: CR LF, whatever the editor uses.
QString withCrLf(const QString& text);

}  // namespace pastel
