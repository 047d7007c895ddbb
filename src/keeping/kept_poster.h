#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "canvas/poster_content.h"
#include "keeping/kept_poster_file.h"
#include "platform/file_io.h"

namespace pastel {

class PictureLoader;

// Where kept posters live: $XDG_STATE_HOME/pastelboard/, or
// ~/.local/state/pastelboard/ when that is unset or not absolute.
QString keptPosterFolder();
// Where they live when that folder cannot be used: $XDG_CACHE_HOME/pastelboard/,
// or ~/.cache/pastelboard/.
QString keptPosterCacheFolder();

// A poster kept for crash recovery, as it comes back.
struct KeptPoster {
  PosterContent content;
  KeptStep step;
};

// A kept poster whose process is gone, to be offered back at start.
struct KeptOffer {
  QString owner;  // the name it was kept under ("<pid>" or "<pid>-<n>")
  QString path;
  QDateTime kept;  // last written
  KeptStep step;
  // Its program went on changing the poster after this copy and could not
  // write it: the copy is as old as `kept` says.
  bool behind = false;
};

struct KeptFindings {
  std::vector<KeptOffer> offers;  // newest first
  QStringList setAside;           // kept files that could not be read: "new path: why"
};

// The stages of writing a kept file, where tests make a write fail.
using KeptWriteStage = WriteStage;

// Why posters are not being kept: no folder could be written at start, or
// writing failed later (a full disk).
enum class KeptTrouble { None, NoFolder, WritesFail };

// Keeps the poster in progress on disk, one kept file per running process,
// locked while the process lives. keep() only copies the content and hands
// it to a worker thread, which writes the latest one within `coalesce`:
// written whole under a temporary name, synced, renamed into place and the
// folder synced, so a crash mid-write leaves the previous copy. Called from
// one thread, the UI's.
class KeptPosterStore {
 public:
  struct Options {
    // empty: keptPosterFolder(), falling back to keptPosterCacheFolder()
    QString folder;
    // Used when folder cannot be written; its posters are offered too.
    QString fallbackFolder;
    QString name;  // empty: this process's id
    // A change is on disk within this and the write; a burst inside it is
    // written once.
    std::chrono::milliseconds coalesce{750};
    // Tests: returning true makes that stage of a write fail.
    std::function<bool(KeptWriteStage)> failAt;
  };

  KeptPosterStore();
  explicit KeptPosterStore(Options o);
  // Writes what is still pending and leaves it for the next start.
  ~KeptPosterStore();
  KeptPosterStore(const KeptPosterStore&) = delete;
  KeptPosterStore& operator=(const KeptPosterStore&) = delete;

  // False when no folder or lock could be had: nothing is kept.
  bool ready() const { return lockFd_ >= 0; }
  QString name() const { return name_; }
  QString path() const;
  // Where posters are kept (the first folder tried, when none could be used).
  QString folder() const { return folder_; }
  // Any thread.
  KeptTrouble trouble() const;

  // After every change. Copies the content (pictures shared) and returns.
  void keep(const PosterContent& c, KeptStep step);
  // Waits until the latest keep is on disk.
  void flush();
  // A clean end: what is pending is dropped and the kept file removed;
  // keeps after it are ignored.
  void discard();

  // At start: the kept posters whose process is gone. Each offer stays
  // locked by this store until restored, dropped or the store ends, so no
  // other start offers it too. Files that cannot be read are renamed
  // aside ("<name>.kept.bad-<time>") and listed; leftovers of a write cut
  // off are removed.
  KeptFindings findLeftBehind();
  // Takes an offer over as this process's kept poster and reads it,
  // decoding the photos from their files through `loader` at the size
  // opening uses (a missing file gives the broken-picture mark). Nothing
  // when it cannot be read; the file is then set aside and `error` says why.
  std::optional<KeptPoster> restore(const KeptOffer& offer, PictureLoader& loader,
                                    QString* error = nullptr);
  // Removes an offer that is not wanted.
  void drop(const KeptOffer& offer);

  // Writes finished and the last failure, for tests and benchmarks.
  int writes() const;
  QString lastError() const;

 private:
  struct Job {
    PosterContent content;
    KeptStep step;
  };
  void run();
  bool write(const Job& job);
  bool takeFolder(const QString& folder, const QString& base);
  QString setAside(const QString& path);
  void release(const QString& stem, bool removeLock);
  void waitIdleLocked(std::unique_lock<std::mutex>& lk);

  QString folder_, name_;
  QStringList folders_;  // where posters left behind are looked for
  std::chrono::milliseconds coalesce_;
  std::function<bool(KeptWriteStage)> failAt_;
  int lockFd_ = -1;
  std::map<QString, int> heldLocks_;  // offers held, by path without ".kept"

  mutable std::mutex m_;
  std::condition_variable wake_, idle_;
  std::optional<Job> pending_;
  std::chrono::steady_clock::time_point pendingSince_;
  std::optional<Job> lastWritten_;
  bool writing_ = false, urgent_ = false, stop_ = false, discarded_ = false, failed_ = false;
  int writes_ = 0;
  QString lastError_;
  std::thread worker_;
};

}  // namespace pastel
