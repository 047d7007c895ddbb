#include "storage/one_row_table.h"

#include "platform/sqlite_db.h"

namespace pastel {

OneRow readFirstRow(SqliteDb& db, const QString& table, const QStringList& wanted) {
  OneRow row;
  if (!db.isTable(table)) return row;
  const QStringList have = db.columns(table);
  if (have.isEmpty()) return row;
  for (const QString& c : wanted) (have.contains(c) ? row.present : row.missing) << c;
  QString sql = QStringLiteral("SELECT rowid");
  for (const QString& c : row.present) sql += QLatin1String(", ") + quoteIdentifier(c);
  sql +=
      QLatin1String(" FROM ") + quoteIdentifier(table) + QLatin1String(" ORDER BY rowid LIMIT 1");
  SqliteStatement s(db, sql);
  if (!s.ok()) return row;
  if (s.step()) {
    row.hasRow = true;
    row.rowid = s.integer(0);
    for (int k = 0; k < row.present.size(); ++k) row.values[row.present[k]] = s.text(k + 1);
  } else if (!s.done()) {
    return row;
  }
  row.tableOk = true;
  return row;
}

bool writeRow(SqliteDb& db, const QString& table, const OneRow& row,
              const QHash<QString, QString>& values) {
  if (!row.tableOk) return false;
  QStringList cols;
  for (const QString& c : row.present)
    if (values.contains(c)) cols << c;
  QString sql;
  if (row.hasRow) {
    if (cols.isEmpty()) return true;
    sql = QLatin1String("UPDATE ") + quoteIdentifier(table) + QLatin1String(" SET ");
    for (int k = 0; k < cols.size(); ++k)
      sql += (k ? QLatin1String(", ") : QLatin1String("")) + quoteIdentifier(cols[k]) +
             QStringLiteral(" = ?%1").arg(k + 1);
    sql += QStringLiteral(" WHERE rowid = ?%1").arg(cols.size() + 1);
  } else {
    sql = QLatin1String("INSERT INTO ") + quoteIdentifier(table);
    if (cols.isEmpty()) {
      sql += QLatin1String(" DEFAULT VALUES");
    } else {
      QStringList names, marks;
      for (int k = 0; k < cols.size(); ++k) {
        names << quoteIdentifier(cols[k]);
        marks << QStringLiteral("?%1").arg(k + 1);
      }
      sql += QLatin1String(" (") + names.join(QLatin1String(", ")) + QLatin1String(") VALUES (") +
             marks.join(QLatin1String(", ")) + QLatin1Char(')');
    }
  }
  SqliteStatement s(db, sql);
  for (int k = 0; k < cols.size(); ++k)
    if (!s.bind(k + 1, values.value(cols[k]))) return false;
  if (row.hasRow && !s.bind(int(cols.size()) + 1, row.rowid)) return false;
  s.step();
  return s.done();
}

}  // namespace pastel
