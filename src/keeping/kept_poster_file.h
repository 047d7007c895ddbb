#pragma once
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "canvas/poster_content.h"

namespace pastel {

// The step a kept poster was in.
struct KeptStep {
  int step = 1;         // 1..4
  bool opened = false;  // step 4 reached by opening a poster (its own title)
  bool operator==(const KeptStep& o) const { return step == o.step && opened == o.opened; }
  bool operator!=(const KeptStep& o) const { return !(*this == o); }
};

// Where a kept photo's picture comes back from.
enum class KeptPhotoSource : std::uint8_t {
  None = 0,    // the slot held no picture
  File = 1,    // decoded again from its file
  Broken = 2,  // the broken-picture mark for its file
};

// A kept poster as its file holds it: the content with every photo picture
// still null, and where each photo's picture comes back from. The paper's
// pictures are in the file, pixel for pixel.
struct KeptRecord {
  PosterContent content;
  KeptStep step;
  std::array<KeptPhotoSource, kSlots> photoSource{};
  std::array<QString, kSlots> photoPath;  // absolute; the file the picture was decoded from
};

// Bounds a kept file is read within; anything beyond them is refused.
constexpr qint64 kMaxKeptFileBytes = 32 * 1024 * 1024;
constexpr int kMaxKeptImageSide = 4096;
constexpr qint64 kMaxKeptImagePixels = 4 * 1024 * 1024;
// Raised by each kind added to the poster; older files still read, the
// newer kinds' slots as a fresh window has them.
constexpr int kKeptFileVersion = PosterKinds::kKeptVersion;

// The whole kept file for a poster and its step. Paper pictures are packed
// losslessly; photos are named by their files. Runs on any thread.
QByteArray encodeKeptPoster(const PosterContent& c, KeptStep step);

// Reads a kept file strictly: a file cut short, from a newer version, or
// holding anything out of bounds gives nothing and says why in `error`.
std::optional<KeptRecord> decodeKeptPoster(const QByteArray& bytes, QString* error = nullptr);

}  // namespace pastel
