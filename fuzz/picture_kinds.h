#pragma once
// The signature of one picture kind forced onto fuzz input, so that every
// input reaches that kind's reader. Shared by the kind fuzzers and the
// corpus test that replays what they kept.
#include <QByteArray>

namespace pastel::fuzz {

// kind: 'p' PNG, 'w' WebP, 't' TIFF, 'h' HEIF.
inline QByteArray asPictureKind(QByteArray b, char kind) {
  auto put = [&b](qsizetype at, QByteArrayView s) {
    if (b.size() < at + s.size()) b.resize(at + s.size(), '\0');
    b.replace(at, s.size(), s.toByteArray());
  };
  switch (kind) {
    case 'p':
      put(0, QByteArrayView("\x89PNG\r\n\x1a\n", 8));
      break;
    case 'w':
      put(0, "RIFF");
      put(8, "WEBP");
      break;
    case 't':  // both byte orders, as the input's first byte says
      put(0, b.startsWith('M') ? QByteArrayView("MM\0*", 4) : QByteArrayView("II*\0", 4));
      break;
    case 'h':
      put(4, "ftypheic");
      break;
  }
  return b;
}

}  // namespace pastel::fuzz
