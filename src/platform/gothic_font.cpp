#include "platform/gothic_font.h"

namespace pastel {

QFont gothicFont(float points, bool bold) {
  QFont f;
  f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                 QStringLiteral("Noto Sans CJK JP")});
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

}  // namespace pastel
