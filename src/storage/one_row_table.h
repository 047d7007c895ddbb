#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

namespace pastel {

class SqliteDb;

// The first row of a one-row table, as far as the table has the columns.
struct OneRow {
  bool tableOk = false;  // a plain table that could be read
  QStringList present;   // wanted columns the table has, in wanted order
  QStringList missing;
  bool hasRow = false;
  qint64 rowid = 0;
  QHash<QString, QString> values;  // present columns of the row; NULL reads empty
};

OneRow readFirstRow(SqliteDb& db, const QString& table, const QStringList& wanted);

// Stores values of present columns into the row read (by rowid), or adds
// the row when there was none. Columns not given keep their value.
bool writeRow(SqliteDb& db, const QString& table, const OneRow& row,
              const QHash<QString, QString>& values);

}  // namespace pastel
