#include "steps/open_poster.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <QDir>
#include <QImage>

#include "db_test_support.h"
#include "platform/file_picture_loader.h"
#include "steps/palette.h"
#include "steps/save_poster.h"
#include "steps/wizard.h"
#include "storage/field_binding.h"
#include "storage/template_db.h"
#include "test_support.h"
#include "words/word_slots.h"

namespace pastel {
namespace {

using test::fileBytes;
using test::rawExec;
using test::rawValue;

struct OpenFixture : test::PosterFixture {
  OpenFixture() {
    poster.svc.pictures = &loader;
    out = dir.path() + "/え の フォルダ";
    QDir().mkpath(out);
  }
  QString jpeg(const QString& name, QColor c, QSize size = QSize(40, 30)) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(c);
    const QString path = dir.path() + "/" + name;
    img.save(path, "JPEG");
    return path;
  }
  void place(int j, const QString& file, float left, float top) {
    Element& e = poster.form.image3[size_t(j)];
    e.left = left, e.top = top, e.width = 2700, e.height = 2025, e.visible = true;
    e.picture = loader.load(file, QSize(1400, 1000));
    poster.photoFiles[size_t(j)] = file;
    bringPhotoToTop(poster, j);
  }
  void word(int j, const QString& text, float left, float top, ColourValue fore, ColourValue back) {
    Element& e = poster.form.text1[size_t(j)];
    e.left = left, e.top = top, e.caption = text, e.foreColor = fore, e.backColor = back;
    e.visible = true;
    applyHeightRule(poster, j);
    textCodeOfColour(poster, j);  // as the palette leaves them
    frameCodeOfColour(poster, j);
    bringWordToTop(poster, j);
  }
  // Two photos (slots 0 and 5), two words, a striped paper: saved in step 4.
  void stripedPaper() {
    QImage paper(707, 499, QImage::Format_RGB32);
    paper.fill(QColor(255, 240, 200));
    for (int y = 0; y < 499; y += 20)
      for (int x = 0; x < 707; ++x) paper.setPixelColor(x, y, QColor(0, 0, 200));
    poster.form.paper.setBackPicture(pictureFromImage(paper));
    poster.form.image2.picture = pictureFromImage(paper);
  }
  void makePoster() {
    stripedPaper();
    nextFrom1(poster);
    nextFrom2(poster);
    place(0, jpeg("cat.jpg", Qt::red), 1440, 3300);
    place(5, jpeg("dog.jpg", Qt::green), 5200, 4100.5f);
    // Parked words stay at their own stack positions: a parked record keeps
    // the home top of the slot it came from, and opening puts record i into
    // slot i.
    word(8, "なつ\nうみ", 4800, 6000, rgb(255, 0, 0), rgb(255, 255, 0));
    word(9, "あき", 2000, 8000, rgb(0, 0, 255), rgb(255, 255, 255));
    nextFrom3(poster);
  }
  SaveResult saveAs(const QString& path) {
    dialogs.paths.push_back(path);
    return savePoster(poster);
  }
  OpenResult open(const QString& path) {
    dialogs.paths.push_back(path);
    return openPoster(poster);
  }
  FilePictureLoader loader;
  QString out;
};

// Every value of the window that opening may write, as text.
QStringList snapshot(const Poster& p) {
  QStringList s;
  auto el = [&s](const Element& e) {
    s << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
             .arg(e.name)
             .arg(e.visible)
             .arg(e.enabled)
             .arg(double(e.left))
             .arg(double(e.top))
             .arg(double(e.width))
             .arg(double(e.height))
             .arg(e.caption)
             .arg(double(e.fontSize))
      << QStringLiteral("%1 %2 %3 %4 %5")
             .arg(e.foreColor)
             .arg(e.backColor)
             .arg(e.borderStyle)
             .arg(e.z)
             .arg(quintptr(e.picture.get()));
  };
  for (const Element& e : p.form.image3) el(e);
  for (const Element& e : p.form.text1) el(e);
  for (const Element& e : p.form.image1) el(e);
  for (const Element* e : {&p.form.label5, &p.form.image2, &p.form.picture1, &p.form.command16,
                           &p.form.command5, &p.form.command20})
    el(*e);
  for (int i = 0; i < 10; ++i)
    s << p.photoFiles[size_t(i)] << p.wordTextColourCodes[size_t(i)]
      << p.wordFrameColourCodes[size_t(i)] << QString::number(p.photoStackOrder[size_t(i)])
      << QString::number(p.wordStackOrder[size_t(i)]);
  s << QString::number(p.form.paper.revision());
  return s;
}

QStringList rowOf(const QString& db, const QString& table, const QStringList& columns) {
  QStringList values;
  for (const QString& c : columns) values << c + "=" + rawValue(db, table, c);
  return values;
}

TEST(OpenPoster, ARoundTripGivesTheSameDatabaseAndPage) {
  OpenFixture a;
  a.makePoster();
  a.poster.paperColourCode = "#80ff80";
  ASSERT_EQ(a.saveAs(a.out + "/natsu.html").status, SaveStatus::Saved);

  OpenFixture b;  // another window, with a poster of its own on it
  b.place(2, b.jpeg("old.jpg", Qt::black), 600, 3000);
  b.word(0, "まえ", 700, 3000, rgb(0, 128, 0), rgb(255, 255, 255));
  b.poster.form.paper.setBackColor(rgb(200, 255, 200));
  const OpenResult r = b.open(a.out + "/natsu.mdb");
  ASSERT_EQ(r.status, OpenStatus::Opened) << r.error.toStdString();
  EXPECT_TRUE(b.dialogs.messages.empty());
  EXPECT_EQ(b.dialogs.fileDialogs[0].filter, "MDB(*.mdb)");
  ASSERT_EQ(b.saveAs(a.out + "/fuyu.html").status, SaveStatus::Saved);
  EXPECT_EQ(b.dialogs.fileDialogs[1].directory, a.out);  // where the open was

  auto renamed = [](QStringList l) { return l.replaceInStrings("natsu", "fuyu"); };
  for (const auto& [table, columns] :
       {std::pair{kImageTable, imageColumns()}, std::pair{kTextTable, textColumns()}})
    EXPECT_EQ(renamed(rowOf(a.out + "/natsu.mdb", table, columns)).join("\n").toStdString(),
              rowOf(a.out + "/fuyu.mdb", table, columns).join("\n").toStdString());
  EXPECT_EQ(rawValue(a.out + "/fuyu.mdb", "textdata", "tex8F"), "なつ\r\nうみ");
  EXPECT_EQ(fileBytes(a.out + "/natsu.html").replace("natsu", "fuyu").toStdString(),
            fileBytes(a.out + "/fuyu.html").toStdString());
  EXPECT_EQ(QImage(a.out + "/natsu/natsu.bmp"), QImage(a.out + "/fuyu/fuyu.bmp"));
}

TEST(OpenPoster, RecordsComeBackInOrderAndTheRestIsParked) {
  OpenFixture a;
  a.makePoster();
  ASSERT_EQ(a.saveAs(a.out + "/natsu.html").status, SaveStatus::Saved);
  OpenFixture b;
  b.place(3, b.jpeg("old.jpg", Qt::black), 600, 3000);
  b.poster.photoStackOrder = a.poster.photoStackOrder;  // anything but 0..9
  std::swap(b.poster.wordStackOrder[0], b.poster.wordStackOrder[9]);
  ASSERT_EQ(b.open(a.out + "/natsu.mdb").status, OpenStatus::Opened);
  const Poster& p = b.poster;
  const MainForm& f = p.form;

  // The Part's two-photo case: records 8 and 9 shown, 9 above 8.
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const Element& e = f.image3[size_t(i)];
    EXPECT_FALSE(e.visible);
    EXPECT_GE(e.left, kPlacementBoundary);
    EXPECT_EQ(e.width, 1785);
    EXPECT_EQ(e.height, 1340);
    EXPECT_FALSE(e.picture && !e.picture->image.isNull());
    EXPECT_EQ(p.photoFiles[size_t(i)], "");
  }
  EXPECT_TRUE(f.image3[8].visible && f.image3[9].visible);
  EXPECT_EQ(f.image3[9].left, 5200);
  EXPECT_EQ(f.image3[9].top, 4100.5f);
  EXPECT_EQ(f.image3[8].width, 2700);
  EXPECT_GT(f.image3[9].z, f.image3[8].z);
  EXPECT_EQ(p.photoFiles[9], a.out + "/natsu/dog.jpg");
  ASSERT_TRUE(f.image3[9].picture && !f.image3[9].picture->broken);
  EXPECT_EQ(QColor(f.image3[9].picture->image.pixel(5, 5)).green(), 255);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(p.photoStackOrder[size_t(i)], i);
    EXPECT_EQ(p.wordStackOrder[size_t(i)], i);
  }

  // Words: record k from stack position k; parked ones reset to the column.
  EXPECT_TRUE(f.text1[9].visible);
  EXPECT_EQ(f.text1[9].caption, "あき");
  EXPECT_EQ(f.text1[8].caption, "なつ\nうみ");
  EXPECT_EQ(f.text1[8].height, a.poster.form.text1[8].height);
  EXPECT_GT(f.text1[8].height, 345);
  EXPECT_EQ(p.wordTextColourCodes[8], "#ff0000");
  EXPECT_EQ(p.wordFrameColourCodes[8], "#ffff00");
  EXPECT_GT(f.text1[9].z, f.text1[8].z);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const Element& w = f.text1[size_t(i)];
    EXPECT_FALSE(w.visible);
    EXPECT_EQ(w.left, 11040);
    EXPECT_EQ(w.top, 2640 + 720 * i);
    EXPECT_EQ(w.width, 3855);
    EXPECT_EQ(w.height, 345);
    EXPECT_EQ(w.fontSize, 14);
  }
  // Parked words keep their texts: position 0 held word 0 of the first poster.
  EXPECT_EQ(f.text1[0].caption, a.poster.form.text1[0].caption);

  // The paper picture, and the finishing step as opening leaves it.
  ASSERT_TRUE(f.paper.backPicture());
  EXPECT_EQ(f.paper.image(),
            QImage(a.out + "/natsu/natsu.bmp").convertToFormat(f.paper.image().format()));
  EXPECT_EQ(f.image2.picture, f.paper.backPicture());
  EXPECT_EQ(f.label5.caption, kStep4OpenedTitle);
  EXPECT_TRUE(f.command16.visible && f.command14.visible && f.command20.visible);
  EXPECT_TRUE(f.command4.visible && !f.command4.enabled);
  EXPECT_TRUE(!f.command5.visible && f.command5.enabled);
  for (const Element* e : {&f.picture1, &f.picture2, &f.hscroll1, &f.vscroll1, &f.label2,
                           &f.command11, &f.command12, &f.command17, &f.command21})
    EXPECT_FALSE(e->visible) << e->name.toStdString();
  backFrom4(b.poster);
  EXPECT_EQ(currentStep(p), 3);
  EXPECT_TRUE(f.text1[0].visible);
}

TEST(OpenPoster, AMovedPosterFindsItsPicturesAndSavingBackCopiesNone) {
  OpenFixture a;
  a.makePoster();
  ASSERT_EQ(a.saveAs(a.out + "/natsu.html").status, SaveStatus::Saved);
  const QString moved = a.dir.path() + "/moved";
  QDir().mkpath(moved + "/natsu");
  ASSERT_TRUE(QFile::copy(a.out + "/natsu.mdb", moved + "/natsu.mdb"));
  for (const char* f : {"cat.jpg", "dog.jpg", "natsu.bmp", "natsu.jpg"})
    ASSERT_TRUE(QFile::copy(a.out + "/natsu/" + f, moved + "/natsu/" + f));
  QDir(a.out).removeRecursively();

  OpenFixture b;
  ASSERT_EQ(b.open(moved + "/natsu.mdb").status, OpenStatus::Opened);
  EXPECT_EQ(b.poster.photoFiles[8], moved + "/natsu/cat.jpg");
  EXPECT_FALSE(b.poster.form.image3[8].picture->broken);
  EXPECT_TRUE(b.poster.form.paper.backPicture());

  struct stat before {
  }, after{};
  ASSERT_EQ(::stat(QFile::encodeName(moved + "/natsu/cat.jpg").constData(), &before), 0);
  b.dialogs.answers.push_back(MsgAnswer::Yes);  // its page was left behind
  const SaveResult s = b.saveAs(moved + "/natsu.html");
  ASSERT_EQ(s.status, SaveStatus::Saved);
  EXPECT_TRUE(s.missingPhotos.isEmpty());
  ASSERT_EQ(::stat(QFile::encodeName(moved + "/natsu/cat.jpg").constData(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(rawValue(moved + "/natsu.mdb", "imagedata", "ima8F"), "natsu\\cat.jpg");
}

TEST(OpenPoster, AFileThatIsNotAWholePosterChangesNothing) {
  OpenFixture a;
  a.makePoster();
  ASSERT_EQ(a.saveAs(a.out + "/natsu.html").status, SaveStatus::Saved);
  const QString d = a.dir.path() + "/bad";
  QDir().mkpath(d);
  auto templateWith = [&](const QString& name, const QString& sql) {
    const QString path = d + "/" + name;
    EXPECT_TRUE(writeTemplateDatabase(path));
    EXPECT_TRUE(rawExec(path, sql)) << sql.toStdString();
    return path;
  };
  test::writeBytes(d + "/text.mdb", "Standard Jet DB\nnot really\n");
  test::writeBytes(d + "/empty.mdb", "");
  QDir().mkpath(d + "/folder.mdb");
  const QStringList bad{
      d + "/text.mdb",
      d + "/empty.mdb",
      d + "/folder.mdb",
      d + "/missing.mdb",
      templateWith("notextdata.mdb", "DROP TABLE textdata"),
      templateWith("notex9b.mdb", "ALTER TABLE textdata DROP COLUMN tex9B"),
      templateWith(
          "view.mdb",
          "ALTER TABLE imagedata RENAME TO img; CREATE VIEW imagedata AS SELECT * FROM img"),
      templateWith("norow.mdb", "DELETE FROM imagedata"),
  };
  // The poster on the window is the saved one, in step 4 after Next.
  for (const QString& path : bad) {
    SCOPED_TRACE(path.toStdString());
    const QByteArray bytes = fileBytes(path);
    const QStringList before = snapshot(a.poster);
    a.dialogs.messages.clear();
    EXPECT_EQ(a.open(path).status, OpenStatus::Refused);
    EXPECT_EQ(snapshot(a.poster), before);
    ASSERT_EQ(a.dialogs.messages.size(), 1u);
    EXPECT_EQ(a.dialogs.messages[0].text, "この ファイルは ひらけません。");
    EXPECT_EQ(a.dialogs.messages[0].title, "ひらく");
    EXPECT_EQ(fileBytes(path), bytes);
    EXPECT_FALSE(QFile::exists(path + "-journal"));
  }
  EXPECT_FALSE(QFile::exists(d + "/missing.mdb"));
  EXPECT_EQ(a.dialogs.fileDialogs[1].directory, a.out);  // where the save went
  // Cancel: nothing at all.
  const QStringList before = snapshot(a.poster);
  a.dialogs.messages.clear();
  EXPECT_EQ(a.open("").status, OpenStatus::Cancelled);
  EXPECT_EQ(snapshot(a.poster), before);
  EXPECT_TRUE(a.dialogs.messages.empty());
}

TEST(OpenPoster, StoredPathsNeverReachOutsideThePosterFolder) {
  OpenFixture a;
  a.makePoster();
  ASSERT_EQ(a.saveAs(a.out + "/natsu.html").status, SaveStatus::Saved);
  const QString secret = a.jpeg("secret.jpg", Qt::magenta);  // beside the poster's folder
  ASSERT_TRUE(QFile::link(secret, a.out + "/natsu/link.jpg"));
  const QString db = a.out + "/natsu.mdb";
  const QString placed = "'1000', ima%1T = '3000', ima%1W = '900', ima%1H = '600'";
  auto setPhoto = [&](int i, const QString& stored) {
    ASSERT_TRUE(
        rawExec(db, QString("UPDATE imagedata SET ima%1F = '%2', ima%1L = ").arg(i).arg(stored) +
                        placed.arg(i)));
  };
  setPhoto(4, "..\\secret.jpg");
  setPhoto(5, "..\\..\\..\\..\\..\\..\\etc\\passwd");
  setPhoto(6, secret);  // absolute
  setPhoto(7, "natsu\\link.jpg");
  setPhoto(3, "natsu\\gone.jpg");  // only missing
  ASSERT_EQ(mkfifo(QFile::encodeName(a.out + "/natsu/fifo.jpg").constData(), 0644), 0);
  setPhoto(2, "natsu\\fifo.jpg");
  ASSERT_TRUE(QFile::remove(a.out + "/natsu/natsu.bmp"));

  OpenFixture b;
  b.stripedPaper();
  ASSERT_EQ(b.open(db).status, OpenStatus::Opened);
  const Poster& p = b.poster;
  for (int i = 2; i <= 7; ++i) {
    SCOPED_TRACE(i);
    const Element& e = p.form.image3[size_t(i)];
    EXPECT_TRUE(e.visible);
    ASSERT_TRUE(e.picture);
    EXPECT_TRUE(e.picture->broken);
    EXPECT_TRUE(e.picture->image.isNull());
  }
  EXPECT_EQ(p.photoFiles[3], a.out + "/natsu/gone.jpg");
  for (int i : {2, 4, 5, 6, 7}) EXPECT_EQ(p.photoFiles[size_t(i)], "") << i;
  // No paper picture: the paper shows its own colour, nothing of before.
  EXPECT_FALSE(p.form.paper.backPicture());
  EXPECT_FALSE(p.form.image2.picture);
  EXPECT_EQ(p.form.paper.image().pixel(3, 0), p.form.paper.image().pixel(3, 10));

  // Saving it again takes nothing from outside the folder, and says which
  // photos it could not keep, once.
  ASSERT_EQ(b.saveAs(b.out + "/again.html").status, SaveStatus::Saved);
  for (const QString& f : QDir(b.out + "/again").entryList(QDir::Files))
    EXPECT_NE(fileBytes(b.out + "/again/" + f), fileBytes(secret)) << f.toStdString();
  ASSERT_EQ(b.dialogs.messages.size(), 1u);
  EXPECT_EQ(b.dialogs.messages[0].text,
            "しゃしんが みつかりませんでした：gone.jpg\n"
            "この しゃしんは のこせませんでした：fifo.jpg、secret.jpg、passwd、link.jpg");
}

// A poster another program left in WAL mode keeps its newest rows in the
// -wal file: opening reads them and writes nothing beside the poster, not
// even in a folder it may not write to.
TEST(OpenPoster, AWalPosterOpensAndNothingBesideItChanges) {
  OpenFixture a;
  a.makePoster();
  ASSERT_EQ(a.saveAs(a.out + "/natsu.html").status, SaveStatus::Saved);
  const QString db = a.out + "/natsu.mdb";
  {
    sqlite3* h = nullptr;
    ASSERT_EQ(sqlite3_open(db.toUtf8().constData(), &h), SQLITE_OK);
    sqlite3_db_config(h, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    EXPECT_EQ(sqlite3_exec(h, "PRAGMA journal_mode=WAL; UPDATE textdata SET tex9F = 'うぇる'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(h);
  }
  QFile::remove(db + "-shm");
  ASSERT_TRUE(QFile::exists(db + "-wal"));
  const auto before = test::folderBytes(a.out);
  const QByteArray folder = QFile::encodeName(a.out);
  ASSERT_EQ(chmod(folder.constData(), 0555), 0);
  OpenFixture b;
  const OpenResult r = b.open(db);
  chmod(folder.constData(), 0755);
  ASSERT_EQ(r.status, OpenStatus::Opened) << r.error.toStdString();
  EXPECT_EQ(b.poster.form.text1[9].caption, "うぇる");
  EXPECT_EQ(test::folderBytes(a.out), before);
}

TEST(OpenPoster, ValuesThatDoNotFitKeepTheParkedOnes) {
  OpenFixture a;
  a.makePoster();
  ASSERT_EQ(a.saveAs(a.out + "/natsu.html").status, SaveStatus::Saved);
  const QString db = a.out + "/natsu.mdb";
  ASSERT_TRUE(rawExec(db,
                      "UPDATE imagedata SET ima8L = '40000', ima9W = 'abc', ima9H = '1e3', "
                      "sgazo = 'red'"));
  ASSERT_TRUE(rawExec(db,
                      "UPDATE textdata SET tex9S = '500', tex9C = '12345', tex9B = '654321', "
                      "tex9T = '-99999', tex8L = 'NaN', tex8F = 'a' || char(13) || 'b' || "
                      "char(13) || char(10) || 'c'"));
  OpenFixture b;
  b.place(8, b.jpeg("old.jpg", Qt::black), 600, 3000);  // a value from before must not stay
  b.place(9, b.poster.photoFiles[8], 600, 3000);
  b.poster.form.image3[9].width = 4444;
  b.poster.form.text1[9].fontSize = 20;
  ASSERT_EQ(b.open(db).status, OpenStatus::Opened);
  const MainForm& f = b.poster.form;
  EXPECT_FALSE(f.image3[8].visible);
  EXPECT_EQ(f.image3[8].left, 9500);
  EXPECT_EQ(f.image3[9].width, 1785);
  EXPECT_EQ(f.image3[9].height, 1340);
  EXPECT_TRUE(f.image3[9].visible);
  EXPECT_EQ(f.text1[9].fontSize, 14);
  EXPECT_EQ(f.text1[9].top, 2640 + 720 * 9);
  EXPECT_TRUE(f.text1[9].visible);
  EXPECT_EQ(b.poster.wordTextColourCodes[9], "#000000");
  EXPECT_EQ(b.poster.wordFrameColourCodes[9], "#ffffff");
  EXPECT_EQ(f.text1[9].foreColor, ColourValue(12345));
  EXPECT_FALSE(f.text1[8].visible);  // parked by its Left
  EXPECT_EQ(f.text1[8].caption, "a\nb\nc");
  EXPECT_EQ(b.poster.paperColourCode, "#ffffff");  // "red" is no colour code
}

}  // namespace
}  // namespace pastel
