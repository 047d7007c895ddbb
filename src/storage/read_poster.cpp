#include "storage/read_poster.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <vector>

#include "canvas/picture_strip.h"
#include "platform/picture_decoder.h"
#include "platform/picture_loader.h"
#include "platform/twips.h"
#include "storage/field_binding.h"
#include "storage/poster_db.h"
#include "storage/poster_records.h"
#include "storage/save_commit.h"
#include "storage/value_formats.h"

namespace pastel {

namespace {

// A stored path that names nothing in the poster's folder but could: the
// photo is missing, and its entry keeps the stored path. A path refused by
// the rules gives no entry at all, so that a later save never copies from
// outside the folder.
bool plainMissing(const QString& folder, const QString& rel) {
  if (rel.isEmpty() || rel.startsWith(QLatin1Char('/')) || rel.contains(QChar(0))) return false;
  static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
  if (drive.match(rel).hasMatch()) return false;
  for (const QString& part : rel.split(QLatin1Char('/')))
    if (part == QLatin1String("..")) return false;
  const QFileInfo fi(folder + rel);
  return !fi.exists() && !fi.isSymLink();
}

// Pixels enough for the photos as they lie on the paper: a camera photo then
// decodes at an eighth of its size, where twice the placed size would need a
// quarter and cost half as much again.
QSize photoBox(const PosterContent& c, const FieldBuffers& b) {
  int w = 1, h = 1;
  for (int i = 0; i < kSlots; ++i) {
    if (b[size_t(photoBuffer(i, kPhotoFile))].isEmpty()) continue;
    w = std::max(w, twipsToPixels(c.photos[size_t(i)].width));
    h = std::max(h, twipsToPixels(c.photos[size_t(i)].height));
  }
  return QSize(w, h).boundedTo(kPhotoMaxPixels);
}

// The photos' files and pictures, and the paper's picture, from the paths
// the buffers store.
void readPictures(PictureLoader* loader, const QString& folder, const FieldBuffers& b,
                  PosterContent& c) {
  QStringList paths;
  std::vector<int> slotOf;
  for (int i = 0; i < kSlots; ++i) {
    PhotoContent& photo = c.photos[size_t(i)];
    const QString stored = b[size_t(photoBuffer(i, kPhotoFile))];
    photo.file.clear();
    photo.picture = nullptr;
    if (stored.isEmpty()) continue;
    QString rel = stored;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const std::optional<QString> file = resolveStoredPath(folder, stored);
    if (file || plainMissing(folder, rel)) photo.file = folder + rel;
    photo.picture = brokenPicture(folder + rel);
    if (!file) continue;
    paths << *file;
    slotOf.push_back(i);
  }
  c.paper.picture = nullptr;
  if (!loader) return;
  loader->loadEach(paths, photoBox(c, b), [&c, &slotOf](int k, PictureRef pic) {
    if (k >= 0 && k < int(slotOf.size()) && pic)
      c.photos[size_t(slotOf[size_t(k)])].picture = std::move(pic);
  });
  const std::optional<QString> paper = resolveStoredPath(folder, b[kPaperBitmapBuffer]);
  if (!paper) return;
  PictureRef pic = loader->load(*paper, QSize(PaperSurface::kWidthPx, PaperSurface::kHeightPx));
  if (pic && !pic->broken && !pic->image.isNull()) c.paper.picture = std::move(pic);
}

}  // namespace

PosterRead readPosterFile(const QString& path, PictureLoader* loader, const PosterContent& base) {
  // A save of this poster killed halfway is finished first, so the poster
  // read is whole: the one thing opening ever writes beside it.
  {
    const QFileInfo db(path);
    const PosterLock lock(db.path() + QLatin1Char('/') + db.completeBaseName());
    if (!lock.busy()) finishInterruptedSave(path, false);
  }
  return readPosterContent(path, loader, base);
}

PosterRead readPosterContent(const QString& path, PictureLoader* loader,
                             const PosterContent& base) {
  // Read and check all of it first: a file that is not a whole poster
  // database changes nothing.
  FieldBuffers buffers;
  const ExchangeResult x = readFieldBuffers(path, buffers);
  if (!x.ok()) return {std::nullopt, x.failures.join(QStringLiteral("; "))};
  PosterContent c = posterFromBuffers(buffers, base);
  readPictures(loader, QFileInfo(path).absolutePath() + QLatin1Char('/'), buffers, c);
  // The paper shows the picture on its own colour; so does the snapshot.
  c.paper.shown = QImage();
  c.paper.snapshot = c.paper.picture;
  return {std::move(c), {}};
}

}  // namespace pastel
