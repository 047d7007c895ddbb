#include "platform/picture_files.h"

#include <QDir>
#include <algorithm>

namespace pastel {

bool matchesPicturePattern(const QString& name) {
  const int dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return false;
  const QStringView ext = QStringView(name).mid(dot + 1);
  for (const char* e : {"bmp", "wmf", "jpg", "dib", "rle", "gif"})
    if (ext.compare(QLatin1String(e), Qt::CaseInsensitive) == 0) return true;
  return false;
}

QStringList listPictureFiles(const QString& folder) {
  QDir dir(folder);
  QStringList names;
  // Name filters are slower than our own test on large folders.
  const QStringList all = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
  for (const QString& n : all)
    if (matchesPicturePattern(n)) names << n;
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
  if (names.size() > 32001) names.erase(names.begin() + 32001, names.end());
  return names;
}

}  // namespace pastel
