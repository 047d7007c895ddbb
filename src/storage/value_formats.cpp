#include "storage/value_formats.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace pastel {

namespace {

std::optional<float> parseFloat(const QString& text) {
  const QByteArray b = text.trimmed().toLatin1();
  if (b.isEmpty()) return std::nullopt;
  const char* first = b.constData();
  const char* last = first + b.size();
  if (*first == '+') ++first;  // from_chars takes only "-"
  float v = 0;
  const auto r = std::from_chars(first, last, v, std::chars_format::fixed);
  if (r.ec != std::errc() || r.ptr != last || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace

QString twipsText(float twips) {
  // A model never holds these; "0" keeps the column readable.
  if (!std::isfinite(twips) || twips == 0) return QStringLiteral("0");
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, twips, std::chars_format::fixed);
  return QString::fromLatin1(buf, int(r.ptr - buf));
}

std::optional<float> parseTwips(const QString& text) { return parseFloat(text); }

QString colourText(ColourValue c) { return QString::number(static_cast<qint32>(c)); }

std::optional<ColourValue> parseColour(const QString& text) {
  bool ok = false;
  const qint32 v = text.trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return static_cast<ColourValue>(v);
}

QString fontSizeText(float points) {
  if (!std::isfinite(points)) return QStringLiteral("0");
  QString t = QString::number(double(points), 'f', 4);
  while (t.endsWith(QLatin1Char('0'))) t.chop(1);
  if (t.endsWith(QLatin1Char('.'))) t.chop(1);
  if (t == QLatin1String("-0")) t = QStringLiteral("0");
  return t;
}

std::optional<float> parseFontSize(const QString& text) {
  const auto v = parseFloat(text);
  // Beyond this a text box would try to lay out a wall of glyphs.
  if (!v || *v <= 0 || *v > 1000) return std::nullopt;
  return v;
}

QString colourCodeOf(ColourValue c) {
  return QString::asprintf("#%02x%02x%02x", redOf(c), greenOf(c), blueOf(c));
}

QString storedRelativePath(const QString& posterName, const QString& fileName) {
  return posterName + QLatin1Char('\\') + fileName;
}

std::optional<QString> resolveStoredPath(const QString& posterFileFolder, const QString& stored) {
  QString rel = stored;
  rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (rel.isEmpty() || rel.startsWith(QLatin1Char('/')) || rel.contains(QChar(0))) return {};
  static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
  if (drive.match(rel).hasMatch()) return {};
  for (const QString& part : rel.split(QLatin1Char('/')))
    if (part == QLatin1String("..")) return {};
  const QString folder = QDir(posterFileFolder).canonicalPath();
  if (folder.isEmpty()) return {};
  const QFileInfo target(folder + QLatin1Char('/') + rel);
  const QString canonical = target.canonicalFilePath();
  const QString inside = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
  if (canonical.isEmpty() || !canonical.startsWith(inside) || !QFileInfo(canonical).isFile())
    return {};
  return canonical;
}

}  // namespace pastel
