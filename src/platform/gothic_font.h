#pragma once
#include <QFont>
#include <QStringList>

namespace pastel {

// The program's one typeface: "ＭＳ Ｐゴシック" where it exists, else the
// IPA or Noto Japanese gothic.
QFont gothicFont(float points, bool bold);

}  // namespace pastel
