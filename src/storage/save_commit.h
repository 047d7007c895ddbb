#pragma once
#include <QString>
#include <vector>

namespace pastel {

// How a save puts its files in place all together or not at all, and how a
// later open or save finishes a save that was killed on the way.
//
// Every file is written under a hidden name beside its target first. Then a
// commit record listing each (hidden file, target, backup, and the new
// file's size and digest) is written and synced beside the poster database;
// each existing target is renamed to its backup and the hidden file onto the
// target; the folders are synced; the backups go; the record goes. A save
// killed before the record is complete left the earlier poster as it was;
// one killed after it is finished from the record by the next open or save
// of that poster, or undone when a new file is lost.

// The hidden name a save writes target under: ".NAME.saving-" and a tag,
// in target's own folder. Long names are cut, with a digest of the whole.
QString savingName(const QString& target, const QString& tag);

// The commit record of saves of the poster whose database this is.
QString commitRecordPath(const QString& database);

struct CommitEntry {
  QString temp;    // the new file; empty when the target only goes aside
  QString target;  // where it goes
  QString backup;  // where the earlier target waits until the commit is complete
};

// The record, synced with its folder, for a database's poster. Paths are
// kept relative to the database's folder; the size and digest of each new
// file are read from its hidden file.
bool writeCommitRecord(const QString& database, const std::vector<CommitEntry>& entries,
                       QString* error);

// Renames every entry into place (the earlier target to its backup, the new
// file onto the target), then syncs the folders.
bool rollForward(const std::vector<CommitEntry>& entries, QString* error);

// Puts every target back as it was before the commit began; the new files
// go back to their hidden names.
bool rollBack(const std::vector<CommitEntry>& entries);

// Removes the backups and then the record: call once every target is known
// to be its new file.
void completeCommit(const QString& database, const std::vector<CommitEntry>& entries);

// Removes the record and syncs its folder: the commit is then complete (or
// undone), and what is left are hidden files for the next save to remove.
void removeCommitRecord(const QString& database);

enum class Recovery {
  Nothing,   // no record: the poster is whole
  Finished,  // a killed save's commit was completed
  Failed,    // a record remains and could not be finished (a read-only folder)
};

// Finishes the commit of a killed save of this database's poster, or undoes
// it from the backups when a new file is no longer there. It acts only on
// the poster's own files (its page, its database and journals, the files
// directly in its folder), each opened relative to its folder and never
// through a link, and only under the names a save gives them. A record that
// fails any check is never followed: removeBroken says whether it may be
// deleted (a save, which writes its own) or must be left (an open, which
// changes nothing it does not have to). A backup goes only once its target
// is known to be the new file; a record of the earlier kind, without
// digests, keeps them for the next save.
Recovery finishInterruptedSave(const QString& database, bool removeBroken);

// Removes what killed saves of this poster left behind: hidden files
// beside the database and the page (any page name of the poster), and in
// the poster's folder unless that is a link. Call only once no record is
// pending.
void removeStaleSaveFiles(const QString& folder, const QString& posterName,
                          const QString& pageFileName);

// An advisory lock on a poster's folder, held while a save or a recovery
// works on its files, so that two programs never do so at once. Where the
// file system has no locks, it counts as held.
class PosterLock {
 public:
  explicit PosterLock(const QString& posterFolder);
  ~PosterLock();
  PosterLock(const PosterLock&) = delete;
  PosterLock& operator=(const PosterLock&) = delete;
  bool busy() const { return busy_; }  // another program holds it

 private:
  int fd_ = -1;
  bool busy_ = false;
};

}  // namespace pastel
