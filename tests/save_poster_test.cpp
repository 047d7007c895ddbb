#include "steps/save_poster.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <libheif/heif.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <algorithm>
#include <csignal>

#include "canvas/poster_content.h"
#include "db_test_support.h"
#include "picture_writers.h"
#include "platform/file_picture_loader.h"
#include "platform/picture_format.h"
#include "steps/open_poster.h"
#include "storage/poster_names.h"
#include "storage/poster_page.h"
#include "storage/template_db.h"
#include "test_support.h"

// rename(2) as the saves in these tests see it: the renames of paths below
// `under` are counted, and one of them can fail, or the process can be
// killed just before or after one, as a child's power cut or a crash would.
struct FaultyRename {
  QByteArray under;
  int count = 0, failAt = 0, killBefore = 0, killAfter = 0;
  bool killAtBackupRemoval = false;
} faultyRename;

// The same for unlink(2): killed as the first backup goes.
extern "C" int unlink(const char* path) noexcept {
  const FaultyRename& f = faultyRename;
  if (f.killAtBackupRemoval && !f.under.isEmpty() && QByteArray(path).startsWith(f.under) &&
      QByteArray(path).endsWith(".old"))
    raise(SIGKILL);
  return unlinkat(AT_FDCWD, path, 0);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  FaultyRename& f = faultyRename;
  const bool counted = !f.under.isEmpty() && QByteArray(to).startsWith(f.under);
  const int n = counted ? ++f.count : 0;
  if (n && n == f.killBefore) raise(SIGKILL);
  if (n && n == f.failAt) {
    errno = EIO;
    return -1;
  }
  const int r = renameat(AT_FDCWD, from, AT_FDCWD, to);
  if (n && n == f.killAfter) raise(SIGKILL);
  return r;
}

namespace pastel {
namespace {

using test::fileBytes;
using test::filesBelow;
using test::folderBytes;
using test::rawValue;
using test::writeBytes;

QByteArray golden() { return fileBytes(PASTEL_SOURCE_DIR "/tests/golden/natsu.html"); }

QString utf8FromCp932(const QByteArray& bytes) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  QByteArray out(bytes.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(bytes.constData());
  char* o = out.data();
  size_t il = size_t(bytes.size()), ol = size_t(out.size());
  const size_t r = iconv(cd, &in, &il, &o, &ol);
  iconv_close(cd);
  if (r == size_t(-1)) return QStringLiteral("<not cp932>");
  out.resize(out.size() - int(ol));
  return QString::fromUtf8(out);
}

struct SaveFixture : test::PosterFixture {
  SaveFixture() {
    pics = dir.path() + "/pics";
    out = dir.path() + "/え の フォルダ";
    QDir().mkpath(pics);
    QDir().mkpath(out);
  }
  QString photo(const QString& name, const QByteArray& bytes = "jpeg bytes") {
    const QString path = pics + "/" + name;
    QDir().mkpath(QFileInfo(path).path());
    writeBytes(path, bytes);
    return path;
  }
  void place(int j, const QString& file, float left = 1440, float top = 3300, float w = 2700,
             float h = 2025) {
    Element& e = poster.form.image3[size_t(j)];
    e.left = left, e.top = top, e.width = w, e.height = h, e.visible = true;
    poster.photoFiles[size_t(j)] = file;
    bringPhotoToTop(poster, j);
  }
  void placeWord(int j, const QString& text, float left, float top, float h = 345) {
    Element& e = poster.form.text1[size_t(j)];
    e.left = left, e.top = top, e.height = h, e.caption = text;
    bringWordToTop(poster, j);
  }
  // The worked example: one photo, one red word.
  void workedExample() {
    place(0, photo("cat.jpg"));
    placeWord(2, "なつ", 4800, 6000);
    poster.wordTextColourCodes[2] = "#ff0000";
    poster.form.text1[2].foreColor = rgb(255, 0, 0);
  }
  SaveResult saveAs(const QString& path) {
    dialogs.paths.push_back(path);
    return savePoster(poster);
  }
  QString pics, out;
};

TEST(PosterPage, WorkedExampleAndAnEmptyPoster) {
  SaveFixture fx;
  const QString empty = posterPage(takePosterContent(fx.poster), "natsu");
  EXPECT_EQ(empty,
            "<HTML>\r\n<META http-equiv=\"Content-Type\" content=\"text/html; "
            "charset=Shift_JIS\">\r\n<STYLE TYPE=text/css>\r\nBODY { "
            "background:url(natsu/natsu.jpg) no-repeat }\r\n</STYLE>\r\n</body>\r\n</HTML>");
  fx.workedExample();
  EXPECT_EQ(posterPageBytes(takePosterContent(fx.poster), "natsu"), golden());

  // Positions round to the nearest pixel, halves to even; sizes round down.
  EXPECT_EQ(pagePixelX(200), -3);
  EXPECT_EQ(pagePixelX(232.5f), 0);  // -0.5
  EXPECT_EQ(pagePixelX(262.5f), 2);  // 1.5
  EXPECT_EQ(pagePixelX(277.5f), 2);  // 2.5
  EXPECT_EQ(pagePixelY(2760), 0);    // the paper's top edge
  EXPECT_EQ(pagePixelSize(2024.9f), 134);
  fx.place(5, fx.photo("dog.jpg"), 200, 2760, 1785, 1339);
  EXPECT_TRUE(posterPage(takePosterContent(fx.poster), "natsu")
                  .contains("<br><img style=\"LEFT:-3px; POSITION: absolute; TOP:0px\"src=\"natsu\\"
                            "dog.jpg\" width=119 height=89>\r\n<br><table"));
}

TEST(PosterPage, LineBreaksBecomeBrUpToTheTwentieth) {
  EXPECT_EQ(wordTextForPage("あい\r\nうえ"), "あい<BR>うえ");
  EXPECT_EQ(wordTextForPage("あい\nうえ"), "あい<BR>うえ");
  EXPECT_EQ(wordTextForPage("あい"), "あい");
  QStringList lines;
  for (int i = 1; i <= 21; ++i) lines << QString::number(i);
  EXPECT_EQ(wordTextForPage(lines.join("\n")), lines.mid(0, 20).join("<BR>") + "<BR>");
  EXPECT_EQ(wordTextForPage(lines.mid(0, 20).join("\n")), lines.mid(0, 20).join("<BR>"));
}

TEST(PosterPage, MarkupIsEscapedUrlsAreEncodedAndNoCharacterIsLost) {
  SaveFixture fx;
  fx.place(0, "/p/a&\"b<.jpg");
  fx.placeWord(0, "<b>&\"x\" 😀𠮷 〜−—¥ ～①", 4800, 6000);
  const QByteArray bytes = posterPageBytes(takePosterContent(fx.poster), "なつ やすみ");
  const QString back = utf8FromCp932(bytes);
  EXPECT_TRUE(back.contains("src=\"なつ%20やすみ\\a%26%22b%3C.jpg\"")) << back.toStdString();
  EXPECT_TRUE(
      back.contains(">&lt;b&gt;&amp;&quot;x&quot; &#128512;&#134071; "
                    "&#12316;&#8722;&#8212;&#165; ～①</font>"))
      << back.toStdString();
  // In CSS neither "\" nor a character reference works: the url is %-encoded.
  EXPECT_TRUE(back.contains("url(なつ%20やすみ/なつ%20やすみ.jpg)")) << back.toStdString();
  EXPECT_TRUE(posterPage(takePosterContent(fx.poster), "a(b)😀")
                  .contains("url(a%28b%29%F0%9F%98%80/a%28b%29%F0%9F%98%80.jpg)"));
  EXPECT_TRUE(bytes.contains("\x81\x60"));  // ～ as code page 932 holds it

  // A browser reads "#" as a fragment, "?" as a query and "%" as an escape.
  fx.place(1, "/p/b#1?%2.jpg");
  const QString page = posterPage(takePosterContent(fx.poster), "c#d?e%f");
  EXPECT_TRUE(page.contains("src=\"c%23d%3Fe%25f\\b%231%3F%252.jpg\"")) << page.toStdString();
  EXPECT_TRUE(page.contains("url(c%23d%3Fe%25f/c%23d%3Fe%25f.jpg)")) << page.toStdString();
  EXPECT_EQ(posterPage(takePosterContent(fx.poster), "x:y").count("x%3Ay"),
            4);  // never a scheme "x:"
}

TEST(PosterNames, DerivedFromTheChosenPath) {
  auto n = posterNamesFor("/a/b c/natsu.html");
  ASSERT_TRUE(n);
  EXPECT_EQ(n->posterName, "natsu");
  EXPECT_EQ(n->database(), "/a/b c/natsu.mdb");
  EXPECT_EQ(n->paperBitmap(), "/a/b c/natsu/natsu.bmp");
  EXPECT_EQ(n->paperJpeg(), "/a/b c/natsu/natsu.jpg");
  EXPECT_EQ(posterNamesFor("/a/なつ")->page, "/a/なつ.html");
  EXPECT_EQ(posterNamesFor("/a/my.poster.htm")->posterName, "my.poster");
  EXPECT_FALSE(posterNamesFor("/a/.html"));
  EXPECT_FALSE(posterNamesFor("/a/x\\y.html"));
}

TEST(SavePoster, WritesThePageTheDatabaseAndTheFolder) {
  SaveFixture fx;
  fx.workedExample();
  fx.poster.selectionActive = 1;
  ASSERT_FALSE(QFileInfo::exists(fx.dir.path() + "/pastel.mdb"));
  const SaveResult r = fx.saveAs(fx.out + "/natsu.html");
  ASSERT_EQ(r.status, SaveStatus::Saved) << r.error.toStdString();
  EXPECT_TRUE(fx.dialogs.messages.empty());
  EXPECT_EQ(fx.poster.selectionActive, 0);
  ASSERT_EQ(fx.dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(fx.dialogs.fileDialogs[0].filter, "HTML(*.html)");
  EXPECT_EQ(fx.loop.yields - 2, 1);  // start-up yielded twice

  EXPECT_EQ(fileBytes(fx.out + "/natsu.html"), golden());
  EXPECT_EQ(filesBelow(fx.out), QStringList({"natsu", "natsu/cat.jpg", "natsu/natsu.bmp",
                                             "natsu/natsu.jpg", "natsu.html", "natsu.mdb"}));
  EXPECT_EQ(fileBytes(fx.out + "/natsu/cat.jpg"), "jpeg bytes");
  const QByteArray bmp = fileBytes(fx.out + "/natsu/natsu.bmp");
  EXPECT_TRUE(bmp.startsWith("BM"));
  EXPECT_EQ(QImage::fromData(bmp, "BMP").size(), QSize(707, 499));
  EXPECT_EQ(QImage(fx.out + "/natsu/natsu.jpg", "JPEG").size(), QSize(707, 499));
  // The missing template was written first, as start-up does.
  EXPECT_TRUE(QFileInfo::exists(fx.dir.path() + "/pastel.mdb"));
  const QString db = fx.out + "/natsu.mdb";
  EXPECT_EQ(rawValue(db, "imagedata", "ima9F"), "natsu\\cat.jpg");
  EXPECT_EQ(rawValue(db, "imagedata", "ima9L"), "1440");
  EXPECT_EQ(rawValue(db, "textdata", "tex9F"), "なつ");
  EXPECT_EQ(rawValue(db, "textdata", "tex9C"), "255");

  // The next dialog starts where this save went.
  fx.dialogs.paths.push_back("");
  EXPECT_EQ(savePoster(fx.poster).status, SaveStatus::Cancelled);
  EXPECT_EQ(QDir(fx.dialogs.fileDialogs[1].directory), QDir(fx.out));
}

TEST(SavePoster, TheBuffersReadBackWithPlainSql) {
  SaveFixture fx;
  const QString tpl = fx.dir.path() + "/pastel.mdb";
  ASSERT_TRUE(writeTemplateDatabase(tpl));
  ASSERT_TRUE(test::rawExec(tpl, "UPDATE imagedata SET colcode = '#123456'"));
  fx.poster.paperColourCode = "#80ff80";
  // Word 3 pressed first: at stack position 0, parked.
  moveToTopOfStack(fx.poster.wordStackOrder, 3);
  for (int j : {0, 1, 2, 4, 5, 6, 7, 8, 9}) moveToTopOfStack(fx.poster.wordStackOrder, j);
  fx.poster.form.text1[3].caption = "あめ\nふり";
  fx.poster.form.text1[3].backColor = rgb(0x80, 0xff, 0x80);
  ASSERT_EQ(fx.saveAs(fx.out + "/empty.html").status, SaveStatus::Saved);
  const QString db = fx.out + "/empty.mdb";
  for (int i = 0; i < 10; ++i) {
    const QString c = QString("ima%1").arg(i);
    EXPECT_EQ(rawValue(db, "imagedata", c + "L"), "13200");
    EXPECT_EQ(rawValue(db, "imagedata", c + "T"), "0");
    EXPECT_EQ(rawValue(db, "imagedata", c + "W"), "1785");
    EXPECT_EQ(rawValue(db, "imagedata", c + "H"), "1335");
    EXPECT_EQ(rawValue(db, "imagedata", c + "F"), "");
    EXPECT_EQ(rawValue(db, "textdata", QString("tex%1L").arg(i)), "11040");
    EXPECT_EQ(rawValue(db, "textdata", QString("tex%1H").arg(i)), "555");
  }
  EXPECT_EQ(rawValue(db, "textdata", "tex0T"), "4680");
  EXPECT_EQ(rawValue(db, "textdata", "tex0F"), "あめ\r\nふり");
  EXPECT_EQ(rawValue(db, "textdata", "tex0B"), QString::number(rgb(0x80, 0xff, 0x80)));
  EXPECT_EQ(rawValue(db, "textdata", "tex0S"), "14");
  EXPECT_EQ(rawValue(db, "imagedata", "backcolor"), "empty\\empty.bmp");
  EXPECT_EQ(rawValue(db, "imagedata", "sgazo"), "#80ff80");
  EXPECT_EQ(rawValue(db, "imagedata", "colcode"), "#123456");

  // The only photo, slot 4, pressed last: PhotoRecord 9.
  fx.place(4, fx.photo("cat.jpg"), 1440.5f, 3300, 2999.25f, 2025);
  ASSERT_EQ(fx.saveAs(fx.out + "/one.html").status, SaveStatus::Saved);
  const QString one = fx.out + "/one.mdb";
  EXPECT_EQ(rawValue(one, "imagedata", "ima8L"), "13200");
  EXPECT_EQ(rawValue(one, "imagedata", "ima9L"), "1440.5");
  EXPECT_EQ(rawValue(one, "imagedata", "ima9W"), "2999.25");
  EXPECT_EQ(rawValue(one, "imagedata", "ima9F"), "one\\cat.jpg");
}

TEST(SavePoster, ATemplateThatIsBrokenOrCannotBeWrittenIsNoHindrance) {
  SaveFixture fx;
  fx.workedExample();
  // A word list file that is no database: left alone, a fresh copy used.
  const QString tpl = fx.dir.path() + "/pastel.mdb";
  writeBytes(tpl, "not a database");
  ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  EXPECT_EQ(fileBytes(tpl), "not a database");
  EXPECT_EQ(rawValue(fx.out + "/natsu.mdb", "imagedata", "ima9F"), "natsu\\cat.jpg");
  EXPECT_EQ(rawValue(fx.out + "/natsu.mdb", "imagedata", "colcode"), "#ffffff");

  // No template, and none can be written where it belongs.
  fx.poster.appFolder = fx.dir.path() + "/missing/folder/";
  ASSERT_EQ(fx.saveAs(fx.out + "/haru.html").status, SaveStatus::Saved);
  EXPECT_EQ(rawValue(fx.out + "/haru.mdb", "textdata", "tex9F"), "なつ");
  EXPECT_EQ(filesBelow(fx.out).filter(".saving-"), QStringList());
}

TEST(SavePoster, SavingAgainReplacesThePosterAndLeavesOtherFiles) {
  SaveFixture fx;
  fx.workedExample();
  ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  const QString db = fx.out + "/natsu.mdb";
  writeBytes(fx.out + "/natsu/mine.txt", "keep me");

  // A journal of the earlier database left behind (a crash while it was
  // being written) must not be recovered into the new one.
  {
    sqlite3* h = nullptr;
    ASSERT_EQ(sqlite3_open(db.toUtf8().constData(), &h), SQLITE_OK);
    sqlite3_exec(h, "PRAGMA synchronous=OFF; BEGIN; UPDATE textdata SET tex9F = 'ふるい'", nullptr,
                 nullptr, nullptr);
    const QByteArray journal = fileBytes(db + "-journal");
    sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(h);
    ASSERT_NE(journal, "<missing>");
    writeBytes(db + "-journal", journal);
  }

  writeBytes(fx.pics + "/cat.jpg", "new cat");
  fx.poster.form.image3[0].left = 1500;
  fx.poster.form.text1[2].left = kWordColumnLeft;  // parked again
  ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  EXPECT_FALSE(QFileInfo::exists(db + "-journal"));
  EXPECT_TRUE(test::rawExec(db, "SELECT * FROM textdata"));  // a read-write open
  EXPECT_EQ(rawValue(db, "imagedata", "ima9L"), "1500");
  EXPECT_EQ(rawValue(db, "textdata", "tex9L"), "11040");
  EXPECT_EQ(rawValue(db, "textdata", "tex9F"), "なつ");
  EXPECT_EQ(fileBytes(fx.out + "/natsu/cat.jpg"), "new cat");
  EXPECT_EQ(fileBytes(fx.out + "/natsu/mine.txt"), "keep me");
  EXPECT_FALSE(utf8FromCp932(fileBytes(fx.out + "/natsu.html")).contains("なつ</font>"));
}

TEST(SavePoster, SameNamePhotosGetTheirOwnCopiesAndAnOpenedPosterCopiesNone) {
  SaveFixture fx;
  fx.place(0, fx.photo("a/cat.jpg", "cat a"), 600, 3000);
  fx.place(1, fx.photo("b/cat.jpg", "cat b"), 1600, 3000);
  fx.place(2, fx.photo("natsu.jpg", "not the paper"), 2600, 3000);
  fx.place(3, fx.photo("x\\y.jpg", "backslash"), 3600, 3000);
  fx.place(4, fx.pics + "/a/cat.jpg", 4600, 3000);  // the same file twice
  ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  const QString f = fx.out + "/natsu/";
  EXPECT_EQ(fileBytes(f + "cat.jpg"), "cat a");
  EXPECT_EQ(fileBytes(f + "cat-2.jpg"), "cat b");
  EXPECT_EQ(fileBytes(f + "natsu-2.jpg"), "not the paper");
  EXPECT_EQ(fileBytes(f + "x_y.jpg"), "backslash");
  EXPECT_TRUE(QImage(f + "natsu.jpg", "JPEG").size() == QSize(707, 499));
  EXPECT_EQ(filesBelow(fx.out + "/natsu").size(), 6);
  const QString db = fx.out + "/natsu.mdb";
  EXPECT_EQ(rawValue(db, "imagedata", "ima6F"), "natsu\\cat-2.jpg");
  EXPECT_EQ(rawValue(db, "imagedata", "ima9F"), "natsu\\cat.jpg");
  const QString page = utf8FromCp932(fileBytes(fx.out + "/natsu.html"));
  EXPECT_TRUE(page.contains("src=\"natsu\\cat-2.jpg\"")) << page.toStdString();
  EXPECT_TRUE(page.contains("src=\"natsu\\x_y.jpg\""));

  // Reopened from its own folder: every entry is its copy; nothing copied.
  for (int j = 0; j < 5; ++j) {
    const QString stored = rawValue(db, "imagedata", QString("ima%1F").arg(5 + j));
    fx.poster.photoFiles[size_t(j)] = fx.out + "/" + QString(stored).replace('\\', '/');
  }
  struct stat before {
  }, after{};
  ASSERT_EQ(::stat(QFile::encodeName(f + "cat-2.jpg").constData(), &before), 0);
  ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  ASSERT_EQ(::stat(QFile::encodeName(f + "cat-2.jpg").constData(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(rawValue(db, "imagedata", "ima6F"), "natsu\\cat-2.jpg");
  EXPECT_EQ(filesBelow(fx.out + "/natsu").size(), 6);
}

TEST(SavePoster, CancelAndRefusedNamesWriteNothing) {
  SaveFixture fx;
  fx.workedExample();
  EXPECT_EQ(fx.saveAs("").status, SaveStatus::Cancelled);
  EXPECT_EQ(fx.saveAs(fx.out + "/.html").status, SaveStatus::NameRefused);
  EXPECT_EQ(fx.saveAs(fx.out + "/a\\b.html").status, SaveStatus::NameRefused);
  EXPECT_TRUE(filesBelow(fx.out).isEmpty());
  ASSERT_EQ(fx.dialogs.messages.size(), 2u);
  EXPECT_EQ(fx.dialogs.messages[0].title, "ほぞん");
  EXPECT_EQ(fx.dialogs.messages[0].text, kSaveNameRefusedText);

  // A name typed without an extension gets ".html".
  EXPECT_EQ(fx.saveAs(fx.out + "/なつ やすみ").status, SaveStatus::Saved);
  EXPECT_TRUE(QFileInfo::exists(fx.out + "/なつ やすみ.html"));
  EXPECT_TRUE(QFileInfo::exists(fx.out + "/なつ やすみ/なつ やすみ.bmp"));
  EXPECT_EQ(rawValue(fx.out + "/なつ やすみ.mdb", "imagedata", "ima9F"), "なつ やすみ\\cat.jpg");
}

// A name of dots would make the poster folder the chosen folder or its
// parent: a teacher's photo there and another poster's save in progress.
TEST(SavePoster, ANameOfDotsAndSpacesIsRefused) {
  SaveFixture fx;
  fx.place(0, fx.photo("teacher.jpg", "the child's photo"));
  writeBytes(fx.out + "/teacher.jpg", "the teacher's photo");
  writeBytes(fx.out + "/.other.mdb.saving-1", "another poster's save");
  ASSERT_TRUE(writeTemplateDatabase(fx.dir.path() + "/pastel.mdb"));
  const auto before = folderBytes(fx.dir.path());
  for (const char* name : {"..html", "...html", ". .html", " .html", "..", ". . "}) {
    SCOPED_TRACE(name);
    fx.dialogs.answers.push_back(MsgAnswer::Yes);
    EXPECT_EQ(fx.saveAs(fx.out + "/" + name).status, SaveStatus::NameRefused);
    EXPECT_EQ(folderBytes(fx.dir.path()), before);
    EXPECT_EQ(fx.dialogs.messages.back().text, kSaveNameRefusedText);
    fx.dialogs.answers.clear();
  }
  EXPECT_TRUE(posterNamesFor(fx.out + "/.a.html"));
}

TEST(SavePoster, AFailedSaveLeavesTheEarlierPosterAsItWas) {
  SaveFixture fx;
  fx.workedExample();
  ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  const auto before = folderBytes(fx.out);
  fx.poster.form.image3[0].left = 2000;
  fx.poster.paperColourCode = "#000000";
  auto expectUntouched = [&](const char* what) {
    EXPECT_EQ(folderBytes(fx.out), before) << what;
    ASSERT_FALSE(fx.dialogs.messages.empty()) << what;
    EXPECT_EQ(fx.dialogs.messages.back().text, kSaveFailedText);
    EXPECT_EQ(fx.dialogs.messages.back().title, "ほぞん");
    fx.dialogs.messages.clear();
  };

  // A file of the poster that cannot be replaced (a folder in its place):
  // found after every other file was written.
  QDir().mkdir(fx.out + "/natsu/cat.jpg.d");
  QFile::rename(fx.out + "/natsu/cat.jpg", fx.out + "/natsu/cat.jpg.keep");
  QDir().rename(fx.out + "/natsu/cat.jpg.d", fx.out + "/natsu/cat.jpg");
  const auto withFolder = folderBytes(fx.out);
  EXPECT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Failed);
  EXPECT_EQ(folderBytes(fx.out), withFolder);
  fx.dialogs.messages.clear();
  QDir().rmdir(fx.out + "/natsu/cat.jpg");
  QFile::rename(fx.out + "/natsu/cat.jpg.keep", fx.out + "/natsu/cat.jpg");

  // A full disk halfway through the photo copy.
  fx.photo("cat.jpg", QByteArray(300000, 'x'));
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 200000;
  setrlimit(RLIMIT_FSIZE, &small);
  const SaveResult full = fx.saveAs(fx.out + "/natsu.html");
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(full.status, SaveStatus::Failed);
  expectUntouched("disk full");

  // A file where the poster folder should be: nothing at all is written.
  writeBytes(fx.out + "/haru", "a file");
  const auto withFile = folderBytes(fx.out);
  EXPECT_EQ(fx.saveAs(fx.out + "/haru.html").status, SaveStatus::Failed);
  EXPECT_EQ(folderBytes(fx.out), withFile);
  fx.dialogs.messages.clear();

  if (geteuid() != 0) {  // root writes into read-only folders
    chmod(QFile::encodeName(fx.out + "/natsu").constData(), 0555);
    EXPECT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Failed);
    chmod(QFile::encodeName(fx.out + "/natsu").constData(), 0755);
    expectUntouched("read-only folder");
  }
}

TEST(SavePoster, AMissingPhotoIsToldAndThePosterStillSaved) {
  SaveFixture fx;
  fx.workedExample();
  fx.place(1, fx.photo("gone.jpg"), 3000, 4000);
  QFile::remove(fx.pics + "/gone.jpg");
  const SaveResult r = fx.saveAs(fx.out + "/natsu.html");
  ASSERT_EQ(r.status, SaveStatus::Saved);
  EXPECT_EQ(r.missingPhotos, QStringList{"gone.jpg"});
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text, "しゃしんが みつかりませんでした：gone.jpg");
  EXPECT_EQ(fx.dialogs.messages[0].title, "ほぞん");
  EXPECT_EQ(rawValue(fx.out + "/natsu.mdb", "imagedata", "ima9F"), "natsu\\gone.jpg");
  EXPECT_TRUE(utf8FromCp932(fileBytes(fx.out + "/natsu.html")).contains("src=\"natsu\\gone.jpg\""));
  EXPECT_EQ(fileBytes(fx.out + "/natsu/cat.jpg"), "jpeg bytes");
}

void copyFolder(const QString& from, const QString& to) {
  QDir().mkpath(to);
  for (const QFileInfo& fi : QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
    if (fi.isDir())
      copyFolder(fi.filePath(), to + "/" + fi.fileName());
    else
      QFile::copy(fi.filePath(), to + "/" + fi.fileName());
  }
}

// A save killed at any rename of its commit leaves the old poster or the
// new one, whole, once the next open or save has looked at it; a rename
// that fails puts every file back and says so.
TEST(SavePoster, AKilledOrFailedCommitLeavesTheOldPosterOrTheNew) {
  SaveFixture fx;
  fx.workedExample();
  fx.place(1, fx.photo("dog.jpg", "old dog"), 3000, 4000);
  ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  const auto oldPoster = folderBytes(fx.out);
  const QString pristine = fx.dir.path() + "/pristine";
  copyFolder(fx.out, pristine);
  auto restore = [&] {
    QDir(fx.out).removeRecursively();
    copyFolder(pristine, fx.out);
  };

  fx.photo("cat.jpg", "new cat");
  fx.photo("dog.jpg", "new dog");
  fx.poster.form.image3[0].left = 2000;
  fx.poster.form.text1[2].caption = "あたらしい";
  const PosterNames names = *posterNamesFor(fx.out + "/natsu.html");
  FaultyRename& f = faultyRename;
  f.under = QFile::encodeName(fx.out);
  f.count = 0;
  ASSERT_EQ(writePoster(fx.poster, names).status, SaveStatus::Saved);
  const int renames = f.count;
  const auto newPoster = folderBytes(fx.out);
  ASSERT_NE(newPoster, oldPoster);
  EXPECT_GE(renames, 6);

  for (int k = 0; k <= renames; ++k) {
    SCOPED_TRACE(k);
    restore();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      f.count = 0;
      (k == 0 ? f.killBefore : f.killAfter) = std::max(k, 1);
      writePoster(fx.poster, names);
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    // Every other time the next open finishes it, else the next save.
    if (k % 2 == 0) {
      SaveFixture reader;
      ASSERT_EQ(openPosterFile(reader.poster, fx.out + "/natsu.mdb").status, OpenStatus::Opened);
      // The record was whole before the first rename: the commit is finished.
      EXPECT_EQ(folderBytes(fx.out), newPoster);
    }
    ASSERT_EQ(writePoster(fx.poster, names).status, SaveStatus::Saved);
    EXPECT_EQ(folderBytes(fx.out), newPoster);
  }

  for (int k : {1, renames / 2, renames}) {
    SCOPED_TRACE(k);
    restore();
    f.count = 0;
    f.failAt = k;
    EXPECT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Failed);
    f.failAt = 0;
    EXPECT_EQ(folderBytes(fx.out), oldPoster);
    ASSERT_FALSE(fx.dialogs.messages.empty());
    EXPECT_EQ(fx.dialogs.messages.back().text, kSaveFailedText);
    fx.dialogs.messages.clear();
  }
  f.under.clear();
}

// A folder of a teacher's pictures with the poster's name: the question
// says so, and the poster goes beside them without replacing any, now and
// when it is saved again; a paper picture's name taken refuses the name.
TEST(SavePoster, AFolderThatIsNoPosterKeepsItsFiles) {
  SaveFixture fx;
  fx.place(0, fx.photo("cat.jpg", "the child's cat"));
  QDir().mkpath(fx.out + "/sports");
  writeBytes(fx.out + "/sports/cat.jpg", "the teacher's cat");
  fx.dialogs.answers.push_back(MsgAnswer::Yes);
  ASSERT_EQ(fx.saveAs(fx.out + "/sports.html").status, SaveStatus::Saved);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text,
            "おなじ なまえの フォルダが あります。なかの ものは かえずに、そこへ えを "
            "いれます。いいですか？");
  for (int again = 0; again < 2; ++again) {
    EXPECT_EQ(fileBytes(fx.out + "/sports/cat.jpg"), "the teacher's cat");
    EXPECT_EQ(fileBytes(fx.out + "/sports/cat-2.jpg"), "the child's cat");
    EXPECT_EQ(rawValue(fx.out + "/sports.mdb", "imagedata", "ima9F"), "sports\\cat-2.jpg");
    EXPECT_TRUE(utf8FromCp932(fileBytes(fx.out + "/sports.html")).contains("sports\\cat-2.jpg"));
    fx.poster.form.image3[0].left = 2000;
    ASSERT_EQ(fx.saveAs(fx.out + "/sports.html").status, SaveStatus::Saved);
  }

  QDir().mkpath(fx.out + "/natsu");
  writeBytes(fx.out + "/natsu/natsu.JPG", "the teacher's");
  const auto before = folderBytes(fx.out);
  fx.dialogs.messages.clear();
  EXPECT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::NameRefused);
  EXPECT_EQ(folderBytes(fx.out), before);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text, kSaveNameRefusedText);
}

// Browsers show neither metafiles nor HEIC: the page shows a PNG or JPEG
// made beside the copy, while the database keeps the copy.
TEST(SavePoster, APictureBrowsersCannotShowGetsACompanionOnThePage) {
  SaveFixture fx;
  test::WmfWriter w(200, 100, 96);
  w.brush(qRgb(255, 0, 0));
  w.rectangle(0, 0, 200, 100);
  const QByteArray wmf = w.finish();
  QImage blue(64, 48, QImage::Format_RGB32);
  blue.fill(qRgb(0, 128, 255));
  const QByteArray heic = test::heicFile(blue);
  ASSERT_FALSE(heic.isEmpty());
  fx.place(0, fx.photo("cat.wmf", wmf), 600, 3000);
  fx.place(1, fx.photo("dog.heic", heic), 4000, 3000);
  const QString f = fx.out + "/natsu/", db = fx.out + "/natsu.mdb";
  QDir().mkpath(f);
  writeBytes(f + "cat.wmf.png", "the teacher's");
  fx.dialogs.answers.push_back(MsgAnswer::Yes);
  QStringList files;
  QByteArray png, jpeg;
  for (int again = 0; again < 3; ++again) {
    SaveFixture reader;
    FilePictureLoader loader;
    reader.poster.svc.pictures = &loader;
    if (again < 2) {
      ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
    } else {  // reopened: the originals come back and are saved again
      ASSERT_EQ(openPosterFile(reader.poster, db).status, OpenStatus::Opened);
      const auto& opened = reader.poster.photoFiles;
      EXPECT_NE(std::find(opened.begin(), opened.end(), f + "cat.wmf"), opened.end());
      EXPECT_NE(std::find(opened.begin(), opened.end(), f + "dog.heic"), opened.end());
      ASSERT_EQ(reader.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
    }
    EXPECT_EQ(fileBytes(f + "cat.wmf.png"), "the teacher's");
    EXPECT_EQ(fileBytes(f + "cat.wmf"), wmf);
    EXPECT_EQ(fileBytes(f + "dog.heic"), heic);
    QStringList stored;
    for (int k = 0; k < 10; ++k) stored << rawValue(db, "imagedata", QString("ima%1F").arg(k));
    EXPECT_TRUE(stored.contains("natsu\\cat.wmf") && stored.contains("natsu\\dog.heic"));
    const QString page = utf8FromCp932(fileBytes(fx.out + "/natsu.html"));
    EXPECT_TRUE(page.contains("src=\"natsu\\cat.wmf-2.png\"")) << page.toStdString();
    EXPECT_TRUE(page.contains("src=\"natsu\\dog.heic.jpg\""));
    const QByteArray drawing = fileBytes(f + "cat.wmf-2.png"),
                     photo = fileBytes(f + "dog.heic.jpg");
    EXPECT_EQ(sniffPictureFormat(drawing), PictureFormat::Png);
    EXPECT_EQ(sniffPictureFormat(photo), PictureFormat::Jpeg);
    const QImage shown = QImage::fromData(drawing), photoShown = QImage::fromData(photo);
    EXPECT_EQ(shown.pixel(100, 50), qRgb(255, 0, 0));
    EXPECT_EQ(photoShown.size(), QSize(64, 48));
    if (again == 0) {
      files = filesBelow(f), png = drawing, jpeg = photo;
    } else {  // the same files again, not a growing pile
      EXPECT_EQ(filesBelow(f), files);
      EXPECT_EQ(drawing, png);
      EXPECT_EQ(photo, jpeg);
    }
  }
}

// A save of natsu killed in a child process as faultyRename says, over an
// earlier poster saved in out.
struct KilledSave : SaveFixture {
  KilledSave() {
    workedExample();
    place(1, photo("dog.jpg", "old dog"), 3000, 4000);
    EXPECT_EQ(saveAs(out + "/natsu.html").status, SaveStatus::Saved);
    oldPoster = folderBytes(out);
    photo("cat.jpg", "new cat");
    photo("dog.jpg", "new dog");
    poster.form.text1[2].caption = "あたらしい";
  }
  void kill(int afterRename, bool atBackupRemoval = false) {
    FaultyRename& f = faultyRename;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      f.under = QFile::encodeName(out);
      f.count = 0;
      f.killAfter = afterRename;
      f.killAtBackupRemoval = atBackupRemoval;
      writePoster(poster, *posterNamesFor(out + "/natsu.html"));
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  }
  OpenStatus open() {
    SaveFixture reader;
    return openPosterFile(reader.poster, out + "/natsu.mdb").status;
  }
  QStringList hidden(const QString& end) const {
    return filesBelow(out).filter(QRegularExpression("(^|/)\\.[^/]*" + end + "$"));
  }
  std::string oldPoster;
};

// A hidden file that vanished before it was put in place: the earlier
// poster comes back from the backups; a target that is not the new file
// keeps its backup.
TEST(SavePoster, FinishingAKilledSaveChecksEachNewFile) {
  KilledSave fx;
  for (int k : {1, 4}) {
    SCOPED_TRACE(k);
    fx.kill(k);
    for (const QString& name : fx.hidden("\\.saving-[0-9a-f]+")) QFile::remove(fx.out + "/" + name);
    EXPECT_EQ(fx.open(), OpenStatus::Opened);
    for (const QString& name : fx.hidden("\\.saving-[0-9a-f]+")) QFile::remove(fx.out + "/" + name);
    EXPECT_EQ(folderBytes(fx.out), fx.oldPoster);
  }

  fx.kill(0, true);  // after the last rename
  writeBytes(fx.out + "/natsu.html", "the page changed since");
  const QStringList backups = fx.hidden("\\.old");
  ASSERT_FALSE(backups.isEmpty());
  fx.open();
  EXPECT_EQ(fx.hidden("\\.old"), backups.filter(".natsu.html."));
  EXPECT_EQ(fileBytes(fx.out + "/natsu.html"), "the page changed since");
}

// Backups go once the commit is known good, even when the save was killed
// as it removed them: the next open removes the rest.
TEST(SavePoster, BackupsGoOnceTheCommitIsKnownGood) {
  KilledSave fx;
  fx.kill(0, true);
  ASSERT_FALSE(fx.hidden("\\.old").isEmpty());
  EXPECT_EQ(fx.open(), OpenStatus::Opened);
  EXPECT_EQ(fx.hidden(""), QStringList{});
  EXPECT_EQ(fileBytes(fx.out + "/natsu/dog.jpg"), "new dog");
}

// A received poster's commit record acts on nothing but that poster's own
// files, never through a link, and only under the names a save gives them.
TEST(SavePoster, ACommitRecordActsOnlyOnItsPostersOwnFiles) {
  SaveFixture fx;
  fx.workedExample();
  ASSERT_EQ(fx.saveAs(fx.out + "/p.html").status, SaveStatus::Saved);
  const QString home = fx.dir.path() + "/home", received = fx.dir.path() + "/received";
  QDir().mkpath(home + "/Documents");
  QDir().mkpath(received);
  writeBytes(home + "/report.txt", "report");
  writeBytes(home + "/.bashrc", "bashrc");
  writeBytes(fx.out + "/q.docx", "the teacher's");
  writeBytes(fx.dir.path() + "/outside.txt", "outside");
  QFile::copy(fx.out + "/p.mdb", received + "/p.mdb");
  ASSERT_TRUE(QFile::link("../home", received + "/p"));
  const QString v1 = "pastelboard commit 1\n", v2 = "pastelboard commit 2\n";
  const QString db2 = "\tp.mdb-wal\t.p.mdb-wal.saving-1.old\t\t\n";
  const std::pair<QString, QString> records[] = {
      {received, v1 + "\tp/report.txt\tp/.report.txt.saving-1.old\n\tp/.bashrc\tp/..bashrc.saving-"
                      "2.old\n\tp/Documents\tp/.Documents.saving-3.old\nend\n"},
      {received, v2 + ".p.mdb.saving-1\tp.mdb\t.p.mdb.saving-1.old\t1\t" + QString(64, 'a') +
                     "\n\tp/report.txt\tp/.report.txt.saving-1.old\t\t\nend\n"},
      {fx.out, v2 + "\tq.docx\t.q.docx.saving-1.old\t\t\n" + db2 + "end\n"},
      {fx.out, v1 + "\t../outside.txt\t.p.mdb-wal.saving-1.old\nend\n"},
      {fx.out, v1 + "\tp.mdb\t.p.mdb.saving-1.old\n\tp.html\t.p.html.saving-2.old\n\tp/"
                    "cat.jpg\tp/.cat.jpg.saving-3.old\nend\n"},
      {fx.out, v2 + "\tp.mdb-journal\t.p.html.saving-1.old\t\t\n" + db2 + "end\n"},
  };
  for (const auto& [folder, record] : records) {
    SCOPED_TRACE(record.toStdString());
    writeBytes(folder + "/.p.mdb.commit", record.toUtf8());
    const auto before = folderBytes(fx.dir.path());
    SaveFixture reader;
    openPosterFile(reader.poster, folder + "/p.mdb");
    EXPECT_EQ(folderBytes(fx.dir.path()), before);
    QFile::remove(folder + "/.p.mdb.commit");
  }
  // Nor does a save write through the link.
  const auto before = folderBytes(fx.dir.path());
  fx.dialogs.answers.push_back(MsgAnswer::Yes);
  EXPECT_EQ(fx.saveAs(received + "/p.html").status, SaveStatus::Failed);
  EXPECT_EQ(folderBytes(fx.dir.path()), before);
}

// Killed saves leave hidden files (and a commit record cut short): the next
// save of the poster removes its own and no other poster's.
TEST(SavePoster, HiddenFilesOfKilledSavesGoWithTheNextSave) {
  SaveFixture fx;
  fx.workedExample();
  ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  const QStringList stale{".natsu.html.saving-1a2b",       ".natsu.htm.saving-3",
                          ".natsu.mdb.saving-ff",          ".natsu.mdb.saving-ff-journal",
                          ".natsu.mdb-wal.saving-7.old",   "natsu/.cat.jpg.saving-99",
                          "natsu/.natsu.bmp.saving-1.old", ".natsu.mdb.commit"};
  const QStringList others{".natsu2.mdb.saving-1", ".natsu.x.mdb.saving-2", ".other.saving-1",
                           "natsu/mine.txt"};
  for (const QString& name : stale + others)
    writeBytes(fx.out + "/" + name, QByteArray(100000, 'x'));
  writeBytes(fx.out + "/.natsu.mdb.commit", "pastelboard commit 1\n.natsu.mdb.saving-ff\tnat");
  fx.poster.form.image3[0].left = 2000;
  ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  for (const QString& name : stale)
    EXPECT_FALSE(QFileInfo::exists(fx.out + "/" + name)) << name.toStdString();
  for (const QString& name : others)
    EXPECT_TRUE(QFileInfo::exists(fx.out + "/" + name)) << name.toStdString();
  EXPECT_EQ(rawValue(fx.out + "/natsu.mdb", "imagedata", "ima9L"), "2000");
}

// The page never takes the place of the poster's database, and a poster
// whose page is gone is not replaced without a question.
TEST(SavePoster, ThePosterDatabaseIsNeverReplacedUnasked) {
  SaveFixture fx;
  fx.workedExample();
  ASSERT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  const auto before = folderBytes(fx.out);
  for (const char* name : {"natsu.mdb", "natsu.MDB", "natsu.mdb-wal", "natsu."}) {
    SCOPED_TRACE(name);
    fx.dialogs.messages.clear();
    EXPECT_EQ(fx.saveAs(fx.out + "/" + name).status, SaveStatus::NameRefused);
    EXPECT_EQ(folderBytes(fx.out), before);
    ASSERT_EQ(fx.dialogs.messages.size(), 1u);
    EXPECT_EQ(fx.dialogs.messages[0].text, kSaveNameRefusedText);
  }

  // The page was deleted: the database and the folder are still there.
  QFile::remove(fx.out + "/natsu.html");
  const auto withoutPage = folderBytes(fx.out);
  fx.poster.form.image3[0].left = 2000;
  fx.dialogs.messages.clear();
  EXPECT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Cancelled);  // いいえ
  EXPECT_EQ(folderBytes(fx.out), withoutPage);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  const MessageBoxText& asked = fx.dialogs.messages[0];
  EXPECT_EQ(asked.text, "おなじ なまえで ほぞんした ものが あります。おきかえますか？");
  EXPECT_EQ(asked.title, "ほぞん");
  EXPECT_EQ(asked.buttons, MsgButtons::YesNo);
  EXPECT_EQ(asked.defaultButton, MsgAnswer::No);
  fx.dialogs.answers.push_back(MsgAnswer::Yes);
  EXPECT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  EXPECT_EQ(rawValue(fx.out + "/natsu.mdb", "imagedata", "ima9L"), "2000");
  // With the page there, the dialog itself has asked.
  fx.dialogs.messages.clear();
  EXPECT_EQ(fx.saveAs(fx.out + "/natsu.html").status, SaveStatus::Saved);
  EXPECT_TRUE(fx.dialogs.messages.empty());
}

}  // namespace
}  // namespace pastel
