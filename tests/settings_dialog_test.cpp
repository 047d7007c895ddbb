#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <thread>

#include "db_test_support.h"
#include "settings/settings_controller.h"
#include "storage/template_db.h"
#include "test_support.h"

namespace pastel {
namespace {

const WordList kStored{"いぬ", "ねこ",   "うさぎ", "くま", "りす",
                       "ぞう", "きりん", "さる",   "とり", "かめ"};

struct SettingsFixture {
  SettingsFixture() : ctl(fx.poster) {
    touch(pictures.path() + "/b.BMP");
    touch(pictures.path() + "/A.jpg");
    touch(pictures.path() + "/memo.txt");
    QDir().mkpath(pictures.path() + "/なし");
    ctl.startFolder = [this] { return pictures.path(); };
    ctl.listDrives = [this] { return QStringList{"/", pictures.path()}; };
  }
  static void touch(const QString& path) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
  }
  QString dbPath() const { return fx.poster.appFolder + "pastel.mdb"; }
  void storeTemplate(const WordList& words) {
    ASSERT_TRUE(writeTemplateDatabase(dbPath()));
    ASSERT_TRUE(storeWordList(dbPath(), words));
  }
  QStringList slotWords() const {
    QStringList w;
    for (const Element& e : fx.poster.form.text1) w << e.caption;
    return w;
  }
  test::PosterFixture fx;
  QTemporaryDir pictures;
  SettingsController ctl;
};

QStringList toList(const WordList& w) { return QStringList(w.begin(), w.end()); }

TEST(SettingsDialog, StoredWordsGoToTheSlotsAndEditedOnesBackToTheFile) {
  SettingsFixture s;
  s.storeTemplate(kStored);
  Poster& p = s.fx.poster;
  s.ctl.open();
  ASSERT_TRUE(s.ctl.isOpen());
  EXPECT_EQ(toList(s.ctl.dialog()->wordFields), toList(kStored));
  EXPECT_EQ(s.ctl.dialog()->dirPath, s.pictures.path());
  EXPECT_EQ(s.ctl.dialog()->drive, s.pictures.path());
  EXPECT_EQ(s.ctl.dialog()->fileList, QStringList({"A.jpg", "b.BMP"}));
  EXPECT_TRUE(p.pictureFolderPath.isEmpty());
  s.ctl.confirm();
  EXPECT_FALSE(s.ctl.isOpen());
  EXPECT_TRUE(s.fx.dialogs.messages.empty());
  EXPECT_EQ(s.slotWords(), toList(kStored));
  EXPECT_FLOAT_EQ(p.form.text1[0].height, 345);
  // No folder chosen: the one shown, so the paths are whole.
  EXPECT_EQ(p.pictureFolderPath, s.pictures.path() + "/");
  EXPECT_EQ(p.pictureFiles,
            QStringList({s.pictures.path() + "/A.jpg", s.pictures.path() + "/b.BMP"}));

  // A word edited on the poster, then 設定(&D): it replaces the stored one.
  p.form.text1[3].caption = "あめ";
  s.ctl.menuSetDir();
  ASSERT_TRUE(s.ctl.isOpen());
  EXPECT_EQ(s.ctl.dialog()->wordFields[3], "あめ");
  s.ctl.editWordField(9, "");
  s.ctl.editWordField(0, "はな\r\nび");
  s.ctl.confirm();
  EXPECT_EQ(test::rawValue(s.dbPath(), "所属テーブル", "moji4"), "あめ");
  EXPECT_EQ(test::rawValue(s.dbPath(), "所属テーブル", "moji10"), "");
  EXPECT_EQ(test::rawValue(s.dbPath(), "所属テーブル", "moji1"), "はな\r\nび");
  EXPECT_TRUE(p.form.text1[9].caption.isEmpty());
  EXPECT_FLOAT_EQ(p.form.text1[0].height, 645);
  EXPECT_EQ(test::rawRowCount(s.dbPath(), "所属テーブル"), 1);
  EXPECT_TRUE(s.fx.dialogs.messages.empty());
}

TEST(SettingsDialog, ConfirmedFolderComesBackAndFoldersEndInOneSlash) {
  SettingsFixture s;
  Poster& p = s.fx.poster;
  s.ctl.open();
  s.ctl.chooseFolder("/");
  s.ctl.confirm();
  EXPECT_EQ(p.pictureFolderPath, "/");
  s.ctl.open();
  s.ctl.chooseFolder(s.pictures.path() + "/");
  EXPECT_EQ(p.pictureFolderPath, "/");  // only a confirmation sets it
  s.ctl.confirm();
  EXPECT_EQ(p.pictureFolderPath, s.pictures.path() + "/");
  EXPECT_EQ(p.pictureFiles,
            QStringList({s.pictures.path() + "/A.jpg", s.pictures.path() + "/b.BMP"}));

  // Somewhere else meanwhile: the menu still opens at the confirmed folder.
  s.ctl.startFolder = [] { return QStringLiteral("/"); };
  s.ctl.menuSetDir();
  EXPECT_EQ(s.ctl.dialog()->dirPath, s.pictures.path());
  EXPECT_EQ(s.ctl.dialog()->drive, s.pictures.path());

  // Closing from the frame hands nothing over.
  s.ctl.chooseFolder(s.pictures.path() + "/なし");
  s.ctl.editWordField(0, "かわ");
  const QStringList before = p.pictureFiles;
  s.ctl.closedByFrame();
  EXPECT_FALSE(s.ctl.isOpen());
  EXPECT_NE(p.form.text1[0].caption, "かわ");
  EXPECT_EQ(p.pictureFiles, before);
  EXPECT_EQ(p.pictureFolderPath, s.pictures.path() + "/");
}

TEST(SettingsDialog, ChoosingTheDriveAlreadyShownKeepsTheOpenFolder) {
  SettingsFixture s;
  s.ctl.open();
  s.ctl.chooseFolder(s.pictures.path() + "/なし");
  s.ctl.chooseDrive(s.ctl.dialog()->drive);
  EXPECT_EQ(s.ctl.dialog()->dirPath, s.pictures.path() + "/なし");
  s.ctl.chooseDrive("/");
  EXPECT_EQ(s.ctl.dialog()->dirPath, "/");
}

TEST(SettingsDialog, EmptyFolderAndMissingMediumAreToldButNothingStops) {
  SettingsFixture s;
  s.ctl.open();
  s.ctl.chooseDrive("/media/nobody/usb");
  ASSERT_EQ(s.fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(s.fx.dialogs.messages[0].text, "ディスクをセットしてください");
  EXPECT_EQ(s.fx.dialogs.messages[0].title, "ドライブエラー");
  EXPECT_EQ(s.fx.dialogs.messages[0].icon, MsgIcon::Warning);
  EXPECT_EQ(s.fx.dialogs.messages[0].buttons, MsgButtons::Ok);
  EXPECT_TRUE(s.ctl.isOpen());
  EXPECT_EQ(s.ctl.dialog()->dirPath, s.pictures.path());  // a valid folder

  s.ctl.chooseFolder(s.pictures.path() + "/なし");
  s.ctl.confirm();
  ASSERT_EQ(s.fx.dialogs.messages.size(), 2u);
  const MessageBoxText& m = s.fx.dialogs.messages[1];
  EXPECT_EQ(m.text, QString("がぞうがありません、がぞうをいれるには") + QChar(0x3000) +
                        "[設定]からおこなってください。");
  EXPECT_EQ(m.title, "確認");
  EXPECT_EQ(m.icon, MsgIcon::Information);
  EXPECT_FALSE(s.ctl.isOpen());
  EXPECT_TRUE(s.fx.poster.pictureFiles.isEmpty());
  // The fresh template's words still arrived.
  EXPECT_EQ(s.fx.poster.form.text1[0].caption, "なつやすみ");
}

TEST(SettingsDialog, UnusableWordFilesAreReportedAndNeverTouched) {
  struct Case {
    const char* name;
    std::function<void(const QString&)> make;
  };
  const std::vector<Case> cases{
      {"corrupt", [](const QString& p) { test::writeBytes(p, QByteArray(4096, '\x5a')); }},
      {"no column",
       [](const QString& p) {
         writeTemplateDatabase(p);
         test::rawExec(p, "ALTER TABLE 所属テーブル DROP COLUMN moji7");
       }},
      {"no table",
       [](const QString& p) {
         writeTemplateDatabase(p);
         test::rawExec(p, "DROP TABLE 所属テーブル");
       }},
      {"folder", [](const QString& p) { QDir().mkpath(p); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsFixture s;
    c.make(s.dbPath());
    const QByteArray before = test::fileBytes(s.dbPath());
    for (int i = 0; i < 10; ++i) s.fx.poster.form.text1[i].caption = QString("もと%1").arg(i);
    const QStringList slotsBefore = s.slotWords();
    s.ctl.open();
    ASSERT_EQ(s.fx.dialogs.messages.size(), 1u);
    EXPECT_TRUE(s.fx.dialogs.messages[0].text.contains(s.dbPath()));
    EXPECT_TRUE(s.fx.dialogs.messages[0].text.startsWith("ことばの ファイルが よめません"));
    s.ctl.confirm();
    ASSERT_EQ(s.fx.dialogs.messages.size(), 2u);
    EXPECT_TRUE(s.fx.dialogs.messages[1].text.contains(s.dbPath()));
    EXPECT_EQ(s.slotWords(), slotsBefore);
    EXPECT_EQ(test::fileBytes(s.dbPath()), before);
    EXPECT_FALSE(s.ctl.isOpen());
    EXPECT_EQ(s.fx.poster.pictureFiles.size(), 2);  // the rest still ran
  }
}

TEST(SettingsDialog, AnEmptyWordTableGetsTheSlotsWords) {
  SettingsFixture s;
  s.storeTemplate(kStored);
  ASSERT_TRUE(test::rawExec(s.dbPath(), "DELETE FROM 所属テーブル"));
  s.fx.poster.form.text1[2].caption = "ほし";
  s.ctl.open();
  EXPECT_EQ(s.ctl.dialog()->wordFields[2], "ほし");
  EXPECT_TRUE(s.ctl.dialog()->wordFields[0].isEmpty());
  s.ctl.confirm();
  EXPECT_EQ(test::rawRowCount(s.dbPath(), "所属テーブル"), 1);
  EXPECT_EQ(test::rawValue(s.dbPath(), "所属テーブル", "moji3"), "ほし");
  EXPECT_TRUE(s.fx.dialogs.messages.empty());
}

// Another program holding the word list, as an sqlite3 shell in BEGIN
// EXCLUSIVE does, until release().
struct HeldFile {
  explicit HeldFile(const QString& path) {
    sqlite3_open(path.toUtf8().constData(), &db);
    held = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~HeldFile() { release(); }
  void release() {
    if (db) sqlite3_close(db);  // rolls back, releasing the lock
    db = nullptr;
  }
  sqlite3* db = nullptr;
  bool held = false;
};

// Whether a thread of this process sleeps in the kernel now, as SQLite's
// wait for a lock does between its tries.
bool sleepingInSyscall(pid_t tid) {
  QFile f(QStringLiteral("/proc/self/task/%1/syscall").arg(tid));
  if (!f.open(QIODevice::ReadOnly)) return false;
  const long number = f.readAll().split(' ').value(0).toLong();
#ifdef SYS_nanosleep
  if (number == SYS_nanosleep) return true;
#endif
  return number == SYS_clock_nanosleep;
}

// A lock is waited for a few seconds; a failed read never leads to a write:
// the fields that never showed the list are not stored over it.
TEST(SettingsDialog, AListThatCouldNotBeReadIsReadAgainNeverOverwritten) {
  {
    SCOPED_TRACE("the lock ends while これでよし waits");
    SettingsFixture s;
    s.storeTemplate(kStored);
    const QByteArray before = test::fileBytes(s.dbPath());
    HeldFile lock(s.dbPath());
    ASSERT_TRUE(lock.held);
    s.ctl.open();
    ASSERT_EQ(s.fx.dialogs.messages.size(), 1u);
    EXPECT_EQ(s.ctl.dialog()->wordFields[0], "");
    // Let go once これでよし is seen waiting for the lock, not before.
    const pid_t reader = pid_t(syscall(SYS_gettid));
    std::atomic<bool> confirming{false};
    bool sawWaiting = false;
    std::thread later([&] {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (!sawWaiting && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
        sawWaiting = confirming && sleepingInSyscall(reader);
      }
      lock.release();
    });
    confirming = true;
    s.ctl.confirm();
    later.join();
    EXPECT_TRUE(sawWaiting);
    EXPECT_EQ(test::fileBytes(s.dbPath()), before);
    EXPECT_EQ(s.slotWords(), toList(kStored));
    EXPECT_EQ(s.fx.dialogs.messages.size(), 1u);
  }
  {
    SCOPED_TRACE("still held at これでよし");
    SettingsFixture s;
    s.storeTemplate(kStored);
    const QByteArray before = test::fileBytes(s.dbPath());
    s.fx.poster.form.text1[3].caption = "あめ";
    HeldFile lock(s.dbPath());
    s.ctl.open();
    s.ctl.editWordField(0, "はな");
    s.fx.poster.form.text1[5].caption = "ほし";  // the poster goes on meanwhile
    s.ctl.confirm();
    lock.release();
    EXPECT_EQ(test::fileBytes(s.dbPath()), before);
    EXPECT_EQ(s.slotWords(), QStringList({"はな", "", "", "あめ", "", "ほし", "", "", "", ""}));
    ASSERT_EQ(s.fx.dialogs.messages.size(), 2u);
    EXPECT_TRUE(s.fx.dialogs.messages[1].text.startsWith("ことばを ファイルから よめませんでした"));
  }
  {
    SCOPED_TRACE("a word typed meanwhile");
    SettingsFixture s;
    s.storeTemplate(kStored);
    HeldFile lock(s.dbPath());
    s.ctl.open();
    s.ctl.editWordField(1, "はな");
    lock.release();
    s.ctl.confirm();
    WordList want = kStored;
    want[1] = "はな";
    EXPECT_EQ(s.slotWords(), toList(want));
    for (int k = 0; k < 10; ++k)
      EXPECT_EQ(test::rawValue(s.dbPath(), "所属テーブル", QString("moji%1").arg(k + 1)), want[k]);
  }
}

// これでよし with no word changed writes nothing: the list stays byte for
// byte, and one that cannot be written has nothing to say.
TEST(SettingsDialog, NothingChangedIsNothingStored) {
  SettingsFixture s;
  s.storeTemplate(kStored);
  const QByteArray before = test::fileBytes(s.dbPath());
  s.ctl.open();
  HeldFile lock(s.dbPath());  // would refuse a write
  s.ctl.confirm();
  lock.release();
  EXPECT_TRUE(s.fx.dialogs.messages.empty());
  EXPECT_EQ(test::fileBytes(s.dbPath()), before);
  EXPECT_EQ(s.slotWords(), toList(kStored));
}

}  // namespace
}  // namespace pastel
