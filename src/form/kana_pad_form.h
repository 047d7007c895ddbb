#pragma once
#include <array>

#include "form/element.h"

namespace pastel {

// How one key of the kana pad Label1(k) looks while the pad is shown.
struct KanaKeyLook {
  const char* caption;
  float left, top, width, height;
  ColourValue back;
  float fontSize;
};
extern const std::array<KanaKeyLook, 71> kKanaKeys;

// The pad lies this far below its shown place once the editor has closed.
constexpr float kKanaPadDisplacement = 7680;

inline Rect kanaKeyCell(int k) {
  const KanaKeyLook& l = kKanaKeys[size_t(k)];
  return {l.left, l.top, l.width, l.height};
}

namespace look {
inline const Look kKanaKey = [] {
  Look l;
  l.fore = kBlack, l.centred = true, l.border = kRaisedFrame;
  return l;
}();
inline const Look kWordEditor = [] {
  Look l;
  l.fontSize = 20.25f, l.fore = kSysWindowText, l.back = kSysWindowBackground;
  l.border = kThinFrame, l.verticalScrollBar = true;
  return l;
}();
inline const Look kNextKeyOption = [] {
  Look l;
  l.back = rgb(0xe0, 0xe0, 0xe0);
  return l;
}();
}  // namespace look

}  // namespace pastel
