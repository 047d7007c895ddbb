#include "storage/write_poster.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <algorithm>

#include "canvas/poster_content.h"
#include "platform/picture_decoder.h"
#include "platform/picture_format.h"
#include "platform/services.h"
#include "storage/field_binding.h"
#include "storage/pending_files.h"
#include "storage/poster_db.h"
#include "storage/poster_names.h"
#include "storage/poster_page.h"
#include "storage/poster_records.h"
#include "storage/save_commit.h"
#include "storage/template_db.h"

namespace pastel {

namespace {

SaveResult failed(const QString& error) {
  SaveResult r;
  r.status = SaveStatus::Failed;
  r.error = error;
  return r;
}

QByteArray imageBytes(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (image.isNull() || !image.save(&buffer, format)) return {};
  return bytes;
}

// Larger than any page a save writes.
constexpr qint64 kMaxPageBytes = 1 << 20;

// A picture a browser shows, for a copy of a kind it does not: a metafile
// becomes a PNG, a photo a JPEG (a PNG where it has see-through parts).
struct Companion {
  QByteArray bytes;
  QString extension;
};

bool seeThrough(const QImage& image) {
  if (!image.hasAlphaChannel()) return false;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < argb.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x)
      if (qAlpha(line[x]) < 255) return true;
  }
  return false;
}

// Nothing when browsers show the copy as it is, or it cannot be decoded
// (the page then names the copy, as it always did).
Companion companionFor(const QString& copy) {
  QFile file(copy);
  const QFileInfo info(copy);
  if (!info.isFile() || info.size() > kMaxPictureFileBytes || !file.open(QIODevice::ReadOnly))
    return {};
  const PictureFormat format = sniffPictureFormat(file.peek(kSniffBytes));
  if (format != PictureFormat::Wmf && format != PictureFormat::Heif &&
      format != PictureFormat::Tiff)
    return {};
  // At its natural size, not the size the window shows it at.
  const PictureRef picture =
      decodePicture(file.readAll(), QSize(kMaxPictureSide, kMaxPictureSide), copy);
  if (!picture || picture->broken || picture->image.isNull()) return {};
  if (format == PictureFormat::Wmf || seeThrough(picture->image))
    return {imageBytes(picture->image, "PNG"), QStringLiteral("png")};
  return {imageBytes(picture->image.convertToFormat(QImage::Format_RGB32), "JPEG"),
          QStringLiteral("jpg")};
}

// The copy of the template, filled with the poster, under a temporary name.
// A template that is missing and cannot be written, or one that lacks the
// poster tables, gives way to a fresh one: a save never fails for it.
bool writeDatabase(const PosterContent& poster, const QString& tpl, const PosterNames& n,
                   const std::array<QString, kSlots + 1>& copies, PendingFiles& files,
                   QString* error) {
  const QFileInfo tplInfo(tpl);
  if (!tplInfo.exists() && !tplInfo.isSymLink()) writeTemplateDatabase(tpl);
  QString temp;
  const PendingFiles::Copy c = files.copy(n.database(), tpl, &temp);
  if (c == PendingFiles::Copy::Failed) {
    *error = files.error();
    return false;
  }
  bool fresh = false;
  if (c == PendingFiles::Copy::SourceUnreadable) {
    if (!files.write(n.database(), QByteArray(), &temp) || !writeTemplateDatabase(temp, error)) {
      if (error->isEmpty()) *error = files.error();
      return false;
    }
    fresh = true;
  }
  files.markDatabase(n.database());
  auto fill = [&](FieldBuffers& b) { fillPosterBuffers(poster, n.posterName, copies, b); };
  FieldBuffers buffers;
  ExchangeResult x = exchangeFieldBuffers(temp, buffers, fill);
  if (!x.ok() && !fresh && writeTemplateDatabase(temp, error)) {
    buffers = FieldBuffers{};
    x = exchangeFieldBuffers(temp, buffers, fill);
  }
  if (!x.ok()) *error = QStringLiteral("database: ") + x.failures.join(QStringLiteral("; "));
  return x.ok();
}

bool databaseThere(const PosterNames& n) {
  const QFileInfo database(n.database());
  return database.exists() || database.isSymLink();
}

// The files in the poster folder that are not the poster's (case-folded):
// all but the paper pictures and the copies its database names, and all of
// them when there is no database of the name (a teacher's own folder).
QSet<QString> filesNotOurs(const PosterNames& n) {
  QSet<QString> names;
  const QFileInfo folder(n.posterFolder());
  if (!folder.isDir() || folder.isSymLink()) return names;
  const QStringList present =
      QDir(folder.filePath())
          .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& name : present) names.insert(name.toCaseFolded());
  FieldBuffers b;
  if (!databaseThere(n) || !readFieldBuffers(n.database(), b).ok()) return names;
  names.remove((n.posterName + QStringLiteral(".bmp")).toCaseFolded());
  names.remove((n.posterName + QStringLiteral(".jpg")).toCaseFolded());
  QStringList copies;
  for (int k = 0; k < kSlots; ++k) {
    QString stored = b[size_t(photoBuffer(k, kPhotoFile))];
    stored.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (stored.startsWith(n.posterName + QLatin1Char('/')))
      copies << stored.mid(n.posterName.size() + 1);
  }
  for (const QString& copy : copies) names.remove(copy.toCaseFolded());
  // What the earlier page shows in place of a copy was written with it; a
  // file of such a name that the page does not show is someone else's.
  QByteArray page;
  QFile pageFile(n.page);
  if (QFileInfo(n.page).isFile() && QFileInfo(n.page).size() < kMaxPageBytes &&
      pageFile.open(QIODevice::ReadOnly))
    page = pageFile.readAll();
  for (const QString& name : present) {
    if (!names.contains(name.toCaseFolded()) ||
        !page.contains(photoSourceBytes(n.posterName, name)))
      continue;
    if (std::any_of(copies.cbegin(), copies.cend(),
                    [&](const QString& copy) { return isCompanionName(name, copy); }))
      names.remove(name.toCaseFolded());
  }
  return names;
}

// The paper pictures' names are fixed: another file under one of them is
// never replaced, so the name cannot be used.
bool paperNamesTaken(const QSet<QString>& notOurs, const PosterNames& n) {
  return notOurs.contains(QFileInfo(n.paperBitmap()).fileName().toCaseFolded()) ||
         notOurs.contains(QFileInfo(n.paperJpeg()).fileName().toCaseFolded());
}

}  // namespace

SaveQuestion questionBeforeSaving(const PosterNames& n) {
  const QFileInfo page(n.page), folder(n.posterFolder());
  if (page.exists() || page.isSymLink()) return SaveQuestion::None;
  if (databaseThere(n)) return SaveQuestion::ReplacePoster;
  return folder.isDir() ? SaveQuestion::BesideFolder : SaveQuestion::None;
}

bool posterNamesUsable(const PosterNames& n) { return !paperNamesTaken(filesNotOurs(n), n); }

SaveResult writePoster(const PosterContent& c, const PosterNames& n, const QString& wordList,
                       EventLoop* loop) {
  const QString folder = n.posterFolder();
  const QFileInfo folderInfo(folder);
  bool madeFolder = false;
  if (!folderInfo.exists() && !folderInfo.isSymLink()) {
    if (!QDir().mkdir(folder)) return failed(QStringLiteral("cannot create ") + folder);
    madeFolder = true;
  } else if (!folderInfo.isDir() || folderInfo.isSymLink()) {
    // A link would put the poster's files, and their replacing, elsewhere.
    return failed(folder + QStringLiteral(" is not a folder"));
  }
  PendingFiles files;
  auto fail = [&](const QString& error) {
    files.discard();
    if (madeFolder) QDir().rmdir(folder);
    return failed(error);
  };
  // An earlier save of this poster that was killed is finished first.
  const PosterLock lock(folder);
  if (lock.busy()) return fail(QStringLiteral("another program is saving ") + n.database());
  if (finishInterruptedSave(n.database(), true) == Recovery::Failed)
    return fail(QStringLiteral("an earlier save could not be finished"));

  // Files the poster did not write keep their names and bytes.
  const QSet<QString> notOurs = filesNotOurs(n);
  if (paperNamesTaken(notOurs, n)) {
    fail(QString());
    SaveResult refused;
    refused.status = SaveStatus::NameRefused;
    return refused;
  }

  SaveResult r;
  const std::array<QString, kSlots + 1> copies = photoCopyNames(c, n.posterName, notOurs);
  QString error;
  if (!writeDatabase(c, wordList, n, copies, files, &error)) return fail(error);

  // A companion's name is none of the copies', nor a file not the poster's.
  QSet<QString> taken = notOurs;
  for (const QString& copy : copies) taken.insert(copy.toCaseFolded());
  taken << QFileInfo(n.paperBitmap()).fileName().toCaseFolded()
        << QFileInfo(n.paperJpeg()).fileName().toCaseFolded();
  QHash<QString, QString> companions;  // copy -> the picture the page shows

  QStringList copied;
  for (int k = 0; k < kSlots; ++k) {
    const int j = c.photoStackOrder[size_t(k)];
    if (j < 0 || j >= kSlots) continue;
    const PhotoContent& photo = c.photos[size_t(j)];
    // A photo whose stored path opening refused has no file to keep.
    const PictureRef& shown = photo.picture;
    if (isPlaced(photo) && photo.file.isEmpty() && shown && shown->broken && !shown->path.isEmpty())
      r.droppedPhotos << photoFileName(shown->path);
    if (copies[size_t(j)].isEmpty() || copied.contains(copies[size_t(j)])) continue;
    copied << copies[size_t(j)];
    const QString& entry = photo.file;
    const QString target = n.inPosterFolder(copies[size_t(j)]);
    // An opened poster's photos already are their copies.
    QString written = entry;
    const PendingFiles::Copy copy =
        entry == target ? (QFileInfo(entry).isFile() ? PendingFiles::Copy::Done
                                                     : PendingFiles::Copy::SourceUnreadable)
                        : files.copy(target, entry, &written);
    if (copy == PendingFiles::Copy::Failed) return fail(files.error());
    if (copy == PendingFiles::Copy::SourceUnreadable) r.missingPhotos << photoFileName(entry);
    if (copy != PendingFiles::Copy::Done) continue;
    // Made again from the copy at every save, so it always shows the copy.
    const Companion companion = companionFor(written);
    if (companion.bytes.isEmpty()) continue;
    const QString name = companionName(copies[size_t(j)], companion.extension, taken);
    taken.insert(name.toCaseFolded());
    if (!files.write(n.inPosterFolder(name), companion.bytes)) return fail(files.error());
    companions.insert(copies[size_t(j)], name);
  }
  std::array<QString, kSlots + 1> shownNames = copies;
  for (QString& name : shownNames) name = companions.value(name, name);

  if (!files.write(n.page, posterPageBytes(c, n.posterName, &shownNames)))
    return fail(files.error());

  // The paper as it shows now, and its background picture (the grab made on
  // leaving the first step, or the picture an opened poster brought).
  const QImage& paper = c.paper.shown;
  const PictureRef& back = c.paper.picture;
  const QImage background = back && !back->image.isNull() ? back->image : paper;
  const QByteArray bmp = imageBytes(paper, "BMP");
  if (bmp.isEmpty() || !files.write(n.paperBitmap(), bmp))
    return fail(QStringLiteral("paper bitmap: ") + files.error());
  // Let the window repaint.
  if (loop) loop->yield();
  const QByteArray jpeg = imageBytes(background, "JPEG");
  if (jpeg.isEmpty() || !files.write(n.paperJpeg(), jpeg))
    return fail(QStringLiteral("paper jpeg: ") + files.error());

  if (!files.commit(n.database())) return fail(files.error());
  // What killed saves left goes once this poster is whole again.
  removeStaleSaveFiles(n.folder, n.posterName, QFileInfo(n.page).fileName());
  r.droppedPhotos.removeDuplicates();
  r.status = SaveStatus::Saved;
  return r;
}

}  // namespace pastel
