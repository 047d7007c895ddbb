#include "storage/word_list_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "canvas/poster.h"
#include "storage/install_dirs.h"
#include "storage/template_db.h"

namespace pastel {

namespace {

bool present(const QString& file) {
  const QFileInfo f(file);
  return f.exists() || f.isSymLink();
}

WordListPlace failed(const QString& installed, const QString& error) {
  WordListPlace r;
  r.path = installed;
  r.error = error;
  return r;
}

// Copies source to target through a temporary name; an existing target
// (another start won the race) is kept as it is.
bool copyInto(const QString& source, const QString& target, QString* error) {
  const QString tmp = target + QStringLiteral(".copy");
  QFile::remove(tmp);
  QFile in(source);
  if (!in.copy(tmp)) {
    *error = in.errorString();
    return false;
  }
  // The installed file may be read-only; the user's copy must take edits.
  QFile::setPermissions(tmp,
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  for (const char* suffix : {"-journal", "-wal", "-shm"})
    QFile::remove(target + QLatin1String(suffix));
  // QFile::rename never replaces an existing file.
  if (!QFile::rename(tmp, target)) QFile::remove(tmp);
  if (present(target)) return true;
  *error = QStringLiteral("could not copy to ") + target;
  return false;
}

}  // namespace

bool canWriteThere(const QString& folder, const QString& file) {
  const QFileInfo dir(folder);
  // SQLite writes a journal beside the file, so the folder must take files.
  if (!dir.isDir() || !dir.isWritable()) return false;
  const QFileInfo f(file);
  return !f.exists() || f.isWritable();
}

WordListPlace placeWordList(const QString& appFolder, const QString& userFolder,
                            const CanWrite& canWrite) {
  WordListPlace r;
  const QString installed = templateDatabasePath(appFolder);
  if (canWrite(appFolder, installed)) {
    if (ensureTemplateDatabase(appFolder) == TemplateStart::WriteFailed)
      return failed(installed, QStringLiteral("could not write ") + installed);
    r.how = WordListPlace::How::AppFolder;
    r.path = installed;
    return r;
  }
  if (userFolder.isEmpty()) return failed(installed, QStringLiteral("no folder for the word list"));
  r.path = templateDatabasePath(userFolder);
  if (present(r.path)) {
    r.how = WordListPlace::How::UserPresent;
    return r;
  }
  if (!QDir().mkpath(userFolder))
    return failed(installed, QStringLiteral("could not make ") + userFolder);
  if (present(installed)) {
    if (!copyInto(installed, r.path, &r.error)) return failed(installed, r.error);
    r.how = WordListPlace::How::UserCopied;
    return r;
  }
  const TemplateStart written = ensureTemplateDatabase(userFolder);
  if (written == TemplateStart::WriteFailed)
    return failed(installed, QStringLiteral("could not write ") + r.path);
  r.how = written == TemplateStart::Written ? WordListPlace::How::UserWritten
                                            : WordListPlace::How::UserPresent;
  return r;
}

QString installedWordListFolder(const QString& appFolder) {
  const QString installedTail = QStringLiteral("/%1/").arg(QLatin1String(kInstalledAppDir));
  if (!appFolder.endsWith(installedTail)) return appFolder;
  return appFolderFrom(QDir::cleanPath(appFolder + QLatin1String(kWordListDirFromApp)));
}

QString userWordListFolder() {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (data.isEmpty()) return QString();
  return appFolderFrom(data + QStringLiteral("/pastelboard"));
}

WordListPlace wordListPlace(Poster& p) {
  return placeWordList(installedWordListFolder(appFolderPath(p)), userWordListFolder());
}

QString wordListFile(Poster& p) { return wordListPlace(p).path; }

}  // namespace pastel
