#pragma once
#include <QStringList>

namespace pastel {

struct Poster;

// Rebuilds PictureFiles and the ten thumbnails from the settings dialog's
// file list (names without folder, sorted) and PictureFolderPath.
void loadPictureStrip(Poster& p, const QStringList& fileListNames);

}  // namespace pastel
