#include "platform/picture_files.h"

#include <QFile>
#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

namespace pastel {

bool matchesPicturePattern(const QString& name) {
  const int dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return false;
  const QStringView ext = QStringView(name).mid(dot + 1);
  for (const char* e : {"bmp", "wmf", "jpg", "dib", "rle", "gif", "png", "webp", "heic", "heif",
                        "tif", "tiff", "jpeg", "jpe"})
    if (ext.compare(QLatin1String(e), Qt::CaseInsensitive) == 0) return true;
  return false;
}

QStringList listPictureFiles(const QString& folder) {
  // std::filesystem takes the entry type from the directory listing itself;
  // QDir's filters stat every one of 32001 files first.
  namespace fs = std::filesystem;
  std::vector<std::pair<QString, QString>> found;  // case-folded key, name
  std::error_code ec;
  for (fs::directory_iterator it(QFile::encodeName(folder).toStdString(), ec), end;
       !ec && it != end; it.increment(ec)) {
    const QString name = QFile::decodeName(QByteArray::fromStdString(it->path().filename()));
    if (!matchesPicturePattern(name)) continue;
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    found.emplace_back(name.toCaseFolded(), name);
  }
  std::sort(found.begin(), found.end());
  QStringList names;
  const size_t n = std::min<size_t>(found.size(), 32001);
  names.reserve(qsizetype(n));
  for (size_t i = 0; i < n; ++i) names << std::move(found[i].second);
  return names;
}

}  // namespace pastel
