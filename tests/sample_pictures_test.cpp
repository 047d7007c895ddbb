#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>

#include "platform/bmp_rle_decoder.h"
#include "platform/file_picture_loader.h"
#include "platform/picture_files.h"

namespace pastel {
namespace {

// The pictures shipped for children to start with must all load, and cover
// every kind of file the strip offers.
TEST(SamplePictures, EveryKindIsThereAndEveryFileLoads) {
  const QString folder = QStringLiteral(PASTEL_SOURCE_DIR "/samples/pictures");
  const QStringList names = listPictureFiles(folder);
  QSet<QString> kinds;
  bool rle4 = false, upperCase = false;
  FilePictureLoader loader;
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    const QString path = folder + "/" + name;
    const PictureRef p = loader.load(path, QSize(119, 89));
    EXPECT_FALSE(p->broken);
    EXPECT_LE(p->image.width(), 119);
    EXPECT_LE(p->image.height(), 89);
    const QString ext = name.section('.', -1);
    kinds.insert(ext.toLower());
    upperCase |= ext == ext.toUpper();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    rle4 |= ext.toLower() == "bmp" && isRleBmp(bytes) && bytes[28] == 4;
  }
  EXPECT_EQ(kinds, QSet<QString>({"bmp", "rle", "dib", "jpg", "gif", "wmf"}));
  EXPECT_TRUE(rle4);
  EXPECT_TRUE(upperCase);
}

}  // namespace
}  // namespace pastel
