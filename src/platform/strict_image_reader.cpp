#include "platform/strict_image_reader.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <atomic>
#include <mutex>

namespace pastel {

namespace {

// Qt reports decoder trouble only through its message handler. One handler
// is installed for the process; it counts the messages of the threads that
// are reading a picture and passes everything else on.
thread_local int* tlWarnings = nullptr;
std::atomic<QtMessageHandler> previousHandler{nullptr};

void countingHandler(QtMsgType type, const QMessageLogContext& ctx, const QString& msg) {
  if (tlWarnings && (type == QtWarningMsg || type == QtCriticalMsg)) {
    ++*tlWarnings;
    return;
  }
  if (QtMessageHandler next = previousHandler.load()) next(type, ctx, msg);
}

class WarningCount {
 public:
  WarningCount() {
    static std::once_flag once;
    std::call_once(once, [] { previousHandler = qInstallMessageHandler(countingHandler); });
    tlWarnings = &count;
  }
  ~WarningCount() { tlWarnings = nullptr; }
  WarningCount(const WarningCount&) = delete;
  WarningCount& operator=(const WarningCount&) = delete;
  int count = 0;
};

}  // namespace

QSize qtHeaderSize(QIODevice& device, PictureFormat format) {
  QImageReader reader(&device, qtFormatName(format));
  reader.setAutoDetectImageFormat(false);
  WarningCount warnings;
  const QSize size = reader.size();
  return warnings.count ? QSize() : size;
}

QImage qtReadStrictly(const QByteArray& bytes, PictureFormat format, QSize size) {
  QBuffer buffer;
  buffer.setData(bytes);
  if (!buffer.open(QIODevice::ReadOnly)) return {};
  QImageReader reader(&buffer, qtFormatName(format));
  reader.setAutoDetectImageFormat(false);
  // The loader turns photos itself, from the orientation libexif reads.
  reader.setAutoTransform(false);
  // libjpeg scales by 1/2, 1/4 or 1/8 while decoding; the rest is smoothed.
  if (format == PictureFormat::Jpeg && size.isValid()) reader.setScaledSize(size);
  WarningCount warnings;
  QImage image;
  if (!reader.read(&image) || warnings.count) return {};
  return image;
}

bool jpegHasEnd(const QByteArray& bytes) {
  // Walk the marker segments to the first start of scan (an EXIF thumbnail
  // with its own end marker is skipped whole), then look for the end marker
  // from the back: in a whole file it is found at once.
  auto u8 = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
  qsizetype pos = 2;
  while (true) {
    if (pos + 4 > bytes.size() || u8(pos) != 0xFF) return false;
    const unsigned marker = u8(pos + 1);
    if (marker == 0xFF) {
      ++pos;
    } else if (marker == 0xDA) {
      break;
    } else if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
      pos += 2;
    } else {
      const qsizetype length = qsizetype(u8(pos + 2)) << 8 | u8(pos + 3);
      if (length < 2) return false;
      pos += 2 + length;
    }
  }
  return bytes.lastIndexOf(QByteArrayView("\xFF\xD9", 2)) > pos;
}

bool jpegHasEnd(QIODevice& device) {
  if (device.isSequential()) return false;
  const qint64 start = device.pos();
  const qint64 size = device.size();
  // The same walk as above, one segment header read at a time; a file with
  // more markers or fill bytes than a camera writes is left to the walk in
  // memory.
  qint64 pos = 2;
  bool scan = false;
  for (int markers = 0; !scan && markers < kJpegMarkersWalked; ++markers) {
    uchar head[4];
    if (pos + 4 > size || !device.seek(pos) || device.read(reinterpret_cast<char*>(head), 4) != 4 ||
        head[0] != 0xFF)
      break;
    if (head[1] == 0xFF) {
      ++pos;
    } else if (head[1] == 0xDA) {
      scan = true;
    } else if (head[1] == 0x01 || (head[1] >= 0xD0 && head[1] <= 0xD8)) {
      pos += 2;
    } else {
      const qint64 length = qint64(head[2]) << 8 | head[3];
      if (length < 2) break;
      pos += 2 + length;
    }
  }
  bool end = false;
  if (scan) {
    const qint64 from = std::max(pos, size - kJpegTailBytes);
    if (device.seek(from)) {
      const QByteArray tail = device.read(size - from);
      const qsizetype at = tail.lastIndexOf(QByteArrayView("\xFF\xD9", 2));
      end = at >= 0 && from + at > pos;
    }
  }
  device.seek(start);
  return end;
}

}  // namespace pastel
