#pragma once
#include <QString>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "form/main_form.h"
#include "platform/colour.h"
#include "platform/picture.h"

namespace pastel {

// The kinds of thing the child places on the paper, one traits struct each:
// its slots on the form, its state on the Poster, its content in kept-file
// order, where it parks, which steps show it and how it draws. Taking and
// applying a content, the poster's comparison, the kept file, clearing, the
// wizard and the renderer go through `PosterKinds` in its order; a new kind
// is its struct here and its place in that list. The poster files (database
// and page) hold photos and words in a layout of their own.

// Which kind the selection is on.
enum class SelectedKind : std::int16_t { None = 0, Photo = 1, Word = 2 };

// How a content field is kept, and whether a change to it counts while the
// slot lies off the paper.
enum class Kept : std::uint8_t {
  Path,      // an absolute file path
  Text,      // a word's text, up to 64 KB
  Code,      // a colour code
  Twips,     // a place or size
  FontSize,  // 0..1000
  Colour,    // a colour value
  Flag,      // 0 or 1
  Picture,   // where the picture comes back from, and its file
};
enum class Counts : std::uint8_t { Always, WhenPlaced };

// Where a slot goes when it is parked: left alone, at its parked size where
// it is, to its place in the column, or to its home above it.
enum class Park : std::uint8_t { Stay, Here, Column, Home };

// The wizard's changes that park a kind's unplaced slots.
enum StepChange : int { kStepShown, kOpenedShown, kTo3, kTo4, kBackTo2, kBackTo3, kStepChanges };

// What the renderer draws for a slot.
enum class Drawing : std::uint8_t { Picture, Words };

// On the poster while the left edge is below the placement boundary.
template <class Slot>
bool isPlaced(const Slot& s) {
  return s.left < kPlacementBoundary;
}

// Two contents of a kind, field by field.
template <class K>
bool sameFields(const typename K::Content& a, const typename K::Content& b) {
  bool same = true;
  K::eachField([&](auto m, Kept, Counts) { same = same && a.*m == b.*m; });
  return same;
}

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

struct PhotoKind {
  using Content = PhotoContent;
  static constexpr const char* kName = "photo";
  static constexpr int kKeptSince = 1;  // the first kept-file version holding it

  struct State {  // on the Poster
    std::array<QString, kSlots + 1> photoFiles;
    std::array<std::int16_t, kSlots + 1> photoEnlarged{};
    std::array<std::int16_t, 21> photoStackOrder{};  // entries 0..9 used
    void setStartValues() {
      for (int i = 0; i < kSlots; ++i) photoStackOrder[size_t(i)] = std::int16_t(i);
    }
  };
  struct Contents {  // in the PosterContent
    std::array<PhotoContent, kSlots> photos;
    std::array<std::int16_t, kSlots> photoStackOrder{};  // bottom to top
  };
  static constexpr auto kSlotsOf = &MainForm::image3;  // one more: the overflow slot
  static constexpr auto kContents = &Contents::photos;
  static constexpr auto kContentOrder = &Contents::photoStackOrder;
  static constexpr auto kStateOrder = &State::photoStackOrder;
  static constexpr auto kPictureFile = &PhotoContent::file;  // when the picture names none

  template <class F>
  static void eachField(F&& f) {
    f(&Content::file, Kept::Path, Counts::WhenPlaced);
    f(&Content::left, Kept::Twips, Counts::WhenPlaced);
    f(&Content::top, Kept::Twips, Counts::WhenPlaced);
    f(&Content::width, Kept::Twips, Counts::WhenPlaced);
    f(&Content::height, Kept::Twips, Counts::WhenPlaced);
    f(&Content::enlarged, Kept::Flag, Counts::WhenPlaced);
    f(&Content::picture, Kept::Picture, Counts::WhenPlaced);
  }
  static Content take(const Element& e, const State& s, size_t i) {
    return {s.photoFiles[i], e.left, e.top, e.width, e.height, e.picture, s.photoEnlarged[i]};
  }
  static void toElement(const Content& c, Element& e) {
    e.left = c.left, e.top = c.top, e.width = c.width, e.height = c.height;
    e.picture = c.picture;
  }
  static void toState(const Content& c, State& s, size_t i) {
    s.photoFiles[i] = c.file;
    s.photoEnlarged[i] = c.enlarged;
  }

  // A photo has one place off the paper, where Column and Home both go.
  static void park(Element& e, int, Park where) {
    if (where == Park::Stay) return;
    e.height = kParkedPhotoHeight;
    e.width = kParkedPhotoWidth;
    if (where != Park::Here) e.left = kParkedPhotoLeft;
  }
  // Per StepChange: shown, opened, to 3, to 4, back to 2, back to 3.
  static constexpr Park kParking[kStepChanges] = {Park::Here, Park::Here, Park::Here,
                                                  Park::Here, Park::Stay, Park::Stay};
  static bool shows(int step, bool placed) { return step > 1 && placed; }
  static constexpr int kClearedInStep = 2;
  static constexpr Drawing kDrawing = Drawing::Picture;
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

struct WordKind {
  using Content = WordContent;
  static constexpr const char* kName = "word";
  static constexpr int kKeptSince = 1;  // the first kept-file version holding it

  struct State {  // on the Poster; colour codes as recorded for the poster files
    std::array<QString, kSlots + 1> wordTextColourCodes;  // entry 10 is never written
    std::array<QString, kSlots + 1> wordFrameColourCodes;
    std::array<std::int16_t, 21> wordStackOrder{};  // entries 0..9 used
    void setStartValues() {
      for (size_t i = 0; i < kSlots; ++i) {
        wordStackOrder[i] = std::int16_t(i);
        wordFrameColourCodes[i] = QStringLiteral("#ffffff");
        wordTextColourCodes[i] = QStringLiteral("#000000");
      }
    }
  };
  struct Contents {  // in the PosterContent
    std::array<WordContent, kSlots> words;
    std::array<std::int16_t, kSlots> wordStackOrder{};  // bottom to top
  };
  static constexpr auto kSlotsOf = &MainForm::text1;
  static constexpr auto kContents = &Contents::words;
  static constexpr auto kContentOrder = &Contents::wordStackOrder;
  static constexpr auto kStateOrder = &State::wordStackOrder;

  // A word's text and colours are the child's work wherever it lies.
  template <class F>
  static void eachField(F&& f) {
    f(&Content::text, Kept::Text, Counts::Always);
    f(&Content::left, Kept::Twips, Counts::WhenPlaced);
    f(&Content::top, Kept::Twips, Counts::WhenPlaced);
    f(&Content::width, Kept::Twips, Counts::WhenPlaced);
    f(&Content::height, Kept::Twips, Counts::WhenPlaced);
    f(&Content::fontSize, Kept::FontSize, Counts::WhenPlaced);
    f(&Content::textColour, Kept::Colour, Counts::Always);
    f(&Content::frameColour, Kept::Colour, Counts::Always);
    f(&Content::textCode, Kept::Code, Counts::Always);
    f(&Content::frameCode, Kept::Code, Counts::Always);
  }
  static Content take(const Element& e, const State& s, size_t i) {
    return {e.caption,
            e.left,
            e.top,
            e.width,
            e.height,
            e.fontSize,
            e.foreColor,
            e.backColor,
            s.wordTextColourCodes[i],
            s.wordFrameColourCodes[i]};
  }
  static void toElement(const Content& c, Element& e) {
    e.caption = c.text;
    e.left = c.left, e.top = c.top, e.width = c.width, e.height = c.height;
    e.fontSize = c.fontSize;
    e.foreColor = c.textColour;
    e.backColor = c.frameColour;
  }
  static void toState(const Content& c, State& s, size_t i) {
    s.wordTextColourCodes[i] = c.textCode;
    s.wordFrameColourCodes[i] = c.frameCode;
  }

  static void park(Element& e, int i, Park where) {
    if (where == Park::Stay) return;
    e.height = kParkedWordHeight;
    e.width = kParkedWordWidth;
    e.fontSize = kParkedWordFontSize;
    if (where == Park::Here) return;
    e.left = kWordColumnLeft;
    e.top = where == Park::Column ? wordColumnTop(i) : wordHomeTop(i);
  }
  // Per StepChange: shown, opened, to 3, to 4, back to 2, back to 3.
  static constexpr Park kParking[kStepChanges] = {Park::Here,   Park::Column, Park::Stay,
                                                  Park::Column, Park::Here,   Park::Column};
  // The word step shows every word, for the child to pick from.
  static bool shows(int step, bool placed) { return step == 3 || (step > 1 && placed); }
  static constexpr int kClearedInStep = 3;
  static constexpr Drawing kDrawing = Drawing::Words;
};

inline bool PhotoContent::operator==(const PhotoContent& o) const {
  return sameFields<PhotoKind>(*this, o);
}
inline bool WordContent::operator==(const WordContent& o) const {
  return sameFields<WordKind>(*this, o);
}

// The kinds in the order the kept file, stacking and drawing go through
// them: a later kind lies in front of an earlier one. A kind added later
// goes last, with a kKeptSince one above the latest.
template <class... K>
struct KindList {
  template <class F>
  static void each(F&& f) {
    (f(K{}), ...);
  }
  struct States : K::State... {};
  struct Contents : K::Contents... {};
  static constexpr int kKeptVersion = std::max({K::kKeptSince...});
};
using PosterKinds = KindList<PhotoKind, WordKind>;

// Calls f(K{}) for each kind K in order.
template <class F>
void forEachKind(F&& f) {
  PosterKinds::each(f);
}

}  // namespace pastel
