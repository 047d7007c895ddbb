#pragma once
#include <QString>
#include <QStringList>

namespace pastel {

// The pattern the settings dialog's file list uses: the original six kinds,
// then the ones cameras, phones and the web write today.
inline constexpr const char* kPicturePattern =
    "*.BMP;*.WMF;*.JPG;*.DIB;*.RLE;*.GIF;*.PNG;*.WEBP;*.HEIC;*.HEIF;*.TIF;*.TIFF;*.JPEG;*.JPE";

// True when the name ends in one of the pattern's extensions, any case.
bool matchesPicturePattern(const QString& fileName);

// Names (without folder) of the folder's entries that match the pattern,
// sorted by name; at most 32001 of them.
QStringList listPictureFiles(const QString& folder);

}  // namespace pastel
