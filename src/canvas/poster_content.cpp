#include "canvas/poster_content.h"

#include "canvas/poster.h"

namespace pastel {

bool PaperContent::operator==(const PaperContent& o) const {
  // Images compare by their pixels; a shared one is found equal at once.
  return colour == o.colour && picture == o.picture && snapshot == o.snapshot && shown == o.shown;
}

bool PosterContent::operator==(const PosterContent& o) const {
  bool same = paperColourCode == o.paperColourCode && paper == o.paper;
  forEachKind([&](auto k) {
    using K = decltype(k);
    same = same && this->*K::kContents == o.*K::kContents &&
           this->*K::kContentOrder == o.*K::kContentOrder;
  });
  return same;
}

PosterContent takePosterContent(const Poster& p) {
  const MainForm& f = p.form;
  PosterContent c;
  c.paperColourCode = p.paperColourCode;
  c.paper = {f.paper.backColor(), f.paper.backPicture(), f.paper.image(), f.image2.picture,
             f.paper.marks()};
  forEachKind([&](auto k) {
    using K = decltype(k);
    for (size_t i = 0; i < kSlots; ++i) {
      (c.*K::kContents)[i] = K::take((f.*K::kSlotsOf)[i], p, i);
      (c.*K::kContentOrder)[i] = (p.*K::kStateOrder)[i];
    }
  });
  return c;
}

void applyPosterContent(Poster& p, const PosterContent& c) {
  MainForm& f = p.form;
  p.paperColourCode = c.paperColourCode;
  f.paper.restore(c.paper.colour, c.paper.picture, c.paper.shown, c.paper.marks);
  f.image2.picture = c.paper.snapshot;
  forEachKind([&](auto k) {
    using K = decltype(k);
    for (size_t i = 0; i < kSlots; ++i) {
      K::toElement((c.*K::kContents)[i], (f.*K::kSlotsOf)[i]);
      K::toState((c.*K::kContents)[i], p, i);
      (p.*K::kStateOrder)[i] = (c.*K::kContentOrder)[i];
    }
  });
  // Each kind in front of the last in stack order: the top of the stack
  // ends in front, as saving and opening have it.
  forEachKind([&](auto k) {
    using K = decltype(k);
    for (std::int16_t n : c.*K::kContentOrder)
      if (n >= 0 && n < kSlots) f.bringToFront((f.*K::kSlotsOf)[size_t(n)]);
  });
}

}  // namespace pastel
