#include "platform/strict_image_reader.h"

#include <QBuffer>
#include <QImageReader>
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
  // libjpeg scales by 1/2, 1/4 or 1/8 while decoding; the rest is smoothed.
  if (format == PictureFormat::Jpeg && size.isValid()) reader.setScaledSize(size);
  WarningCount warnings;
  QImage image;
  if (!reader.read(&image) || warnings.count) return {};
  return image;
}

bool jpegHasEnd(const QByteArray& bytes) {
  // Entropy-coded data never holds these markers, so the last start of scan
  // is the main picture's even when an EXIF thumbnail sits in front.
  const qsizetype sos = bytes.lastIndexOf(QByteArrayView("\xFF\xDA", 2));
  return sos >= 0 && bytes.indexOf(QByteArrayView("\xFF\xD9", 2), sos + 2) >= 0;
}

}  // namespace pastel
