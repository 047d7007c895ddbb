#pragma once
#include <QString>

namespace pastel {

struct Poster;

// Click on kana key Label1(k): the key strokes a JIS keyboard in kana mode
// would send for it (its row of the pad's table), into the word editor.
void kanaKeyClick(Poster& p, int k);


}  // namespace pastel
