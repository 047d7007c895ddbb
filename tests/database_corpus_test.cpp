#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "canvas/poster.h"
#include "platform/file_picture_loader.h"
#include "storage/open_poster.h"
#include "storage/poster_db.h"
#include "storage/template_db.h"

namespace pastel {
namespace {

QByteArray contentOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replays every file the database fuzzer kept: reading one as a poster or
// as the word list, or opening it onto a window, never crashes, hangs or
// changes a byte of it.
TEST(DatabaseCorpus, EveryKeptFileIsReadWithoutHarm) {
  const QDir corpus(QStringLiteral(PASTEL_SOURCE_DIR "/fuzz/corpus/database"));
  const QStringList names = corpus.entryList(QDir::Files);
  ASSERT_FALSE(names.isEmpty());
  QTemporaryDir dir;
  int readable = 0, opened = 0;
  FilePictureLoader loader;
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    const QString path = dir.filePath(name + ".mdb");
    ASSERT_TRUE(QFile::copy(corpus.filePath(name), path));
    const QByteArray before = contentOf(path);
    FieldBuffers buffers;
    readFieldBuffers(path, buffers);
    readable += readWordList(path).ok;
    Poster poster;
    poster.setStartValues();
    poster.svc.pictures = &loader;
    const OpenResult r = openPosterFile(poster, path);
    opened += r.status == OpenStatus::Opened;
    if (r.status != OpenStatus::Opened) {
      EXPECT_EQ(currentStep(poster), 1);
    }
    EXPECT_EQ(contentOf(path), before);
    EXPECT_FALSE(QFile::exists(path + "-journal"));
  }
  EXPECT_GT(readable, 0);  // the template itself reads
  EXPECT_GT(opened, 0);    // and opens as an empty poster
}

}  // namespace
}  // namespace pastel
