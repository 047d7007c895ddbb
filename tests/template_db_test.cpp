#include "storage/template_db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "db_test_support.h"

namespace pastel {
namespace {

using test::rawValue;

const WordList kTemplateWords{"なつやすみ",   "えんそく", "ありがとう", "うんどうかい", "おまつり",
                              "たんじょうび", "ともだち", "がっこう",   "おかあさん",   "だいすき"};

TEST(TemplateDatabase, MissingTemplateIsWrittenFreshAndAPresentOneKept) {
  QTemporaryDir dir;
  const QString app = dir.path() + "/";
  EXPECT_EQ(ensureTemplateDatabase(app), TemplateStart::Written);
  const WordListRead r = readWordList(app + "pastel.mdb");
  ASSERT_TRUE(r.ok) << r.error.toStdString();
  EXPECT_TRUE(r.hasRow);
  EXPECT_EQ(r.words, kTemplateWords);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"pastel.mdb"});
  for (const char* t : {"imagedata", "textdata", "所属テーブル"})
    EXPECT_EQ(test::rawRowCount(app + "pastel.mdb", t), 1) << t;
  EXPECT_EQ(rawValue(app + "pastel.mdb", "textdata", "tex3T"), "4680");

  WordList mine = kTemplateWords;
  mine[3] = "あめ\r\nふり";
  mine[9] = "";
  ASSERT_TRUE(storeWordList(app + "pastel.mdb", mine));
  EXPECT_EQ(ensureTemplateDatabase(app), TemplateStart::Present);
  EXPECT_EQ(readWordList(app + "pastel.mdb").words, mine);
  EXPECT_EQ(test::rawRowCount(app + "pastel.mdb", "所属テーブル"), 1);

  // An empty word table gets its first row on storing.
  ASSERT_TRUE(test::rawExec(app + "pastel.mdb", "DELETE FROM 所属テーブル"));
  EXPECT_FALSE(readWordList(app + "pastel.mdb").hasRow);
  ASSERT_TRUE(storeWordList(app + "pastel.mdb", mine));
  EXPECT_EQ(readWordList(app + "pastel.mdb").words, mine);
}

TEST(TemplateDatabase, AStaleJournalOfTheTargetIsNotRecoveredIntoTheNewFile) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/pastel.mdb";
  ASSERT_TRUE(writeTemplateDatabase(path));
  ASSERT_TRUE(test::rawExec(path, "UPDATE 所属テーブル SET moji1 = 'ふるい'"));
  // Catch a hot journal of the old file in the middle of a write.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "PRAGMA synchronous=OFF; BEGIN; UPDATE 所属テーブル SET moji2 = 'x'; "
                         "UPDATE textdata SET tex0F = 'x'",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  ASSERT_TRUE(QFile::copy(path + "-journal", dir.path() + "/saved-journal"));
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  ASSERT_TRUE(QFile::remove(path));
  ASSERT_TRUE(QFile::copy(dir.path() + "/saved-journal", path + "-journal"));

  EXPECT_EQ(ensureTemplateDatabase(dir.path() + "/"), TemplateStart::Written);
  EXPECT_FALSE(QFile::exists(path + "-journal"));
  // The first read-write open would replay a journal left there.
  ASSERT_TRUE(test::rawExec(path, "SELECT count(*) FROM 所属テーブル"));
  EXPECT_EQ(rawValue(path, "所属テーブル", "moji1"), "なつやすみ");
  EXPECT_EQ(readWordList(path).words, kTemplateWords);
}

}  // namespace
}  // namespace pastel
