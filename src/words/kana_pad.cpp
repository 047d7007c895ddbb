#include "words/kana_pad.h"

#include <array>

#include "canvas/poster.h"
#include "platform/key_injection.h"
#include "words/word_editor.h"

namespace pastel {

namespace {

using A = KanaKeyAction;

constexpr KanaKeyRule kana(int v) { return {A::Kana, v, nullptr, false}; }

// Indexed by key number; the layout is in form/kana_pad_form.cpp.
const std::array<KanaKeyRule, 71> kRules{{
    kana(51),
    kana(69),
    kana(52),
    kana(53),
    kana(54),  // あ い う え お
    kana(84),
    kana(71),
    kana(72),
    kana(186),
    kana(66),  // か き く け こ
    kana(88),
    kana(68),
    kana(82),
    kana(80),
    kana(67),  // さ し す せ そ
    kana(81),
    kana(65),
    kana(90),
    kana(87),
    kana(83),  // た ち つ て と
    kana(85),
    kana(73),
    kana(49),
    kana(188),
    kana(75),  // な に ぬ ね の
    kana(70),
    kana(86),
    kana(50),
    kana(222),
    kana(189),  // は ひ ふ へ ほ
    kana(74),
    kana(78),
    kana(221),
    kana(191),
    kana(77),  // ま み む め も
    kana(55),
    kana(56),
    kana(57),                              // や ゆ よ
    {A::Dakuten, 192, nullptr, false},     // ゛
    {A::Handakuten, 219, nullptr, false},  // ゜
    kana(79),
    kana(76),
    kana(190),
    kana(187),
    kana(226),                         // ら り る れ ろ
    kana(48),                          // わ
    {A::Shifted, 48, "を", false},     // を
    kana(89),                          // ん
    {A::Shifted, 188, "", false},      // 、
    {A::Shifted, 190, "", false},      // 。
    {A::SmallKana, 0, nullptr, true},  // こ　もじ
    kana(97),
    kana(98),
    kana(99),
    kana(100),
    kana(101),  // １ .. ５
    kana(102),
    kana(103),
    kana(104),
    kana(105),
    kana(96),                                   // ６ .. ９ ０
    {A::Convert, vk::kConvert, nullptr, true},  // 漢　　字
    {A::Press, vk::kSpace, "", false},          // space bar
    {A::Press, vk::kBack, "", true},            // ←
    {A::Press, vk::kReturn, "", true},          // ＯＫ
    {A::Press, vk::kF7, "", true},              // カタカナ
    {A::Press, vk::kF6, "", true},              // ひらがな
    {A::Shifted, 220, "ー", false},             // ー
    {A::Press, vk::kDelete, "", true},          // け　　す
    {A::KanaLock, vk::kKanaLock, "", true},         // カナ入力きりかえ
    {A::Next, 0, nullptr, true},                // つぎ
}};

// Keys the next-key option never holds back.
bool passesTheWait(int k) {
  switch (k) {
    case 38:
    case 39:
    case 50:
    case 61:
    case 63:
    case 64:
    case 65:
    case 66:
    case 68:
    case 69:
    case 70:
      return true;
    default:
      return false;
  }
}

bool oneOf(const QString& kana, const char16_t* set) {
  return kana.size() == 1 && QStringView(set).contains(kana.front());
}

// The key that gives a kana's small form with Shift.
int smallKanaKey(const QString& kana) {
  static const struct {
    char16_t kana;
    int vk;
  } kSmall[] = {{u'あ', 51}, {u'い', 69}, {u'う', 52}, {u'え', 53}, {u'お', 54},
                {u'つ', 90}, {u'や', 55}, {u'ゆ', 56}, {u'よ', 57}};
  if (kana.size() != 1) return 0;
  for (const auto& s : kSmall)
    if (kana.front() == QChar(s.kana)) return s.vk;
  return 0;
}

}  // namespace

const KanaKeyRule& kanaKeyRule(int k) { return kRules[size_t(k)]; }

void kanaKeyClick(Poster& p, int k) {
  if (k < 0 || k > 70 || !wordEditorOpen(p)) return;
  const KanaKeyRule& rule = kRules[size_t(k)];
  if (p.awaitingNext == 1 && !passesTheWait(k)) return;
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
