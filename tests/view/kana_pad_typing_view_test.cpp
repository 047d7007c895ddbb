#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "view_support.h"

namespace pastel {
namespace {

// The whole word editor as a child uses it: the real pad keys, the posted
// key strokes, the built-in input method and Anthy, in the real window.
struct PadTyping : test::ViewFixture {
  PadTyping() {
    app->window().activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(&app->window()));
    QTest::mouseClick(widget<QPushButton>("Command11"), Qt::LeftButton);
    QTest::mouseClick(widget<QPushButton>("Command6"), Qt::LeftButton);
    QTest::mouseClick(widget<QPushButton>("Command21"), Qt::LeftButton);
    QCoreApplication::processEvents();
  }
  void keys(std::initializer_list<int> ks) {
    for (int k : ks) {
      QTest::mouseClick(widget<QLabel>(QStringLiteral("Label1(%1)").arg(k)), Qt::LeftButton);
      QCoreApplication::processEvents();
    }
  }
  QString editorText() { return widget<QPlainTextEdit>("Text3")->toPlainText(); }
};

enum Key {
  U = 2,
  Ka = 5,
  Ko = 9,
  Tsu = 17,
  Na = 20,
  Ha = 25,
  Hi = 26,
  Dakuten = 38,
  Small = 50,
  Kanji = 61,
  Ok = 64,
};

TEST(KanaPadTyping, KeysComposeConvertAndCommitIntoTheWord) {
  PadTyping fx;
  Poster& p = fx.app->poster();
  ASSERT_TRUE(fx.widget("Text3")->hasFocus());

  fx.keys({Ka, Dakuten, Tsu, Small, Ko, U});
  EXPECT_EQ(fx.editorText(), "");  // still composing
  fx.keys({Ok});
  EXPECT_EQ(fx.editorText(), "がっこう");

  fx.keys({Ha, Na, Hi, Dakuten, Kanji});
  auto* list = fx.app->window().findChild<QListWidget*>("KanaCandidates");
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->isVisible());
  // On the window, over none of the keys, rows big enough for a child.
  QWidget& window = fx.app->window();
  const QRect listed(list->mapTo(&window, QPoint(0, 0)), list->size());
  EXPECT_TRUE(window.rect().contains(listed));
  for (int k = 0; k < 71; ++k) {
    const QWidget* key = fx.widget(QStringLiteral("Label1(%1)").arg(k));
    EXPECT_FALSE(key->isVisible() &&
                 QRect(key->mapTo(&window, QPoint(0, 0)), key->size()).intersects(listed))
        << k;
  }
  EXPECT_GE(list->visualItemRect(list->item(0)).height(), 32);
  EXPECT_GE(listed.height(), 3 * 32);
  fx.keys({Ok});
  EXPECT_EQ(fx.editorText(), "がっこう花火");
  EXPECT_FALSE(list->isVisible());

  // A click on a candidate commits it.
  fx.keys({Ha, Na, Hi, Dakuten, Kanji});
  ASSERT_TRUE(list->isVisible());
  const QList<QListWidgetItem*> katakana = list->findItems("ハナビ", Qt::MatchExactly);
  ASSERT_EQ(katakana.size(), 1);
  const QRect r = list->visualItemRect(katakana.front());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_EQ(fx.editorText(), "がっこう花火ハナビ");

  // Closing in the middle of a composition keeps it in the word.
  fx.keys({Ka, Na});
  QTest::mouseClick(fx.widget<QPushButton>("Command21"), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_FALSE(fx.widget("Text3")->isVisible());
  EXPECT_EQ(p.form.text1[0].caption, "がっこう花火ハナビかな");
}

}  // namespace
}  // namespace pastel
