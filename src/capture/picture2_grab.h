#pragma once
#include "capture/print_page.h"

namespace pastel {

struct Poster;

// Grabs the paper into Picture2 and shows it. Beside the grab it keeps the
// same paper as paint commands; where Picture2 already covered the paper
// with such a grab, those commands plus the strokes drawn on it since.
PaperPrint grabIntoPicture2(Poster& p);

}  // namespace pastel
