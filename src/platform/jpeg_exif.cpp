#include "platform/jpeg_exif.h"

#include <libexif/exif-data.h>

#include "platform/picture_orientation.h"

namespace pastel {

namespace {

// Cameras write the EXIF block first or right after JFIF; a file with more
// markers (fill bytes counted) than this before it is not walked further.
constexpr int kMaxMarkersWalked = 256;

bool readExact(QIODevice& device, char* out, qint64 n) { return device.read(out, n) == n; }

QByteArray findExif(QIODevice& device) {
  char head[4];
  if (!readExact(device, head, 2) || uchar(head[0]) != 0xFF || uchar(head[1]) != 0xD8) return {};
  for (int markers = 0; markers < kMaxMarkersWalked; ++markers) {
    if (!readExact(device, head, 2) || uchar(head[0]) != 0xFF) return {};
    const uchar marker = uchar(head[1]);
    if (marker == 0xFF) {  // fill byte: the marker follows
      device.seek(device.pos() - 1);
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return {};  // scan data or the end: no EXIF
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;
    if (!readExact(device, head, 2)) return {};
    const int length = (uchar(head[0]) << 8 | uchar(head[1])) - 2;
    if (length < 0) return {};
    const qint64 next = device.pos() + length;
    if (next > device.size()) return {};  // a segment cut off: no EXIF past it either
    if (marker == 0xE1 && length >= 6) {
      QByteArray payload = device.read(length);
      if (payload.size() != length) return {};
      if (payload.startsWith(QByteArrayView("Exif\0\0", 6))) return payload;
    }
    if (!device.seek(next)) return {};
  }
  return {};
}

}  // namespace

QByteArray readExifSegment(QIODevice& device) {
  if (device.isSequential() || !device.isReadable()) return {};
  const qint64 start = device.pos();
  QByteArray exif = findExif(device);
  device.seek(start);
  return exif;
}

JpegExif parseJpegExif(const QByteArray& exifSegment) {
  JpegExif out;
  if (exifSegment.size() < 6 + 8 || exifSegment.size() > 6 + kMaxExifBytes) return out;
  ExifData* data = exif_data_new();
  if (!data) return out;
  // Loading must not add or "fix" tags: we only read two things.
  exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_load_data(data, reinterpret_cast<const unsigned char*>(exifSegment.constData()),
                      unsigned(exifSegment.size()));
  // The first IFD describes the photo; the thumbnail's IFD may carry a tag
  // of its own, which is not the photo's.
  if (ExifEntry* e = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION)) {
    if (e->format == EXIF_FORMAT_SHORT && e->components >= 1 && e->data && e->size >= 2)
      out.orientation = usableOrientation(exif_get_short(e->data, exif_data_get_byte_order(data)));
  }
  if (data->data && data->size > 0 && data->size <= unsigned(kMaxExifBytes))
    out.thumbnail = QByteArray(reinterpret_cast<const char*>(data->data), qsizetype(data->size));
  exif_data_unref(data);
  return out;
}

}  // namespace pastel
