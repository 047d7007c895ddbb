#pragma once
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

#include "canvas/poster_kinds.h"
#include "form/main_form.h"
#include "platform/colour.h"
#include "platform/picture.h"

namespace pastel {

struct Poster;

// The paper: its colour and background picture, what it shows with the
// lines drawn on it (null: colour and picture alone) with those lines as
// marks (kept in memory only: a paper read from a file has its pixels
// alone), and the snapshot the photos and words lie on from the photo step
// on.
struct PaperContent {
  ColourValue colour = 0;
  PictureRef picture;
  QImage shown;
  PictureRef snapshot;
  PaperMarks marks;
  bool operator==(const PaperContent& o) const;
  bool operator!=(const PaperContent& o) const { return !(*this == o); }
};

// What a poster is, as one value: cheap to copy (pictures and images are
// shared), compared field by field. Each kind's slots and stack order come
// from its Contents (`photos`, `photoStackOrder`, `words`, `wordStackOrder`).
struct PosterContent : PosterKinds::Contents {
  QString paperColourCode;
  PaperContent paper;
  bool operator==(const PosterContent& o) const;
  bool operator!=(const PosterContent& o) const { return !(*this == o); }
};

// The content as the window holds it now. No yield; nothing changes.
PosterContent takePosterContent(const Poster& p);

// Puts a content on the window: places, sizes, pictures, texts, colours,
// codes and stacking (each kind brought to the front bottom to top). No
// yield; the step, the control sets, the selection and which slots are
// shown are left as they are.
void applyPosterContent(Poster& p, const PosterContent& c);

}  // namespace pastel
