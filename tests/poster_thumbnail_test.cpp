#include "storage/poster_thumbnail.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>

#include "canvas/poster_content.h"
#include "capture/poster_renderer.h"
#include "platform/file_picture_loader.h"
#include "steps/open_poster.h"
#include "steps/save_poster.h"
#include "support/sample_poster.h"
#include "test_support.h"

namespace pastel {
namespace {

// Mean difference of grey levels; the same size asked.
int meanDiff(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 255;
  qint64 d = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) d += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
  return int(d / (a.width() * a.height()));
}

struct ThumbnailFixture : test::PosterFixture {
  ThumbnailFixture() : capture(poster.form) {
    poster.svc.pictures = &loader;
    poster.svc.capture = &capture;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    test::makeSamplePoster(poster);
    for (int i = 0; i < kSlots; ++i) {  // photos from files, as the strip places them
      const QString file = dir.filePath(QStringLiteral("しゃしん%1.jpg").arg(i));
      EXPECT_TRUE(poster.form.image3[size_t(i)].picture->image.save(file, "JPEG", 95));
      poster.photoFiles[size_t(i)] = file;
    }
    seen = renderScene(sceneOf(takePosterContent(poster)));
    dialogs.paths.push_back(dir.filePath("なつ の ぽすたー.html"));
    EXPECT_EQ(savePoster(poster).status, SaveStatus::Saved);
    mdb = dir.filePath("なつ の ぽすたー.mdb");
    QFile bad(dir.filePath("bad.mdb"));
    EXPECT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("SQLite format 3\0 and nothing else", 32);
  }
  ~ThumbnailFixture() { qunsetenv("XDG_CACHE_HOME"); }
  QTemporaryDir cache;
  FilePictureLoader loader;
  RendererCapture capture;
  QImage seen;  // the poster as the window showed it
  QString mdb;
};

TEST(PosterThumbnail, OpenShowsEachPosterAsItsPaperAndOtherFilesPlain) {
  ThumbnailFixture fx;
  fx.dialogs.paths.push_back(QString());  // cancelled
  EXPECT_EQ(openPoster(fx.poster).status, OpenStatus::Cancelled);
  EXPECT_EQ(fx.dialogs.fileDialogs.back().filter, "MDB(*.mdb)");
  ASSERT_TRUE(fx.dialogs.picture);

  const QStringList before = QDir(fx.dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
  const QImage icon = fx.dialogs.picture(fx.mdb);
  ASSERT_EQ(icon.width(), 128);
  EXPECT_EQ(icon.height(), 90);
  // Its paper, photos and words, as the window showed them before saving.
  const QImage expected =
      fx.seen.scaled(icon.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_LT(meanDiff(icon.convertToFormat(QImage::Format_RGB32), expected), 4);
  EXPECT_TRUE(fx.dialogs.picture(fx.dir.filePath("bad.mdb")).isNull());
  // Kept where file managers keep theirs, and the file that is no poster
  // marked so it is not read again.
  const QDir thumbs(fx.cache.filePath("thumbnails"));
  EXPECT_EQ(thumbs.entryList({"*.png"}, QDir::Files).size(), 0);
  EXPECT_EQ(QDir(thumbs.filePath("normal")).entryList({"*.png"}, QDir::Files).size(), 1);
  EXPECT_EQ(QDir(thumbs.filePath("fail/pastelboard")).entryList({"*.png"}, QDir::Files).size(), 1);
  EXPECT_EQ(fx.dialogs.picture(fx.mdb), icon);
  // A larger one is drawn again, not enlarged.
  const QImage large = posterThumbnail(fx.mdb, fx.loader, 1414);
  ASSERT_EQ(large.size(), QSize(1414, 998));
  EXPECT_LT(meanDiff(large.scaled(fx.seen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                     fx.seen),
            12);
  // Beside the posters nothing changed.
  EXPECT_EQ(QDir(fx.dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
}

TEST(PosterThumbnail, TheThumbnailerModeWritesAPngOfTheAskedSize) {
  ThumbnailFixture fx;
  auto run = [&](const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    p.start(QStringLiteral(PASTEL_PROGRAM), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  };
  const QString out = fx.dir.filePath("thumb.png");
  EXPECT_EQ(run({"--thumbnail", fx.mdb, out, "256"}), 0);
  QImage png(out, "PNG");
  ASSERT_EQ(png.size(), QSize(256, 181));
  const QImage expected =
      fx.seen.scaled(png.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_LT(meanDiff(png.convertToFormat(QImage::Format_RGB32), expected), 4);

  // A file as a URI, as some file managers give it.
  QFile::remove(out);
  EXPECT_EQ(run({"--thumbnail", QUrl::fromLocalFile(fx.mdb).toString(), out, "128"}), 0);
  EXPECT_EQ(QImage(out, "PNG").width(), 128);

  // No poster, no size: no thumbnail, and no window was needed for any.
  QFile::remove(out);
  EXPECT_NE(run({"--thumbnail", fx.dir.filePath("bad.mdb"), out, "128"}), 0);
  EXPECT_NE(run({"--thumbnail", fx.mdb, out, "many"}), 0);
  EXPECT_NE(run({"--thumbnail", fx.mdb, out, "0"}), 0);
  EXPECT_FALSE(QFile::exists(out));
}

}  // namespace
}  // namespace pastel
