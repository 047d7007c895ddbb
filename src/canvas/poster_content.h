#pragma once
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

#include "form/main_form.h"
#include "platform/colour.h"
#include "platform/picture.h"

namespace pastel {

struct Poster;

// One photo slot as the poster holds it. The decoded picture is shared
// between copies, never copied.
struct PhotoContent {
  QString file;  // PhotoFiles entry
  float left = 0, top = 0, width = 0, height = 0;
  PictureRef picture;
  std::int16_t enlarged = 0;  // PhotoEnlarged
  bool operator==(const PhotoContent& o) const;
  bool operator!=(const PhotoContent& o) const { return !(*this == o); }
};

// One word slot: its text, place, size, type and colours with their codes.
struct WordContent {
  QString text;
  float left = 0, top = 0, width = 0, height = 0, fontSize = 0;
  ColourValue textColour = 0, frameColour = 0;
  QString textCode, frameCode;
  bool operator==(const WordContent& o) const;
  bool operator!=(const WordContent& o) const { return !(*this == o); }
};

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
// shared), compared field by field.
struct PosterContent {
  QString paperColourCode;
  PaperContent paper;
  std::array<PhotoContent, kSlots> photos;
  std::array<WordContent, kSlots> words;
  std::array<std::int16_t, kSlots> photoStackOrder{};  // bottom to top
  std::array<std::int16_t, kSlots> wordStackOrder{};
  bool operator==(const PosterContent& o) const;
  bool operator!=(const PosterContent& o) const { return !(*this == o); }
};

// On the poster while the left edge is below the placement boundary.
bool isPlaced(const PhotoContent& c);
bool isPlaced(const WordContent& c);

// The content as the window holds it now. No yield; nothing changes.
PosterContent takePosterContent(const Poster& p);

// Puts a content on the window: places, sizes, pictures, texts, colours,
// codes and stacking (each kind brought to the front bottom to top). No
// yield; the step, the control sets, the selection and which slots are
// shown are left as they are.
void applyPosterContent(Poster& p, const PosterContent& c);

}  // namespace pastel
