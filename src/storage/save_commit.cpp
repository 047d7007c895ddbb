#include "storage/save_commit.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

namespace pastel {

namespace {

const QString kRecordHeader = QStringLiteral("pastelboard commit 1");
const QString kRecordEnd = QStringLiteral("end");
constexpr qint64 kMaxRecordBytes = 64 * 1024;
constexpr int kMaxRecordEntries = 64;
// What follows a hidden name: the tag, then a backup's or a database's own mark.
const QString kSavingTail = QStringLiteral("\\.saving-[0-9a-f]+(\\.old|-journal|-wal|-shm)?$");

QByteArray native(const QString& path) { return QFile::encodeName(path); }

bool exists(const QString& path) {
  struct stat st {};
  return ::lstat(native(path).constData(), &st) == 0;
}

bool renamed(const QString& from, const QString& to, QString* error) {
  if (::rename(native(from).constData(), native(to).constData()) == 0) return true;
  if (error) *error = to + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
  return false;
}

void syncFolder(const QString& folder) {
  const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void syncFoldersOf(const std::vector<CommitEntry>& entries) {
  QSet<QString> folders;
  for (const CommitEntry& e : entries) folders.insert(QFileInfo(e.target).path());
  for (const QString& f : folders) syncFolder(f);
}

// Names of any length fit the file system's 255 bytes once the tag is on.
QString shortName(const QString& fileName) {
  if (fileName.size() <= 40) return fileName;
  int keep = 31;
  if (fileName.at(keep - 1).isHighSurrogate()) --keep;
  const QByteArray digest =
      QCryptographicHash::hash(fileName.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
  return fileName.left(keep) + QLatin1Char('~') + QString::fromLatin1(digest);
}

QString folderOf(const QString& database) { return QFileInfo(database).absolutePath() + '/'; }

QString posterNameOf(const QString& database) {
  QString name = QFileInfo(database).fileName();
  if (name.endsWith(QLatin1String(".mdb"))) name.chop(4);
  return name;
}

bool plainPart(const QString& part) {
  return !part.isEmpty() && part != QLatin1String(".") && part != QLatin1String("..") &&
         !part.contains(QChar(0));
}

// A record is followed only where it names the poster's own files: the
// database, its journals and pages beside it, and files in its folder.
bool validEntry(const QString& posterName, const QString& temp, const QString& target,
                const QString& backup) {
  const QStringList parts = target.split(QLatin1Char('/'));
  if (parts.size() > 2 || !std::all_of(parts.begin(), parts.end(), plainPart)) return false;
  if (parts.size() == 2 && parts[0] != posterName) return false;
  static const QRegularExpression besideDatabase(QStringLiteral("^(.*)\\.[^./]+$"));
  if (parts.size() == 1) {
    const QRegularExpressionMatch m = besideDatabase.match(target);
    if (!m.hasMatch() || m.captured(1) != posterName) return false;
  }
  const QString dir = parts.size() == 2 ? parts[0] + QLatin1Char('/') : QString();
  static const QRegularExpression hidden(QStringLiteral("^\\.[^/]+\\.saving-[0-9a-f]+$"));
  auto hiddenHere = [&](const QString& path, const QString& end) {
    return path.size() > dir.size() + end.size() && path.startsWith(dir) && path.endsWith(end) &&
           hidden.match(path.mid(dir.size()).chopped(end.size())).hasMatch();
  };
  return (temp.isEmpty() || hiddenHere(temp, QString())) &&
         hiddenHere(backup, QStringLiteral(".old"));
}

// The record's entries, or nothing when it is not a whole record of ours.
std::optional<std::vector<CommitEntry>> readRecord(const QString& database) {
  const QString record = commitRecordPath(database);
  const int fd = ::open(native(record).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  QByteArray bytes;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxRecordBytes) {
    bytes.resize(qsizetype(st.st_size));
    qsizetype got = 0;
    while (got < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += n;
    }
    bytes.resize(got);
  }
  ::close(fd);
  const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
  // Written whole: header, entries, "end" and the final line break.
  if (lines.size() < 3 || lines.first() != kRecordHeader || !lines.last().isEmpty() ||
      lines.at(lines.size() - 2) != kRecordEnd || lines.size() - 3 > kMaxRecordEntries)
    return std::nullopt;
  const QString folder = folderOf(database);
  const QString name = posterNameOf(database);
  std::vector<CommitEntry> entries;
  for (int i = 1; i < lines.size() - 2; ++i) {
    const QStringList f = lines.at(i).split(QLatin1Char('\t'));
    if (f.size() != 3 || !validEntry(name, f[0], f[1], f[2])) return std::nullopt;
    entries.push_back({f[0].isEmpty() ? QString() : folder + f[0], folder + f[1], folder + f[2]});
  }
  return entries;
}

}  // namespace

QString savingName(const QString& target, const QString& tag) {
  const QFileInfo t(target);
  return t.path() + QStringLiteral("/.") + shortName(t.fileName()) + QStringLiteral(".saving-") +
         tag;
}

QString commitRecordPath(const QString& database) {
  const QFileInfo d(database);
  return d.path() + QStringLiteral("/.") + shortName(d.fileName()) + QStringLiteral(".commit");
}

bool writeCommitRecord(const QString& database, const std::vector<CommitEntry>& entries,
                       QString* error) {
  const QString folder = folderOf(database);
  QString text = kRecordHeader + QLatin1Char('\n');
  bool inside = true;
  auto relative = [&folder, &inside](const QString& path) {
    if (path.isEmpty()) return path;
    const QString abs = QFileInfo(path).absoluteFilePath();
    inside = inside && abs.startsWith(folder);
    return abs.mid(folder.size());
  };
  for (const CommitEntry& e : entries)
    text += relative(e.temp) + QLatin1Char('\t') + relative(e.target) + QLatin1Char('\t') +
            relative(e.backup) + QLatin1Char('\n');
  if (!inside) {
    if (error) *error = QStringLiteral("commit record: a file outside ") + folder;
    return false;
  }
  text += kRecordEnd + QLatin1Char('\n');
  const QByteArray bytes = text.toUtf8();

  const QString record = commitRecordPath(database);
  const int fd = ::open(native(record).constData(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  bool ok = fd >= 0;
  qsizetype done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    done += ok ? n : 0;
  }
  ok = ok && ::fsync(fd) == 0;
  const int err = errno;
  if (fd >= 0 && ::close(fd) != 0) ok = false;
  if (!ok) {
    if (error) *error = record + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(err));
    ::unlink(native(record).constData());
    return false;
  }
  syncFolder(folder);
  return true;
}

bool rollForward(const std::vector<CommitEntry>& entries, QString* error) {
  for (const CommitEntry& e : entries) {
    if (!e.temp.isEmpty() && !exists(e.temp)) continue;  // already in place
    if (exists(e.target) && !exists(e.backup) && !renamed(e.target, e.backup, error)) return false;
    if (!e.temp.isEmpty() && !renamed(e.temp, e.target, error)) return false;
  }
  syncFoldersOf(entries);
  return true;
}

bool rollBack(const std::vector<CommitEntry>& entries) {
  bool ok = true;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const CommitEntry& e = *it;
    if (!e.temp.isEmpty() && !exists(e.temp) && exists(e.target))
      ok = renamed(e.target, e.temp, nullptr) && ok;
    if (exists(e.backup)) ok = renamed(e.backup, e.target, nullptr) && ok;
  }
  syncFoldersOf(entries);
  return ok;
}

void removeCommitRecord(const QString& database) {
  ::unlink(native(commitRecordPath(database)).constData());
  syncFolder(folderOf(database));
}

Recovery finishInterruptedSave(const QString& database, bool removeBroken) {
  if (!exists(commitRecordPath(database))) return Recovery::Nothing;
  const std::optional<std::vector<CommitEntry>> entries = readRecord(database);
  if (!entries) {
    // Nothing was renamed before a record was whole; a record that is not
    // ours is not followed.
    if (removeBroken) removeCommitRecord(database);
    return Recovery::Nothing;
  }
  if (!rollForward(*entries, nullptr)) return Recovery::Failed;
  removeCommitRecord(database);
  for (const CommitEntry& e : *entries) ::unlink(native(e.backup).constData());
  return Recovery::Finished;
}

void removeStaleSaveFiles(const QString& folder, const QString& posterName,
                          const QString& pageFileName) {
  const QString db = posterName + QStringLiteral(".mdb");
  QStringList own;
  for (const QString& f : {pageFileName, db, db + QStringLiteral("-journal"),
                           db + QStringLiteral("-wal"), db + QStringLiteral("-shm")})
    own << QRegularExpression::escape(shortName(f));
  // Pages of other extensions; a cut name (with "~") may be another poster's.
  own << QRegularExpression::escape(posterName) + QStringLiteral("\\.[^./~]+");
  const QRegularExpression beside(QStringLiteral("^\\.(") + own.join(QLatin1Char('|')) +
                                  QLatin1Char(')') + kSavingTail);
  const QRegularExpression inFolder(QStringLiteral("^\\.[^/]+") + kSavingTail);
  auto sweep = [](const QString& dir, const QRegularExpression& pattern) {
    const QDir d(dir);
    for (const QString& name :
         d.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
      if (pattern.match(name).hasMatch()) ::unlink(native(d.filePath(name)).constData());
  };
  sweep(folder, beside);
  const QString posterFolder = QDir(folder).filePath(posterName);
  if (QFileInfo(posterFolder).isDir()) sweep(posterFolder, inFolder);
}

PosterLock::PosterLock(const QString& posterFolder) {
  fd_ = ::open(native(posterFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) busy_ = errno == EWOULDBLOCK;
}

PosterLock::~PosterLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace pastel
