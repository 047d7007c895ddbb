#include "words/kana_pad.h"

#include "canvas/poster.h"
#include "form/kana_pad_form.h"
#include "platform/key_injection.h"
#include "words/word_editor.h"

namespace pastel {

namespace {

using A = KanaKeyAction;

bool oneOf(const QString& kana, const char16_t* set) {
  return kana.size() == 1 && QStringView(set).contains(kana.front());
}

// The key that gives a kana's small form with Shift: the kana's own key.
int smallKanaKey(const QString& kana) {
  if (!oneOf(kana, u"あいうえおつやゆよ")) return 0;
  for (const KanaKey& key : kKanaKeys)
    if (key.sends.action == A::Kana && kana == QString::fromUtf8(key.caption)) return key.sends.vk;
  return 0;
}

}  // namespace

void kanaKeyClick(Poster& p, int k) {
  if (k < 0 || k >= kKanaKeyCount || !wordEditorOpen(p)) return;
  const KanaKey& key = kKanaKeys[size_t(k)];
  const KanaKeySends& rule = key.sends;
  if (p.awaitingNext == 1 && key.wait != kPasses) return;
  if (p.form.check1.value == 1) p.awaitingNext = 1;
  KeyInjector* keys = p.svc.keys;
  const QString editor = p.form.text3.name;
  auto press = [&](int v) {
    if (keys) keys->pressKey(editor, v);
  };
  auto setLastKana = [&] {
    p.lastKana = rule.lastKana ? QString::fromUtf8(rule.lastKana) : p.form.label1[k].caption;
  };
  switch (rule.action) {
    case A::Kana:
    case A::Press:
      setLastKana();
      press(rule.vk);
      break;
    case A::Shifted:
      setLastKana();
      if (keys) keys->sendShifted(rule.vk);
      break;
    case A::Dakuten:
      if (oneOf(p.lastKana, u"かきくけこさしすせそたちつてとはひふへほ")) {
        p.lastKana.clear();
        press(rule.vk);
      }
      break;
    case A::Handakuten:
      if (oneOf(p.lastKana, u"はひふへほ")) {
        p.lastKana.clear();
        press(rule.vk);
      }
      break;
    case A::SmallKana:
      if (const int v = smallKanaKey(p.lastKana)) {
        press(vk::kBack);
        if (keys) keys->sendShifted(v);
      }
      break;
    case A::Convert:
      press(rule.vk);
      break;
    case A::KanaLock:
      setLastKana();
      if (keys) keys->toggleKanaLock();
      yieldToEvents(p);
      break;
    case A::Next:
      break;
  }
  if (rule.endsWait) p.awaitingNext = 0;
}

}  // namespace pastel
