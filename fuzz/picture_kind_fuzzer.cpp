// One of the newer picture readers (PNG, WebP, TIFF through Qt's plugins,
// HEIF through libheif), chosen when built by PASTEL_FUZZ_KIND (see
// picture_kinds.h). The first byte picks the box to fit (bits 0-1) and, with
// its top bit set, also sends the input through a real file and
// FilePictureLoader (the HEIF reader then reads from the file itself).
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdint>

#include "picture_kinds.h"
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
  QByteArray bytes = pastel::fuzz::asPictureKind(
      QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)), PASTEL_FUZZ_KIND);
  static const QSize kBoxes[] = {QSize(119, 89), QSize(), QSize(1, 1), QSize(1400, 1000)};
  const QSize box = kBoxes[data[0] % 4];
  const auto p = pastel::decodePicture(bytes, box, "a");
  if (!p || p->broken != p->image.isNull()) __builtin_trap();
  if (box.isValid() && (p->image.width() > box.width() || p->image.height() > box.height()))
    __builtin_trap();
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  pastel::probePictureDevice(buffer);

  if (data[0] & 0x80) {
    const QString path = folder->filePath("a");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      f.write(bytes);
      f.close();
      loader->probe(path);
      if (!loader->load(path, box)) __builtin_trap();
    }
  }
  return 0;
}
