#include "words/word_slots.h"

#include <gtest/gtest.h>

#include <QTextLayout>

#include "db_test_support.h"
#include "platform/gothic_font.h"
#include "steps/open_poster.h"
#include "storage/template_db.h"
#include "test_support.h"
#include "words/word_lines.h"

namespace pastel {
namespace {

TEST(WordSlots, PressSelectsFramesAndStacksTheWord) {
  test::PosterFixture fx;
  Poster& p = fx.poster;
  selectWord(p, 2, 10, 10);
  selectWord(p, 5, 100.5f, 31.5f);
  const std::int16_t expected[] = {0, 1, 3, 4, 6, 7, 8, 9, 2, 5};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(p.wordStackOrder[k], expected[k]) << k;
  for (int j = 0; j < 10; ++j) EXPECT_EQ(p.form.text1[j].borderStyle, j == 5 ? 1 : 0) << j;
  EXPECT_EQ(p.selectedIndex, 5);
  EXPECT_EQ(p.selectedKind, SelectedKind::Word);
  EXPECT_EQ(p.selectionActive, 1);
  EXPECT_EQ(p.grabOffsetX, 100);  // halves to even
  EXPECT_EQ(p.grabOffsetY, 32);
  EXPECT_GT(p.form.text1[5].z, p.form.text1[2].z);
  EXPECT_FLOAT_EQ(p.form.text1[5].height, 345);  // the height rule ran
}

TEST(WordSlots, HeightFollowsTheDisplayedLines) {
  test::PosterFixture fx;
  Poster& p = fx.poster;
  Element& w = p.form.text1[0];
  setWordText(p, 0, "あめ");
  EXPECT_FLOAT_EQ(w.height, 345);
  setWordText(p, 0, "あめ\nふり");
  EXPECT_FLOAT_EQ(w.height, 645);
  setWordText(p, 0, "あめ\r\nふり");  // as stored in poster files
  EXPECT_FLOAT_EQ(w.height, 645);
  setWordText(p, 0, "");
  EXPECT_FLOAT_EQ(w.height, 345);
  setWordText(p, 0, "1\n2\n3\n4\n5\n6\n7\n8\n9\n10");
  EXPECT_FLOAT_EQ(w.height, 3045);
  setWordText(p, 0, "\n");
  EXPECT_FLOAT_EQ(w.height, 645);

  // A line longer than the box wraps, and a narrower box wraps more.
  const QString longWord = QString(40, QChar(0x3042));
  setWordText(p, 0, longWord);
  const float wide = w.height;
  EXPECT_GE(wide, 945);
  EXPECT_EQ(int(wide - 45) % 300, 0);
  w.width = 1500;
  wordFocusGained(p, 0);
  EXPECT_GT(w.height, wide);
  // Typing that leaves the text as it was changes nothing; a height set
  // meanwhile is replaced on the next real change.
  w.height = 5000;
  setWordText(p, 0, longWord);
  EXPECT_FLOAT_EQ(w.height, 5000);
  setWordText(p, 0, "あ");
  EXPECT_FLOAT_EQ(w.height, 345);
  EXPECT_EQ(displayedLineCount(QString(), 14, 0), 1);
}

TEST(WordSlots, DragFollowsThePointerWithinTheWindowBounds) {
  test::PosterFixture fx;
  Poster& p = fx.poster;
  Element& w = p.form.text1[1];
  selectWord(p, 1, 300, 150);
  const float left = w.left, top = w.top;
  dragWord(p, 1, 250, 180);
  EXPECT_FLOAT_EQ(w.left, left - 50);
  EXPECT_FLOAT_EQ(w.top, top + 30);

  // Up past the top edge by one step at most.
  w.top = 10;
  dragWord(p, 1, 300, 100);
  EXPECT_FLOAT_EQ(w.top, -40);
  dragWord(p, 1, 300, 100);
  EXPECT_FLOAT_EQ(w.top, -40);

  // Right: bounded by the window's outer width, tested before the step.
  w.left = p.form.width - w.width - 10;
  dragWord(p, 1, 350, 150);
  EXPECT_FLOAT_EQ(w.left, p.form.width - w.width + 40);
  dragWord(p, 1, 350, 150);
  EXPECT_FLOAT_EQ(w.left, p.form.width - w.width + 40);
  // Down: the outer height, strict.
  w.top = p.form.height - w.height;
  dragWord(p, 1, 300, 200);
  EXPECT_FLOAT_EQ(w.top, p.form.height - w.height);

  // While the word editor is open the word stays put.
  p.wordEditMode = "1";
  w.left = 5000;
  w.top = 5000;
  dragWord(p, 1, 0, 0);
  EXPECT_FLOAT_EQ(w.left, 5000);
  EXPECT_FLOAT_EQ(w.top, 5000);
}

TEST(WordSlots, LeavingParksTheSizeAndHidesParkedWordsInTheSaveStep) {
  test::PosterFixture fx;
  Poster& p = fx.poster;
  for (Element& w : p.form.text1) {
    w.visible = true;
    w.width = 5000;
    w.height = 945;
    w.fontSize = 20;
  }
  p.form.text1[0].left = 5000;  // placed
  p.form.text1[1].left = 9300;  // parked, at the boundary
  p.form.text1[2].left = 9299.5f;
  for (int i = 0; i < 3; ++i) wordFocusLost(p, i);
  EXPECT_FLOAT_EQ(p.form.text1[0].height, 945);
  EXPECT_FLOAT_EQ(p.form.text1[0].width, 5000);
  EXPECT_FLOAT_EQ(p.form.text1[1].height, 345);
  EXPECT_FLOAT_EQ(p.form.text1[1].width, 3855);
  EXPECT_FLOAT_EQ(p.form.text1[1].fontSize, 14);
  EXPECT_FLOAT_EQ(p.form.text1[2].fontSize, 20);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(p.form.text1[i].visible);

  p.form.label5.caption = kStep4OpenedTitle;
  wordFocusLost(p, 1);
  EXPECT_TRUE(p.form.text1[1].visible);
  p.form.label5.caption = kStep4Title;
  for (int i = 0; i < 3; ++i) wordFocusLost(p, i);
  EXPECT_TRUE(p.form.text1[0].visible);
  EXPECT_FALSE(p.form.text1[1].visible);
  EXPECT_TRUE(p.form.text1[2].visible);
}

// Lines of one block as the word box lays them out: all at once.
int linesLaidOutWhole(const QString& block, float points, int width) {
  QTextLayout layout(block, gothicFont(points, false));
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  int n = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    ++n;
  }
  layout.endLayout();
  return n;
}

// A hostile file's million-letter word once froze the window for minutes
// while its lines were counted.
TEST(WordSlots, ALongWordIsCutOnReadingAndCountedInPieces) {
  test::PosterFixture fx;
  Poster& p = fx.poster;
  const QString path = fx.dir.path() + "/long.mdb";
  ASSERT_TRUE(writeTemplateDatabase(path));
  const QString million = "replace(hex(zeroblob(500000)), '0', 'a')";
  ASSERT_TRUE(test::rawExec(path, "UPDATE textdata SET tex0L = '1440', tex0F = " + million));
  ASSERT_TRUE(test::rawExec(path, "UPDATE 所属テーブル SET moji1 = " + million + ", moji2 = '" +
                                      QString(999, 'a') + "😀b'"));
  ASSERT_EQ(openPosterFile(p, path).status, OpenStatus::Opened);
  const Element& w = p.form.text1[0];
  EXPECT_EQ(w.caption, QString(kMaxWordLength, 'a'));
  EXPECT_FLOAT_EQ(w.height, 45 + 300.0f * float(displayedLineCount(w)));
  const WordListRead list = readWordList(path);
  ASSERT_TRUE(list.ok);
  EXPECT_EQ(list.words[0], QString(kMaxWordLength, 'a'));
  EXPECT_EQ(list.words[1], QString(999, 'a'));  // never half a character

  // Typed text is not cut: its lines are counted in pieces, as many as
  // laying it out whole would give.
  QString mixed;
  for (int i = 0; mixed.size() < 6000; ++i)
    mixed += i % 7 ? QStringLiteral("abcdefghijklmnopqrstuvwxyz") : QStringLiteral("あい う、😀");
  EXPECT_EQ(displayedLineCount(mixed, 14, 255), linesLaidOutWhole(mixed, 14, 255));
  QTextLayout one(QString(100, 'a'), gothicFont(14, false));
  QTextOption anywhere;
  anywhere.setWrapMode(QTextOption::WrapAnywhere);
  one.setTextOption(anywhere);
  one.beginLayout();
  QTextLine first = one.createLine();
  first.setLineWidth(255);
  const int perLine = first.textLength();
  one.endLayout();
  ASSERT_GT(perLine, 0);
  EXPECT_EQ(displayedLineCount(QString(1000000, 'a'), 14, 255), (1000000 + perLine - 1) / perLine);
}

}  // namespace
}  // namespace pastel
