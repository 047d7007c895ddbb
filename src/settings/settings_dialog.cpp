#include "settings/settings_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <vector>

#include "canvas/picture_strip.h"
#include "canvas/poster.h"
#include "platform/drives.h"
#include "platform/picture_files.h"
#include "storage/word_list_file.h"
#include "words/word_slots.h"

namespace pastel {

namespace {

QStringList subfoldersOf(const QString& path) {
  return QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

struct FolderRow {
  QString text, path;
};

// The path from the root down, each folder indented below the one before,
// then the folders inside the open one.
std::vector<FolderRow> folderRows(const SettingsDialog& d) {
  QStringList chain;
  for (QString at = d.dirPath; !at.isEmpty();) {
    chain.prepend(at);
    const QString up = QFileInfo(at).path();
    if (up == at || at == QLatin1String("/")) break;
    at = up;
  }
  std::vector<FolderRow> rows;
  int depth = 0;
  for (const QString& at : chain) {
    const QString name = at == QLatin1String("/") ? at : QFileInfo(at).fileName();
    rows.push_back({QString(depth++ * 2, QLatin1Char(' ')) + name, at});
  }
  const QString base = d.dirPath.endsWith(QLatin1Char('/')) ? d.dirPath : d.dirPath + "/";
  for (const QString& sub : d.subfolders)
    rows.push_back({QString(depth * 2, QLatin1Char(' ')) + sub, base + sub});
  return rows;
}

}  // namespace

SettingsLoad loadSettings(Poster& p, SettingsDialog& d, const QString& startFolder,
                          const QStringList& drives) {
  SettingsLoad r;
  const WordListPlace place = wordListPlace(p);
  d.templatePath = place.path;
  const WordListRead read = readWordList(place.path);
  r.wordsRead = read.ok;
  r.error = read.error;
  d.wordsRead = read.ok;
  d.storedWords = read.words;
  d.storedRow = read.hasRow;
  // An empty table gets its row first (empty fields), then the words below.
  d.wordFields = read.ok && read.hasRow ? read.words : WordList{};
  for (int i = 0; i < kSlots; ++i) {
    if (p.form.text1[i].caption.isEmpty()) continue;
    d.wordFields[i] = p.form.text1[i].caption;
    d.fieldSet[i] = true;
  }

  d.drives = drives;
  const QString start = QDir::cleanPath(startFolder);
  d.drive = driveOf(start, drives);
  d.dirPath = start;
  d.subfolders = subfoldersOf(start);
  d.fileList = listPictureFiles(start);
  return r;
}

bool changeDrive(SettingsDialog& d, const QString& drive, const QString& currentFolder) {
  d.drive = drive;
  const QFileInfo info(drive);
  if (!info.isDir() || !info.isReadable() || !QDir(drive).isReadable()) {
    changeFolder(d, currentFolder);
    return false;
  }
  // Like a drive's current folder: where the program is, when it is there.
  const QString here = QDir::cleanPath(currentFolder);
  changeFolder(d, driveOf(here, d.drives) == drive ? here : drive);
  return true;
}

QString pictureFolderFrom(const QString& path) { return appFolderFrom(path); }

void changeFolder(SettingsDialog& d, const QString& path) {
  d.dirPath = QDir::cleanPath(path);
  d.subfolders = subfoldersOf(d.dirPath);
  d.fileList = listPictureFiles(d.dirPath);
}

void showSettingsDialog(const SettingsDialog& d, SettingsForm& f) {
  for (size_t k = 0; k < kSlots; ++k) f.text11[k].caption = d.wordFields[k];
  f.drive1.items = d.drives;
  if (!d.drive.isEmpty() && !d.drives.contains(d.drive)) f.drive1.items << d.drive;
  f.drive1.current = int(f.drive1.items.indexOf(d.drive));
  f.dir1.items.clear();
  f.dir1.current = -1;
  for (const FolderRow& r : folderRows(d)) {
    if (r.path == d.dirPath) f.dir1.current = int(f.dir1.items.size());
    f.dir1.items << r.text;
  }
  f.file1.items = d.fileList;
}

QString folderOfRow(const SettingsDialog& d, int row) {
  const std::vector<FolderRow> rows = folderRows(d);
  return row >= 0 && row < int(rows.size()) ? rows[size_t(row)].path : QString();
}

bool noPicturesToOffer(const SettingsDialog& d) { return d.fileList.isEmpty(); }

SettingsConfirm confirmSettings(Poster& p, const SettingsDialog& d) {
  SettingsConfirm r;
  WordList words = d.wordFields, stored = d.storedWords;
  bool hadRow = d.storedRow;
  r.wordsRead = d.wordsRead;
  if (!r.wordsRead) {
    const WordListRead read = readWordList(d.templatePath);
    r.wordsRead = read.ok;
    stored = read.words;
    hadRow = read.hasRow;
    if (read.ok) {
      for (int i = 0; i < kSlots; ++i)
        if (!d.fieldSet[i]) words[i] = read.hasRow ? read.words[i] : QString();
    } else {
      r.error = read.error;
    }
  }
  for (int i = 0; i < kSlots; ++i)
    if (r.wordsRead || d.fieldSet[i]) setWordText(p, i, words[i]);
  // Nothing changed is nothing to store: a list that cannot be written
  // (read-only, locked) then says nothing.
  if (r.wordsRead && (!hadRow || words != stored))
    r.wordsStored = storeWordList(d.templatePath, words, &r.error);
  // The folder confirmed is the picture folder, also where the menu opens
  // the dialog again. Never empty: the strip's paths stay whole paths.
  p.pictureFolderPath = pictureFolderFrom(d.dirPath);
  p.settingsDrive = d.drive;
  loadPictureStrip(p, d.fileList);
  return r;
}

}  // namespace pastel
