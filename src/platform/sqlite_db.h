#pragma once
#include <QString>
#include <QStringList>
#include <chrono>

struct sqlite3;
struct sqlite3_stmt;

namespace pastel {

// One SQLite connection, hardened for files that come from outside: no
// views, no triggers, no untrusted schema functions, bounded lengths and a
// bounded time per statement. Opening never creates a file unless asked.
class SqliteDb {
 public:
  enum class Mode { ReadOnly, ReadWrite, Create };

  SqliteDb() = default;
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  // Refuses anything but an existing regular file (or a new one with Create).
  bool open(const QString& path, Mode mode);
  void close();
  bool isOpen() const { return db_ != nullptr; }
  sqlite3* handle() const { return db_; }

  // Runs one or more statements without results.
  bool exec(const QString& sql);

  // True when sqlite_schema lists name as a real table.
  bool isTable(const QString& name);
  // The table's column names in declared order; empty on error.
  QStringList columns(const QString& table);

  // What went wrong last, for the result a caller hands up.
  QString error() const { return error_; }
  void setError(const QString& e) { error_ = e; }

  // Starts the time budget of the next statement.
  void startClock();
  bool overTime() const;

  // Called by SQLite while another connection holds the file's lock.
  bool waitForLock(int tries);

  static constexpr int kMaxValueBytes = 1 << 20;
  static constexpr std::chrono::milliseconds kStatementBudget{2000};
  // Another program (a teacher's database tool, a second start) may hold
  // the word list for a moment.
  static constexpr std::chrono::milliseconds kLockWait{3000};

 private:
  void takeError(const char* what);
  sqlite3* db_ = nullptr;
  QString error_;
  std::chrono::steady_clock::time_point deadline_{}, lockWaitStart_{};
};

// A prepared statement; finalised on destruction.
class SqliteStatement {
 public:
  SqliteStatement(SqliteDb& db, const QString& sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  bool bind(int index, const QString& text);  // 1-based
  bool bind(int index, qint64 value);
  // SQLITE_ROW: true; done or error: false (see done()).
  bool step();
  bool done() const { return done_; }
  QString text(int column) const;
  qint64 integer(int column) const;
  bool isNull(int column) const;

 private:
  SqliteDb& db_;
  sqlite3_stmt* stmt_ = nullptr;
  bool done_ = false;
};

// "name" with inner quotes doubled, for identifiers in SQL text.
QString quoteIdentifier(const QString& name);

}  // namespace pastel
