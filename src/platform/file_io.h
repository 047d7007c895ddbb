#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

// The file system calls storage and the kept poster share: names as the
// system takes them, loops that survive interruptions, and syncing a folder
// so that a rename in it lasts a power cut.
namespace pastel {

QByteArray nativePath(const QString& path);

// Anything at the path, a dangling link too.
bool pathExists(const QString& path);

// What failed and the system's reason (errno).
QString errnoText(const char* what);

void syncFolder(const QString& folder);

// False with errno set when the system took less than everything.
bool writeAll(int fd, const char* data, qint64 size);

// One read that goes on after an interruption: the count, 0 at the end, -1 on error.
qint64 readSome(int fd, char* data, qint64 size);

// Reads until `size` bytes or the end; the count read.
qint64 readUpTo(int fd, char* data, qint64 size);

// Closes the descriptor it holds when it goes.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd();
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Where writing a file whole may be made to fail, for tests.
enum class WriteStage { Open, Write, Sync, Rename, SyncFolder };

// Writes the bytes to `folder`/`name`.tmp, syncs them, renames them onto
// `name` and syncs the folder, so the file is the old one or the new one
// whole. Never follows a link at the temporary name.
bool replaceFile(const QString& folder, const QString& name, const QByteArray& bytes,
                 const std::function<bool(WriteStage)>& failAt, QString& why);

}  // namespace pastel
