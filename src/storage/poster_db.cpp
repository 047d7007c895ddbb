#include "storage/poster_db.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/file_io.h"
#include "platform/sqlite_db.h"
#include "platform/temp_folder.h"
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

// Copies one regular file whole; a missing one is no error when optional.
// A FIFO or a device is never read (it might never end).
bool copyRegular(const QString& from, const QString& to, bool optional, QString* error) {
  const int in = ::open(nativePath(from).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (in < 0) {
    if (optional && errno == ENOENT) return true;
    *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  struct stat st {};
  bool ok = ::fstat(in, &st) == 0;
  if (ok && !S_ISREG(st.st_mode)) {
    ::close(in);
    if (optional) return true;
    *error = QStringLiteral("not a regular file");
    return false;
  }
  if (ok && st.st_size > kMaxPosterFileBytes) {
    ::close(in);
    *error = QStringLiteral("too large for a poster");
    return false;
  }
  const int out = ::open(nativePath(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  ok = ok && out >= 0;
  char buf[1 << 16];
  qint64 total = 0;
  while (ok) {
    const qint64 n = readSome(in, buf, sizeof buf);
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    total += n;
    ok = total <= kMaxPosterFileBytes && writeAll(out, buf, n);
  }
  if (!ok) *error = QString::fromLocal8Bit(std::strerror(errno ? errno : EFBIG));
  ::close(in);
  if (out >= 0) ::close(out);
  return ok;
}

// The database and what holds its newest pages, copied into the process's
// own temporary folder (one for the process: making and removing a folder
// for every read costs milliseconds on a journalling disk; a later start
// removes it when the process was killed). Removed again when done with.
struct PrivateCopy {
  QString path;
  const char* const suffixes[4] = {"", "-wal", "-journal", "-shm"};

  bool make(const QString& source, QString* error) {
    static std::atomic<int> count{0};  // the open dialog reads posters on several threads
    const QString folder = processTempFolder();
    if (folder.isEmpty()) {
      *error = QStringLiteral("no temporary folder");
      return false;
    }
    path = folder + QStringLiteral("/poster-%1.mdb").arg(++count);
    return copyRegular(source, path, false, error) &&
           copyRegular(source + QStringLiteral("-wal"), path + QStringLiteral("-wal"), true,
                       error) &&
           copyRegular(source + QStringLiteral("-journal"), path + QStringLiteral("-journal"), true,
                       error);
  }
  ~PrivateCopy() {
    if (path.isEmpty()) return;
    for (const char* s : suffixes) ::unlink(QFile::encodeName(path + QLatin1String(s)).constData());
  }
};

}  // namespace

ExchangeResult readFieldBuffers(const QString& path, FieldBuffers& buffers) {
  ExchangeResult r;
  // SQLite writes a -shm beside a database in WAL mode even to read it, and
  // rolls back a journal it finds: it reads a private copy of the database
  // and what holds its newest pages, so nothing beside the poster changes.
  PrivateCopy copy;
  QString error;
  if (!copy.make(path, &error)) {
    r.failures << QStringLiteral("copy: ") + error;
    return r;
  }
  SqliteDb db;
  r.opened = db.open(copy.path, SqliteDb::Mode::ReadWrite);
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
  // The new poster keeps no write-ahead log, whatever mode the template was
  // left in by another program.
  if (!db.exec(QStringLiteral("PRAGMA journal_mode=DELETE")))
    r.failures << QStringLiteral("journal mode: ") + db.error();
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
