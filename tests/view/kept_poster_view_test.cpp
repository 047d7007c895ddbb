#include <gtest/gtest.h>

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/pastel_app_view.h"
#include "canvas/lines.h"
#include "steps/open_poster.h"
#include "steps/wizard.h"
#include "support/stand_ins.h"
#include "view_support.h"

namespace pastel {
namespace {

struct KeptApp {
  KeptApp(const QString& folder, ScriptedDialogs& dialogs, FixedDesktop& desktop,
          const QString& appFolder, const QString& posterFile = {}, bool settings = false) {
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.executableFolder = appFolder;
    o.openSettings = settings;
    o.keepPoster = true;
    o.keptFolder = folder;
    o.posterFile = posterFile;
    app = std::make_unique<PastelApp>(o);
    app->start();
  }
  std::unique_ptr<PastelApp> app;
};

// A program that did not end through its confirmation leaves the poster in
// progress; the next start asks first and puts it back in its step, pixel
// for pixel. After a clean end nothing is asked.
TEST(KeptPosterView, APosterLeftBehindComesBackInItsStep) {
  QTemporaryDir state, appFolder;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  QImage paper;
  {
    KeptApp a(state.path(), dialogs, desktop, appFolder.path());
    Poster& p = a.app->poster();
    EXPECT_TRUE(dialogs.messages.empty());  // nothing was left to offer
    p.form.command13.backColor = rgb(255, 0, 0);
    a.app->window().run([&] { penPress(p, p.form.paper, 3000, 3000); });
    a.app->window().run([&] { penRelease(p); });
    a.app->window().findChild<QPushButton*>("Command11")->click();  // on to the photos
    a.app->window().findChild<QPushButton*>("Command6")->click();   // and the words
    p.form.text1[3].caption = QStringLiteral("なつ");
    p.form.text1[3].left = 3000;
    a.app->window().run([] {});
    paper = p.form.paper.image();
  }  // gone without its confirmation, as if killed
  {
    dialogs.answers.push_back(MsgAnswer::Yes);
    KeptApp b(state.path(), dialogs, desktop, appFolder.path());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "つづき");
    EXPECT_EQ(dialogs.messages[0].defaultButton, MsgAnswer::Yes);
    Poster& p = b.app->poster();
    EXPECT_EQ(currentStep(p), 3);
    EXPECT_TRUE(p.form.command21.visible);
    EXPECT_FALSE(p.form.picture1.visible);
    EXPECT_FALSE(p.form.hscroll1.visible);
    EXPECT_EQ(p.form.paper.image(), paper);
    EXPECT_EQ(p.form.text1[3].caption, "なつ");
    EXPECT_TRUE(p.form.text1[3].visible);
    // Ctrl+Z takes back the poster's last change, even from inside a word.
    auto* word = b.app->window().findChild<QPlainTextEdit*>("Text1(3)");
    word->setFocus();
    QTest::keyClicks(word, "x");
    const QString typed = p.form.text1[3].caption;
    EXPECT_EQ(typed.size(), 3);
    QTest::keyClick(word, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(p.form.text1[3].caption, "なつ");
    QTest::keyClick(word, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(p.form.text1[3].caption, typed);
    dialogs.messages.clear();
    dialogs.answers.push_back(MsgAnswer::Yes);
    b.app->window().askToEnd();
    EXPECT_EQ(desktop.terminated, 1);
  }
  KeptApp c(state.path(), dialogs, desktop, appFolder.path());
  EXPECT_EQ(dialogs.messages.size(), 1u);  // only the end's question before
  EXPECT_EQ(currentStep(c.app->poster()), 1);
}

// おわり, the close box, Alt+Q's 終了 and a close box pressed while a
// handler runs end the same way: after はい nothing is offered at the next start.
TEST(KeptPosterView, EveryWayToEndRemovesTheKeptPoster) {
  for (int route = 0; route < 4; ++route) {
    SCOPED_TRACE(route);
    QTemporaryDir state, appFolder;
    ScriptedDialogs dialogs;
    FixedDesktop desktop;
    {
      KeptApp a(state.path(), dialogs, desktop, appFolder.path());
      Poster& p = a.app->poster();
      MainWindowView& w = a.app->window();
      p.form.command13.backColor = rgb(255, 0, 0);
      w.run([&] { penPress(p, p.form.paper, 3000, 3000); });
      w.run([&] { penRelease(p); });
      dialogs.answers.push_back(MsgAnswer::Yes);
      if (route == 0) w.findChild<QPushButton*>("Command3")->click();
      if (route == 1) w.close();
      if (route == 2) w.itemEnd()->trigger();
      if (route == 3) {
        QTimer::singleShot(0, &w, [&w] { w.close(); });
        w.findChild<QPushButton*>("Command19")->click();  // clearing the paper yields
      }
      EXPECT_EQ(desktop.terminated, 1);
    }
    dialogs.messages.clear();
    KeptApp b(state.path(), dialogs, desktop, appFolder.path());
    EXPECT_TRUE(dialogs.messages.empty());
  }
}

// Start-up and the settings dialog put the paper and the word list out; they
// are not the child's changes: nothing to take back, nothing to offer.
TEST(KeptPosterView, AStartIsNoChange) {
  QTemporaryDir state, appFolder;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  {
    KeptApp a(state.path(), dialogs, desktop, appFolder.path(), {}, true);
    Poster& p = a.app->poster();
    QWidget* settings = test::shownTopLevel("frmList");
    ASSERT_NE(settings, nullptr);
    settings->findChild<QPushButton*>("Command12")->click();  // これでよし
    const QString word = p.form.text1[0].caption;
    const QImage paper = p.form.paper.image();
    EXPECT_FALSE(word.isEmpty());
    a.app->window().run([&] { a.app->safety().undo(); });
    EXPECT_EQ(p.form.text1[0].caption, word);
    EXPECT_EQ(p.form.paper.image(), paper);
    EXPECT_FALSE(a.app->safety().history().canUndo());
  }
  dialogs.messages.clear();
  KeptApp b(state.path(), dialogs, desktop, appFolder.path());
  EXPECT_TRUE(dialogs.messages.empty());
}

// A poster opened from the file manager would replace one put back at once:
// the one left behind is not asked about then, and waits for the next start.
TEST(KeptPosterView, APosterOpenedFromTheFileManagerLeavesTheOneLeftBehindWaiting) {
  QTemporaryDir state, appFolder;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  {
    KeptApp a(state.path(), dialogs, desktop, appFolder.path());
    Poster& p = a.app->poster();
    p.form.command13.backColor = rgb(255, 0, 0);
    a.app->window().run([&] { penPress(p, p.form.paper, 3000, 3000); });
    a.app->window().run([&] { penRelease(p); });
  }
  {
    KeptApp b(state.path(), dialogs, desktop, appFolder.path(), appFolder.path() + "/ない.mdb");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialogs.messages.empty(); }));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, kOpenRefusedText);
  }
  dialogs.messages.clear();
  dialogs.answers.push_back(MsgAnswer::Yes);
  KeptApp c(state.path(), dialogs, desktop, appFolder.path());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "つづき");
}

// With nowhere to keep the poster the teacher is told once, with the folder
// to look at; the program goes on.
TEST(KeptPosterView, NowhereToKeepIsToldOnce) {
  QTemporaryDir dir;
  ASSERT_TRUE(QFile(dir.filePath("a file")).open(QIODevice::WriteOnly));
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  KeptApp a(dir.filePath("a file/pastelboard"), dialogs, desktop, dir.path());
  Poster& p = a.app->poster();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].title, "ファイルエラー");
  EXPECT_TRUE(dialogs.messages[0].text.startsWith("つくりかけの ポスターを しまって おけません"));
  EXPECT_TRUE(dialogs.messages[0].text.contains(dir.filePath("a file/pastelboard")));
  p.form.command13.backColor = rgb(255, 0, 0);
  a.app->window().run([&] { penPress(p, p.form.paper, 3000, 3000); });
  a.app->window().run([&] { penRelease(p); });
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace pastel
