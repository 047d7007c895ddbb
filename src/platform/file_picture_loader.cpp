#include "platform/file_picture_loader.h"

#include <malloc.h>

#include <QFile>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>

#include "platform/picture_decoder.h"
#include "platform/picture_format.h"
#include "platform/picture_size.h"
#include "platform/thumbnail_cache.h"

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

// Pictures whose strip cell is otherwise a whole decode of a large file
// (PNG, WebP, TIFF, GIF, BMP carry no thumbnail of their own).
bool cachesThumbnails(PictureFormat f, QSize maxPixels) {
  constexpr int side = int(ThumbnailSize::Normal);
  return (f == PictureFormat::Png || f == PictureFormat::WebP || f == PictureFormat::Tiff ||
          f == PictureFormat::Gif || f == PictureFormat::Bmp) &&
         maxPixels.isValid() && maxPixels.width() <= side && maxPixels.height() <= side;
}

PictureRef scaledPicture(const QImage& image, QSize natural, QSize maxPixels, const QString& path) {
  auto p = std::make_shared<Picture>();
  p->path = path;
  p->image =
      image.scaled(fitWithin(natural, maxPixels), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  p->widthHiMetric = pixelsToHiMetric(natural.width());
  p->heightHiMetric = pixelsToHiMetric(natural.height());
  return p;
}

// The strip's picture from the shared thumbnail cache, if this program made
// one of the file as it is now.
PictureRef cachedStripPicture(const QString& path, QSize maxPixels) {
  QImage cached = cachedThumbnail(path, ThumbnailSize::Normal, true);
  const QSize natural(cached.text("Thumb::Image::Width").toInt(),
                      cached.text("Thumb::Image::Height").toInt());
  if (cached.isNull() || natural.isEmpty() ||
      !pixelSizeAllowed(natural.width(), natural.height()) ||
      cached.size() !=
          fitWithin(natural, QSize(int(ThumbnailSize::Normal), int(ThumbnailSize::Normal))))
    return nullptr;
  const QImage::Format f =
      cached.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  return scaledPicture(cached.convertToFormat(f), natural, maxPixels, path);
}

// Decodes once at the cache's size, keeps that for next time, and gives the
// strip's picture from it, so a cached and a fresh cell look the same.
PictureRef decodeStripPicture(const QByteArray& bytes, QSize maxPixels, const QString& path) {
  constexpr int side = int(ThumbnailSize::Normal);
  PictureRef normal = decodePicture(bytes, QSize(side, side), path);
  if (!normal || normal->broken) return normal;
  const QSize natural(int(std::lround(normal->widthHiMetric * 96.0 / 2540.0)),
                      int(std::lround(normal->heightHiMetric * 96.0 / 2540.0)));
  if (natural.width() <= side && natural.height() <= side)
    return decodePicture(bytes, maxPixels, path);
  storeThumbnail(path, ThumbnailSize::Normal, normal->image, natural);
  return scaledPicture(normal->image, natural, maxPixels, path);
}

// A photo's decode allocates and frees tens of megabytes. By default glibc
// gives such blocks back to the kernel at once, and the next photo pays a
// page fault for every page again: a quarter of a HEIC photo's decode here.
// Up to 64 MB freed stays with the program instead.
void keepFreedPictureMemory() {
  static std::once_flag once;
  std::call_once(once, [] {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
  });
}

}  // namespace

FilePictureLoader::FilePictureLoader() {
  keepFreedPictureMemory();
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
    const PictureFormat format = sniffPictureFormat(file.peek(kSniffBytes));
    if (format == PictureFormat::Heif) return decodeHeifPicture(file, maxPixels, path);
    // A strip cell needs a few kilobytes of a camera photo, not all of it.
    if (PictureRef thumbnail = decodeEmbeddedThumbnailOf(file, maxPixels, path)) return thumbnail;
    const bool cached = cachesThumbnails(format, maxPixels);
    if (cached)
      if (PictureRef picture = cachedStripPicture(path, maxPixels)) return picture;
    if (!file.seek(0)) return brokenPicture(path);
    if (cached) return decodeStripPicture(file.readAll(), maxPixels, path);
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
