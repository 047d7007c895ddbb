// Feeds arbitrary bytes as a poster database and as the word list file:
// reading, and opening it into a poster with its pictures, must never crash,
// hang or write to the file. An input may carry the database's -wal file
// too: the database's bytes, kWalMark, then the -wal's bytes (the WAL seeds
// of the corpus keep theirs that way).
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdint>

#include "canvas/poster.h"
#include "platform/file_picture_loader.h"
#include "steps/open_poster.h"
#include "storage/poster_db.h"
#include "storage/template_db.h"
#include "words/word_slots.h"

namespace {
QTemporaryDir* folder = nullptr;
pastel::FilePictureLoader* loader = nullptr;

const QByteArray kWalMark("\n--pastelboard -wal--\n");

QByteArray digestOf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Every file of the folder and its bytes' digest.
QByteArray folderDigest() {
  QByteArray all;
  for (const QString& name :
       QDir(folder->path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
    all += name.toUtf8() + '\0' + digestOf(folder->filePath(name));
  return all;
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
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
  const QByteArray input =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  const qsizetype mark = input.indexOf(kWalMark);
  writeFile(path, mark < 0 ? input : input.left(mark));
  if (mark >= 0) writeFile(path + QStringLiteral("-wal"), input.mid(mark + kWalMark.size()));
  const QByteArray before = folderDigest();
  pastel::FieldBuffers buffers;
  pastel::readFieldBuffers(path, buffers);
  {
    pastel::Poster poster;
    poster.setStartValues();
    poster.svc.pictures = loader;
    pastel::openPosterFile(poster, path);
  }
  if (folderDigest() != before) __builtin_trap();  // opening wrote beside the poster
  const QByteArray database = digestOf(path);
  pastel::readWordList(path);
  if (digestOf(path) != database) __builtin_trap();  // reading wrote to the file
  return 0;
}
