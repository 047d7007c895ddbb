#include "storage/word_list_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "db_test_support.h"
#include "storage/template_db.h"

namespace pastel {
namespace {

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// An installed program's folder as a child's account sees it: the tests may
// run as root, who could write there anyway.
bool installedIsReadOnly(const QString& folder, const QString&) {
  return !folder.contains(QStringLiteral("/installed/"));
}

struct Folders {
  QTemporaryDir dir;
  QString app = dir.path() + "/installed/";
  QString user = dir.path() + "/home/.local/share/pastelboard/";
  Folders() { QDir().mkpath(app); }
  QStringList appFiles() const {
    return QDir(app).entryList(QDir::Files | QDir::Hidden | QDir::System);
  }
};

TEST(WordListFile, WritableProgramFolderKeepsTheListBesideTheProgram) {
  Folders f;
  WordListPlace r = placeWordList(f.app, f.user);
  EXPECT_EQ(r.how, WordListPlace::How::AppFolder);
  EXPECT_EQ(r.path, f.app + "pastel.mdb");
  EXPECT_TRUE(readWordList(r.path).ok);
  EXPECT_FALSE(QFileInfo::exists(f.user));

  WordList mine = readWordList(r.path).words;
  mine[0] = "せんせい";
  ASSERT_TRUE(storeWordList(r.path, mine));
  r = placeWordList(f.app, f.user);
  EXPECT_EQ(r.how, WordListPlace::How::AppFolder);
  EXPECT_EQ(readWordList(r.path).words[0], "せんせい");
}

TEST(WordListFile, ReadOnlyProgramFolderGivesEachAccountItsOwnCopy) {
  Folders f;
  const QString installed = f.app + "pastel.mdb";
  ASSERT_TRUE(writeTemplateDatabase(installed));
  WordList teacher = readWordList(installed).words;
  teacher[0] = "せんせい";
  ASSERT_TRUE(storeWordList(installed, teacher));
  // Installed files are read-only; the copy must still take the child's edits.
  QFile::setPermissions(installed, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  const QByteArray before = bytesOf(installed);

  WordListPlace r = placeWordList(f.app, f.user, installedIsReadOnly);
  ASSERT_EQ(r.how, WordListPlace::How::UserCopied) << r.error.toStdString();
  EXPECT_EQ(r.path, f.user + "pastel.mdb");
  EXPECT_EQ(readWordList(r.path).words, teacher);
  WordList child = teacher;
  child[2] = "かえる";
  ASSERT_TRUE(storeWordList(r.path, child));

  // A later start keeps the child's list, even after the teacher changes theirs.
  QFile::setPermissions(installed, QFile::ReadOwner | QFile::WriteOwner);
  teacher[1] = "あたらしい";
  ASSERT_TRUE(storeWordList(installed, teacher));
  QFile::setPermissions(installed, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  r = placeWordList(f.app, f.user, installedIsReadOnly);
  EXPECT_EQ(r.how, WordListPlace::How::UserPresent);
  EXPECT_EQ(readWordList(r.path).words, child);

  EXPECT_EQ(f.appFiles(), QStringList{"pastel.mdb"});
  EXPECT_EQ(QDir(f.user).entryList(QDir::Files), QStringList{"pastel.mdb"});
  EXPECT_NE(bytesOf(installed), before);  // only the teacher's own edit changed it
}

TEST(WordListFile, ReadOnlyProgramFolderWithoutAListStartsAFreshOneForTheAccount) {
  Folders f;
  const WordListPlace r = placeWordList(f.app, f.user, installedIsReadOnly);
  ASSERT_EQ(r.how, WordListPlace::How::UserWritten) << r.error.toStdString();
  EXPECT_TRUE(readWordList(r.path).ok);
  EXPECT_TRUE(f.appFiles().isEmpty());
}

TEST(WordListFile, ReadOnlyListInAWritableFolderIsNotWrittenEither) {
  Folders f;
  const QString installed = f.app + "pastel.mdb";
  ASSERT_TRUE(writeTemplateDatabase(installed));
  const auto fileReadOnly = [&](const QString&, const QString& file) { return file != installed; };
  const WordListPlace r = placeWordList(f.app, f.user, fileReadOnly);
  EXPECT_EQ(r.how, WordListPlace::How::UserCopied);
  EXPECT_EQ(bytesOf(r.path), bytesOf(installed));
}

TEST(WordListFile, NoPlaceForTheCopyFailsWithoutTouchingAnything) {
  Folders f;
  ASSERT_TRUE(writeTemplateDatabase(f.app + "pastel.mdb"));
  // A file where the account's folder should be.
  QDir().mkpath(f.dir.path() + "/home/.local/share");
  QFile blocker(f.dir.path() + "/home/.local/share/pastelboard");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const WordListPlace r = placeWordList(f.app, f.user, installedIsReadOnly);
  EXPECT_EQ(r.how, WordListPlace::How::Failed);
  EXPECT_EQ(r.path, f.app + "pastel.mdb");  // still read from, never written
  EXPECT_FALSE(r.error.isEmpty());
  EXPECT_EQ(f.appFiles(), QStringList{"pastel.mdb"});
  EXPECT_EQ(placeWordList(f.app, QString(), installedIsReadOnly).how, WordListPlace::How::Failed);
}

TEST(WordListFile, AccountFolderFollowsXdgDataHome) {
  const QByteArray old = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", "/tmp/somewhere/data");
  EXPECT_EQ(userWordListFolder(), "/tmp/somewhere/data/pastelboard/");
  if (old.isEmpty())
    qunsetenv("XDG_DATA_HOME");
  else
    qputenv("XDG_DATA_HOME", old);
}

}  // namespace
}  // namespace pastel
