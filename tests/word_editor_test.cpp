#include "words/word_editor.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "steps/wizard.h"
#include "test_support.h"
#include "words/kana_pad.h"
#include "words/word_slots.h"

// Key logs read as text in failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << s.toStdString(); }

namespace pastel {
namespace {

// A yield that can run one handler, as a click arriving meanwhile would.
struct PressingLoop : EventLoop {
  void yield() override {
    ++yields;
    if (!press) return;
    auto f = std::move(press);
    press = nullptr;
    f();
  }
  std::function<void()> press;
  int yields = 0;
};

// The word step, words in the column, recording key strokes.
struct EditorFixture : test::PosterFixture {
  EditorFixture() {
    poster.svc.loop = &pressing;
    poster.svc.keys = &keys;
    nextFrom1(poster);
    nextFrom2(poster);
    for (int i = 0; i < 10; ++i) setWordText(poster, i, QStringLiteral("w%1").arg(i));
  }
  void click(int k) { kanaKeyClick(poster, k); }
  PressingLoop pressing;
  RecordingKeys keys;
};

const QString kPress = QStringLiteral("focus Text3; keys %1d %1u");
QString pressed(int v) { return kPress.arg(v); }
QString shifted(int v) { return QStringLiteral("keys 16d %1d %1u 16u").arg(v); }

TEST(KanaPad, EachKeySendsItsStrokes) {
  EditorFixture fx;
  Poster& p = fx.poster;
  wordEditorClick(p);
  fx.keys.take();
  struct Row {
    int k;
    QString lastKanaBefore;
    QString strokes;
    QString lastKanaAfter;
  };
  std::vector<Row> rows;
  // The single kana and digit keys: the key, LastKana its caption.
  const int kanaKeys[] = {51, 69, 52,  53,  54, 84, 71,  72,  186, 66, 88,  68, 82,
                          80, 67, 81,  65,  90, 87, 83,  85,  73,  49, 188, 75, 70,
                          86, 50, 222, 189, 74, 78, 221, 191, 77,  55, 56,  57};
  const QString kanaCaptions = QStringLiteral(
      "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ");
  for (int k = 0; k < 38; ++k)
    rows.push_back({k, "", pressed(kanaKeys[k]), kanaCaptions.mid(k, 1)});
  const int raKeys[] = {79, 76, 190, 187, 226};
  for (int k = 40; k < 45; ++k)
    rows.push_back({k, "", pressed(raKeys[k - 40]), QString("らりるれろ").mid(k - 40, 1)});
  rows.push_back({45, "", pressed(48), "わ"});
  rows.push_back({47, "", pressed(89), "ん"});
  for (int k = 51; k <= 60; ++k)
    rows.push_back({k, "", pressed(k == 60 ? 96 : 96 + k - 50),
                    QString("１２３４５６７８９０").mid(k - 51, 1)});
  rows.insert(rows.end(), {
                              {46, "", shifted(48), "を"},
                              {48, "か", shifted(188), ""},
                              {49, "か", shifted(190), ""},
                              {67, "", shifted(220), "ー"},
                              {38, "か", pressed(192), ""},
                              {38, "ほ", pressed(192), ""},
                              {38, "あ", "", "あ"},
                              {38, "ぱ", "", "ぱ"},
                              {39, "は", pressed(219), ""},
                              {39, "か", "", "か"},
                              {50, "つ", pressed(8) + "; " + shifted(90), "つ"},
                              {50, "よ", pressed(8) + "; " + shifted(57), "よ"},
                              {50, "か", "", "か"},
                              {50, "", "", ""},
                              {61, "か", pressed(28), "か"},
                              {62, "か", pressed(32), ""},
                              {63, "か", pressed(8), ""},
                              {64, "か", pressed(13), ""},
                              {65, "か", pressed(118), ""},
                              {66, "か", pressed(117), ""},
                              {68, "か", pressed(46), ""},
                              {69, "か", "kana", ""},
                              {70, "か", "", "か"},
                          });
  std::vector<bool> covered(kKanaKeyCount);
  for (const Row& r : rows) {
    p.lastKana = r.lastKanaBefore;
    fx.click(r.k);
    EXPECT_EQ(fx.keys.take(), r.strokes) << "key " << r.k;
    EXPECT_EQ(p.lastKana, r.lastKanaAfter) << "key " << r.k;
    covered[size_t(r.k)] = true;
  }
  for (int k = 0; k < kKanaKeyCount; ++k) EXPECT_TRUE(covered[size_t(k)]) << k;
}

TEST(KanaPad, DakutenHandakutenAndSmallKanaFollowTheLastKana) {
  EditorFixture fx;
  Poster& p = fx.poster;
  wordEditorClick(p);
  fx.keys.take();
  fx.click(5), fx.click(38), fx.click(38);  // か ゛ ゛
  EXPECT_EQ(fx.keys.take(), pressed(84) + "; " + pressed(192));
  fx.click(0), fx.click(38);  // あ ゛
  EXPECT_EQ(fx.keys.take(), pressed(51));
  fx.click(26), fx.click(38), fx.click(39);  // ひ ゛ ゜: the mark is used up
  EXPECT_EQ(fx.keys.take(), pressed(86) + "; " + pressed(192));
  fx.click(29), fx.click(39), fx.click(39);  // ほ ゜ ゜
  EXPECT_EQ(fx.keys.take(), pressed(189) + "; " + pressed(219));
  // つ こ　もじ こ　もじ: LastKana stays つ, so the second deletes っ and
  // sends it again.
  fx.click(17), fx.click(50), fx.click(50);
  const QString small = pressed(8) + "; " + shifted(90);
  EXPECT_EQ(fx.keys.take(), pressed(90) + "; " + small + "; " + small);
  // 漢字 keeps it, the space key does not.
  fx.click(61), fx.click(50), fx.click(62), fx.click(50);
  EXPECT_EQ(fx.keys.take(), pressed(28) + "; " + small + "; " + pressed(32));
  EXPECT_EQ(p.form.label1[38].caption, " ゛");
  EXPECT_EQ(p.form.label1[50].caption, "こ\u3000もじ");
  EXPECT_EQ(p.form.label1[61].caption, "漢\u3000\u3000字");
}

TEST(KanaPad, NextKeyOptionLetsOneCharacterThroughUntilつぎ) {
  EditorFixture fx;
  Poster& p = fx.poster;
  wordEditorClick(p);
  EXPECT_FALSE(p.form.label1[70].visible);
  nextKeyOptionClick(p, 1);
  EXPECT_TRUE(p.form.label1[70].visible);
  fx.keys.take();
  fx.click(0);   // あ accepted
  fx.click(1);   // い refused
  fx.click(38);  // ゛ accepted, sends nothing after あ
  EXPECT_EQ(fx.keys.take(), pressed(51));
  EXPECT_EQ(p.awaitingNext, 1);
  fx.click(70);  // つぎ
  EXPECT_EQ(p.awaitingNext, 0);
  fx.click(1);                                             // い accepted
  fx.click(46), fx.click(62), fx.click(51), fx.click(48);  // all held back
  EXPECT_EQ(fx.keys.take(), pressed(69));
  // ゛ and ゜ leave the wait; every other key that passes it ends it.
  for (int k : {38, 39}) {
    fx.click(k);
    EXPECT_EQ(p.awaitingNext, 1) << k;
  }
  for (int k : {50, 61, 63, 64, 65, 66, 68, 69}) {
    fx.click(1);
    p.awaitingNext = 1;
    fx.click(k);
    EXPECT_EQ(p.awaitingNext, 0) << k;
  }
  fx.keys.take();
  // Clearing the option clears the wait too.
  fx.click(5);
  EXPECT_EQ(p.awaitingNext, 1);
  nextKeyOptionClick(p, 0);
  EXPECT_EQ(p.awaitingNext, 0);
  EXPECT_FALSE(p.form.label1[70].visible);
  fx.click(5), fx.click(6);
  EXPECT_EQ(p.awaitingNext, 0);
  EXPECT_EQ(fx.keys.take(), pressed(84) + "; " + pressed(84) + "; " + pressed(71));
}

void expectPadAt(const Poster& p, float dy) {
  for (int k = 0; k < kKanaKeyCount; ++k) {
    const Element& key = p.form.label1[size_t(k)];
    EXPECT_FLOAT_EQ(key.left, kKanaKeys[size_t(k)].place.left) << k;
    EXPECT_FLOAT_EQ(key.top, kKanaKeys[size_t(k)].place.top + dy) << k;
    EXPECT_FLOAT_EQ(key.width, kKanaKeys[size_t(k)].place.width) << k;
    EXPECT_FLOAT_EQ(key.height, kKanaKeys[size_t(k)].place.height) << k;
  }
}

TEST(WordEditor, OpenCloseAndReopenKeepTheKeysInPlace) {
  EditorFixture fx;
  Poster& p = fx.poster;
  MainForm& f = p.form;
  // Some of the designed places, as a child sees them.
  EXPECT_EQ(f.label1[0].caption, "あ");
  EXPECT_FLOAT_EQ(f.label1[0].left, 9960);
  EXPECT_FLOAT_EQ(f.label1[47].top, 6570);
  EXPECT_FLOAT_EQ(f.label1[60].left, 9960);
  EXPECT_FLOAT_EQ(f.label1[60].top, 9360);
  EXPECT_FLOAT_EQ(f.label1[64].width, 1725);
  EXPECT_EQ(f.label1[64].backColor, rgb(0xff, 0x80, 0xff));
  EXPECT_FLOAT_EQ(f.label1[69].fontSize, 18.75f);
  EXPECT_EQ(f.label1[69].borderStyle, kRaisedFrame);
  EXPECT_EQ(f.label1[62].caption, "");

  selectWord(p, 4, 10, 10);
  wordEditorClick(p);
  EXPECT_EQ(fx.keys.take(), "kana");  // the lock was off
  EXPECT_EQ(p.wordEditMode, "1");
  EXPECT_EQ(p.focusRequest, "Text3");
  expectPadAt(p, 0);
  for (int k = 0; k < 71; ++k) EXPECT_EQ(f.label1[k].visible, k != 70) << k;
  EXPECT_TRUE(f.text3.visible && f.check1.visible && f.label4.visible);
  EXPECT_EQ(f.text3.caption, "w4");
  EXPECT_EQ(f.command21.caption, "はりつけ に もどる");
  for (Element* b : {&f.command1, &f.command2, &f.command3, &f.command4, &f.command9, &f.command15})
    EXPECT_FALSE(b->enabled) << b->name.toStdString();

  f.text3.caption = "がっこう\nへ";
  wordEditorClick(p);
  EXPECT_EQ(fx.keys.take(), "kana");  // closing always toggles
  EXPECT_EQ(p.wordEditMode, "0");
  expectPadAt(p, 7680);
  EXPECT_FALSE(f.text3.visible || f.check1.visible || f.label4.visible);
  EXPECT_EQ(f.text1[4].caption, "がっこう\nへ");
  EXPECT_FLOAT_EQ(f.text1[4].height, 645);
  EXPECT_EQ(f.command21.caption, "もじ の へんしゅう");
  for (Element* b : {&f.command3, &f.command4, &f.command9, &f.command15}) EXPECT_TRUE(b->enabled);
  EXPECT_FALSE(f.command1.enabled || f.command2.enabled);

  // Reopening moves the keys up again; the lock is on, so it stays.
  fx.keys.lock = true;
  nextKeyOptionClick(p, 1);
  wordEditorClick(p);
  EXPECT_EQ(fx.keys.take(), "");
  expectPadAt(p, 0);
  EXPECT_TRUE(f.label1[70].visible);
  wordEditorClick(p);
  wordEditorClick(p);
  wordEditorClick(p);
  expectPadAt(p, 7680);
  EXPECT_EQ(p.wordEditMode, "0");
}

TEST(WordEditor, EditsTheSelectedWordPlacedOrParked) {
  for (bool placed : {true, false}) {
    EditorFixture fx;
    Poster& p = fx.poster;
    MainForm& f = p.form;
    f.text1[4].left = placed ? 3000 : kWordColumnLeft;
    f.text1[2].left = 2000;   // another placed word
    f.image3[1].left = 1000;  // a placed photo
    f.image3[1].visible = true;
    selectWord(p, 4, 10, 10);
    wordEditorClick(p);
    EXPECT_EQ(f.text3.caption, "w4");
    EXPECT_EQ(f.text1[4].visible, !placed);
    EXPECT_FALSE(f.text1[2].visible);
    EXPECT_FALSE(f.image3[1].visible);
    EXPECT_TRUE(f.text1[7].visible);  // parked words stay
    f.text3.caption = "あたらしい";
    wordEditorClick(p);
    EXPECT_EQ(f.text1[4].caption, "あたらしい") << placed;
    EXPECT_TRUE(f.text1[4].visible && f.text1[2].visible && f.image3[1].visible);
    EXPECT_FALSE(f.image3[0].visible);  // parked photos keep theirs
  }
}

TEST(WordEditor, NoWordTenToEdit) {
  EditorFixture fx;
  Poster& p = fx.poster;
  p.selectedIndex = 10;
  wordEditorClick(p);
  EXPECT_EQ(p.wordEditMode, "3");
  EXPECT_EQ(fx.keys.take(), "");
  EXPECT_FALSE(p.form.text3.visible);
  EXPECT_FALSE(p.form.label1[0].visible);
  EXPECT_EQ(p.form.command21.caption, "もじ の へんしゅう");
}

TEST(WordEditor, SwitchingWordsKeepsWhatWasTyped) {
  EditorFixture fx;
  Poster& p = fx.poster;
  MainForm& f = p.form;
  selectWord(p, 1, 10, 10);
  wordEditorClick(p);
  f.text3.caption = "いぬ";
  // Keys still on their way type into the editor during the yield.
  fx.pressing.press = [&] { f.text3.caption += "が"; };
  selectWord(p, 6, 10, 10);
  EXPECT_EQ(f.text1[1].caption, "いぬが");
  EXPECT_EQ(f.text3.caption, "w6");
  EXPECT_EQ(p.selectedIndex, 6);
  EXPECT_EQ(p.focusRequest, "Text3");
}

}  // namespace
}  // namespace pastel
