#pragma once
#include <QImage>
#include <QString>

namespace pastel {

class PictureLoader;

// A poster's paper with its photos and words, `width` pixels wide with the
// paper's shape, drawn by the poster renderer from the database alone:
// nothing beside the poster is written, not even to finish a killed save.
// Null when the file is no poster database. Paints only on a QImage, so it
// runs on any thread; `loader` decodes there too.
QImage posterThumbnail(const QString& path, PictureLoader& loader, int width);

// What 開く shows for a poster: its thumbnail of the freedesktop cache's
// normal size (kept there and taken from there, as file managers do), or
// null for a file that is no poster, marked in the cache so that it is not
// read again until it changes.
QImage posterIcon(const QString& path, PictureLoader& loader);

// The thumbnailer's work: the poster at `input` as a PNG of `size` pixels
// on its longer side, written to `output` through a temporary name. False
// (and no file) when the poster cannot be read or the PNG not written.
bool writePosterThumbnail(const QString& input, const QString& output, int size);

}  // namespace pastel
