#pragma once
#include <QString>

namespace pastel {

struct Poster;

// The database holding the word list, which saving copies for every poster.
QString wordListFile(Poster& p);

}  // namespace pastel
