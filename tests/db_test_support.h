#pragma once
#include <sqlite3.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <string>

namespace pastel::test {

// Plain SQL on a file, bypassing the program's own database layer.
inline bool rawExec(const QString& path, const QString& sql) {
  sqlite3* db = nullptr;
  bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
            sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

// The first row's value of one column, or "<error>".
inline QString rawValue(const QString& path, const QString& table, const QString& column) {
  sqlite3* db = nullptr;
  QString out = QStringLiteral("<error>");
  if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    const QByteArray sql = QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY rowid LIMIT 1")
                               .arg(column, table)
                               .toUtf8();
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
      out = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
  }
  sqlite3_close(db);
  return out;
}

inline int rawRowCount(const QString& path, const QString& table) {
  sqlite3* db = nullptr;
  int n = -1;
  if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    const QByteArray sql = QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table).toUtf8();
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
      n = sqlite3_column_int(s, 0);
    sqlite3_finalize(s);
  }
  sqlite3_close(db);
  return n;
}

inline QByteArray fileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Every file below a folder, hidden ones included, as relative paths.
inline QStringList filesBelow(const QString& root) {
  QStringList out;
  QDir d(root);
  for (const QFileInfo& fi : d.entryInfoList(
           QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
    out << fi.fileName();
    if (fi.isDir() && !fi.isSymLink())
      for (const QString& s : filesBelow(fi.filePath())) out << fi.fileName() + "/" + s;
  }
  return out;
}

// A folder byte for byte, as one line per entry: its name and the digest
// of its bytes, or "<dir>".
inline std::string folderBytes(const QString& root) {
  std::string out;
  for (const QString& f : filesBelow(root)) {
    const QString path = root + "/" + f;
    const QByteArray digest =
        QFileInfo(path).isDir()
            ? QByteArray("<dir>")
            : QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha1).toHex();
    out += f.toStdString() + " " + digest.toStdString() + "\n";
  }
  return out;
}

}  // namespace pastel::test
