#pragma once
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>

#include "platform/picture.h"

namespace pastel {

// What the header of a picture file says, without decoding pixels.
struct PictureInfo {
  bool usable = false;    // a picture of a kind we decode, within the limits
  int widthHiMetric = 0;  // natural size, 0.01 mm
  int heightHiMetric = 0;
};

// Natural size in whole twips, as the strip's fitting rule takes it: nearest,
// halves to even, like every conversion of twips to whole numbers.
inline int hiMetricToTwips(int himetric) { return int(std::nearbyint(himetric * 1440.0 / 2540.0)); }

// Set to stop a batch: pictures not yet started are not decoded and none
// is handed back any more.
using LoadCancel = std::shared_ptr<const std::atomic<bool>>;
inline bool isCancelled(const LoadCancel& c) { return c && c->load(); }

// Reads the picture files the program offers: BMP (RLE4/RLE8 too), DIB,
// JPEG, GIF, WMF, PNG, WebP, TIFF and HEIF/HEIC, by content, extensions
// matched without regard to case.
class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  virtual PictureInfo probe(const QString& path) = 0;
  // Pixels scaled down to fit maxPixels (keeping the aspect), never more
  // than the file holds. A file that cannot be used gives a picture with
  // broken set and no pixels; never null.
  virtual PictureRef load(const QString& path, QSize maxPixels) = 0;
  // Loads several pictures; onEach(index, picture) runs on the calling
  // thread as each one is ready, in the order they finish, until `cancel`
  // is set (onEach may set it, or start another batch that does). This
  // version loads one after the other; a loader may decode on worker threads.
  virtual void loadEach(const QStringList& paths, QSize maxPixels,
                        const std::function<void(int, PictureRef)>& onEach,
                        const LoadCancel& cancel = nullptr) {
    for (int i = 0; i < paths.size() && !isCancelled(cancel); ++i) {
      PictureRef picture = load(paths[i], maxPixels);
      if (isCancelled(cancel)) break;
      onEach(i, std::move(picture));
    }
  }
  // Loads one picture away from the caller and hands it to `done` later on
  // the calling thread's event loop, so the caller never waits for the
  // decoding. This version loads it at once.
  virtual void loadLater(const QString& path, QSize maxPixels,
                         std::function<void(PictureRef)> done) {
    done(load(path, maxPixels));
  }
};

}  // namespace pastel
