#include "platform/drives.h"

#include <QDir>

namespace pastel {

namespace {

void addChildren(QStringList& out, const QString& parent) {
  const QDir dir(parent);
  for (const QString& n : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
    out << dir.filePath(n);
}

bool inside(const QString& folder, const QString& drive) {
  if (drive == QLatin1String("/")) return folder.startsWith(QLatin1Char('/'));
  return folder == drive || folder.startsWith(drive + QLatin1Char('/'));
}

}  // namespace

QStringList availableDrives() {
  QStringList drives{QStringLiteral("/")};
  const QString home = QDir::homePath();
  if (home != QLatin1String("/")) drives << home;
  const QString user = qEnvironmentVariable("USER");
  if (!user.isEmpty() && !user.contains(QLatin1Char('/'))) {
    addChildren(drives, QStringLiteral("/media/") + user);
    addChildren(drives, QStringLiteral("/run/media/") + user);
  }
  addChildren(drives, QStringLiteral("/mnt"));
  drives.removeDuplicates();
  return drives;
}

QString driveOf(const QString& folder, const QStringList& drives) {
  QString best;
  for (const QString& d : drives)
    if (inside(folder, d) && d.size() > best.size()) best = d;
  return best;
}

}  // namespace pastel
