#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "canvas/poster.h"
#include "db_test_support.h"
#include "platform/file_picture_loader.h"
#include "steps/open_poster.h"
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
// changes a byte of it. A kept file may carry its -wal file, after the
// fuzzer's mark; opening then writes nothing at all beside it.
TEST(DatabaseCorpus, EveryKeptFileIsReadWithoutHarm) {
  const QDir corpus(QStringLiteral(PASTEL_SOURCE_DIR "/fuzz/corpus/database"));
  const QStringList names = corpus.entryList(QDir::Files);
  ASSERT_FALSE(names.isEmpty());
  const QByteArray walMark("\n--pastelboard -wal--\n");
  int readable = 0, opened = 0, withWal = 0;
  FilePictureLoader loader;
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    QTemporaryDir dir;
    const QString path = dir.filePath(name + ".mdb");
    const QByteArray kept = contentOf(corpus.filePath(name));
    const qsizetype mark = kept.indexOf(walMark);
    ASSERT_TRUE(test::writeBytes(path, mark < 0 ? kept : kept.left(mark)));
    if (mark >= 0) {
      ASSERT_TRUE(test::writeBytes(path + "-wal", kept.mid(mark + walMark.size())));
      ++withWal;
    }
    const std::string before = test::folderBytes(dir.path());
    FieldBuffers buffers;
    readFieldBuffers(path, buffers);
    Poster poster;
    poster.setStartValues();
    poster.svc.pictures = &loader;
    const OpenResult r = openPosterFile(poster, path);
    opened += r.status == OpenStatus::Opened;
    if (r.status != OpenStatus::Opened) {
      EXPECT_EQ(currentStep(poster), 1);
    }
    EXPECT_EQ(test::folderBytes(dir.path()), before);
    const QByteArray database = contentOf(path);
    readable += readWordList(path).ok;
    EXPECT_EQ(contentOf(path), database);
    EXPECT_FALSE(QFile::exists(path + "-journal"));
  }
  EXPECT_GT(readable, 0);  // the template itself reads
  EXPECT_GT(opened, 0);    // and opens as an empty poster
  EXPECT_GT(withWal, 0);
}

}  // namespace
}  // namespace pastel
