// Feeds arbitrary bytes as a poster database and as the word list file:
// reading must never crash, hang or write to the file.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

#include "storage/poster_db.h"
#include "storage/template_db.h"

namespace {
QTemporaryDir* folder = nullptr;

QByteArray digestOf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  folder = new QTemporaryDir;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = folder->filePath(QStringLiteral("poster.mdb"));
  for (const char* stale : {"-journal", "-wal", "-shm"}) QFile::remove(path + stale);
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  const QByteArray before = digestOf(path);
  pastel::FieldBuffers buffers;
  pastel::readFieldBuffers(path, buffers);
  pastel::readWordList(path);
  if (digestOf(path) != before) __builtin_trap();  // reading wrote to the file
  return 0;
}
