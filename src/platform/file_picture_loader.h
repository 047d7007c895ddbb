#pragma once
#include <QObject>
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
  // Decodes on a thread of its own, which a batch does not wait for.
  void loadLater(const QString& path, QSize maxPixels,
                 std::function<void(PictureRef)> done) override;

  static constexpr int kWorkers = 2;

 private:
  QThreadPool pool_;
  QThreadPool later_;
  QObject receiver_;  // lives on the constructing thread: where `done` runs
};

}  // namespace pastel
