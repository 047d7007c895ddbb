#include "form/kana_pad_form.h"

#include "platform/virtual_keys.h"

namespace pastel {

namespace {
using A = KanaKeyAction;
constexpr bool kEndsWait = true;
constexpr KanaKeySends kana(int v) { return {A::Kana, v, nullptr, false}; }
}  // namespace

// The spaces in " ゛", " ゜" (ASCII) and in こ　もじ, 漢　　字, け　　す (U+3000) are
// part of the captions. The virtual keys are a JIS keyboard's in kana mode.
const std::array<KanaKey, kKanaKeyCount> kKanaKeys{{
    {"あ", {9960, 4800, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(51)},   // 0
    {"い", {9960, 5685, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(69)},   // 1
    {"う", {9960, 6570, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(52)},   // 2
    {"え", {9960, 7455, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(53)},   // 3
    {"お", {9960, 8340, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(54)},   // 4
    {"か", {9075, 4800, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(84)},   // 5
    {"き", {9075, 5685, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(71)},   // 6
    {"く", {9075, 6570, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(72)},   // 7
    {"け", {9075, 7455, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(186)},  // 8
    {"こ", {9075, 8340, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(66)},   // 9
    {"さ", {8190, 4800, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(88)},   // 10
    {"し", {8190, 5685, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(68)},   // 11
    {"す", {8190, 6570, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(82)},   // 12
    {"せ", {8190, 7455, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(80)},   // 13
    {"そ", {8190, 8340, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(67)},   // 14
    {"た", {7305, 4800, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(81)},   // 15
    {"ち", {7305, 5685, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(65)},   // 16
    {"つ", {7305, 6570, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(90)},   // 17
    {"て", {7305, 7455, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(87)},   // 18
    {"と", {7305, 8340, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(83)},   // 19
    {"な", {6420, 4800, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(85)},   // 20
    {"に", {6420, 5685, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(73)},   // 21
    {"ぬ", {6420, 6570, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(49)},   // 22
    {"ね", {6420, 7455, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(188)},  // 23
    {"の", {6420, 8340, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(75)},   // 24
    {"は", {5535, 4800, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(70)},   // 25
    {"ひ", {5535, 5685, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(86)},   // 26
    {"ふ", {5535, 6570, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(50)},   // 27
    {"へ", {5535, 7455, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(222)},  // 28
    {"ほ", {5535, 8340, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(189)},  // 29
    {"ま", {4650, 4800, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(74)},   // 30
    {"み", {4650, 5685, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(78)},   // 31
    {"む", {4650, 6570, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(221)},  // 32
    {"め", {4650, 7455, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(191)},  // 33
    {"も", {4650, 8340, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(77)},   // 34
    {"や", {3765, 4800, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(55)},   // 35
    {"ゆ", {3765, 6570, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(56)},   // 36
    {"よ", {3765, 8340, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(57)},   // 37
    {" ゛",
     {1995, 8340, 885, 885},
     rgb(0xff, 0xff, 0x80),
     39.75f,
     kPasses,
     {A::Dakuten, 192, nullptr, false}},  // 38
    {" ゜",
     {1995, 7455, 885, 885},
     rgb(0xff, 0xff, 0x80),
     39.75f,
     kPasses,
     {A::Handakuten, 219, nullptr, false}},                                            // 39
    {"ら", {2880, 4800, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(79)},   // 40
    {"り", {2880, 5685, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(76)},   // 41
    {"る", {2880, 6570, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(190)},  // 42
    {"れ", {2880, 7455, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(187)},  // 43
    {"ろ", {2880, 8340, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(226)},  // 44
    {"わ", {1995, 4800, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(48)},   // 45
    {"を",
     {1995, 5685, 885, 885},
     rgb(0xff, 0xff, 0x80),
     39.75f,
     kWaits,
     {A::Shifted, 48, "を", false}},                                                  // 46
    {"ん", {1995, 6570, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(89)},  // 47
    {"、",
     {120, 5685, 885, 885},
     rgb(0xff, 0xff, 0x80),
     39.75f,
     kWaits,
     {A::Shifted, 188, "", false}},  // 48
    {"。",
     {1005, 5685, 885, 885},
     rgb(0xff, 0xff, 0x80),
     39.75f,
     kWaits,
     {A::Shifted, 190, "", false}},  // 49
    {"こ　もじ",
     {120, 8340, 885, 885},
     rgb(0xff, 0xff, 0x80),
     20.25f,
     kPasses,
     {A::SmallKana, 0, nullptr, kEndsWait}},                                           // 50
    {"１", {1995, 9360, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(97)},   // 51
    {"２", {2880, 9360, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(98)},   // 52
    {"３", {3765, 9360, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(99)},   // 53
    {"４", {4650, 9360, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(100)},  // 54
    {"５", {5535, 9360, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(101)},  // 55
    {"６", {6420, 9360, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(102)},  // 56
    {"７", {7305, 9360, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(103)},  // 57
    {"８", {8190, 9360, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(104)},  // 58
    {"９", {9075, 9360, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(105)},  // 59
    {"０", {9960, 9360, 885, 885}, rgb(0xff, 0xff, 0x80), 39.75f, kWaits, kana(96)},   // 60
    {"漢　　字",
     {1005, 8340, 885, 885},
     rgb(0xff, 0xff, 0x80),
     20.25f,
     kPasses,
     {A::Convert, vk::kConvert, nullptr, kEndsWait}},  // 61
    {"",
     {1005, 6570, 885, 885},
     rgb(0xff, 0xff, 0x80),
     39.75f,
     kWaits,
     {A::Press, vk::kSpace, "", false}},  // 62
    {"←",
     {120, 9360, 885, 885},
     rgb(0xc0, 0xff, 0xc0),
     39.75f,
     kPasses,
     {A::Press, vk::kBack, "", kEndsWait}},  // 63
    {"ＯＫ",
     {9120, 3120, 1725, 720},
     rgb(0xff, 0x80, 0xff),
     33,
     kPasses,
     {A::Press, vk::kReturn, "", kEndsWait}},  // 64
    {"カタカナ",
     {1005, 7455, 885, 885},
     rgb(0xff, 0xff, 0x80),
     20.25f,
     kPasses,
     {A::Press, vk::kF7, "", kEndsWait}},  // 65
    {"ひらがな",
     {120, 7455, 885, 885},
     rgb(0xff, 0xff, 0x80),
     20.25f,
     kPasses,
     {A::Press, vk::kF6, "", kEndsWait}},  // 66
    {"ー",
     {120, 6570, 885, 885},
     rgb(0xff, 0xff, 0x80),
     39.75f,
     kWaits,
     {A::Shifted, 220, "ー", false}},  // 67
    {"け　　す",
     {1005, 9360, 885, 885},
     rgb(0xc0, 0xff, 0xc0),
     20.25f,
     kPasses,
     {A::Press, vk::kDelete, "", kEndsWait}},  // 68
    {"カナ入力きりかえ",
     {120, 4800, 1770, 810},
     rgb(0xc0, 0xc0, 0xff),
     18.75f,
     kPasses,
     {A::KanaLock, vk::kKanaLock, "", kEndsWait}},  // 69
    {"つぎ",
     {9120, 3960, 1725, 720},
     rgb(0xff, 0x80, 0xff),
     30.75f,
     kPasses,
     {A::Next, 0, nullptr, kEndsWait}},  // 70
}};

}  // namespace pastel
