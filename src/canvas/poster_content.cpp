#include "canvas/poster_content.h"

#include "canvas/poster.h"

namespace pastel {

bool PhotoContent::operator==(const PhotoContent& o) const {
  return file == o.file && left == o.left && top == o.top && width == o.width &&
         height == o.height && picture == o.picture && enlarged == o.enlarged;
}

bool WordContent::operator==(const WordContent& o) const {
  return text == o.text && left == o.left && top == o.top && width == o.width &&
         height == o.height && fontSize == o.fontSize && textColour == o.textColour &&
         frameColour == o.frameColour && textCode == o.textCode && frameCode == o.frameCode;
}

bool PaperContent::operator==(const PaperContent& o) const {
  // Images compare by their pixels; a shared one is found equal at once.
  return colour == o.colour && picture == o.picture && snapshot == o.snapshot && shown == o.shown;
}

bool PosterContent::operator==(const PosterContent& o) const {
  return paperColourCode == o.paperColourCode && paper == o.paper && photos == o.photos &&
         words == o.words && photoStackOrder == o.photoStackOrder &&
         wordStackOrder == o.wordStackOrder;
}

bool isPlaced(const PhotoContent& c) { return c.left < kPlacementBoundary; }
bool isPlaced(const WordContent& c) { return c.left < kPlacementBoundary; }

PosterContent takePosterContent(const Poster& p) {
  const MainForm& f = p.form;
  PosterContent c;
  c.paperColourCode = p.paperColourCode;
  c.paper = {f.paper.backColor(), f.paper.backPicture(), f.paper.image(), f.image2.picture,
             f.paper.marks()};
  for (size_t i = 0; i < kSlots; ++i) {
    const Element& e = f.image3[i];
    c.photos[i] = {p.photoFiles[i],   e.left, e.top, e.width, e.height, e.picture,
                   p.photoEnlarged[i]};
    const Element& w = f.text1[i];
    c.words[i] = {w.caption,
                  w.left,
                  w.top,
                  w.width,
                  w.height,
                  w.fontSize,
                  w.foreColor,
                  w.backColor,
                  p.wordTextColourCodes[i],
                  p.wordFrameColourCodes[i]};
    c.photoStackOrder[i] = p.photoStackOrder[i];
    c.wordStackOrder[i] = p.wordStackOrder[i];
  }
  return c;
}

void applyPosterContent(Poster& p, const PosterContent& c) {
  MainForm& f = p.form;
  p.paperColourCode = c.paperColourCode;
  f.paper.restore(c.paper.colour, c.paper.picture, c.paper.shown, c.paper.marks);
  f.image2.picture = c.paper.snapshot;
  for (size_t i = 0; i < kSlots; ++i) {
    const PhotoContent& ph = c.photos[i];
    Element& e = f.image3[i];
    p.photoFiles[i] = ph.file;
    e.left = ph.left, e.top = ph.top, e.width = ph.width, e.height = ph.height;
    e.picture = ph.picture;
    p.photoEnlarged[i] = ph.enlarged;
    const WordContent& wc = c.words[i];
    Element& w = f.text1[i];
    w.caption = wc.text;
    w.left = wc.left, w.top = wc.top, w.width = wc.width, w.height = wc.height;
    w.fontSize = wc.fontSize;
    w.foreColor = wc.textColour;
    w.backColor = wc.frameColour;
    p.wordTextColourCodes[i] = wc.textCode;
    p.wordFrameColourCodes[i] = wc.frameCode;
    p.photoStackOrder[i] = c.photoStackOrder[i];
    p.wordStackOrder[i] = c.wordStackOrder[i];
  }
  // Each kind in front of the last in stack order: the top of the stack
  // ends in front, as saving and opening have it.
  for (std::int16_t k : c.photoStackOrder)
    if (k >= 0 && k < kSlots) f.bringToFront(f.image3[size_t(k)]);
  for (std::int16_t k : c.wordStackOrder)
    if (k >= 0 && k < kSlots) f.bringToFront(f.text1[size_t(k)]);
}

}  // namespace pastel
