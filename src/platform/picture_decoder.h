#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QSize>
#include <QString>

#include "platform/picture.h"
#include "platform/picture_loader.h"

namespace pastel {

// Reads what a picture's header says from an open, seekable device; only
// a metafile without a placeable header is read to the end.
PictureInfo probePictureDevice(QIODevice& device);

// Decodes the bytes of a picture file fitted into maxPixels (see
// PictureLoader::load). Never null; broken files give broken pictures.
PictureRef decodePicture(const QByteArray& bytes, QSize maxPixels, const QString& path = {});

// A picture wanted no larger than a strip cell, from a JPEG photo's embedded
// thumbnail, read from an open, seekable device: the segments before the
// first scan and the file's last bytes only, not the photo. Null when the
// thumbnail cannot stand in; decodePicture of the whole file then gives
// the picture (the same one where this one is not null).
PictureRef decodeEmbeddedThumbnailOf(QIODevice& device, QSize maxPixels, const QString& path = {});

// A HEIF/HEIC picture from an open, seekable device, as decodePicture gives
// it; libheif reads only the parts it needs (a strip cell: the thumbnail).
PictureRef decodeHeifPicture(QIODevice& device, QSize maxPixels, const QString& path = {});

// The picture a file that cannot be used stands for.
PictureRef brokenPicture(const QString& path);

}  // namespace pastel
