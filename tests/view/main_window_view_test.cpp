#include <gtest/gtest.h>

#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "view_support.h"

namespace pastel {
namespace {

using test::ViewFixture;

TEST(MainWindowView, ShowsStepOneAtItsGeometry) {
  ViewFixture fx;
  MainWindowView& w = fx.app->window();
  EXPECT_EQ(w.windowTitle(), "パステルボード");
  EXPECT_EQ(w.paperArea()->size(), QSize(1008, 710));
  auto* next = w.findChild<QPushButton*>("Command11");
  ASSERT_NE(next, nullptr);
  EXPECT_TRUE(next->isVisible());
  EXPECT_EQ(next->geometry(), QRect(872, 24, 121, 73));
  EXPECT_EQ(next->text(), "つぎへ");
  auto* back = w.findChild<QPushButton*>("Command5");
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(back->isVisible());
  EXPECT_FALSE(back->isEnabled());
  EXPECT_FALSE(w.findChild<QPushButton*>("Command20")->isVisible());
  QWidget* paper = w.findChild<QWidget*>("Picture1");
  ASSERT_NE(paper, nullptr);
  EXPECT_EQ(paper->geometry(), QRect(16, 184, 707, 499));
  QStringList menu;
  for (QAction* a : w.menuBar()->actions()) menu << a->text();
  EXPECT_EQ(menu, QStringList({"開く(&O)", "設定(&D)", "画像で保存(&G)", "終了(&Q)"}));
}

TEST(MainWindowView, EndButtonAsksTheConfirmation) {
  ViewFixture fx;
  auto* end = fx.app->window().findChild<QPushButton*>("Command3");
  ASSERT_NE(end, nullptr);
  fx.dialogs.answers = {MsgAnswer::No};
  QTest::mouseClick(end, Qt::LeftButton);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text, "ほんとうに おわりにしますか？");
  EXPECT_EQ(fx.desktop.terminated, 0);
  EXPECT_TRUE(fx.app->window().isVisible());

  // Closing the frame asks the same; No keeps the window open.
  fx.dialogs.answers = {MsgAnswer::No};
  fx.app->window().close();
  EXPECT_EQ(fx.dialogs.messages.size(), 2u);
  EXPECT_TRUE(fx.app->window().isVisible());

  // Alt+Q is 終了(&Q).
  fx.app->window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&fx.app->window()));
  fx.dialogs.answers = {MsgAnswer::Yes};
  QTest::keyClick(&fx.app->window(), Qt::Key_Q, Qt::AltModifier);
  EXPECT_EQ(fx.dialogs.messages.size(), 3u);
  EXPECT_EQ(fx.desktop.terminated, 1);
}

}  // namespace
}  // namespace pastel
