#pragma once
#include <QString>
#include <optional>

#include "platform/colour.h"

namespace pastel {

// How values are written as text into the poster tables, and read back.

// Twips: single-precision decimal, "." separator, no grouping, the
// shortest text that reads back to the same float ("1785", "3998.4").
QString twipsText(float twips);
std::optional<float> parseTwips(const QString& text);

// Colour values: signed 32-bit decimal; system references read negative.
QString colourText(ColourValue c);
std::optional<ColourValue> parseColour(const QString& text);

// Font sizes in points: fixed point with at most four decimals ("10.5").
QString fontSizeText(float points);
std::optional<float> parseFontSize(const QString& text);

// Colour codes: "#" and six lower-case hex digits, red green blue.
QString colourCodeOf(ColourValue c);

// A path stored in a poster file: PosterName + "\" + file name.
QString storedRelativePath(const QString& posterName, const QString& fileName);

// The file a stored path names inside the folder holding the poster file,
// or nothing when the path is unsafe or names no regular file there.
std::optional<QString> resolveStoredPath(const QString& posterFileFolder, const QString& stored);

}  // namespace pastel
