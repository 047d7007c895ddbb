#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "view_support.h"
#include "words/word_editor.h"

namespace pastel {
namespace {

// Records the key events a widget receives.
struct KeyLog : QObject {
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    QString s =
        QString::number(k->nativeVirtualKey()) + (e->type() == QEvent::KeyPress ? "d" : "u");
    if (k->modifiers() & Qt::ShiftModifier) s += "s";
    if (k->key() != Qt::Key_unknown || !k->text().isEmpty()) s += "?";
    events << s;
    return false;
  }
  QStringList events;
};

struct EditorView : test::ViewFixture {
  EditorView() {
    app->window().activateWindow();
    active = QTest::qWaitForWindowActive(&app->window());
    QTest::mouseClick(widget<QPushButton>("Command11"), Qt::LeftButton);
    QTest::mouseClick(widget<QPushButton>("Command6"), Qt::LeftButton);
  }
  QLabel* key(int k) { return widget<QLabel>(QStringLiteral("Label1(%1)").arg(k)); }
  void click(int k) { QTest::mouseClick(key(k), Qt::LeftButton); }
  bool active = false;
};

TEST(WordEditorView, KanaKeysPostTheirStrokesToTheEditorInOrder) {
  EditorView fx;
  Poster& p = fx.app->poster();
  QWidget* editor = fx.widget("Text3");
  ASSERT_NE(editor, nullptr);
  KeyLog log;
  editor->installEventFilter(&log);
  QTest::mouseClick(fx.widget<QPushButton>("Command21"), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_TRUE(editor->isVisible());
  EXPECT_TRUE(editor->hasFocus());  // given on opening
  // The kana lock turned on: the input method takes its key wherever it lands.
  EXPECT_TRUE(fx.app->keyInjector().kanaLockOn());
  EXPECT_TRUE(log.events.isEmpty());

  // を first: a Shift sequence, which does not move the focus itself.
  fx.click(46);
  EXPECT_TRUE(log.events.isEmpty());  // queued until the click has returned
  fx.click(5);
  fx.click(38);
  fx.click(50);  // after か: nothing
  fx.click(17);
  fx.click(50);
  QCoreApplication::processEvents();
  EXPECT_EQ(log.events, QStringList({"16ds", "48ds", "48us", "16u", "84d", "84u", "192d", "192u",
                                     "90d", "90u", "8d", "8u", "16ds", "90ds", "90us", "16u"}));
  EXPECT_TRUE(editor->hasFocus());

  // A key looks etched while the button is down, raised again after, and
  // never takes the focus.
  QLabel* k0 = fx.key(0);
  EXPECT_EQ(k0->focusPolicy(), Qt::NoFocus);
  QTest::mousePress(k0, Qt::LeftButton);
  EXPECT_EQ(k0->frameShadow(), QFrame::Sunken);
  QTest::mouseRelease(k0, Qt::LeftButton);
  EXPECT_EQ(k0->frameShadow(), QFrame::Raised);
  EXPECT_EQ(k0->text(), "あ");
  EXPECT_EQ(k0->geometry(), QRect(664, 320, 59, 59));
  EXPECT_EQ(fx.key(50)->text(), "こ\u3000もじ");
  EXPECT_FALSE(fx.key(70)->isVisible());

  // Closing hides the editor and puts the pad below the window.
  p.form.text3.caption.clear();
  QTest::mouseClick(fx.widget<QPushButton>("Command21"), Qt::LeftButton);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(fx.key(0)->geometry().top(), twipsToPixels(4800 + 7680));
}

// The input method's own kana lock counts; the keys go where the focus is
// when they are delivered, not when they were sent.
TEST(WordEditorView, StrokesGoWhereTheFocusIsAtDelivery) {
  EditorView fx;
  fx.app->keyInjector().kanaLockQuery = [] { return true; };
  QWidget* editor = fx.widget("Text3");
  QWidget* word = fx.widget("Text1(0)");
  KeyLog editorLog, wordLog;
  editor->installEventFilter(&editorLog);
  word->installEventFilter(&wordLog);
  QTest::mouseClick(fx.widget<QPushButton>("Command21"), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_TRUE(editor->hasFocus());
  fx.click(46);  // を
  word->setFocus();
  QCoreApplication::processEvents();
  EXPECT_TRUE(editorLog.events.isEmpty());
  EXPECT_EQ(wordLog.events, QStringList({"16ds", "48ds", "48us", "16u"}));
}

// Stands in for an input method that commits its composition on focus-out.
struct CommitOnFocusOut : QObject {
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::FocusOut) static_cast<QPlainTextEdit*>(o)->insertPlainText("ん");
    return false;
  }
};

TEST(WordEditorView, ClosingMidCompositionKeepsItInTheWord) {
  EditorView fx;
  Poster& p = fx.app->poster();
  auto* editor = fx.widget<QPlainTextEdit>("Text3");
  QTest::mouseClick(fx.widget<QPushButton>("Command21"), Qt::LeftButton);
  QCoreApplication::processEvents();
  ASSERT_TRUE(editor->hasFocus());
  editor->setPlainText("みか");  // as typed
  editor->moveCursor(QTextCursor::End);
  EXPECT_EQ(p.form.text3.caption, "みか");
  CommitOnFocusOut ime;
  editor->installEventFilter(&ime);
  // Closed without a click moving the focus first: the box loses it only
  // when the sync hides it.
  fx.app->window().run([&] { wordEditorClick(p); });
  EXPECT_EQ(p.form.text1[0].caption, "みかん");
  EXPECT_EQ(editor->toPlainText(), "みかん");
}

// With PASTEL_SCREENSHOT_DIR set, saves the open pad over the paper.
TEST(WordEditorView, PadOverThePaper) {
  EditorView fx;
  Poster& p = fx.app->poster();
  p.form.text1[3].caption = QStringLiteral("なつやすみ");
  QTest::mouseClick(fx.widget("Text1(3)")->findChild<QWidget*>("qt_scrollarea_viewport"),
                    Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(fx.widget<QPushButton>("Command21"), Qt::LeftButton);
  QCheckBox* option = fx.widget<QCheckBox>("Check1");
  ASSERT_NE(option, nullptr);
  QTest::mouseClick(option, Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(p.form.check1.value, 1);
  EXPECT_TRUE(fx.key(70)->isVisible());
  EXPECT_EQ(p.form.text3.caption, "なつやすみ");
  const QString dir = qEnvironmentVariable("PASTEL_SCREENSHOT_DIR");
  if (!dir.isEmpty()) fx.app->window().grab().save(dir + "/word_editor.png");
}

}  // namespace
}  // namespace pastel
