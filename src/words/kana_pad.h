#pragma once
#include <QString>

namespace pastel {

struct Poster;

// Click on kana key Label1(k), k = 0..70: the key strokes a JIS keyboard in
// kana mode would send for it, into the word editor.
void kanaKeyClick(Poster& p, int k);

// What a key sends, for the table of keys.
enum class KanaKeyAction {
  Kana,        // LastKana = the key's kana, then the key
  Shifted,     // LastKana as given, then Shift + key, focus unmoved
  Press,       // LastKana as given, then the key
  Dakuten,     // after か..ほ only
  Handakuten,  // after は..ほ only
  SmallKana,   // ← then Shift + the kana's key, after あいうえおつやゆよ
  Convert,     // the key, LastKana kept
  KanaLock,    // the kana-lock key, then pending events run
  Next,        // つぎ: nothing but the end of the wait
};
struct KanaKeyRule {
  KanaKeyAction action;
  int vk;
  const char* lastKana;  // for Shifted and Press; nullptr: the caption
  bool endsWait;         // AwaitingNext = 0 after the action
};
const KanaKeyRule& kanaKeyRule(int k);

}  // namespace pastel
