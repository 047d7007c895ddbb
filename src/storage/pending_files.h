#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

namespace pastel {

// Files written under hidden names beside their targets and put in place
// together by commit() (see storage/save_commit.h). Whatever is not
// committed is removed when the set is discarded or destroyed.
class PendingFiles {
 public:
  PendingFiles() = default;
  ~PendingFiles() { discard(); }
  PendingFiles(const PendingFiles&) = delete;
  PendingFiles& operator=(const PendingFiles&) = delete;

  bool write(const QString& target, const QByteArray& bytes, QString* tempPath = nullptr);

  enum class Copy { Done, SourceUnreadable, Failed };
  // The temporary file's path is handed out for a database filled in place.
  Copy copy(const QString& target, const QString& source, QString* tempPath = nullptr);

  // A database target: its stale journals go before it is put in place.
  void markDatabase(const QString& target);

  // Puts every file in place, all of them or none: refuses before the first
  // rename when a target is a folder; a rename that fails puts every file
  // back. The commit record goes beside database. False when the earlier
  // files are as they were (or, should even putting back fail, are left to
  // the record for the next open or save to finish).
  bool commit(const QString& database);
  void discard();

  QString error() const { return error_; }

 private:
  struct Entry {
    QString temp, target;
    bool database = false;
  };
  int create(const QString& target, QString* tempPath);
  bool finish(int fd, const QString& temp, const QString& target);
  bool fail(const QString& what, int err);
  void drop(const QString& temp);

  std::vector<Entry> entries_;
  QString error_;
};

}  // namespace pastel
