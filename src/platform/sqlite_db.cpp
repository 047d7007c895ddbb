#include "platform/sqlite_db.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <thread>

namespace pastel {

namespace {

int progressCheck(void* self) { return static_cast<SqliteDb*>(self)->overTime() ? 1 : 0; }

int lockBusy(void* self, int tries) { return static_cast<SqliteDb*>(self)->waitForLock(tries); }

}  // namespace

QString quoteIdentifier(const QString& name) {
  QString q = name;
  q.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QLatin1Char('"') + q + QLatin1Char('"');
}

SqliteDb::~SqliteDb() { close(); }

void SqliteDb::takeError(const char* what) {
  error_ = QString::fromUtf8(what);
  if (db_) error_ += QLatin1String(": ") + QString::fromUtf8(sqlite3_errmsg(db_));
}

bool SqliteDb::open(const QString& path, Mode mode) {
  close();
  error_.clear();
  const QFileInfo info(path);
  // A directory, a FIFO or a device is never a database; a missing file is
  // only made when the caller builds a new one.
  if (info.exists() ? !info.isFile() : mode != Mode::Create) {
    error_ = info.exists() ? QStringLiteral("not a regular file") : QStringLiteral("missing");
    return false;
  }
  int flags = SQLITE_OPEN_READONLY;
  if (mode == Mode::ReadWrite) flags = SQLITE_OPEN_READWRITE;
  if (mode == Mode::Create) flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) != SQLITE_OK) {
    takeError("open");
    close();
    return false;
  }
  sqlite3_extended_result_codes(db_, 1);
  int ignored = 0;
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, &ignored);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &ignored);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, &ignored);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, &ignored);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, &ignored);
  sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
  sqlite3_limit(db_, SQLITE_LIMIT_SQL_LENGTH, 100000);
  sqlite3_limit(db_, SQLITE_LIMIT_COLUMN, 200);
  sqlite3_limit(db_, SQLITE_LIMIT_EXPR_DEPTH, 100);
  sqlite3_limit(db_, SQLITE_LIMIT_COMPOUND_SELECT, 5);
  sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
  sqlite3_limit(db_, SQLITE_LIMIT_TRIGGER_DEPTH, 1);
  sqlite3_limit(db_, SQLITE_LIMIT_WORKER_THREADS, 0);
  sqlite3_progress_handler(db_, 1000, progressCheck, this);
  sqlite3_busy_handler(db_, lockBusy, this);
  startClock();
  if (!exec(QStringLiteral("PRAGMA cell_size_check=ON"))) {
    close();
    return false;
  }
  return true;
}

void SqliteDb::close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void SqliteDb::startClock() { deadline_ = std::chrono::steady_clock::now() + kStatementBudget; }

bool SqliteDb::overTime() const { return std::chrono::steady_clock::now() > deadline_; }

bool SqliteDb::waitForLock(int tries) {
  const auto now = std::chrono::steady_clock::now();
  if (tries == 0) lockWaitStart_ = now;
  if (now - lockWaitStart_ >= kLockWait) return false;
  std::this_thread::sleep_for(std::chrono::milliseconds(tries < 10 ? 5 : 50));
  // Waiting is not the statement's work: its time budget is kept for that.
  deadline_ += std::chrono::steady_clock::now() - now;
  return true;
}

bool SqliteDb::exec(const QString& sql) {
  if (!db_) return false;
  startClock();
  char* msg = nullptr;
  if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
    error_ = QString::fromUtf8(msg ? msg : "exec failed");
    sqlite3_free(msg);
    return false;
  }
  return true;
}

bool SqliteDb::isTable(const QString& name) {
  SqliteStatement s(*this, QStringLiteral("SELECT type, sql FROM sqlite_schema WHERE lower(name) = "
                                          "lower(?1)"));
  if (!s.ok() || !s.bind(1, name)) return false;
  if (!s.step()) {
    if (s.done()) error_ = QStringLiteral("no table ") + name;
    return false;
  }
  // Virtual tables run module code on every read: not ours.
  const bool table =
      s.text(0) == QLatin1String("table") &&
      !s.text(1).trimmed().startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive);
  if (!table) error_ = name + QStringLiteral(" is not a plain table");
  return table;
}

QStringList SqliteDb::columns(const QString& table) {
  QStringList names;
  SqliteStatement s(
      *this, QStringLiteral("PRAGMA table_info(") + quoteIdentifier(table) + QLatin1Char(')'));
  while (s.ok() && s.step()) names << s.text(1);
  return names;
}

SqliteStatement::SqliteStatement(SqliteDb& db, const QString& sql) : db_(db) {
  if (!db.handle()) return;
  db.startClock();
  if (sqlite3_prepare_v2(db.handle(), sql.toUtf8().constData(), -1, &stmt_, nullptr) != SQLITE_OK) {
    db.setError(QStringLiteral("prepare: ") + QString::fromUtf8(sqlite3_errmsg(db.handle())));
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

bool SqliteStatement::bind(int index, const QString& text) {
  if (!stmt_) return false;
  const QByteArray utf8 = text.toUtf8();
  return sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) ==
         SQLITE_OK;
}

bool SqliteStatement::bind(int index, qint64 value) {
  return stmt_ && sqlite3_bind_int64(stmt_, index, value) == SQLITE_OK;
}

bool SqliteStatement::step() {
  if (!stmt_ || done_) return false;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  done_ = true;
  if (rc != SQLITE_DONE) {
    db_.setError(QStringLiteral("step: ") + QString::fromUtf8(sqlite3_errmsg(db_.handle())));
    done_ = false;  // an error is not a clean end
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
  return false;
}

QString SqliteStatement::text(int column) const {
  const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return t ? QString::fromUtf8(t, sqlite3_column_bytes(stmt_, column)) : QString();
}

qint64 SqliteStatement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

bool SqliteStatement::isNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

}  // namespace pastel
