#include "platform/temp_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <ctime>

namespace pastel {
namespace {

void touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

// Sets a file's or folder's times `ago` seconds back.
void age(const QString& path, time_t ago) {
  const timespec t{::time(nullptr) - ago, 0};
  const timespec times[2] = {t, t};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// A start removes the temporary folders of killed programs, and only those:
// not a living program's (its lock is held), not one just being made, not
// a link, not one holding files of someone else.
TEST(TempFolder, StaleFoldersOfGoneProgramsAreRemoved) {
  QTemporaryDir root;
  const QString r = root.path();
  auto folder = [&r](const char* name) {
    QDir().mkpath(r + "/" + name);
    return r + "/" + name;
  };
  const QString gone = folder("pastelboard-aB3dE9");
  touch(gone + "/.lock");
  touch(gone + "/poster-3.mdb");
  touch(gone + "/poster-3.mdb-journal");
  age(gone + "/.lock", 120);

  const QString living = folder("pastelboard-live01");
  touch(living + "/.lock");
  age(living + "/.lock", 3600);
  const int held = ::open(QFile::encodeName(living + "/.lock").constData(), O_RDWR);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);

  const QString young = folder("pastelboard-young1");
  touch(young + "/.lock");

  const QString oldUnlocked = folder("pastelboard-oldunl");  // an earlier version's
  age(oldUnlocked, 2 * 24 * 3600);
  const QString newUnlocked = folder("pastelboard-newunl");

  const QString foreign = folder("pastelboard-foreig");
  touch(foreign + "/.lock");
  touch(foreign + "/notes.txt");
  age(foreign + "/.lock", 120);

  const QString other = folder("pastelboard-anthy");
  QDir().mkpath(r + "/target");
  touch(r + "/target/.lock");
  age(r + "/target/.lock", 120);
  ASSERT_TRUE(QFile::link(r + "/target", r + "/pastelboard-link12"));

  EXPECT_EQ(removeStaleTempFolders(r), 2);
  EXPECT_FALSE(QFileInfo::exists(gone));
  EXPECT_FALSE(QFileInfo::exists(oldUnlocked));
  for (const QString& kept : {living, young, newUnlocked, other, foreign + "/notes.txt",
                              r + "/target/.lock", r + "/pastelboard-link12"})
    EXPECT_TRUE(QFileInfo::exists(kept)) << kept.toStdString();
  ::close(held);

  // This program's own folder is private and locked: another start leaves it.
  const QString own = processTempFolder();
  ASSERT_FALSE(own.isEmpty());
  EXPECT_EQ(own, processTempFolder());
  EXPECT_EQ(QFileInfo(own).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);
  const int lock = ::open(QFile::encodeName(own + "/.lock").constData(), O_RDWR);
  EXPECT_NE(::flock(lock, LOCK_EX | LOCK_NB), 0);
  ::close(lock);
}

}  // namespace
}  // namespace pastel
