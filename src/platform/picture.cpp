#include "platform/picture.h"

namespace pastel {

PictureRef pictureFromImage(QImage image) {
  auto p = std::make_shared<Picture>();
  // 96 dpi: one pixel is 2540 / 96 HiMetric.
  p->widthHiMetric = int(image.width() * 2540.0 / 96.0 + 0.5);
  p->heightHiMetric = int(image.height() * 2540.0 / 96.0 + 0.5);
  p->image = std::move(image);
  return p;
}

}  // namespace pastel
