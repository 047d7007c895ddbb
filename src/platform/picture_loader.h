#pragma once
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/picture.h"

namespace pastel {

// What the header of a picture file says, without decoding pixels.
struct PictureInfo {
  bool usable = false;        // a bmp/dib/jpeg/gif/wmf we can decode
  int widthHiMetric = 0;      // natural size, 0.01 mm
  int heightHiMetric = 0;
};

// Natural size in whole twips, as the strip's fitting rule takes it.
inline int hiMetricToTwips(int himetric) { return int(himetric * 1440.0 / 2540.0); }

// Reads the picture files the program offers: BMP (RLE4/RLE8 too), DIB,
// JPEG, GIF and WMF, by content, extensions matched without regard to case.
class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  virtual PictureInfo probe(const QString& path) = 0;
  // Pixels scaled down to fit maxPixels (keeping the aspect), never more
  // than the file holds. A file that cannot be used gives a picture with
  // broken set and no pixels; never null.
  virtual PictureRef load(const QString& path, QSize maxPixels) = 0;
  // Loads several pictures; onEach(index, picture) runs on the calling
  // thread as each one is ready, in the order they finish. This version
  // loads one after the other; a loader may decode on worker threads.
  virtual void loadEach(const QStringList& paths, QSize maxPixels,
                        const std::function<void(int, PictureRef)>& onEach) {
    for (int i = 0; i < paths.size(); ++i) onEach(i, load(paths[i], maxPixels));
  }
};

}  // namespace pastel
