#include "storage/template_db.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "platform/sqlite_db.h"
#include "storage/field_binding.h"
#include "storage/one_row_table.h"
#include "storage/template_sql.h"
#include "words/word_lines.h"

namespace pastel {

namespace {

void removeJournals(const QString& path) {
  for (const char* suffix : {"-journal", "-wal", "-shm"})
    QFile::remove(path + QLatin1String(suffix));
}

void setError(QString* error, const QString& text) {
  if (error) *error = text;
}

}  // namespace

QString templateDatabasePath(const QString& appFolder) { return appFolder + kTemplateFileName; }

bool writeTemplateDatabase(const QString& path, QString* error) {
  const QString tmp = path + QStringLiteral(".new");
  QFile::remove(tmp);
  removeJournals(tmp);
  {
    SqliteDb db;
    const bool built =
        db.open(tmp, SqliteDb::Mode::Create) &&
        db.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) && db.exec(QStringLiteral("BEGIN")) &&
        db.exec(QString::fromUtf8(kTemplateSql)) && db.exec(QStringLiteral("COMMIT"));
    if (!built) {
      setError(error, db.error());
      db.close();
      QFile::remove(tmp);
      removeJournals(tmp);
      return false;
    }
  }
  // A journal left beside the target would be "recovered" into the new
  // file on its next write.
  removeJournals(path);
  std::error_code ec;
  std::filesystem::rename(QFile::encodeName(tmp).toStdString(),
                          QFile::encodeName(path).toStdString(), ec);
  if (ec) {
    setError(error, QString::fromStdString(ec.message()));
    QFile::remove(tmp);
    return false;
  }
  return true;
}

TemplateStart ensureTemplateDatabase(const QString& appFolder) {
  const QString path = templateDatabasePath(appFolder);
  const QFileInfo info(path);
  if (info.exists() || info.isSymLink()) return TemplateStart::Present;
  return writeTemplateDatabase(path) ? TemplateStart::Written : TemplateStart::WriteFailed;
}

WordListRead readWordList(const QString& path) {
  WordListRead r;
  SqliteDb db;
  if (!db.open(path, SqliteDb::Mode::ReadOnly)) {
    r.error = db.error();
    return r;
  }
  const OneRow row = readFirstRow(db, kWordListTable, wordListColumns());
  if (!row.tableOk || !row.missing.isEmpty()) {
    r.error =
        row.tableOk ? QStringLiteral("missing ") + row.missing.join(QLatin1Char(' ')) : db.error();
    return r;
  }
  r.ok = true;
  r.hasRow = row.hasRow;
  const QStringList cols = wordListColumns();
  for (int k = 0; k < kSlots; ++k) r.words[k] = withinWordLength(row.values.value(cols[k]));
  return r;
}

bool storeWordList(const QString& path, const WordList& words, QString* error) {
  SqliteDb db;
  if (!db.open(path, SqliteDb::Mode::ReadWrite)) {
    setError(error, db.error());
    return false;
  }
  const OneRow row = readFirstRow(db, kWordListTable, wordListColumns());
  if (!row.tableOk || !row.missing.isEmpty()) {
    setError(error, row.tableOk ? QStringLiteral("missing column") : db.error());
    return false;
  }
  QHash<QString, QString> values;
  const QStringList cols = wordListColumns();
  for (int k = 0; k < kSlots; ++k) values[cols[k]] = words[k];
  if (!writeRow(db, kWordListTable, row, values)) {
    setError(error, db.error());
    return false;
  }
  return true;
}

}  // namespace pastel
