#include "platform/picture_size.h"

#include <algorithm>
#include <cmath>

namespace pastel {

QSize fitWithin(QSize natural, QSize box) {
  if (natural.width() <= 0 || natural.height() <= 0) return QSize(0, 0);
  if (box.width() <= 0 || box.height() <= 0) return natural;
  const double scale = std::min(
      {double(box.width()) / natural.width(), double(box.height()) / natural.height(), 1.0});
  if (scale >= 1.0) return natural;
  const int w = std::max(1, int(std::lround(natural.width() * scale)));
  const int h = std::max(1, int(std::lround(natural.height() * scale)));
  return QSize(std::min(w, box.width()), std::min(h, box.height()));
}

int pixelsToHiMetric(int pixels) { return int(std::lround(pixels * 2540.0 / 96.0)); }

}  // namespace pastel
