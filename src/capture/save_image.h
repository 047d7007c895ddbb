#pragma once
#include <QImage>
#include <QString>

namespace pastel {

struct Poster;
class PaperSurface;

// Itemgazo "画像で保存(&G)": grabs the paper into the surface of the step
// (the paper itself in step 1, Picture2 otherwise) and writes it under
// exactly the name chosen: a BMP, or a PNG or PDF when that type is chosen
// or the name ends in ".png" or ".pdf".
void saveAsImage(Poster& p);

// Writes a 24-bit BMP through a temporary file; an older file of that name
// stays as it was unless the whole picture was written.
bool writeBmp(const QString& path, const QImage& image);

// The surface drawn again at kPngScale times the paper's pixels (photos
// from their own pixels, words as text), as a PNG through a temporary file.
inline constexpr int kPngScale = 4;
bool writePng(const QString& path, const PaperSurface& surface);

// One A4 page as printing lays it out, words as text, through a temporary
// file.
bool writePdf(const QString& path, const PaperSurface& surface);

}  // namespace pastel
