#include "storage/poster_page.h"

#include <cmath>
#include <cstring>

#include "canvas/poster.h"
#include "canvas/poster_content.h"
#include "platform/cp932.h"
#include "platform/twips.h"
#include "storage/poster_names.h"

namespace pastel {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kMaxPageBreaks = 20;
constexpr char kEscapedInUrls[] = "!\"#$%&'()*+,/:;<=>?@[\\]^`{|}";

// nearbyint follows the default rounding mode: nearest, halves to even.
int nearestEven(double v) { return int(std::nearbyint(v)); }

// A name inside a URL on the page (src= and the background's CSS url()).
// "%" and every character a URL reserves ("#" starts a fragment, "?" a
// query), those HTML or CSS read as their own ("&", quotes, "\", brackets),
// spaces and controls become %XX of their UTF-8 bytes, as does a character
// the page's code page cannot hold. The files keep their plain names.
QString urlPart(const QString& text) {
  QString out;
  for (const char32_t c : text.toUcs4()) {
    const bool plain =
        c < 0x80 ? c > 0x20 && c != 0x7f && !std::strchr(kEscapedInUrls, int(c)) : cp932Holds(c);
    const QString s = QString::fromUcs4(&c, 1);
    if (plain) {
      out += s;
      continue;
    }
    for (const char b : s.toUtf8())
      out += QStringLiteral("%%1")
                 .arg(uint(static_cast<unsigned char>(b)), 2, 16, QLatin1Char('0'))
                 .toUpper();
  }
  return out;
}

QString num(int v) { return QString::number(v); }

QString photoSource(const QString& posterName, const QString& fileName) {
  return QStringLiteral("src=\"") + urlPart(posterName) + QLatin1Char('\\') + urlPart(fileName) +
         QLatin1Char('"');
}

QString photoElement(const PhotoContent& e, const QString& posterName, const QString& fileName) {
  return QStringLiteral("<img style=\"LEFT:") + num(pagePixelX(e.left)) +
         QStringLiteral("px; POSITION: absolute; TOP:") + num(pagePixelY(e.top)) +
         QStringLiteral("px\"") + photoSource(posterName, fileName) + QStringLiteral(" width=") +
         num(pagePixelSize(e.width)) + QStringLiteral(" height=") + num(pagePixelSize(e.height)) +
         QLatin1Char('>') + kCrLf + QStringLiteral("<br>");
}

QString wordElement(const WordContent& e) {
  return QStringLiteral("<table style=\"word-break:break-all; LEFT:") + num(pagePixelX(e.left)) +
         QStringLiteral("px; POSITION: absolute; TOP:") + num(pagePixelY(e.top)) +
         QStringLiteral("px\" bgcolor=") + htmlEscaped(e.frameCode) +
         QStringLiteral(" width=259 height=") + num(pagePixelSize(e.height)) +
         QStringLiteral(
             "><td align=left valign=top><span style=\"line-height:19px;\"><font "
             "size=4 color= ") +
         htmlEscaped(e.textCode) + QLatin1Char('>') + wordTextForPage(e.text) +
         QStringLiteral("</font></td></table>") + kCrLf + QStringLiteral("<br>");
}

}  // namespace

// The page's top left is the paper's, where the background picture lies.
int pagePixelX(float leftTwips) {
  return nearestEven(double(leftTwips) / kTwipsPerPixel - kPaperPxLeft);
}
int pagePixelY(float topTwips) {
  return nearestEven(double(topTwips) / kTwipsPerPixel - kPaperPxTop);
}
int pagePixelSize(float twips) { return int(std::floor(double(twips) / kTwipsPerPixel)); }

QByteArray photoSourceBytes(const QString& posterName, const QString& fileName) {
  return toCp932WithReferences(photoSource(posterName, fileName));
}

QString htmlEscaped(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '&':
        out += QStringLiteral("&amp;");
        break;
      case '<':
        out += QStringLiteral("&lt;");
        break;
      case '>':
        out += QStringLiteral("&gt;");
        break;
      case '"':
        out += QStringLiteral("&quot;");
        break;
      default:
        out += c;
    }
  }
  return out;
}

QString wordTextForPage(const QString& text) {
  const QString t = withCrLf(text);
  QString out;
  qsizetype from = 0;
  for (int breaks = 0; breaks < kMaxPageBreaks; ++breaks) {
    const qsizetype cr = t.indexOf(QLatin1Char('\r'), from);
    if (cr < 0) return out + htmlEscaped(t.mid(from));
    out += htmlEscaped(t.mid(from, cr - from)) + QStringLiteral("<BR>");
    from = cr + 2;
  }
  return out;
}

QString posterPage(const PosterContent& c, const QString& posterName,
                   const std::array<QString, kSlots + 1>* copyNames) {
  const std::array<QString, kSlots + 1> copies =
      copyNames ? *copyNames : photoCopyNames(c, posterName);
  QString elements;
  for (int k = 0; k < kSlots; ++k) {
    const int j = c.photoStackOrder[size_t(k)];
    if (j < 0 || j >= kSlots || !isPlaced(c.photos[size_t(j)])) continue;
    elements += photoElement(c.photos[size_t(j)], posterName, copies[size_t(j)]);
  }
  for (int k = 0; k < kSlots; ++k) {
    const int j = c.wordStackOrder[size_t(k)];
    if (j < 0 || j >= kSlots || !isPlaced(c.words[size_t(j)])) continue;
    elements += wordElement(c.words[size_t(j)]);
  }
  const QString bg = urlPart(posterName);
  // Browsers read a short page without a declared charset as Western text,
  // and take "\" in a CSS url for an escape.
  return QStringLiteral("<HTML>") + kCrLf +
         QStringLiteral(
             "<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">") +
         kCrLf + QStringLiteral("<STYLE TYPE=text/css>") + kCrLf +
         QStringLiteral("BODY { background:url(") + bg + QLatin1Char('/') + bg +
         QStringLiteral(".jpg) no-repeat }") + kCrLf + QStringLiteral("</STYLE>") + kCrLf +
         elements + QStringLiteral("</body>") + kCrLf + QStringLiteral("</HTML>");
}

QByteArray posterPageBytes(const PosterContent& c, const QString& posterName,
                           const std::array<QString, kSlots + 1>* copyNames) {
  return toCp932WithReferences(posterPage(c, posterName, copyNames));
}

}  // namespace pastel
