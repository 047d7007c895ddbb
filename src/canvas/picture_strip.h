#pragma once
#include <QSize>
#include <QStringList>

#include "form/main_form.h"

namespace pastel {

struct Poster;
struct Element;
struct Picture;

// Pixels decoded for a thumbnail: its cell on the screen.
inline constexpr QSize kThumbnailMaxPixels{twipsToPixels(kThumbnailWidth),
                                           twipsToPixels(kThumbnailHeight)};
// Pixels kept for a photo: more than the paper can show even enlarged,
// little enough that ten photos stay small in memory.
inline constexpr QSize kPhotoMaxPixels{1400, 1000};

// Rebuilds PictureFiles and the ten thumbnails from the settings dialog's
// file list (names without folder, sorted) and PictureFolderPath.
void loadPictureStrip(Poster& p, const QStringList& fileListNames);

// VScroll1 moved to `value`: the ten thumbnails show the page from there.
void scrollPictureStrip(Poster& p, int value);

// Fits a picture into thumbnail cell i, keeping its aspect, centred.
// False (and nothing changed but the picture) when it has no size.
bool fitThumbnail(Element& thumb, int i, const Picture& pic);

// The mouse moves over thumbnail i at (x, y) twips inside it: floats the
// lowest free PhotoSlot over it with the same picture. Returns that slot,
// -1 when nothing floats.
int floatPhotoSlot(Poster& p, int i, float x, float y);

}  // namespace pastel
