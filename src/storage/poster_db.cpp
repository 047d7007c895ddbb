#include "storage/poster_db.h"

#include "platform/sqlite_db.h"
#include "storage/field_binding.h"
#include "storage/one_row_table.h"

namespace pastel {

namespace {

struct TableRead {
  QString table;
  OneRow row;
};

std::array<TableRead, 2> readTables(SqliteDb& db, FieldBuffers& buffers, ExchangeResult& r) {
  std::array<TableRead, 2> t{TableRead{kImageTable, {}}, TableRead{kTextTable, {}}};
  t[0].row = readFirstRow(db, kImageTable, imageColumns());
  t[1].row = readFirstRow(db, kTextTable, textColumns());
  for (const TableRead& tr : t) {
    if (!tr.row.tableOk) {
      r.failures << tr.table + QStringLiteral(": not readable (") + db.error() + QLatin1Char(')');
      continue;
    }
    for (const QString& c : tr.row.missing)
      r.failures << tr.table + QStringLiteral(": missing ") + c;
    if (!tr.row.hasRow) r.failures << tr.table + QStringLiteral(": no row");
  }
  for (int b = 0; b < kFieldBufferCount; ++b) {
    const FieldColumn fc = fieldColumn(b);
    const OneRow& row = (fc.table == kImageTable ? t[0] : t[1]).row;
    if (row.hasRow && row.values.contains(fc.column)) buffers[b] = row.values.value(fc.column);
  }
  return t;
}

}  // namespace

ExchangeResult readFieldBuffers(const QString& path, FieldBuffers& buffers) {
  ExchangeResult r;
  SqliteDb db;
  r.opened = db.open(path, SqliteDb::Mode::ReadOnly);
  if (!r.opened) {
    r.failures << QStringLiteral("open: ") + db.error();
    return r;
  }
  readTables(db, buffers, r);
  return r;
}

ExchangeResult exchangeFieldBuffers(const QString& path, FieldBuffers& buffers,
                                    const std::function<void(FieldBuffers&)>& fill) {
  ExchangeResult r;
  SqliteDb db;
  r.opened = db.open(path, SqliteDb::Mode::ReadWrite);
  if (!r.opened) {
    r.failures << QStringLiteral("open: ") + db.error();
    if (fill) fill(buffers);
    return r;
  }
  const auto tables = readTables(db, buffers, r);
  if (fill) fill(buffers);
  for (const TableRead& tr : tables) {
    // The poster tables are one-row tables of the template: never add one.
    if (!tr.row.tableOk || !tr.row.hasRow) continue;
    QHash<QString, QString> values;
    for (int b = 0; b < kFieldBufferCount; ++b) {
      const FieldColumn fc = fieldColumn(b);
      if (fc.table == tr.table) values[fc.column] = buffers[b];
    }
    if (!writeRow(db, tr.table, tr.row, values))
      r.failures << tr.table + QStringLiteral(": not stored (") + db.error() + QLatin1Char(')');
  }
  return r;
}

}  // namespace pastel
