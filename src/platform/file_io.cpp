#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

namespace pastel {

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

bool pathExists(const QString& path) {
  struct stat st {};
  return ::lstat(nativePath(path).constData(), &st) == 0;
}

QString errnoText(const char* what) {
  return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
}

void syncFolder(const QString& folder) {
  const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool writeAll(int fd, const char* data, qint64 size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size_t(size));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= n;
  }
  return true;
}

qint64 readSome(int fd, char* data, qint64 size) {
  for (;;) {
    const ssize_t n = ::read(fd, data, size_t(size));
    if (n >= 0 || errno != EINTR) return n;
  }
}

qint64 readUpTo(int fd, char* data, qint64 size) {
  qint64 got = 0;
  while (got < size) {
    const qint64 n = readSome(fd, data + got, size - got);
    if (n <= 0) break;
    got += n;
  }
  return got;
}

Fd::~Fd() {
  if (fd_ >= 0) ::close(fd_);
}

bool replaceFile(const QString& folder, const QString& name, const QByteArray& bytes,
                 const std::function<bool(WriteStage)>& failAt, QString& why) {
  auto fails = [&failAt](WriteStage s) { return failAt && failAt(s); };
  const QByteArray tmp = nativePath(folder + QLatin1Char('/') + name + QStringLiteral(".tmp"));
  const QByteArray target = nativePath(folder + QLatin1Char('/') + name);
  const int fd =
      fails(WriteStage::Open)
          ? (errno = EIO, -1)
          : ::open(tmp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    why = errnoText("open");
    return false;
  }
  auto giveUp = [&](const char* what) {
    why = errnoText(what);
    ::close(fd);
    ::unlink(tmp.constData());
    return false;
  };
  // An injected failure at the write stops halfway, as a full disk would.
  const qint64 end = fails(WriteStage::Write) ? bytes.size() / 2 : bytes.size();
  if (!writeAll(fd, bytes.constData(), end)) return giveUp("write");
  if (end != bytes.size()) return (errno = ENOSPC, giveUp("write"));
  if (fails(WriteStage::Sync) ? (errno = EIO, true) : ::fdatasync(fd) != 0) return giveUp("sync");
  if (::close(fd) != 0) {
    why = errnoText("close");
    ::unlink(tmp.constData());
    return false;
  }
  if (fails(WriteStage::Rename) ? (errno = EIO, true)
                                : ::rename(tmp.constData(), target.constData()) != 0) {
    why = errnoText("rename");
    ::unlink(tmp.constData());
    return false;
  }
  if (fails(WriteStage::SyncFolder)) {
    errno = EIO;
    why = errnoText("sync folder");
    return false;
  }
  syncFolder(folder);
  return true;
}

}  // namespace pastel
