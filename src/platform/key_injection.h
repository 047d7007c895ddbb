#pragma once
#include <QString>

#include "platform/virtual_keys.h"

namespace pastel {

// Synthetic key strokes for the word editor's input method. They arrive
// after the calling handler returns or yields, in the order sent, at
// whatever element has the keyboard focus then.
class KeyInjector {
 public:
  virtual ~KeyInjector() = default;

  // Gives the element with this system name the keyboard focus.
  virtual void focus(const QString& target) = 0;
  // n events: keys[i] down when ups[i] is 0, up otherwise; one uninterrupted
  // sequence.
  virtual void sendKeyEvents(int n, const int* keys, const int* ups) = 0;
  // One press of the kana-lock key; the caller lets pending events run.
  virtual void toggleKanaLock() = 0;
  virtual bool kanaLockOn() const = 0;

  // Focus to target, then one press and release of v.
  void pressKey(const QString& target, int v) {
    focus(target);
    const int keys[] = {v, v};
    const int ups[] = {0, 1};
    sendKeyEvents(2, keys, ups);
  }
  // Shift down, v down, v up, Shift up, without moving the focus.
  void sendShifted(int v) {
    const int keys[] = {vk::kShift, v, v, vk::kShift};
    const int ups[] = {0, 0, 1, 1};
    sendKeyEvents(4, keys, ups);
  }
};

}  // namespace pastel
