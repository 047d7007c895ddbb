#include "storage/poster_db.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "db_test_support.h"
#include "storage/template_db.h"

namespace pastel {
namespace {

using test::fileBytes;
using test::rawExec;
using test::rawValue;

// Every column of the first row of a table, by name.
std::map<QString, QString> rawRow(const QString& path, const QString& table) {
  std::map<QString, QString> row;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    const QByteArray sql = QStringLiteral("SELECT * FROM \"%1\" LIMIT 1").arg(table).toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      for (int c = 0; c < sqlite3_column_count(st); ++c)
        row[QString::fromUtf8(sqlite3_column_name(st, c))] =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return row;
}

TEST(PosterDatabase, EveryFieldBufferLandsInItsColumnAndReadsBack) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/なつ やすみ.mdb";
  ASSERT_TRUE(writeTemplateDatabase(path));
  EXPECT_EQ(rawValue(path, "imagedata", "colcode"), "#ffffff");

  FieldBuffers buffers;
  ExchangeResult r = exchangeFieldBuffers(path, buffers, [](FieldBuffers& b) {
    // The template's parked row is what the buffers show before writing.
    EXPECT_EQ(b[1], "13200");
    EXPECT_EQ(b[55], "555");
    for (int i = 0; i < 133; ++i) b[i] = QString("v%1 あ\r\nい").arg(i);
  });
  EXPECT_TRUE(r.ok()) << r.failures.join("; ").toStdString();

  // Rows of the file format's binding table, as it gives them.
  const struct {
    int buffer;
    const char* table;
    const char* column;
  } rows[] = {{0, "imagedata", "backcolor"}, {1, "imagedata", "ima0L"},  {5, "imagedata", "ima0F"},
              {6, "imagedata", "ima1L"},     {22, "imagedata", "ima4T"}, {50, "imagedata", "ima9F"},
              {51, "imagedata", "colcode"},  {52, "textdata", "tex0L"},  {56, "textdata", "tex0S"},
              {59, "textdata", "tex0B"},     {60, "textdata", "tex1L"},  {129, "textdata", "tex9F"},
              {131, "textdata", "tex9B"},    {132, "imagedata", "sgazo"}};
  for (const auto& r : rows)
    EXPECT_EQ(rawValue(path, r.table, r.column), QString("v%1 あ\r\nい").arg(r.buffer)) << r.column;
  // And together the 133 buffers fill every column of both tables, each
  // buffer its own.
  std::set<QString> seen;
  int columns = 0;
  for (const char* table : {"imagedata", "textdata"})
    for (const auto& [column, value] : rawRow(path, table)) {
      ++columns;
      seen.insert(value);
    }
  EXPECT_EQ(columns, 133);
  EXPECT_EQ(seen.size(), 133u);
  EXPECT_EQ(seen.count(QString("v77 あ\r\nい")), 1u);

  FieldBuffers back;
  r = readFieldBuffers(path, back);
  EXPECT_TRUE(r.ok());
  for (int b = 0; b < 133; ++b) EXPECT_EQ(back[b], QString("v%1 あ\r\nい").arg(b));

  // Still one row in each table: storing edits the row, it adds none.
  EXPECT_EQ(test::rawRowCount(path, "imagedata"), 1);
  EXPECT_EQ(test::rawRowCount(path, "textdata"), 1);
}

TEST(PosterDatabase, HostileFilesFailQuicklyAndStayAsTheyWere) {
  QTemporaryDir dir;
  const QString d = dir.path();
  ASSERT_TRUE(test::writeBytes(d + "/text.mdb", "これは データベースでは ありません\n"));
  ASSERT_TRUE(test::writeBytes(d + "/empty.mdb", ""));
  ASSERT_TRUE(QDir().mkpath(d + "/folder.mdb"));
  ASSERT_TRUE(writeTemplateDatabase(d + "/notext.mdb"));
  ASSERT_TRUE(rawExec(d + "/notext.mdb", "DROP TABLE textdata; UPDATE imagedata SET ima0L='42'"));
  ASSERT_TRUE(writeTemplateDatabase(d + "/view.mdb"));
  ASSERT_TRUE(rawExec(d + "/view.mdb",
                      "DROP TABLE imagedata; DROP TABLE textdata; DROP TABLE 所属テーブル; "
                      "CREATE VIEW textdata AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL "
                      "SELECT x + 1 FROM c) SELECT x AS tex0L FROM c; "
                      "CREATE VIEW imagedata AS SELECT * FROM textdata; "
                      "CREATE VIEW 所属テーブル AS SELECT * FROM textdata"));
  ASSERT_TRUE(writeTemplateDatabase(d + "/huge.mdb"));
  ASSERT_TRUE(rawExec(d + "/huge.mdb",
                      "UPDATE textdata SET tex0F = zeroblob(3000000); "
                      "UPDATE imagedata SET backcolor = zeroblob(3000000); "
                      "UPDATE 所属テーブル SET moji1 = zeroblob(3000000)"));

  for (const char* name :
       {"text.mdb", "empty.mdb", "folder.mdb", "missing.mdb", "view.mdb", "huge.mdb"}) {
    SCOPED_TRACE(name);
    const QString path = d + "/" + name;
    const QByteArray before = fileBytes(path);
    QElapsedTimer t;
    t.start();
    FieldBuffers buffers;
    buffers.fill("keep");
    const ExchangeResult read = readFieldBuffers(path, buffers);
    EXPECT_FALSE(read.ok());
    const ExchangeResult stored =
        exchangeFieldBuffers(path, buffers, [](FieldBuffers& b) { b.fill("new"); });
    EXPECT_FALSE(stored.ok());
    const WordListRead words = readWordList(path);
    EXPECT_FALSE(words.ok);
    EXPECT_FALSE(storeWordList(path, WordList{"x"}));
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(QFileInfo::exists(d + "/missing.mdb"), false);
  }

  // A missing table costs only its own columns: imagedata is still used.
  FieldBuffers buffers;
  buffers.fill("keep");
  const ExchangeResult r = readFieldBuffers(d + "/notext.mdb", buffers);
  EXPECT_TRUE(r.opened);
  EXPECT_EQ(buffers[1], "42");
  EXPECT_EQ(buffers[52], "keep");
  EXPECT_TRUE(r.failures.join(" ").contains("textdata"));
  exchangeFieldBuffers(d + "/notext.mdb", buffers, [](FieldBuffers& b) { b[1] = "43"; });
  EXPECT_EQ(rawValue(d + "/notext.mdb", "imagedata", "ima0L"), "43");
}

}  // namespace
}  // namespace pastel
