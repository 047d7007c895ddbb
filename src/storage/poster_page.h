#pragma once
#include <QByteArray>
#include <QString>
#include <array>

#include "form/slots.h"

namespace pastel {

struct PosterContent;

// The page numbers: twips to pixels relative to the page. Positions to the
// nearest pixel, halves to even; sizes to the pixel at or below.
int pagePixelX(float leftTwips);
int pagePixelY(float topTwips);
int pagePixelSize(float twips);

// &, <, > and " as character references, so that no text becomes markup.
QString htmlEscaped(const QString& text);

// A photo's src= as the page holds it, in code page 932.
QByteArray photoSourceBytes(const QString& posterName, const QString& fileName);

// A word as the page shows it: escaped, line breaks as "<BR>", and nothing
// after the 20th break.
QString wordTextForPage(const QString& text);

// The PosterPage as text, with CR LF line ends and no line end after the
// last line. The photo copies are named by photoCopyNames unless given.
QString posterPage(const PosterContent& c, const QString& posterName,
                   const std::array<QString, kSlots + 1>* copyNames = nullptr);

// The same in code page 932, as the file holds it.
QByteArray posterPageBytes(const PosterContent& c, const QString& posterName,
                           const std::array<QString, kSlots + 1>* copyNames = nullptr);

}  // namespace pastel
