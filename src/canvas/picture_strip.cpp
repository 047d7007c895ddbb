#include "canvas/picture_strip.h"

#include "canvas/poster.h"

namespace pastel {

void loadPictureStrip(Poster& p, const QStringList& fileListNames) {
  p.pictureFiles.clear();
  for (const QString& n : fileListNames) p.pictureFiles << p.pictureFolderPath + n;
}

}  // namespace pastel
