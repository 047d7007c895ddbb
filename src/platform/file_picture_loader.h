#pragma once
#include <QThreadPool>

#include "platform/picture_loader.h"

namespace pastel {

// Reads picture files from disk. Only regular files up to
// kMaxPictureFileBytes are read; the format comes from the content.
// loadEach decodes on two worker threads and hands each picture back on the
// calling thread, so the handlers stay single-threaded.
class FilePictureLoader : public PictureLoader {
 public:
  FilePictureLoader();
  ~FilePictureLoader() override;

  PictureInfo probe(const QString& path) override;
  PictureRef load(const QString& path, QSize maxPixels) override;
  void loadEach(const QStringList& paths, QSize maxPixels,
                const std::function<void(int, PictureRef)>& onEach,
                const LoadCancel& cancel = nullptr) override;

  static constexpr int kWorkers = 2;

 private:
  QThreadPool pool_;
};

}  // namespace pastel
