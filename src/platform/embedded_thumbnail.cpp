#include "platform/embedded_thumbnail.h"

#include <QBuffer>
#include <cmath>

#include "platform/picture_format.h"
#include "platform/strict_image_reader.h"

namespace pastel {

namespace {

bool sameShape(QSize a, QSize b) {
  const double ratio = double(a.width()) * b.height() / (double(a.height()) * b.width());
  return std::abs(ratio - 1.0) <= 0.02;
}

QSize thumbnailHeaderSize(const QByteArray& thumbnail) {
  if (sniffPictureFormat(thumbnail.left(kSniffBytes)) != PictureFormat::Jpeg) return {};
  QBuffer buffer;
  buffer.setData(thumbnail);
  if (!buffer.open(QIODevice::ReadOnly)) return {};
  const QSize size = qtHeaderSize(buffer, PictureFormat::Jpeg);
  return pixelSizeAllowed(size.width(), size.height()) ? size : QSize();
}

}  // namespace

QImage decodeEmbeddedThumbnail(const QByteArray& thumbnail, QSize photoSize, QSize target) {
  if (thumbnail.isEmpty() || target.isEmpty() || !photoSize.isValid()) return {};
  if (target.width() > kEmbeddedThumbnailUseMaxSide ||
      target.height() > kEmbeddedThumbnailUseMaxSide)
    return {};
  if (target.width() >= photoSize.width() && target.height() >= photoSize.height()) return {};
  const QSize size = thumbnailHeaderSize(thumbnail);
  if (!size.isValid() || size.width() < target.width() || size.height() < target.height() ||
      !sameShape(size, photoSize) || !jpegHasEnd(thumbnail))
    return {};
  QImage image = qtReadStrictly(thumbnail, PictureFormat::Jpeg, target);
  // A thumbnail whose frame is not what its header said is not used either.
  return image.size() == target ? image : QImage();
}

}  // namespace pastel
