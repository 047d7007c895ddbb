#include "words/kana_composer.h"

#include <gtest/gtest.h>

#include "platform/kana_converter.h"
#include "support/stand_in_converter.h"

namespace pastel {
namespace {

// What the editor's text becomes from the composer's edits, caret at the end.
struct Editor {
  QString text;
  void apply(KanaComposer& c) {
    for (const KanaEdit& e : c.takeEdits()) {
      if (e.kind == KanaEdit::Insert) text += e.text;
      if (e.kind == KanaEdit::DeleteBefore) text.chop(1);
      // Nothing lies after the caret here.
    }
  }
};

void press(KanaComposer& c, int key) {
  c.keyDown(key);
  c.keyUp(key);
}
void shifted(KanaComposer& c, int key) {
  c.keyDown(vk::kShift);
  c.keyDown(key);
  c.keyUp(key);
  c.keyUp(vk::kShift);
}
KanaComposer kanaComposer(KanaConverter* conv = nullptr) {
  KanaComposer c(conv);
  c.keyDown(vk::kKanaLock);
  c.keyUp(vk::kKanaLock);
  return c;
}

TEST(KanaComposer, EveryPadKeyComposesItsCharacter) {
  struct Case {
    int key;
    bool shift;
    const char* kana;   // kana lock on
    const char* latin;  // kana lock off
  };
  const Case cases[] = {
      {51, false, "あ", "3"},  {69, false, "い", "e"},  {52, false, "う", "4"},
      {53, false, "え", "5"},  {54, false, "お", "6"},  {84, false, "か", "t"},
      {71, false, "き", "g"},  {72, false, "く", "h"},  {186, false, "け", ":"},
      {66, false, "こ", "b"},  {88, false, "さ", "x"},  {68, false, "し", "d"},
      {82, false, "す", "r"},  {80, false, "せ", "p"},  {67, false, "そ", "c"},
      {81, false, "た", "q"},  {65, false, "ち", "a"},  {90, false, "つ", "z"},
      {87, false, "て", "w"},  {83, false, "と", "s"},  {85, false, "な", "u"},
      {73, false, "に", "i"},  {49, false, "ぬ", "1"},  {188, false, "ね", ","},
      {75, false, "の", "k"},  {70, false, "は", "f"},  {86, false, "ひ", "v"},
      {50, false, "ふ", "2"},  {222, false, "へ", "^"}, {189, false, "ほ", "-"},
      {74, false, "ま", "j"},  {78, false, "み", "n"},  {221, false, "む", "]"},
      {191, false, "め", "/"}, {77, false, "も", "m"},  {55, false, "や", "7"},
      {56, false, "ゆ", "8"},  {57, false, "よ", "9"},  {192, false, "゛", "@"},
      {219, false, "゜", "["}, {79, false, "ら", "o"},  {76, false, "り", "l"},
      {190, false, "る", "."}, {187, false, "れ", ";"}, {226, false, "ろ", "\\"},
      {48, false, "わ", "0"},  {48, true, "を", ""},    {89, false, "ん", "y"},
      {188, true, "、", "<"},  {190, true, "。", ">"},  {220, true, "ー", "|"},
      {51, true, "ぁ", "#"},   {69, true, "ぃ", "E"},   {52, true, "ぅ", "$"},
      {53, true, "ぇ", "%"},   {54, true, "ぉ", "&"},   {90, true, "っ", "Z"},
      {55, true, "ゃ", "'"},   {56, true, "ゅ", "("},   {57, true, "ょ", ")"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "key " << k.key << (k.shift ? " with Shift" : ""));
    KanaComposer on = kanaComposer();
    k.shift ? shifted(on, k.key) : press(on, k.key);
    EXPECT_EQ(on.shown(), QString::fromUtf8(k.kana));
    EXPECT_TRUE(on.takeEdits().empty());  // composed, not yet text

    KanaComposer off(nullptr);
    k.shift ? shifted(off, k.key) : press(off, k.key);
    Editor e;
    e.apply(off);
    EXPECT_FALSE(off.composing());
    EXPECT_EQ(e.text, QString::fromUtf8(k.latin));
  }
  // Digits commit what was composed and go in directly, full width.
  const char* const fullWidth[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  for (int d = 0; d <= 9; ++d) {
    KanaComposer c = kanaComposer();
    Editor e;
    press(c, 84);
    press(c, vk::kNumpad0 + d);
    e.apply(c);
    EXPECT_EQ(e.text, QStringLiteral("か") + QString::fromUtf8(fullWidth[d]));
    EXPECT_FALSE(c.composing());
    KanaComposer off(nullptr);
    press(off, vk::kNumpad0 + d);
    e.text.clear();
    e.apply(off);
    EXPECT_EQ(e.text, QString::number(d));
  }
}

TEST(KanaComposer, MarksCombineWithTheKanaBeforeThemOrStandAlone) {
  KanaComposer c = kanaComposer();
  press(c, 84);   // か
  press(c, 192);  // ゛
  EXPECT_EQ(c.shown(), QStringLiteral("が"));
  press(c, 192);  // nothing to combine with: the mark itself
  EXPECT_EQ(c.shown(), QStringLiteral("が゛"));
  press(c, 70);   // は
  press(c, 219);  // ゜
  press(c, 52);   // う
  press(c, 192);
  press(c, 51);  // あ
  press(c, 219);
  press(c, 84);  // か takes no ゜
  press(c, 219);
  EXPECT_EQ(c.shown(), QStringLiteral("が゛ぱゔあ゜か゜"));

  // The small-kana key: Back, then Shift with the small kana's key.
  KanaComposer s = kanaComposer();
  Editor e;
  press(s, 90);
  press(s, vk::kBack);
  shifted(s, 90);
  press(s, 84);
  press(s, 192);
  EXPECT_EQ(s.shown(), QStringLiteral("っが"));
  // A mark after katakana does not reach back into it.
  press(s, vk::kF7);
  press(s, 192);
  e.apply(s);
  EXPECT_EQ(e.text, QStringLiteral("ッガ"));
  EXPECT_EQ(s.shown(), QStringLiteral("゛"));
}

TEST(KanaComposer, EditingKeysWithAndWithoutAComposition) {
  KanaComposer c = kanaComposer();
  Editor e{QStringLiteral("ab")};
  press(c, vk::kBack);  // nothing composed: the character before the caret
  press(c, vk::kDelete);
  auto edits = c.takeEdits();
  ASSERT_EQ(edits.size(), 2u);
  EXPECT_EQ(edits[0].kind, KanaEdit::DeleteBefore);
  EXPECT_EQ(edits[1].kind, KanaEdit::DeleteAfter);

  press(c, 84);
  press(c, 71);
  press(c, vk::kDelete);  // nothing after a composition's caret
  press(c, vk::kBack);
  EXPECT_EQ(c.shown(), QStringLiteral("か"));
  EXPECT_TRUE(c.takeEdits().empty());
  press(c, vk::kBack);  // the composition ends, the text is untouched
  EXPECT_FALSE(c.composing());
  EXPECT_TRUE(c.takeEdits().empty());

  press(c, vk::kSpace);  // a full-width space when nothing is composed
  press(c, 84);
  press(c, vk::kReturn);  // commits
  press(c, vk::kReturn);  // a line break
  e.apply(c);
  EXPECT_EQ(e.text, QStringLiteral("ab\u3000か\n"));

  KanaComposer off(nullptr);
  press(off, vk::kSpace);
  EXPECT_EQ(off.takeEdits(), (std::vector<KanaEdit>{{KanaEdit::Insert, QStringLiteral(" ")}}));
}

TEST(KanaComposer, KatakanaAndHiraganaKeys) {
  KanaComposer c = kanaComposer();
  Editor e;
  press(c, vk::kF7);  // nothing composed: nothing happens
  EXPECT_TRUE(c.takeEdits().empty());
  for (int k : {84, 220, 71}) k == 220 ? shifted(c, k) : press(c, k);  // かーき
  press(c, vk::kF7);
  EXPECT_EQ(c.shown(), QStringLiteral("カーキ"));
  press(c, vk::kF6);
  EXPECT_EQ(c.shown(), QStringLiteral("かーき"));
  press(c, 85);  // still hiragana: な joins
  press(c, vk::kF7);
  press(c, vk::kBack);  // back stays katakana
  EXPECT_EQ(c.shown(), QStringLiteral("カーキ"));
  press(c, 85);  // katakana is done once the next kana comes
  e.apply(c);
  EXPECT_EQ(e.text, QStringLiteral("カーキ"));
  EXPECT_EQ(c.shown(), QStringLiteral("な"));
}

TEST(KanaComposer, ConversionCandidatesNextBackAndCommit) {
  TableConverter conv;
  conv.table[QStringLiteral("はなび")] = {
      {QStringLiteral("花火"), QStringLiteral("はなび"), QStringLiteral("ハナビ")}, {}};
  conv.table[QStringLiteral("がっこうにいく")] = {
      {QStringLiteral("がっこうにいく"), QStringLiteral("ガッコウニイク")},
      QStringLiteral("学校に行く")};
  KanaComposer c = kanaComposer(&conv);
  Editor e;
  press(c, vk::kConvert);  // nothing composed: nothing
  EXPECT_FALSE(c.converting());
  for (int k : {70, 85, 86, 192}) press(c, k);  // はなび
  press(c, vk::kSpace);
  EXPECT_TRUE(c.converting());
  EXPECT_EQ(c.shown(), QStringLiteral("花火"));
  EXPECT_EQ(c.candidates(), (QStringList{QStringLiteral("花火"), QStringLiteral("はなび"),
                                         QStringLiteral("ハナビ")}));
  press(c, vk::kConvert);
  press(c, vk::kConvert);
  EXPECT_EQ(c.shown(), QStringLiteral("ハナビ"));
  press(c, vk::kConvert);  // round again
  EXPECT_EQ(c.shown(), QStringLiteral("花火"));
  press(c, vk::kBack);  // back to the kana
  EXPECT_FALSE(c.converting());
  EXPECT_EQ(c.shown(), QStringLiteral("はなび"));
  press(c, vk::kConvert);
  press(c, vk::kReturn);
  press(c, vk::kReturn);
  e.apply(c);
  EXPECT_EQ(e.text, QStringLiteral("花火\n"));

  // A phrase: Anthy's own words joined come after the one-word candidates,
  // hiragana and katakana always last; the next kana commits the shown one.
  for (int k : {84, 192, 90}) press(c, k);
  press(c, vk::kBack);
  shifted(c, 90);
  for (int k : {66, 52, 73, 69, 72}) press(c, k);
  press(c, vk::kSpace);
  EXPECT_EQ(c.candidates(),
            (QStringList{QStringLiteral("学校に行く"), QStringLiteral("がっこうにいく"),
                         QStringLiteral("ガッコウニイク")}));
  press(c, 84);
  e.text.clear();
  e.apply(c);
  EXPECT_EQ(e.text, QStringLiteral("学校に行く"));
  EXPECT_EQ(c.shown(), QStringLiteral("か"));
  press(c, vk::kConvert);
  c.choose(1);  // a click on the list
  e.text.clear();
  e.apply(c);
  EXPECT_EQ(e.text, QStringLiteral("カ"));
  for (const QString& r : conv.readings) EXPECT_TRUE(isConvertibleKana(r)) << r.toStdString();
}

TEST(KanaComposer, WithoutAConverterOnlyHiraganaAndKatakana) {
  // Anthy that could not start converts nothing: the kana stay as they are.
  TableConverter silent;
  for (KanaConverter* conv :
       {static_cast<KanaConverter*>(nullptr), static_cast<KanaConverter*>(&silent)}) {
    KanaComposer c = kanaComposer(conv);
    press(c, 70);
    press(c, 85);
    press(c, vk::kConvert);
    EXPECT_EQ(c.shown(), QStringLiteral("はな"));
    EXPECT_EQ(c.candidates(), (QStringList{QStringLiteral("はな"), QStringLiteral("ハナ")}));
  }
}

TEST(KanaComposer, CompositionHoldsAtMost32Kana) {
  TableConverter conv;
  KanaComposer c = kanaComposer(&conv);
  Editor e;
  for (int i = 0; i < 32; ++i) press(c, 51);
  EXPECT_EQ(c.reading().size(), 32);
  press(c, 192);  // a mark alone counts too
  e.apply(c);
  EXPECT_EQ(e.text, QString(32, QChar(u'あ')));
  EXPECT_EQ(c.shown(), QStringLiteral("゛"));
  press(c, 84);
  press(c, 192);  // still combines after the bound
  EXPECT_EQ(c.shown(), QStringLiteral("゛が"));

  // Nothing but kana ever reaches the converter.
  press(c, 97);
  press(c, 84);
  press(c, vk::kConvert);
  ASSERT_EQ(conv.readings.size(), 1u);
  EXPECT_EQ(conv.readings[0], QStringLiteral("か"));
  EXPECT_FALSE(isConvertibleKana(QStringLiteral("か1")));
  EXPECT_FALSE(isConvertibleKana(QStringLiteral("かa")));
  EXPECT_FALSE(isConvertibleKana(QStringLiteral("カ")));
  EXPECT_FALSE(isConvertibleKana(QString(33, QChar(u'あ'))));
  EXPECT_FALSE(isConvertibleKana(QString()));
  EXPECT_TRUE(isConvertibleKana(QStringLiteral("けーき、ゔ")));
}

TEST(KanaComposer, KanaLockOffTypesLatinAndKeepsTheComposition) {
  KanaComposer c = kanaComposer();
  Editor e;
  press(c, 84);
  press(c, vk::kKanaLock);  // the composition stays until a key types
  EXPECT_FALSE(c.kanaMode());
  EXPECT_EQ(c.shown(), QStringLiteral("か"));
  press(c, 84);
  shifted(c, 84);
  shifted(c, 48);  // Shift 0 gives nothing on this layout
  press(c, vk::kReturn);
  e.apply(c);
  EXPECT_EQ(e.text, QStringLiteral("かtT\n"));
  press(c, vk::kKanaLock);
  press(c, 84);
  EXPECT_EQ(c.shown(), QStringLiteral("か"));
  EXPECT_FALSE(c.keyDown(112));  // F1 means nothing here
}

}  // namespace
}  // namespace pastel
