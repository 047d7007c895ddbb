#pragma once
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/file_picture_loader.h"

namespace pastel::test {

// Picture files written into a fresh folder and read by the real loader.
class PictureFileTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
  }
  QTemporaryDir dir;
  FilePictureLoader loader;
};

}  // namespace pastel::test
