// Feeds arbitrary bytes to the picture reader. The first byte picks the
// file name's extension (bits 0-2; the content decides the format, so the
// name must never matter) and the box to fit (bits 3-4); inputs whose first
// byte has the top bit set also go through a real file and FilePictureLoader.
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdint>

#include "platform/file_picture_loader.h"
#include "platform/picture_decoder.h"

namespace {

QTemporaryDir* folder = nullptr;
pastel::FilePictureLoader* loader = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  folder = new QTemporaryDir;
  loader = new pastel::FilePictureLoader;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const char* const kNames[] = {"a.bmp", "a.BMP", "a.dib", "a.rle",
                                       "a.jpg", "a.JPG", "a.gif", "a.wmf"};
  const QString name = QString::fromLatin1(kNames[data[0] % 8]);
  QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));

  static const QSize kBoxes[] = {QSize(119, 89), QSize(), QSize(1, 1), QSize(4000, 3000)};
  const QSize box = kBoxes[(data[0] >> 3) % 4];
  const auto p = pastel::decodePicture(bytes, box, name);
  if (!p || p->broken != p->image.isNull()) __builtin_trap();
  if (box.isValid() && (p->image.width() > box.width() || p->image.height() > box.height()))
    __builtin_trap();
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  pastel::probePictureDevice(buffer);

  if (data[0] & 0x80) {
    const QString path = folder->filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      f.write(bytes);
      f.close();
      loader->probe(path);
      loader->loadEach({path, path}, QSize(119, 89), [](int, pastel::PictureRef p) {
        if (!p) __builtin_trap();
      });
    }
  }
  return 0;
}
