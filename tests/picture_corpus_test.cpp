#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "../fuzz/picture_kinds.h"
#include "platform/picture_decoder.h"

namespace pastel {
namespace {

// Replays every input the picture fuzzers kept (the first byte chooses the
// name and the box there; the kind fuzzers force their kind's signature)
// through the reader: each must give a picture, never a crash, and fit its box.
TEST(PictureCorpus, EveryKeptInputDecodesWithoutCrashing) {
  for (const char* kind : {"pictures", "png", "webp", "tiff", "heif"}) {
    SCOPED_TRACE(kind);
    const QDir corpus(QStringLiteral(PASTEL_SOURCE_DIR "/fuzz/corpus/") + kind);
    const QStringList names = corpus.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    int usable = 0;
    for (const QString& name : names) {
      SCOPED_TRACE(name.toStdString());
      QFile f(corpus.filePath(name));
      ASSERT_TRUE(f.open(QIODevice::ReadOnly));
      QByteArray bytes = f.readAll().mid(1);
      if (qstrcmp(kind, "pictures") != 0) bytes = fuzz::asPictureKind(bytes, kind[0]);
      for (QSize box : {QSize(119, 89), QSize()}) {
        const PictureRef p = decodePicture(bytes, box, name);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->broken, p->image.isNull());
        if (box.isValid()) {
          EXPECT_LE(p->image.width(), box.width());
          EXPECT_LE(p->image.height(), box.height());
        }
        usable += !p->broken;
      }
    }
    EXPECT_GT(usable, 0);
  }
}

}  // namespace
}  // namespace pastel
