// Feeds arbitrary bytes as the commit record beside a poster and finishes
// the killed save it describes, in a sandbox folder that holds the poster's
// own files, files beside it that are not the poster's, another poster's
// hidden save file and, for odd first bytes, a poster folder that is a link
// to a folder outside. Any change to a file that is not the poster's own
// aborts. The first byte: bit 0 the link, bit 1 a save (which may delete a
// broken record) rather than an open; the rest is the record.
#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>

#include "storage/save_commit.h"

namespace {
QTemporaryDir* root = nullptr;

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QString sandbox() { return root->filePath(QStringLiteral("sandbox")); }

// Whether a path below the root is one of poster p's own files: its page,
// database and hidden files beside it, and whatever lies in its real folder.
bool own(const QString& rel, bool linked) {
  const QString beside = QStringLiteral("sandbox/");
  if (!rel.startsWith(beside)) return false;
  const QString name = rel.mid(beside.size());
  if (name.startsWith(QLatin1String("p/"))) return !linked;
  return name.startsWith(QLatin1String("p.")) || name.startsWith(QLatin1String(".p."));
}

// Every entry below the root that is not the poster's own, links as links.
QByteArray outsideDigest(bool linked) {
  QByteArray all;
  std::function<void(const QString&)> walk = [&](const QString& rel) {
    const QDir d(root->filePath(rel));
    for (const QFileInfo& fi : d.entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
      const QString path = rel.isEmpty() ? fi.fileName() : rel + QLatin1Char('/') + fi.fileName();
      if (fi.isSymLink()) {
        all += path.toUtf8() + " -> " + fi.symLinkTarget().toUtf8() + '\n';
      } else if (fi.isDir()) {
        if (path != QLatin1String("sandbox/p") || linked) all += path.toUtf8() + "/\n";
        walk(path);
      } else if (!own(path, linked)) {
        QFile f(fi.filePath());
        f.open(QIODevice::ReadOnly);
        all += path.toUtf8() + ' ' +
               QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex() + '\n';
      }
    }
  };
  walk(QString());
  return all;
}

// The sandbox as a killed save of p left it: old files, new hidden ones,
// backups; beside them a teacher's file and another poster's save.
void makeSandbox(bool linked) {
  QDir(sandbox()).removeRecursively();
  const QString s = sandbox() + QLatin1Char('/');
  QDir().mkpath(s);
  for (const char* name : {"p.mdb", "p.html", ".p.mdb.saving-1", ".p.html.saving-2.old",
                           ".p.mdb-journal.saving-3.old", "p.mdb-journal"})
    writeFile(s + QLatin1String(name), name);
  writeFile(s + QStringLiteral("q.docx"), "the teacher's");
  writeFile(s + QStringLiteral(".q.docx.saving-1.old"), "not ours");
  writeFile(s + QStringLiteral(".pq.mdb.saving-1"), "another poster's save");
  if (linked) {
    QFile::link(QStringLiteral("../home"), s + QStringLiteral("p"));
    return;
  }
  QDir().mkpath(s + QStringLiteral("p"));
  for (const char* name : {"p.bmp", "cat.jpg", ".cat.jpg.saving-4", ".p.bmp.saving-5.old"})
    writeFile(s + QStringLiteral("p/") + QLatin1String(name), name);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  root = new QTemporaryDir;
  QDir().mkpath(root->filePath(QStringLiteral("home/Documents")));
  for (const char* name : {"home/report.txt", "home/.bashrc", "home/cat.jpg",
                           "home/.cat.jpg.saving-4", "home/.p.bmp.saving-5.old", "outside.txt"})
    writeFile(root->filePath(QLatin1String(name)), name);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool linked = data[0] & 1, save = data[0] & 2;
  makeSandbox(linked);
  const QString database = sandbox() + QStringLiteral("/p.mdb");
  writeFile(pastel::commitRecordPath(database),
            QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
  const QByteArray before = outsideDigest(linked);
  pastel::finishInterruptedSave(database, save);
  if (outsideDigest(linked) != before) __builtin_trap();  // a file not the poster's changed
  return 0;
}
