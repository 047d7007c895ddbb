#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "db_test_support.h"
#include "steps/open_poster.h"
#include "steps/startup.h"
#include "storage/template_db.h"
#include "view_support.h"

namespace pastel {
namespace {

QWidget* settingsWindow() { return test::shownTopLevel(QStringLiteral("frmList")); }

// The real program as a file manager starts it: the settings dialog opens as
// at every start, and the poster named on the command line once it is gone.
struct StartedWith : test::ViewFixture {
  explicit StartedWith(const QString& posterFile)
      : ViewFixture(nullptr, [&posterFile](PastelApp::Options& o) {
          o.openSettings = true;
          o.posterFile = posterFile;
        }) {}
  ~StartedWith() {
    if (QWidget* settings = settingsWindow()) settings->close();
  }
};

TEST(CommandLineOpen, PosterNamedOnTheCommandLineOpensOnceStartUpHasFinished) {
  QTemporaryDir files;
  const QString folder = files.path() + QStringLiteral("/ぼくの ポスター");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString db = folder + QStringLiteral("/なつ.mdb");
  ASSERT_TRUE(writeTemplateDatabase(db));
  ASSERT_TRUE(test::rawExec(db,
                            "UPDATE textdata SET tex9L = '6000', tex9T = '6000', tex9W = '3000', "
                            "tex9H = '645', tex9S = '14', tex9F = 'かえる', tex9C = '255', "
                            "tex9B = '65535'"));

  // What a file manager or a shell hands over.
  EXPECT_EQ(
      posterFileArgument({"pastelboard", "file://" + QString(QUrl::toPercentEncoding(db, "/"))}),
      db);
  EXPECT_EQ(posterFileArgument({"pastelboard", "--", "-x.mdb"}), QDir::currentPath() + "/-x.mdb");
  EXPECT_EQ(posterFileArgument({"pastelboard", "なつ.mdb", "あき.mdb"}),
            QDir::currentPath() + "/なつ.mdb");
  EXPECT_TRUE(posterFileArgument({"pastelboard", "--reverse"}).isEmpty());

  StartedWith run(db);
  Poster& p = run.app->poster();
  // Start-up ends in step 1 with the settings dialog over the window; the
  // poster waits for it, since confirming it puts the word list on the slots.
  EXPECT_EQ(p.form.label5.caption, kStep1Title);
  QWidget* settings = settingsWindow();
  ASSERT_NE(settings, nullptr);
  QCoreApplication::processEvents();  // whatever is due now, a zero timer included
  EXPECT_EQ(p.form.label5.caption, kStep1Title);
  auto* ok = settings->findChild<QPushButton*>(QStringLiteral("Command12"));  // これでよし
  ASSERT_NE(ok, nullptr);
  ok->click();
  EXPECT_TRUE(QTest::qWaitFor([&p] { return p.form.label5.caption == kStep4OpenedTitle; }));
  EXPECT_EQ(p.form.label5.caption, kStep4OpenedTitle);
  EXPECT_TRUE(run.dialogs.fileDialogs.empty());
  for (const MessageBoxText& m : run.dialogs.messages) EXPECT_NE(m.text, kOpenRefusedText);
  // The poster's own word, not the word list's tenth.
  EXPECT_EQ(p.form.text1[9].caption, QStringLiteral("かえる"));
  EXPECT_TRUE(p.form.text1[9].visible);
  EXPECT_EQ(p.saveFolder, folder);  // the save dialog starts beside it
  auto* save = run.app->window().findChild<QPushButton*>(QStringLiteral("Command20"));
  ASSERT_NE(save, nullptr);
  EXPECT_TRUE(save->isVisible());
  EXPECT_TRUE(save->isEnabled());
}

TEST(CommandLineOpen, FileThatIsNoPosterGetsTheOpeningsMessageAndTheProgramGoesOn) {
  QTemporaryDir files;
  const QString notes = files.path() + QStringLiteral("/にっき.mdb");
  QFile f(notes);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("きょうは はれ\n");
  f.close();

  for (const QString& path : {notes, files.path() + QStringLiteral("/ない.mdb")}) {
    SCOPED_TRACE(path.toStdString());
    StartedWith run(path);
    Poster& p = run.app->poster();
    ASSERT_NE(settingsWindow(), nullptr);
    settingsWindow()->close();  // from its frame: the same as confirming, for the poster
    EXPECT_TRUE(QTest::qWaitFor([&run] { return !run.dialogs.messages.empty(); }));
    ASSERT_EQ(run.dialogs.messages.size(), 1u);
    EXPECT_EQ(run.dialogs.messages[0].text, kOpenRefusedText);
    EXPECT_EQ(run.dialogs.messages[0].title, kOpenTitle);
    EXPECT_EQ(p.form.label5.caption, kStep1Title);
    EXPECT_TRUE(run.app->window().isEnabled());
    EXPECT_FALSE(QFileInfo::exists(files.path() + QStringLiteral("/ない.mdb")));
    // The child goes on in step 1.
    auto* next = run.app->window().findChild<QPushButton*>(QStringLiteral("Command11"));
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->isEnabled());
    EXPECT_TRUE(run.app->window().isVisible());
  }
}

}  // namespace
}  // namespace pastel
