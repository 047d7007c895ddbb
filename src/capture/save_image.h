#pragma once
#include <QImage>
#include <QString>

namespace pastel {

struct Poster;

// Itemgazo "画像で保存(&G)": grabs the paper into the surface of the step
// (the paper itself in step 1, Picture2 otherwise) and writes it as a BMP
// file under exactly the name chosen.
void saveAsImage(Poster& p);

// Writes a 24-bit BMP through a temporary file; an older file of that name
// stays as it was unless the whole picture was written.
bool writeBmp(const QString& path, const QImage& image);

}  // namespace pastel
