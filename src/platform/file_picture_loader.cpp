#include "platform/file_picture_loader.h"

#include <QFile>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>

#include "platform/picture_decoder.h"
#include "platform/picture_format.h"

namespace pastel {

namespace {

// A FIFO or device named x.jpg would block the read forever, and a folder
// cannot be read at all: only regular files (symbolic links followed).
bool openPictureFile(const QString& path, QFile& file, QIODevice::OpenMode mode = {}) {
  if (path.isEmpty()) return false;
  std::error_code ec;
  const std::filesystem::path p(path.toStdString());
  if (!std::filesystem::is_regular_file(p, ec) || ec) return false;
  const auto size = std::filesystem::file_size(p, ec);
  if (ec || size > std::uintmax_t(kMaxPictureFileBytes)) return false;
  file.setFileName(path);
  return file.open(QIODevice::ReadOnly | mode);
}

// Results travel from the workers to the calling thread through this.
struct Batch {
  std::mutex mutex;
  std::condition_variable ready;
  std::deque<std::pair<int, PictureRef>> done;
  int running = 0;  // workers still at it, under the mutex
  std::atomic<int> next{0};
  std::atomic<bool> stop{false};
};

}  // namespace

FilePictureLoader::FilePictureLoader() {
  pool_.setMaxThreadCount(kWorkers);
  later_.setMaxThreadCount(1);
}

FilePictureLoader::~FilePictureLoader() {
  pool_.waitForDone();
  // Before receiver_ goes: what is still queued for it is then dropped.
  later_.waitForDone();
}

void FilePictureLoader::loadLater(const QString& path, QSize maxPixels,
                                  std::function<void(PictureRef)> done) {
  later_.start([this, path, maxPixels, done = std::move(done)] {
    PictureRef picture = load(path, maxPixels);
    QMetaObject::invokeMethod(
        &receiver_, [done, picture] { done(picture); }, Qt::QueuedConnection);
  });
}

PictureInfo FilePictureLoader::probe(const QString& path) {
  QFile file;
  if (!openPictureFile(path, file)) return {};
  return probePictureDevice(file);
}

PictureRef FilePictureLoader::load(const QString& path, QSize maxPixels) {
  try {
    QFile file;
    // Unbuffered: the thumbnail's few reads take only the bytes they ask for.
    if (!openPictureFile(path, file, QIODevice::Unbuffered)) return brokenPicture(path);
    if (sniffPictureFormat(file.peek(kSniffBytes)) == PictureFormat::Heif)
      return decodeHeifPicture(file, maxPixels, path);
    // A strip cell needs a few kilobytes of a camera photo, not all of it.
    if (PictureRef thumbnail = decodeEmbeddedThumbnailOf(file, maxPixels, path)) return thumbnail;
    if (!file.seek(0)) return brokenPicture(path);
    return decodePicture(file.readAll(), maxPixels, path);
  } catch (const std::bad_alloc&) {
    return brokenPicture(path);
  }
}

void FilePictureLoader::loadEach(const QStringList& paths, QSize maxPixels,
                                 const std::function<void(int, PictureRef)>& onEach,
                                 const LoadCancel& cancel) {
  const int n = int(paths.size());
  if (n <= 1) {
    PictureLoader::loadEach(paths, maxPixels, onEach, cancel);
    return;
  }
  Batch batch;
  batch.running = kWorkers;
  auto stopped = [&batch, &cancel] { return batch.stop || isCancelled(cancel); };
  for (int w = 0; w < kWorkers; ++w) {
    pool_.start([this, &batch, &paths, &stopped, maxPixels, n] {
      // A cancelled batch starts no new picture, so a newer batch (the
      // strip scrolled on) gets the threads as soon as the current ones end.
      for (int i; !stopped() && (i = batch.next++) < n;) {
        PictureRef picture = load(paths[i], maxPixels);
        std::lock_guard<std::mutex> lock(batch.mutex);
        batch.done.emplace_back(i, std::move(picture));
        batch.ready.notify_one();
      }
      std::lock_guard<std::mutex> lock(batch.mutex);
      --batch.running;
      batch.ready.notify_one();
    });
  }
  try {
    for (;;) {
      std::unique_lock<std::mutex> lock(batch.mutex);
      batch.ready.wait(lock, [&] { return !batch.done.empty() || batch.running == 0; });
      if (batch.done.empty()) break;
      auto item = std::move(batch.done.front());
      batch.done.pop_front();
      lock.unlock();
      if (stopped()) continue;  // drained, not handed back
      onEach(item.first, std::move(item.second));
    }
  } catch (...) {
    // The workers use this frame's batch: they must be gone before it is.
    batch.stop = true;
    pool_.waitForDone();
    throw;
  }
  pool_.waitForDone();
}

}  // namespace pastel
