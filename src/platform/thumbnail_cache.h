#pragma once
#include <QImage>
#include <QString>

namespace pastel {

// The thumbnail cache file managers share (the freedesktop layout):
// $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails.
QString thumbnailCacheRoot();

enum class ThumbnailSize { Normal = 128, Large = 256 };

// A cached thumbnail of `file` whose Thumb::URI and Thumb::MTime match the
// file as it is now, or a null image. With `ownOnly`, only one this program
// wrote: another program's decoder may show a file we would refuse.
QImage cachedThumbnail(const QString& file, ThumbnailSize size, bool ownOnly = false);
// Writes it beside the others (through a temporary name, private to the
// user), with the original's pixel size (Thumb::Image::Width and Height)
// where given. False when it could not; the cache is only ever a shortcut.
bool storeThumbnail(const QString& file, ThumbnailSize size, const QImage& picture,
                    QSize originalPixels = {});

// The cache's failure mark, so a file that could not be read is not
// tried again until it changes.
void markThumbnailFailed(const QString& file);
bool thumbnailFailed(const QString& file);

}  // namespace pastel
