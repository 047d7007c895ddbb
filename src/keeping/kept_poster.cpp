#include "keeping/kept_poster.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <tuple>

#include "canvas/picture_strip.h"
#include "platform/file_io.h"
#include "platform/picture_decoder.h"
#include "platform/picture_loader.h"
#include "platform/twips.h"

namespace pastel {

namespace {

// Missing folders are made private, as the state folder's rules ask.
bool makeFolder(const QString& folder) {
  const QString clean = QDir::cleanPath(folder);
  if (!clean.startsWith(QLatin1Char('/'))) return false;
  QString path;
  for (const QString& part : clean.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    path += QLatin1Char('/') + part;
    if (::mkdir(nativePath(path).constData(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(nativePath(clean).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Locks `path` without waiting. -1 when another open file holds it (its
// process lives) or when the name was replaced meanwhile.
int tryLock(const QString& path) {
  const int fd =
      ::open(nativePath(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return -1;
  struct stat held {
  }, named{};
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 ||
      ::lstat(nativePath(path).constData(), &named) != 0 || held.st_ino != named.st_ino ||
      held.st_dev != named.st_dev) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The file whole, if it is a regular file within bounds; never follows a
// link or waits on a pipe.
bool readWhole(const QString& path, QByteArray& out, QString& why) {
  const int fd =
      ::open(nativePath(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    why = errnoText("open");
    return false;
  }
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (!ok) why = QStringLiteral("not a regular file");
  if (ok && st.st_size > kMaxKeptFileBytes) ok = false, why = QStringLiteral("too large");
  if (ok) {
    out.resize(qsizetype(st.st_size));
    if (readUpTo(fd, out.data(), out.size()) != out.size())
      ok = false, why = QStringLiteral("cut short while reading");
  }
  ::close(fd);
  return ok;
}

// Decodes each photo from its file at the size opening uses: twice its
// placed size, within the photo bound; one decode for a file shown twice.
void decodePhotos(KeptRecord& r, PictureLoader& loader) {
  QStringList paths;
  std::vector<std::vector<size_t>> slotsOf;
  int w = 1, h = 1;
  for (size_t i = 0; i < kSlots; ++i) {
    PhotoContent& ph = r.content.photos[i];
    const QString& path = r.photoPath[i];
    ph.picture = nullptr;
    if (r.photoSource[i] == KeptPhotoSource::None) continue;
    ph.picture = brokenPicture(path);
    if (r.photoSource[i] != KeptPhotoSource::File) continue;
    w = std::max(w, twipsToPixels(2 * ph.width));
    h = std::max(h, twipsToPixels(2 * ph.height));
    qsizetype k = paths.indexOf(path);
    if (k < 0) {
      k = paths.size();
      paths << path;
      slotsOf.emplace_back();
    }
    slotsOf[size_t(k)].push_back(i);
  }
  if (paths.isEmpty()) return;
  loader.loadEach(paths, QSize(w, h).boundedTo(kPhotoMaxPixels), [&](int k, PictureRef pic) {
    if (k < 0 || k >= int(slotsOf.size()) || !pic) return;
    for (size_t i : slotsOf[size_t(k)]) r.content.photos[i].picture = pic;
  });
}

const QString kKeptSuffix = QStringLiteral(".kept");
const QString kLockSuffix = QStringLiteral(".lock");
const QString kTmpSuffix = QStringLiteral(".kept.tmp");

QString stemOf(const KeptOffer& offer) { return offer.path.chopped(kKeptSuffix.size()); }

// Files set aside stay a month for whoever wants to look into them; their
// name says when they were set aside.
void removeOldSetAside(const QString& folder) {
  static const QRegularExpression aside(
      QStringLiteral("^[0-9]{1,10}(?:-[0-9]{1,3})?\\.kept\\.bad-([0-9]{8}-[0-9]{6})-[0-9]{3}$"));
  const QDateTime monthAgo = QDateTime::currentDateTime().addDays(-30);
  for (const QString& entry : QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden)) {
    const QRegularExpressionMatch m = aside.match(entry);
    if (!m.hasMatch()) continue;
    const QDateTime when = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd-hhmmss"));
    if (when.isValid() && when < monthAgo)
      ::unlink(nativePath(folder + QLatin1Char('/') + entry).constData());
  }
}

}  // namespace

QString keptPosterFolder() {
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  // The base directory rules: a relative path is to be ignored.
  if (base.isEmpty() || !base.startsWith(QLatin1Char('/')))
    base = QDir::homePath() + QStringLiteral("/.local/state");
  return QDir::cleanPath(base + QStringLiteral("/pastelboard"));
}

QString keptPosterCacheFolder() {
  QString base = qEnvironmentVariable("XDG_CACHE_HOME");
  if (base.isEmpty() || !base.startsWith(QLatin1Char('/')))
    base = QDir::homePath() + QStringLiteral("/.cache");
  return QDir::cleanPath(base + QStringLiteral("/pastelboard"));
}

KeptPosterStore::KeptPosterStore() : KeptPosterStore(Options{}) {}

KeptPosterStore::KeptPosterStore(Options o) : coalesce_(o.coalesce), failAt_(std::move(o.failAt)) {
  const bool defaults = o.folder.isEmpty();
  for (const QString& f : {defaults ? keptPosterFolder() : o.folder,
                           defaults ? keptPosterCacheFolder() : o.fallbackFolder})
    if (!f.isEmpty() && !folders_.contains(QDir::cleanPath(f))) folders_ << QDir::cleanPath(f);
  folder_ = folders_.value(0);
  const QString base = o.name.isEmpty() ? QString::number(::getpid()) : o.name;
  for (const QString& f : folders_)
    if (takeFolder(f, base)) break;
  if (lockFd_ < 0) {
    folder_ = folders_.value(0);
    return;
  }
  // The lock's time says when a write last failed: none yet.
  const timespec never[2] = {{0, 0}, {0, 0}};
  ::futimens(lockFd_, never);
  worker_ = std::thread([this] { run(); });
}

bool KeptPosterStore::takeFolder(const QString& folder, const QString& base) {
  if (!makeFolder(folder)) {
    lastError_ = QStringLiteral("cannot make %1").arg(folder);
    return false;
  }
  // A name of its own: not locked by a living process (another process
  // namespace may reuse the id), not holding a kept poster left behind.
  for (int n = 0; n < 100 && lockFd_ < 0; ++n) {
    const QString name = n == 0 ? base : base + QLatin1Char('-') + QString::number(n);
    const QString stem = folder + QLatin1Char('/') + name;
    if (pathExists(stem + kKeptSuffix)) continue;
    const int fd = tryLock(stem + kLockSuffix);
    if (fd < 0) continue;
    if (pathExists(stem + kKeptSuffix)) {
      ::close(fd);
      continue;
    }
    lockFd_ = fd;
    name_ = name;
  }
  if (lockFd_ < 0) {
    lastError_ = QStringLiteral("no lock to be had in %1").arg(folder);
    return false;
  }
  // A folder that takes a lock but no bytes (a full disk) is no place to keep.
  QString why;
  const QString probe = name_ + QStringLiteral(".probe");
  if (!replaceFile(folder, probe, QByteArray(4096, '\0'), nullptr, why)) {
    lastError_ = why;
    ::unlink(nativePath(folder + QLatin1Char('/') + name_ + kLockSuffix).constData());
    ::close(lockFd_);
    lockFd_ = -1;
    name_.clear();
    return false;
  }
  ::unlink(nativePath(folder + QLatin1Char('/') + probe).constData());
  folder_ = folder;
  return true;
}

KeptPosterStore::~KeptPosterStore() {
  if (worker_.joinable()) {
    {
      std::lock_guard<std::mutex> lk(m_);
      stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
  }
  while (!heldLocks_.empty()) release(heldLocks_.begin()->first, true);
  if (lockFd_ >= 0) {
    // After a failed write the lock's time tells the next start that the
    // copy left is behind the poster.
    if (!failed_ || !pathExists(path()))
      ::unlink(nativePath(folder_ + QLatin1Char('/') + name_ + kLockSuffix).constData());
    ::close(lockFd_);
  }
}

QString KeptPosterStore::path() const {
  return name_.isEmpty() ? QString() : folder_ + QLatin1Char('/') + name_ + kKeptSuffix;
}

void KeptPosterStore::keep(const PosterContent& c, KeptStep step) {
  if (!ready()) return;
  Job job{c, step};
  {
    std::lock_guard<std::mutex> lk(m_);
    if (discarded_) return;
    if (!pending_) pendingSince_ = std::chrono::steady_clock::now();
    pending_ = std::move(job);
  }
  wake_.notify_all();
}

void KeptPosterStore::run() {
  std::unique_lock<std::mutex> lk(m_);
  for (;;) {
    wake_.wait(lk, [this] { return stop_ || pending_; });
    if (!pending_) break;
    // A burst of changes is written once: the latest, a little later.
    wake_.wait_until(lk, pendingSince_ + coalesce_,
                     [this] { return urgent_ || stop_ || !pending_; });
    if (!pending_) continue;
    Job job = std::move(*pending_);
    pending_.reset();
    writing_ = true;
    lk.unlock();
    const bool same =
        lastWritten_ && lastWritten_->step == job.step && lastWritten_->content == job.content;
    QString why;
    const bool ok = same || replaceFile(folder_, name_ + kKeptSuffix,
                                        encodeKeptPoster(job.content, job.step), failAt_, why);
    lk.lock();
    writing_ = false;
    if (ok && !same) ++writes_;
    if (ok) {
      lastWritten_ = std::move(job);
    } else {
      lastWritten_.reset(), lastError_ = why, failed_ = true;
      // The copy on disk is now older than the poster: the next start says so.
      ::futimens(lockFd_, nullptr);
    }
    idle_.notify_all();
  }
}

void KeptPosterStore::waitIdleLocked(std::unique_lock<std::mutex>& lk) {
  idle_.wait(lk, [this] { return !writing_; });
}

void KeptPosterStore::flush() {
  std::unique_lock<std::mutex> lk(m_);
  urgent_ = true;
  wake_.notify_all();
  idle_.wait(lk, [this] { return !pending_ && !writing_; });
  urgent_ = false;
}

void KeptPosterStore::discard() {
  if (!ready()) return;
  std::unique_lock<std::mutex> lk(m_);
  discarded_ = true;
  pending_.reset();
  waitIdleLocked(lk);
  lastWritten_.reset();
  ::unlink(nativePath(path()).constData());
  ::unlink(nativePath(folder_ + QLatin1Char('/') + name_ + kTmpSuffix).constData());
  syncFolder(folder_);
}

int KeptPosterStore::writes() const {
  std::lock_guard<std::mutex> lk(m_);
  return writes_;
}

KeptTrouble KeptPosterStore::trouble() const {
  if (!ready()) return KeptTrouble::NoFolder;
  std::lock_guard<std::mutex> lk(m_);
  return failed_ ? KeptTrouble::WritesFail : KeptTrouble::None;
}

QString KeptPosterStore::lastError() const {
  std::lock_guard<std::mutex> lk(m_);
  return lastError_;
}

QString KeptPosterStore::setAside(const QString& path) {
  const QString aside =
      path + QStringLiteral(".bad-") +
      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
  if (::rename(nativePath(path).constData(), nativePath(aside).constData()) != 0) return path;
  syncFolder(QFileInfo(path).path());
  return aside;
}

void KeptPosterStore::release(const QString& stem, bool removeLock) {
  const auto it = heldLocks_.find(stem);
  if (it == heldLocks_.end()) return;
  if (removeLock) ::unlink(nativePath(stem + kLockSuffix).constData());
  ::close(it->second);
  heldLocks_.erase(it);
}

KeptFindings KeptPosterStore::findLeftBehind() {
  KeptFindings found;
  static const QRegularExpression named(
      QStringLiteral("^([0-9]{1,10}(?:-[0-9]{1,3})?)(\\.kept|\\.lock|\\.kept\\.tmp)$"));
  for (const QString& folder : folders_) {
    removeOldSetAside(folder);
    QStringList owners;
    const QStringList entries =
        QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
      const QRegularExpressionMatch m = named.match(entry);
      if (m.hasMatch() && !owners.contains(m.captured(1))) owners << m.captured(1);
    }
    for (const QString& owner : owners) {
      const QString stem = folder + QLatin1Char('/') + owner;
      if (folder == folder_ && owner == name_) continue;
      // Taking the lock makes its file when it is gone: its time first.
      struct stat lock {};
      const bool lockTime = ::lstat(nativePath(stem + kLockSuffix).constData(), &lock) == 0;
      if (!heldLocks_.count(stem)) {
        const int fd = tryLock(stem + kLockSuffix);
        if (fd < 0) continue;  // its process lives
        heldLocks_[stem] = fd;
        // A write cut off by the end of its process.
        ::unlink(nativePath(stem + kTmpSuffix).constData());
      }
      const QString path = stem + kKeptSuffix;
      if (!pathExists(path)) {
        release(stem, true);
        continue;
      }
      QByteArray bytes;
      QString why;
      std::optional<KeptRecord> r;
      if (readWhole(path, bytes, why)) r = decodeKeptPoster(bytes, &why);
      if (!r) {
        found.setAside << setAside(path) + QStringLiteral(": ") + why;
        release(stem, true);
        continue;
      }
      // File times move in clock ticks: a write that failed in the tick of
      // the last good one leaves the lock's time equal to the copy's, and
      // the copy's age is said rather than left out.
      struct stat kept {};
      const bool behind = lockTime && ::lstat(nativePath(path).constData(), &kept) == 0 &&
                          std::tie(lock.st_mtim.tv_sec, lock.st_mtim.tv_nsec) >=
                              std::tie(kept.st_mtim.tv_sec, kept.st_mtim.tv_nsec);
      found.offers.push_back({owner, path, QFileInfo(path).lastModified(), r->step, behind});
    }
  }
  std::stable_sort(found.offers.begin(), found.offers.end(),
                   [](const KeptOffer& a, const KeptOffer& b) { return a.kept > b.kept; });
  return found;
}

std::optional<KeptPoster> KeptPosterStore::restore(const KeptOffer& offer, PictureLoader& loader,
                                                   QString* error) {
  const QString stem = stemOf(offer);
  if (!heldLocks_.count(stem)) {
    if (error) *error = QStringLiteral("not offered");
    return std::nullopt;
  }
  const QString kept = stem + kKeptSuffix;
  QByteArray bytes;
  QString why;
  std::optional<KeptRecord> r;
  if (readWhole(kept, bytes, why)) r = decodeKeptPoster(bytes, &why);
  if (!r) {
    if (error) *error = setAside(kept) + QStringLiteral(": ") + why;
    release(stem, true);
    return std::nullopt;
  }
  if (ready()) {
    // From now on it is this process's poster: a crash while it is
    // decoded or shown offers it again.
    std::unique_lock<std::mutex> lk(m_);
    pending_.reset();
    waitIdleLocked(lk);
    lastWritten_.reset();
    if (::rename(nativePath(kept).constData(), nativePath(path()).constData()) == 0)
      syncFolder(folder_);
    else
      lastError_ = errnoText("rename");
  }
  release(stem, true);
  decodePhotos(*r, loader);
  return KeptPoster{std::move(r->content), r->step};
}

void KeptPosterStore::drop(const KeptOffer& offer) {
  const QString stem = stemOf(offer);
  if (!heldLocks_.count(stem)) return;
  ::unlink(nativePath(stem + kKeptSuffix).constData());
  syncFolder(QFileInfo(stem).path());
  release(stem, true);
}

}  // namespace pastel
