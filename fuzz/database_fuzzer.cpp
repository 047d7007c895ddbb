// Feeds arbitrary bytes as a poster database and as the word list file:
// reading, and opening it into a poster with its pictures, must never crash,
// hang or write to the file.
#include <QCryptographicHash>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdint>

#include "canvas/poster.h"
#include "platform/file_picture_loader.h"
#include "storage/open_poster.h"
#include "storage/poster_db.h"
#include "storage/template_db.h"
#include "words/word_slots.h"

namespace {
QTemporaryDir* folder = nullptr;
pastel::FilePictureLoader* loader = nullptr;

QByteArray digestOf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Word heights need fonts.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  folder = new QTemporaryDir;
  loader = new pastel::FilePictureLoader;
  // The font database loads once per process: not a leak of any one input.
  pastel::Poster warm;
  warm.form.text1[0].caption = QStringLiteral("あ\nい");
  pastel::applyHeightRule(warm, 0);
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
  {
    pastel::Poster poster;
    poster.setStartValues();
    poster.svc.pictures = loader;
    pastel::openPosterFile(poster, path);
  }
  if (digestOf(path) != before) __builtin_trap();  // reading wrote to the file
  return 0;
}
