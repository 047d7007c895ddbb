#include "words/kana_input_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "app/element_widgets_view.h"
#include "support/stand_in_converter.h"

namespace pastel {
namespace {

// The word editor alone, as the main window holds it, with the input
// method attached; keys arrive as the key injector posts them.
struct EditorFixture {
  EditorFixture() {
    conv.table[QStringLiteral("はなび")] = {
        {QStringLiteral("花火"), QStringLiteral("はなび"), QStringLiteral("ハナビ")}, {}};
    window.resize(760, 560);
    editor = new TextBoxWidget(&window);
    editor->setObjectName(QStringLiteral("Text3"));
    editor->setGeometry(16, 208, 585, 105);
    other = new QLineEdit(&window);
    other->setGeometry(620, 20, 100, 30);
    im = attachKanaInputMethod(editor, &conv);
    window.show();
    editor->setFocus();
    QApplication::processEvents();
  }
  void post(QWidget* to, QEvent::Type t, int vk) {
    QCoreApplication::postEvent(
        to, new QKeyEvent(t, Qt::Key_unknown, Qt::NoModifier, 0, quint32(vk), 0, QString()));
  }
  void key(int vk, QWidget* to = nullptr) {
    post(to ? to : editor, QEvent::KeyPress, vk);
    post(to ? to : editor, QEvent::KeyRelease, vk);
    QApplication::processEvents();
  }
  void shiftKey(int vk) {
    post(editor, QEvent::KeyPress, 16);
    post(editor, QEvent::KeyPress, vk);
    post(editor, QEvent::KeyRelease, vk);
    post(editor, QEvent::KeyRelease, 16);
    QApplication::processEvents();
  }
  QString preedit() const { return editor->textCursor().block().layout()->preeditAreaText(); }
  bool preeditUnderlined() const {
    for (const QTextLayout::FormatRange& r : editor->textCursor().block().layout()->formats())
      if (r.format.underlineStyle() == QTextCharFormat::SingleUnderline) return true;
    return false;
  }

  TableConverter conv;
  QWidget window;
  TextBoxWidget* editor;
  QLineEdit* other;
  KanaInputMethod* im;
};

TEST(KanaInputView, InjectedKeysComposeUnderlinedAndCommit) {
  EditorFixture f;
  EXPECT_EQ(kanaInputMethodOf(f.editor), f.im);
  // The kana lock is the keyboard's: toggled wherever the key lands.
  EXPECT_FALSE(f.im->kanaLockOn());
  f.key(0x15, f.other);
  EXPECT_TRUE(f.im->kanaLockOn());
  EXPECT_EQ(f.other->text(), QString());

  // か ゛ つ こもじ(Back, Shift Z) こ う ＯＫ
  f.key(84);
  f.key(192);
  f.key(90);
  f.key(8);
  f.shiftKey(90);
  f.key(66);
  f.key(52);
  EXPECT_EQ(f.preedit(), QStringLiteral("がっこう"));
  EXPECT_TRUE(f.preeditUnderlined());
  EXPECT_EQ(f.editor->toPlainText(), QString());  // not yet text
  f.key(13);
  EXPECT_EQ(f.editor->toPlainText(), QStringLiteral("がっこう"));
  EXPECT_EQ(f.preedit(), QString());

  // は な ひ ゛ 漢字: the first candidate shown, the list above the editor.
  for (int k : {70, 85, 86, 192, 28}) f.key(k);
  EXPECT_EQ(f.preedit(), QStringLiteral("花火"));
  QListWidget* list = f.im->candidateList();
  ASSERT_TRUE(list->isVisible());
  ASSERT_EQ(list->count(), 3);
  EXPECT_LE(list->geometry().bottom(), f.editor->geometry().top());
  EXPECT_GT(list->font().pointSize(), f.editor->font().pointSize());
  f.key(28);  // the next one
  EXPECT_EQ(list->currentRow(), 1);
  EXPECT_EQ(f.preedit(), QStringLiteral("はなび"));

  // A click on ハナビ commits it, the editor keeps the focus.
  const QRect row = list->visualItemRect(list->item(2));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  QApplication::processEvents();
  EXPECT_EQ(f.editor->toPlainText(), QStringLiteral("がっこうハナビ"));
  EXPECT_FALSE(list->isVisible());
  EXPECT_TRUE(f.editor->hasFocus());

  // Back and Delete at the caret, a line break from ＯＫ, a space.
  f.key(8);
  f.key(13);
  f.key(32);
  EXPECT_EQ(f.editor->toPlainText(), QStringLiteral("がっこうハナ\n\u3000"));
  f.editor->moveCursor(QTextCursor::Start);
  f.key(46);
  EXPECT_EQ(f.editor->toPlainText(), QStringLiteral("っこうハナ\n\u3000"));
}

TEST(KanaInputView, LosingTheFocusCommitsBeforeTheEditorsHandlersRun) {
  QString seenAtFocusOut;
  EditorFixture f;
  f.key(0x15);
  f.editor->focusChanged = [&](bool in) {
    if (!in) seenAtFocusOut = f.editor->toPlainText();
  };
  for (int k : {70, 85, 86, 192, 32}) f.key(k);  // はなび converted: 花火 shown
  ASSERT_TRUE(f.im->candidateList()->isVisible());
  f.other->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(seenAtFocusOut, QStringLiteral("花火"));
  EXPECT_FALSE(f.im->candidateList()->isVisible());

  // A real keyboard types as in any text field, after what was composed.
  f.editor->setFocus();
  f.key(84);
  QTest::keyClicks(f.editor, QStringLiteral("ab"));
  EXPECT_EQ(f.editor->toPlainText(), QStringLiteral("花火かab"));
  QTest::keyClick(f.editor, Qt::Key_Backspace);
  EXPECT_EQ(f.editor->toPlainText(), QStringLiteral("花火かa"));
  f.key(84);  // and the window goes away in the middle of a composition
}

// Rows of the candidate list: as many as fit, at least one; none at all
// when there is nothing to show (no list is placed then).
TEST(KanaInputView, CandidateListRows) {
  EXPECT_EQ(candidateListRows(1000, 20, 3), 3);
  EXPECT_EQ(candidateListRows(1000, 20, 40), 5);
  EXPECT_EQ(candidateListRows(50, 20, 5), 2);
  EXPECT_EQ(candidateListRows(5, 20, 5), 1);
  EXPECT_EQ(candidateListRows(1000, 20, 0), 0);
  EXPECT_EQ(candidateListRows(-40, 20, 0), 0);
}

}  // namespace
}  // namespace pastel
