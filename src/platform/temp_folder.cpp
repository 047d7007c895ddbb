#include "platform/temp_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstring>
#include <ctime>

namespace pastel {

namespace {

const char kLockName[] = ".lock";
constexpr time_t kLockedFolderGrace = 60;         // between making a folder and locking it
constexpr time_t kUnlockedFolderAge = 24 * 3600;  // an older program's folder, never locked

struct OwnFolder {
  QString path;
  int lockFd = -1;
  OwnFolder() {
    QByteArray name = QFile::encodeName(QDir::tempPath() + QStringLiteral("/pastelboard-XXXXXX"));
    if (!::mkdtemp(name.data())) return;
    const int dir = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir >= 0) {
      lockFd = ::openat(dir, kLockName, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
      ::close(dir);
    }
    if (lockFd < 0 || ::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
      if (lockFd >= 0) ::close(lockFd);
      lockFd = -1;
      ::unlink((name + "/" + kLockName).constData());
      ::rmdir(name.constData());
      return;
    }
    path = QFile::decodeName(name);
  }
  ~OwnFolder() {
    if (path.isEmpty()) return;
    QDir(path).removeRecursively();
    ::close(lockFd);
  }
};

// What this program puts in its folder: the lock and private copies of
// poster databases with their journals.
bool ours(const char* name) {
  static const QRegularExpression copy(
      QStringLiteral("^poster-[0-9]{1,9}\\.mdb(-wal|-journal|-shm)?$"));
  return std::strcmp(name, kLockName) == 0 || copy.match(QString::fromUtf8(name)).hasMatch();
}

// Empties the folder of what is ours, the lock last, and removes it.
bool removeFolder(const QByteArray& path, int dir) {
  DIR* list = ::fdopendir(::dup(dir));
  if (!list) return false;
  bool lock = false;
  while (const dirent* e = ::readdir(list)) {
    if (std::strcmp(e->d_name, kLockName) == 0)
      lock = true;
    else if (ours(e->d_name))
      ::unlinkat(dir, e->d_name, 0);
  }
  ::closedir(list);
  if (lock) ::unlinkat(dir, kLockName, 0);
  return ::rmdir(path.constData()) == 0;
}

bool staleFolder(const QByteArray& path, time_t now) {
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
    return false;
  const int dir = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) return false;
  bool removed = false;
  const int lock = ::openat(dir, kLockName, O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat ls {};
  if (lock >= 0) {
    // A free lock on a folder past its first moments: its program is gone.
    if (::fstat(lock, &ls) == 0 && S_ISREG(ls.st_mode) && now - ls.st_mtime > kLockedFolderGrace &&
        ::flock(lock, LOCK_EX | LOCK_NB) == 0)
      removed = removeFolder(path, dir);
    ::close(lock);
  } else if (errno == ENOENT && now - st.st_mtime > kUnlockedFolderAge) {
    removed = removeFolder(path, dir);
  }
  ::close(dir);
  return removed;
}

}  // namespace

QString processTempFolder() {
  static OwnFolder folder;
  return folder.path;
}

int removeStaleTempFolders(const QString& tempRoot) {
  static const QRegularExpression named(QStringLiteral("^pastelboard-[A-Za-z0-9]{6}$"));
  const QString own = processTempFolder();
  const time_t now = ::time(nullptr);
  int removed = 0;
  const QStringList entries =
      QDir(tempRoot).entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries) {
    if (!named.match(entry).hasMatch()) continue;
    const QString path = QDir(tempRoot).filePath(entry);
    if (QDir::cleanPath(path) == QDir::cleanPath(own)) continue;
    if (staleFolder(QFile::encodeName(path), now)) ++removed;
  }
  return removed;
}

}  // namespace pastel
