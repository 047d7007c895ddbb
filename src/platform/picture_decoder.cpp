#include "platform/picture_decoder.h"

#include <QBuffer>

#include "platform/bmp_rle_decoder.h"
#include "platform/embedded_thumbnail.h"
#include "platform/heif_picture.h"
#include "platform/jpeg_exif.h"
#include "platform/picture_format.h"
#include "platform/picture_orientation.h"
#include "platform/picture_size.h"
#include "platform/strict_image_reader.h"
#include "platform/wmf_picture.h"

namespace pastel {

namespace {

QSize bitmapHeaderSize(QIODevice& device, PictureFormat format) {
  if (format == PictureFormat::Bmp) return bmpHeaderSize(device.peek(kBmpHeadBytes));
  const QSize size = qtHeaderSize(device, format);
  return pixelSizeAllowed(size.width(), size.height()) ? size : QSize();
}

// 8-bit and palette pixels go to 32 bits before smoothing, so a flat colour
// stays that colour instead of being dithered.
QImage toDisplayPixels(QImage image, QSize target) {
  const QImage::Format f =
      image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  if (image.format() != f) image = image.convertToFormat(f);
  if (image.size() != target)
    image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return image;
}

QImage decodeWholeFile(const QByteArray& bytes, PictureFormat format, QSize target) {
  if (format == PictureFormat::Bmp) return decodeBmp(bytes);
  if (format == PictureFormat::Jpeg && !jpegHasEnd(bytes)) return {};
  return qtReadStrictly(bytes, format, target);
}

// Sizes below are as the file stores the picture; a photo marked as taken
// on its side is turned at the end, and its box turned to match.
QImage decodeBitmap(const QByteArray& bytes, PictureFormat format, QSize natural, QSize box,
                    const JpegExif& exif) {
  const QSize target = fitWithin(natural, orientedSize(box, exif.orientation));
  QImage image;
  // The small thumbnail stands in only for a photo that is whole itself.
  if (format == PictureFormat::Jpeg && jpegHasEnd(bytes))
    image = decodeEmbeddedThumbnail(exif.thumbnail, natural, target);
  if (image.isNull()) image = decodeWholeFile(bytes, format, target);
  if (image.isNull()) return {};
  // A frame smaller or larger than the header promised is not trusted.
  if (format != PictureFormat::Jpeg && image.size() != natural) return {};
  return orientImage(toDisplayPixels(std::move(image), target), exif.orientation);
}

JpegExif exifOf(QIODevice& device, PictureFormat format) {
  return format == PictureFormat::Jpeg ? parseJpegExif(readExifSegment(device)) : JpegExif();
}

PictureRef bitmapPicture(QImage image, QSize natural, int orientation, const QString& path) {
  if (image.isNull()) return brokenPicture(path);
  auto p = std::make_shared<Picture>();
  p->path = path;
  p->image = std::move(image);
  const QSize shown = orientedSize(natural, orientation);
  p->widthHiMetric = pixelsToHiMetric(shown.width());
  p->heightHiMetric = pixelsToHiMetric(shown.height());
  return p;
}

}  // namespace

PictureRef brokenPicture(const QString& path) {
  auto p = std::make_shared<Picture>();
  p->broken = true;
  p->path = path;
  return p;
}

PictureInfo probePictureDevice(QIODevice& device) {
  PictureInfo info;
  const PictureFormat format = sniffPictureFormat(device.peek(kSniffBytes));
  if (format == PictureFormat::None) return info;
  if (format == PictureFormat::Heif) {
    const QSize size = heifPictureSize(device);
    info.usable = size.isValid();
    info.widthHiMetric = info.usable ? pixelsToHiMetric(size.width()) : 0;
    info.heightHiMetric = info.usable ? pixelsToHiMetric(size.height()) : 0;
    return info;
  }
  if (format == PictureFormat::Wmf) {
    const WmfSize s = wmfNaturalSize(device.readAll());
    info.usable = s.ok;
    info.widthHiMetric = s.widthHiMetric;
    info.heightHiMetric = s.heightHiMetric;
    return info;
  }
  const int orientation = exifOf(device, format).orientation;
  const QSize size = orientedSize(bitmapHeaderSize(device, format), orientation);
  if (!size.isValid()) return info;
  info.usable = true;
  info.widthHiMetric = pixelsToHiMetric(size.width());
  info.heightHiMetric = pixelsToHiMetric(size.height());
  return info;
}

PictureRef decodePicture(const QByteArray& bytes, QSize maxPixels, const QString& path) {
  const PictureFormat format = sniffPictureFormat(bytes.left(kSniffBytes));
  if (format == PictureFormat::None) return brokenPicture(path);
  if (format == PictureFormat::Wmf) {
    auto p = std::make_shared<Picture>();
    p->path = path;
    WmfSize size;
    p->image = renderWmf(bytes, maxPixels, &size);
    p->widthHiMetric = size.widthHiMetric;
    p->heightHiMetric = size.heightHiMetric;
    if (p->image.isNull()) return brokenPicture(path);
    return p;
  }
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  if (format == PictureFormat::Heif) return decodeHeifPicture(buffer, maxPixels, path);
  const JpegExif exif = exifOf(buffer, format);
  const QSize natural = bitmapHeaderSize(buffer, format);
  if (!natural.isValid()) return brokenPicture(path);
  return bitmapPicture(decodeBitmap(bytes, format, natural, maxPixels, exif), natural,
                       exif.orientation, path);
}

PictureRef decodeEmbeddedThumbnailOf(QIODevice& device, QSize maxPixels, const QString& path) {
  if (!maxPixels.isValid() || maxPixels.width() > kEmbeddedThumbnailUseMaxSide ||
      maxPixels.height() > kEmbeddedThumbnailUseMaxSide || device.isSequential() ||
      sniffPictureFormat(device.peek(kSniffBytes)) != PictureFormat::Jpeg)
    return nullptr;
  const JpegExif exif = exifOf(device, PictureFormat::Jpeg);
  if (exif.thumbnail.isEmpty()) return nullptr;
  const qint64 start = device.pos();
  const QSize natural = bitmapHeaderSize(device, PictureFormat::Jpeg);
  if (!natural.isValid() || !device.seek(start) || !jpegHasEnd(device)) return nullptr;
  // As decodeBitmap takes it when the whole file is at hand.
  const QSize target = fitWithin(natural, orientedSize(maxPixels, exif.orientation));
  QImage image = decodeEmbeddedThumbnail(exif.thumbnail, natural, target);
  if (image.isNull()) return nullptr;
  return bitmapPicture(orientImage(toDisplayPixels(std::move(image), target), exif.orientation),
                       natural, exif.orientation, path);
}

PictureRef decodeHeifPicture(QIODevice& device, QSize maxPixels, const QString& path) {
  HeifDecoded d = decodeHeif(device, maxPixels);
  if (d.image.isNull()) return brokenPicture(path);
  return bitmapPicture(toDisplayPixels(std::move(d.image), fitWithin(d.natural, maxPixels)),
                       d.natural, 1, path);
}

}  // namespace pastel
