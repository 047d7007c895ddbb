// One of the newer picture readers (PNG, WebP, TIFF through Qt's plugins,
// HEIF through libheif), chosen when built by PASTEL_FUZZ_KIND (see
// picture_kinds.h). The first byte picks the box to fit (bits 0-1) and, with
// its top bit set, also sends the input through a real file and
// FilePictureLoader (the HEIF reader then reads from the file itself).
#include <cstdint>

#include "picture_fuzzing.h"
#include "picture_kinds.h"

namespace {

pastel::fuzz::PictureFuzzing* fuzzing = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzzing = &pastel::fuzz::startPictureFuzzing(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  QByteArray bytes = pastel::fuzz::asPictureKind(
      QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)), PASTEL_FUZZ_KIND);
  static const QSize kBoxes[] = {QSize(119, 89), QSize(), QSize(1, 1), QSize(1400, 1000)};
  const QSize box = kBoxes[data[0] % 4];
  pastel::fuzz::checkDecoding(bytes, box, "a");

  if (data[0] & 0x80) {
    const QString path = pastel::fuzz::writeFuzzFile(*fuzzing, QStringLiteral("a"), bytes);
    if (!path.isEmpty()) {
      fuzzing->loader.probe(path);
      if (!fuzzing->loader.load(path, box)) __builtin_trap();
    }
  }
  return 0;
}
