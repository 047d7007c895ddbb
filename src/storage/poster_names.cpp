#include "storage/poster_names.h"

#include <QRegularExpression>
#include <QSet>

#include "canvas/poster.h"
#include "canvas/poster_content.h"

namespace pastel {

std::optional<PosterNames> posterNamesFor(const QString& chosenPath) {
  PosterNames n;
  const int slash = int(chosenPath.lastIndexOf(QLatin1Char('/')));
  n.folder = chosenPath.left(slash + 1);
  QString file = chosenPath.mid(slash + 1);
  if (!file.contains(QLatin1Char('.'))) file += QStringLiteral(".html");
  n.page = n.folder + file;
  const int dot = int(file.lastIndexOf(QLatin1Char('.')));
  n.posterName = file.left(dot);
  if (!usablePosterName(n.posterName)) return std::nullopt;
  // The page must never take the place of the poster's database (or its
  // journals), nor of its folder, where a memory stick drops a final ".".
  static const QRegularExpression database(QStringLiteral("^mdb(-journal|-wal|-shm)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
  const QString extension = file.mid(dot + 1);
  if (extension.isEmpty() || database.match(extension).hasMatch()) return std::nullopt;
  return n;
}

bool usablePosterName(const QString& name) {
  static const QRegularExpression dotsAndSpaces(QStringLiteral("^[. ]*$"));
  return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
         !name.contains(QChar(0)) && !dotsAndSpaces.match(name).hasMatch();
}

QString photoFileName(const QString& entry) {
  return entry.mid(entry.lastIndexOf(QLatin1Char('/')) + 1);
}

namespace {

// "cat.jpg", 2 -> "cat-2.jpg"; "README", 2 -> "README-2".
QString numbered(const QString& name, int n) {
  const int dot = int(name.lastIndexOf(QLatin1Char('.')));
  const QString tag = QStringLiteral("-%1").arg(n);
  return dot <= 0 ? name + tag : name.left(dot) + tag + name.mid(dot);
}

}  // namespace

std::array<QString, kSlots + 1> photoCopyNames(const PosterContent& c, const QString& posterName,
                                               const QSet<QString>& keep) {
  std::array<QString, kSlots + 1> names;
  // Compared without case: a memory stick's file system would merge them.
  QSet<QString> taken = keep;
  taken << (posterName + QStringLiteral(".bmp")).toCaseFolded()
        << (posterName + QStringLiteral(".jpg")).toCaseFolded();
  QHash<QString, QString> bySource;
  auto assign = [&](int j) {
    const QString& entry = c.photos[size_t(j)].file;
    QString base = photoFileName(entry);
    if (base.isEmpty()) return;
    if (bySource.contains(entry)) {
      names[size_t(j)] = bySource.value(entry);
      return;
    }
    base.replace(QLatin1Char('\\'), QLatin1Char('_'));
    QString name = base;
    for (int n = 2; taken.contains(name.toCaseFolded()); ++n) name = numbered(base, n);
    taken.insert(name.toCaseFolded());
    bySource.insert(entry, name);
    names[size_t(j)] = name;
  };
  // A photo that already is a copy in a folder of this name keeps its name,
  // so saving an opened poster again copies nothing. Then bottom to top.
  const QString own = QLatin1Char('/') + posterName + QLatin1Char('/');
  for (int pass = 0; pass < 2; ++pass)
    for (int k = 0; k < kSlots; ++k) {
      const int j = c.photoStackOrder[size_t(k)];
      if (j < 0 || j >= kSlots || !isPlaced(c.photos[size_t(j)]) || !names[size_t(j)].isEmpty())
        continue;
      const QString& entry = c.photos[size_t(j)].file;
      const bool inOwnFolder = entry.left(entry.lastIndexOf(QLatin1Char('/')) + 1).endsWith(own);
      if ((pass == 0) == inOwnFolder) assign(j);
    }
  return names;
}

QString companionName(const QString& copy, const QString& extension, const QSet<QString>& taken) {
  const QString base = copy + QLatin1Char('.') + extension;
  QString name = base;
  for (int n = 2; taken.contains(name.toCaseFolded()); ++n) name = numbered(base, n);
  return name;
}

bool isCompanionName(const QString& name, const QString& copy) {
  const QRegularExpression companion(QLatin1Char('^') + QRegularExpression::escape(copy) +
                                         QStringLiteral("(-[0-9]+)?\\.(png|jpg)$"),
                                     QRegularExpression::CaseInsensitiveOption);
  return companion.match(name).hasMatch();
}

QString withCrLf(const QString& text) {
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return t;
}

}  // namespace pastel
