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

#include "platform/file_io.h"
#include "storage/poster_names.h"

namespace pastel {

namespace {

const QString kRecordHeader = QStringLiteral("pastelboard commit 2");
// Written by earlier versions: no sizes or digests.
const QString kOldRecordHeader = QStringLiteral("pastelboard commit 1");
const QString kRecordEnd = QStringLiteral("end");
constexpr qint64 kMaxRecordBytes = 64 * 1024;
constexpr int kMaxRecordEntries = 64;
// What follows a hidden name: the tag, then a backup's or a database's own mark.
const QString kSavingTail = QStringLiteral("\\.saving-[0-9a-f]+(\\.old|-journal|-wal|-shm)?$");
const char* const kJournals[] = {"-journal", "-wal", "-shm"};

bool renamed(const QString& from, const QString& to, QString* error) {
  if (::rename(nativePath(from).constData(), nativePath(to).constData()) == 0) return true;
  if (error) *error = to + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
  return false;
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

// A regular file's size and digest, read without following a link; nothing
// for anything else.
std::optional<std::pair<qint64, QByteArray>> digestAt(int dir, const QByteArray& name,
                                                      qint64 wantSize = -1) {
  const Fd fd(::openat(dir, name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  struct stat st {};
  if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  // A file of another size is not the one looked for: no need to read it.
  if (wantSize >= 0 && st.st_size != wantSize)
    return std::make_pair(qint64(st.st_size), QByteArray());
  QCryptographicHash hash(QCryptographicHash::Sha256);
  std::vector<char> buf(1 << 16);
  qint64 total = 0;
  for (;;) {
    const qint64 n = readSome(fd.get(), buf.data(), qint64(buf.size()));
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    hash.addData(QByteArrayView(buf.data(), n));
    total += n;
  }
  return std::make_pair(total, hash.result());
}

// One entry of a record, as names inside its folder.
struct Step {
  bool inFolder = false;            // in the poster folder, else beside the database
  QByteArray temp, target, backup;  // temp empty: the target only goes aside
  qint64 size = -1;                 // -1: the record did not say
  QByteArray sha256;
};

struct Record {
  std::vector<Step> steps;
  bool checked = false;  // it says what each new file must be
};

// A record is followed only where it names the poster's own files, under
// exactly the hidden and backup names a save gives them.
bool validStep(const QString& posterName, const QStringList& f, bool checked, Step* step) {
  const QString& temp = f[0];
  const QStringList parts = f[1].split(QLatin1Char('/'));
  if (parts.size() > 2 || (parts.size() == 2 && parts[0] != posterName)) return false;
  const QString name = parts.last();
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
      name.contains(QChar(0)))
    return false;
  static const QRegularExpression savingName(kSavingTail);
  static const QRegularExpression ownExtension(QStringLiteral("^\\.[^./]+$"));
  const bool inFolder = parts.size() == 2;
  if (inFolder && savingName.match(name).hasMatch()) return false;
  // Beside the database: the page (any extension), the database, its journals.
  if (!inFolder &&
      !(name.startsWith(posterName) && ownExtension.match(name.mid(posterName.size())).hasMatch()))
    return false;
  const QString dir = inFolder ? posterName + QLatin1Char('/') : QString();
  const QString hidden = dir + QLatin1Char('.') + shortName(name) + QStringLiteral(".saving-");
  static const QRegularExpression tag(QStringLiteral("^[0-9a-f]{1,16}$"));
  auto tagged = [&](const QString& path, const QString& end) {
    return path.size() > hidden.size() + end.size() && path.startsWith(hidden) &&
           path.endsWith(end) && tag.match(path.mid(hidden.size()).chopped(end.size())).hasMatch();
  };
  const QString database = posterName + QStringLiteral(".mdb");
  bool journal = false;
  for (const char* suffix : kJournals)
    journal = journal || name == database + QLatin1String(suffix);
  if (temp.isEmpty()) {
    if (!journal || !tagged(f[2], QStringLiteral(".old"))) return false;
  } else if (!tagged(temp, QString()) || f[2] != temp + QStringLiteral(".old")) {
    return false;
  }
  step->inFolder = inFolder;
  auto own = [&](const QString& path) { return QFile::encodeName(path.mid(dir.size())); };
  step->target = own(f[1]);
  step->temp = temp.isEmpty() ? QByteArray() : own(temp);
  step->backup = own(f[2]);
  if (!checked) return true;
  static const QRegularExpression digest(QStringLiteral("^[0-9a-f]{64}$"));
  if (temp.isEmpty()) return f[3].isEmpty() && f[4].isEmpty();
  bool sized = false;
  step->size = f[3].toLongLong(&sized);
  step->sha256 = QByteArray::fromHex(f[4].toLatin1());
  return sized && step->size >= 0 && digest.match(f[4]).hasMatch();
}

// The record's entries, or nothing when it is not a whole record of ours.
std::optional<Record> readRecord(int folder, const QByteArray& recordName,
                                 const QString& posterName) {
  const Fd fd(
      ::openat(folder, recordName.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (fd.get() < 0) return std::nullopt;
  struct stat st {};
  QByteArray bytes;
  if (::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxRecordBytes) {
    bytes.resize(qsizetype(st.st_size));
    bytes.resize(readUpTo(fd.get(), bytes.data(), bytes.size()));
  }
  const QString text = QString::fromUtf8(bytes);
  if (text.toUtf8() != bytes) return std::nullopt;  // names are acted on as written
  const QStringList lines = text.split(QLatin1Char('\n'));
  // Written whole: header, entries, "end" and the final line break.
  if (lines.size() < 3 || !lines.last().isEmpty() || lines.at(lines.size() - 2) != kRecordEnd ||
      lines.size() - 3 > kMaxRecordEntries)
    return std::nullopt;
  Record r;
  r.checked = lines.first() == kRecordHeader;
  if (!r.checked && lines.first() != kOldRecordHeader) return std::nullopt;
  QSet<QByteArray> names;
  bool database = false;
  for (int i = 1; i < lines.size() - 2; ++i) {
    const QStringList f = lines.at(i).split(QLatin1Char('\t'));
    Step s;
    if (f.size() != (r.checked ? 5 : 3) || !validStep(posterName, f, r.checked, &s))
      return std::nullopt;
    // Each file named once: no entry moves what another one put in place.
    const QByteArray where = s.inFolder ? "/" : "";
    for (const QByteArray* name : {&s.target, &s.temp, &s.backup}) {
      if (name->isEmpty()) continue;
      if (names.contains(where + *name)) return std::nullopt;
      names.insert(where + *name);
    }
    database = database || (!s.inFolder && !s.temp.isEmpty() &&
                            s.target == QFile::encodeName(posterName + QStringLiteral(".mdb")));
    r.steps.push_back(std::move(s));
  }
  // Every save puts a new database in place.
  if (!database) return std::nullopt;
  return r;
}

enum class Kind { Absent, File, Other };

Kind kindAt(int dir, const QByteArray& name) {
  struct stat st {};
  if (::fstatat(dir, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
    return errno == ENOENT ? Kind::Absent : Kind::Other;
  return S_ISREG(st.st_mode) ? Kind::File : Kind::Other;
}

// Finishing or undoing a record's commit, in the two folders it may touch.
class Recovering {
 public:
  Recovering(const Record& r, int beside, int inFolder)
      : r_(r), beside_(beside), inFolder_(inFolder) {}

  int dir(const Step& s) const { return s.inFolder ? inFolder_ : beside_; }
  bool has(const Step& s, const QByteArray& name) const {
    return !name.isEmpty() && kindAt(dir(s), name) == Kind::File;
  }
  bool isNew(const Step& s, const QByteArray& name) const {
    const auto d = digestAt(dir(s), name, s.size);
    return d && d->first == s.size && d->second == s.sha256;
  }
  bool move(const Step& s, const QByteArray& from, const QByteArray& to) const {
    return ::renameat(dir(s), from.constData(), dir(s), to.constData()) == 0;
  }
  void sync() const {
    ::fsync(beside_);
    if (inFolder_ >= 0) ::fsync(inFolder_);
  }

  // Every new file is at its target or its hidden name, and no target that
  // is not the new file would be lost by moving it aside.
  bool canFinish() const {
    for (const Step& s : r_.steps) {
      const bool backup = has(s, s.backup);
      if (s.temp.isEmpty()) {
        if (backup && has(s, s.target)) return false;
      } else if (!isNew(s, s.target) &&
                 (!isNew(s, s.temp) || (backup && kindAt(dir(s), s.target) != Kind::Absent))) {
        return false;
      }
    }
    return true;
  }

  bool finish() const {
    for (const Step& s : r_.steps) {
      // Else the target is the new file already (canFinish).
      if (!s.temp.isEmpty() && !isNew(s, s.temp)) continue;
      if (has(s, s.target) && !has(s, s.backup) && !move(s, s.target, s.backup)) return false;
      if (!s.temp.isEmpty() && !move(s, s.temp, s.target)) return false;
    }
    sync();
    return true;
  }

  // As earlier versions did: a hidden file that is gone counts as in place.
  bool finishUnchecked() const {
    for (const Step& s : r_.steps) {
      if (!s.temp.isEmpty() && !has(s, s.temp)) continue;
      if (has(s, s.target)) {
        if (has(s, s.backup) || !move(s, s.target, s.backup)) return false;
      }
      if (!s.temp.isEmpty() && !move(s, s.temp, s.target)) return false;
    }
    sync();
    return true;
  }

  // Puts the earlier files back from their backups; true when none is left.
  bool undo() const {
    bool whole = true;
    for (auto it = r_.steps.rbegin(); it != r_.steps.rend(); ++it) {
      const Step& s = *it;
      if (!has(s, s.backup)) continue;
      const Kind target = kindAt(dir(s), s.target);
      if (target != Kind::Absent && (s.temp.isEmpty() || target != Kind::File ||
                                     !isNew(s, s.target) || !move(s, s.target, s.temp))) {
        whole = false;
        continue;
      }
      whole = move(s, s.backup, s.target) && whole;
    }
    sync();
    return whole;
  }

  void removeBackups() const {
    for (const Step& s : r_.steps)
      if (has(s, s.backup)) ::unlinkat(dir(s), s.backup.constData(), 0);
    sync();
  }

 private:
  const Record& r_;
  int beside_, inFolder_;
};

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
  for (const CommitEntry& e : entries) {
    text += relative(e.temp) + QLatin1Char('\t') + relative(e.target) + QLatin1Char('\t') +
            relative(e.backup) + QLatin1Char('\t');
    // What the target must be once the commit is done.
    if (!e.temp.isEmpty()) {
      const auto digest = digestAt(AT_FDCWD, nativePath(e.temp));
      if (!digest) {
        if (error) *error = e.temp + QStringLiteral(": cannot be read back");
        return false;
      }
      text += QString::number(digest->first) + QLatin1Char('\t') +
              QString::fromLatin1(digest->second.toHex());
    } else {
      text += QLatin1Char('\t');
    }
    text += QLatin1Char('\n');
  }
  if (!inside) {
    if (error) *error = QStringLiteral("commit record: a file outside ") + folder;
    return false;
  }
  text += kRecordEnd + QLatin1Char('\n');
  const QByteArray bytes = text.toUtf8();

  const QString record = commitRecordPath(database);
  const int fd = ::open(nativePath(record).constData(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  bool ok = fd >= 0 && writeAll(fd, bytes.constData(), bytes.size());
  ok = ok && ::fsync(fd) == 0;
  const int err = errno;
  if (fd >= 0 && ::close(fd) != 0) ok = false;
  if (!ok) {
    if (error) *error = record + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(err));
    ::unlink(nativePath(record).constData());
    return false;
  }
  syncFolder(folder);
  return true;
}

bool rollForward(const std::vector<CommitEntry>& entries, QString* error) {
  for (const CommitEntry& e : entries) {
    if (pathExists(e.target) && !pathExists(e.backup) && !renamed(e.target, e.backup, error))
      return false;
    if (!e.temp.isEmpty() && !renamed(e.temp, e.target, error)) return false;
  }
  syncFoldersOf(entries);
  return true;
}

bool rollBack(const std::vector<CommitEntry>& entries) {
  bool ok = true;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const CommitEntry& e = *it;
    if (!e.temp.isEmpty() && !pathExists(e.temp) && pathExists(e.target))
      ok = renamed(e.target, e.temp, nullptr) && ok;
    if (pathExists(e.backup)) ok = renamed(e.backup, e.target, nullptr) && ok;
  }
  syncFoldersOf(entries);
  return ok;
}

void removeCommitRecord(const QString& database) {
  ::unlink(nativePath(commitRecordPath(database)).constData());
  syncFolder(folderOf(database));
}

void completeCommit(const QString& database, const std::vector<CommitEntry>& entries) {
  for (const CommitEntry& e : entries) ::unlink(nativePath(e.backup).constData());
  syncFoldersOf(entries);
  removeCommitRecord(database);
}

Recovery finishInterruptedSave(const QString& database, bool removeBroken) {
  const QFileInfo db(database);
  const QString fileName = db.fileName();
  // Only a save's own database has a record: "NAME.mdb".
  if (!fileName.endsWith(QLatin1String(".mdb"))) return Recovery::Nothing;
  const QString posterName = fileName.chopped(4);
  if (!usablePosterName(posterName)) return Recovery::Nothing;
  const Fd beside(
      ::open(nativePath(db.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  const QByteArray recordName =
      nativePath(QLatin1Char('.') + shortName(fileName) + QStringLiteral(".commit"));
  if (beside.get() < 0 || kindAt(beside.get(), recordName) == Kind::Absent)
    return Recovery::Nothing;
  const std::optional<Record> record = readRecord(beside.get(), recordName, posterName);
  // The poster folder, never through a link, when the record names files in it.
  const bool inFolder = record && std::any_of(record->steps.begin(), record->steps.end(),
                                              [](const Step& s) { return s.inFolder; });
  const Fd folder(inFolder ? ::openat(beside.get(), nativePath(posterName).constData(),
                                      O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW)
                           : -1);
  // Whatever the record names must be a file of its own or nothing.
  auto plain = [&](const Step& s) {
    const int dir = s.inFolder ? folder.get() : beside.get();
    for (const QByteArray* n : {&s.temp, &s.target, &s.backup})
      if (!n->isEmpty() && kindAt(dir, *n) == Kind::Other) return false;
    return true;
  };
  if (!record || (inFolder && folder.get() < 0) ||
      !std::all_of(record->steps.begin(), record->steps.end(), plain)) {
    // Nothing was renamed before a record was whole; a record that is not
    // ours is not followed.
    if (removeBroken) ::unlinkat(beside.get(), recordName.constData(), 0);
    return Recovery::Nothing;
  }
  const Recovering r(*record, beside.get(), folder.get());
  auto done = [&] {
    ::unlinkat(beside.get(), recordName.constData(), 0);
    ::fsync(beside.get());
    return Recovery::Finished;
  };
  if (!record->checked) return r.finishUnchecked() ? done() : Recovery::Failed;
  if (r.canFinish()) {
    if (!r.finish()) return Recovery::Failed;
    r.removeBackups();
    return done();
  }
  // A new file is lost: the earlier poster comes back whole instead.
  return r.undo() ? done() : Recovery::Failed;
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
      if (pattern.match(name).hasMatch()) ::unlink(nativePath(d.filePath(name)).constData());
  };
  sweep(folder, beside);
  const QFileInfo posterFolder(QDir(folder).filePath(posterName));
  if (posterFolder.isDir() && !posterFolder.isSymLink()) sweep(posterFolder.filePath(), inFolder);
}

PosterLock::PosterLock(const QString& posterFolder) {
  fd_ =
      ::open(nativePath(posterFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
  if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) busy_ = errno == EWOULDBLOCK;
}

PosterLock::~PosterLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace pastel
