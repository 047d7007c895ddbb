#include "storage/pending_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

#include "platform/file_io.h"
#include "storage/save_commit.h"

namespace pastel {

namespace {

const char* const kJournals[] = {"-journal", "-wal", "-shm"};

void removeJournals(const QString& path) {
  for (const char* suffix : kJournals) QFile::remove(path + QLatin1String(suffix));
}

QString randomTag() { return QString::number(QRandomGenerator::global()->generate(), 16); }

}  // namespace

bool PendingFiles::fail(const QString& what, int err) {
  error_ = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(err));
  return false;
}

int PendingFiles::create(const QString& target, QString* tempPath) {
  // Hidden, in the target's own folder, so the rename stays on one disk.
  for (int attempt = 0; attempt < 16; ++attempt) {
    const QString temp = savingName(target, randomTag());
    const int fd =
        ::open(nativePath(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      *tempPath = temp;
      entries_.push_back({temp, target, false});
      return fd;
    }
    if (errno != EEXIST) {
      fail(target, errno);
      return -1;
    }
  }
  fail(target, EEXIST);
  return -1;
}

bool PendingFiles::finish(int fd, const QString& temp, const QString& target) {
  const bool synced = ::fdatasync(fd) == 0;
  const int err = errno;
  const bool closed = ::close(fd) == 0;
  if (synced && closed) return true;
  fail(target, synced ? errno : err);
  drop(temp);
  return false;
}

void PendingFiles::drop(const QString& temp) {
  QFile::remove(temp);
  for (auto it = entries_.begin(); it != entries_.end(); ++it)
    if (it->temp == temp) {
      entries_.erase(it);
      break;
    }
}

bool PendingFiles::write(const QString& target, const QByteArray& bytes, QString* tempPath) {
  QString temp;
  const int fd = create(target, &temp);
  if (fd < 0) return false;
  if (!writeAll(fd, bytes.constData(), bytes.size())) {
    fail(target, errno);
    ::close(fd);
    drop(temp);
    return false;
  }
  if (!finish(fd, temp, target)) return false;
  if (tempPath) *tempPath = temp;
  return true;
}

PendingFiles::Copy PendingFiles::copy(const QString& target, const QString& source,
                                      QString* tempPath) {
  // Only a regular file: a pipe or a device would never end.
  const int in = QFileInfo(source).isFile()
                     ? ::open(nativePath(source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)
                     : -1;
  if (in < 0) return Copy::SourceUnreadable;
  QString temp;
  const int out = create(target, &temp);
  if (out < 0) {
    ::close(in);
    return Copy::Failed;
  }
  std::vector<char> buf(1 << 20);
  for (;;) {
    const qint64 n = readSome(in, buf.data(), qint64(buf.size()));
    if (n < 0) {
      ::close(in);
      ::close(out);
      drop(temp);
      return Copy::SourceUnreadable;
    }
    if (n == 0) break;
    if (!writeAll(out, buf.data(), n)) {
      fail(target, errno);
      ::close(in);
      ::close(out);
      drop(temp);
      return Copy::Failed;
    }
  }
  ::close(in);
  if (!finish(out, temp, target)) return Copy::Failed;
  if (tempPath) *tempPath = temp;
  return Copy::Done;
}

void PendingFiles::markDatabase(const QString& target) {
  for (Entry& e : entries_)
    if (e.target == target) e.database = true;
}

bool PendingFiles::commit(const QString& database) {
  for (const Entry& e : entries_) {
    struct stat st {};
    if (::lstat(nativePath(e.target).constData(), &st) == 0 && S_ISDIR(st.st_mode))
      return fail(e.target, EISDIR);
  }
  std::vector<CommitEntry> steps;
  for (const Entry& e : entries_) {
    // A journal left beside the target would be "recovered" into the new
    // database on its next write: it goes aside first, with the old one.
    if (e.database)
      for (const char* suffix : kJournals) {
        const QString journal = e.target + QLatin1String(suffix);
        if (pathExists(journal))
          steps.push_back({QString(), journal, savingName(journal, randomTag()) + ".old"});
      }
    steps.push_back({e.temp, e.target, e.temp + QStringLiteral(".old")});
  }
  if (!writeCommitRecord(database, steps, &error_)) return false;
  QString error;
  if (!rollForward(steps, &error)) {
    error_ = error;
    if (rollBack(steps))
      removeCommitRecord(database);
    else
      entries_.clear();  // the record finishes it later: keep every file it names
    return false;
  }
  completeCommit(database, steps);
  entries_.clear();
  return true;
}

void PendingFiles::discard() {
  for (const Entry& e : entries_) {
    QFile::remove(e.temp);
    if (e.database) removeJournals(e.temp);
  }
  entries_.clear();
}

}  // namespace pastel
