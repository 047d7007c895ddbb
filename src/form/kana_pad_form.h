#pragma once
#include <array>

#include "form/element.h"

namespace pastel {

// What a key of the kana pad sends into the word editor.
enum class KanaKeyAction {
  Kana,        // LastKana = the key's caption, then the key
  Shifted,     // LastKana as given, then Shift + key, focus unmoved
  Press,       // LastKana as given, then the key
  Dakuten,     // after か..ほ only
  Handakuten,  // after は..ほ only
  SmallKana,   // ← then Shift + the kana's key, after あいうえおつやゆよ
  Convert,     // the key, LastKana kept
  KanaLock,    // the kana-lock key, then pending events run
  Next,        // つぎ: nothing but the end of the wait
};
struct KanaKeySends {
  KanaKeyAction action;
  int vk;                // virtual key
  const char* lastKana;  // for Shifted and Press; nullptr: the caption
  bool endsWait;         // AwaitingNext = 0 after the action
};

// One key Label1(k) of the pad: how it looks while shown, whether the
// next-key option lets it through, and what it sends.
enum KanaKeyWait : bool { kWaits = false, kPasses = true };
struct KanaKey {
  const char* caption;
  Rect place;
  ColourValue back;
  float fontSize;
  KanaKeyWait wait;
  KanaKeySends sends;
};
inline constexpr int kKanaKeyCount = 71;
inline constexpr int kNextKey = 70;  // つぎ: shown only with the next-key option
extern const std::array<KanaKey, kKanaKeyCount> kKanaKeys;

// The pad lies this far below its shown place once the editor has closed.
constexpr float kKanaPadDisplacement = 7680;

inline Rect kanaKeyCell(int k) { return kKanaKeys[size_t(k)].place; }

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
