#include "platform/thumbnail_cache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QUrl>

namespace pastel {

namespace {

const char* const kSoftware = "pastelboard";
// Larger files are not thumbnails anyone meant; the cache is not trusted
// to be small.
constexpr qint64 kMaxThumbnailBytes = 4 * 1024 * 1024;
constexpr int kMaxThumbnailSide = 1024;

QByteArray uriOf(const QString& file) {
  return QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toEncoded();
}

// Whole seconds, as file managers write them; empty for no such file.
QByteArray mtimeOf(const QString& file) {
  const QFileInfo info(file);
  if (!info.isFile()) return {};
  return QByteArray::number(info.lastModified().toSecsSinceEpoch());
}

QString folderOf(ThumbnailSize size) {
  return thumbnailCacheRoot() + (size == ThumbnailSize::Large ? "/large" : "/normal");
}

QString failFolder() { return thumbnailCacheRoot() + "/fail/" + kSoftware; }

QString nameOf(const QByteArray& uri) {
  return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
         ".png";
}

bool makePrivateFolder(const QString& path) {
  QDir dir;
  if (!dir.mkpath(path)) return false;
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return true;
}

bool writePng(const QString& path, const QImage& image) {
  if (!makePrivateFolder(QFileInfo(path).path())) return false;
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) return false;
  out.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  return image.save(&out, "PNG") && out.commit();
}

// Reads a cached PNG whose keys match; never a large or odd one.
QImage readMatching(const QString& path, const QString& file, const QByteArray& uri,
                    const QByteArray& mtime, bool ownOnly) {
  if (mtime.isEmpty() || QFileInfo(path).size() > kMaxThumbnailBytes) return {};
  QImageReader reader(path, "png");
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > kMaxThumbnailSide || size.height() > kMaxThumbnailSide)
    return {};
  QImage image = reader.read();
  if (image.isNull() || image.text("Thumb::URI").toUtf8() != uri ||
      image.text("Thumb::MTime").toUtf8() != mtime)
    return {};
  // Ours also carry the size, which tells a file rewritten within the same
  // second from the one the thumbnail shows.
  if (ownOnly && (image.text("Software") != QLatin1String(kSoftware) ||
                  image.text("Thumb::Size") != QString::number(QFileInfo(file).size())))
    return {};
  return image;
}

}  // namespace

QString thumbnailCacheRoot() {
  QString base = qEnvironmentVariable("XDG_CACHE_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + "/.cache";
  return base + "/thumbnails";
}

QImage cachedThumbnail(const QString& file, ThumbnailSize size, bool ownOnly) {
  const QByteArray uri = uriOf(file);
  return readMatching(folderOf(size) + '/' + nameOf(uri), file, uri, mtimeOf(file), ownOnly);
}

bool storeThumbnail(const QString& file, ThumbnailSize size, const QImage& picture,
                    QSize originalPixels) {
  const QByteArray mtime = mtimeOf(file);
  if (picture.isNull() || mtime.isEmpty()) return false;
  const QByteArray uri = uriOf(file);
  QImage image = picture;
  image.setText("Thumb::URI", QString::fromLatin1(uri));
  image.setText("Thumb::MTime", QString::fromLatin1(mtime));
  image.setText("Thumb::Size", QString::number(QFileInfo(file).size()));
  image.setText("Software", kSoftware);
  if (originalPixels.isValid()) {
    image.setText("Thumb::Image::Width", QString::number(originalPixels.width()));
    image.setText("Thumb::Image::Height", QString::number(originalPixels.height()));
  }
  return writePng(folderOf(size) + '/' + nameOf(uri), image);
}

void markThumbnailFailed(const QString& file) {
  const QByteArray mtime = mtimeOf(file);
  if (mtime.isEmpty()) return;
  const QByteArray uri = uriOf(file);
  QImage mark(1, 1, QImage::Format_ARGB32);
  mark.fill(Qt::transparent);
  mark.setText("Thumb::URI", QString::fromLatin1(uri));
  mark.setText("Thumb::MTime", QString::fromLatin1(mtime));
  mark.setText("Software", kSoftware);
  writePng(failFolder() + '/' + nameOf(uri), mark);
}

bool thumbnailFailed(const QString& file) {
  const QByteArray uri = uriOf(file);
  return !readMatching(failFolder() + '/' + nameOf(uri), file, uri, mtimeOf(file), false).isNull();
}

}  // namespace pastel
