#pragma once
#include <QString>
#include <optional>

#include "canvas/poster_content.h"

namespace pastel {

class PictureLoader;

// A poster database read whole, or why it is none.
struct PosterRead {
  std::optional<PosterContent> content;
  QString error;  // what was wrong with the file, for a person looking into it
};

// Reads the poster database at `path` into a content over `base` (what the
// file does not hold stays as in `base`): record i into slot i, each stored
// path resolved inside the file's folder and its photo decoded through
// `loader` (a missing or refused one shows the broken mark), the paper
// bitmap as the paper's picture and snapshot. A file that is not a whole
// poster database gives no content. A save of this poster that was killed
// halfway is finished first; nothing else beside the poster is written.
PosterRead readPosterFile(const QString& path, PictureLoader* loader, const PosterContent& base);

// The same read, writing nothing at all: a killed save is left as it is
// (a thumbnail of a poster that came from elsewhere).
PosterRead readPosterContent(const QString& path, PictureLoader* loader, const PosterContent& base);

}  // namespace pastel
