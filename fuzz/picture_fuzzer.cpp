// Feeds arbitrary bytes to the picture reader. The first byte picks the
// file name's extension (bits 0-2; the content decides the format, so the
// name must never matter) and the box to fit (bits 3-4); inputs whose first
// byte has the top bit set also go through a real file and FilePictureLoader.
#include <cstdint>

#include "picture_fuzzing.h"

namespace {

pastel::fuzz::PictureFuzzing* fuzzing = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzzing = &pastel::fuzz::startPictureFuzzing(argc, argv);
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
  pastel::fuzz::checkDecoding(bytes, box, name);

  if (data[0] & 0x80) {
    const QString path = pastel::fuzz::writeFuzzFile(*fuzzing, name, bytes);
    if (!path.isEmpty()) {
      fuzzing->loader.probe(path);
      fuzzing->loader.loadEach({path, path}, QSize(119, 89), [](int, pastel::PictureRef p) {
        if (!p) __builtin_trap();
      });
    }
  }
  return 0;
}
