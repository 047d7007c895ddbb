#include "capture/wall_sheets.h"

#include <algorithm>

namespace pastel {

WallLayout wallLayout(QSizeF paper, QSizeF printable, double dpi, int n) {
  WallLayout w;
  w.n = n;
  if (n < 1 || paper.isEmpty() || printable.isEmpty() || dpi <= 0) return w;
  const double perMm = dpi / 25.4;
  w.band = kWallBandMm * perMm;
  w.margin = kWallMarginMm * perMm;
  const QSizeF part(printable.width() - 2 * w.margin, printable.height() - 2 * w.margin);
  if (part.width() <= w.band || part.height() <= w.band) return w;
  // n parts less the n - 1 bands they share, in either direction.
  const QSizeF most(n * part.width() - (n - 1) * w.band, n * part.height() - (n - 1) * w.band);
  w.scale = std::min(most.width() / paper.width(), most.height() / paper.height());
  const QSizeF poster = paper * w.scale;
  // Every part the same size, each starting a part less a band further on.
  const QSizeF size((poster.width() + (n - 1) * w.band) / n,
                    (poster.height() + (n - 1) * w.band) / n);
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) {
      WallSheet s;
      s.row = r;
      s.column = c;
      const QPointF at(c * (size.width() - w.band), r * (size.height() - w.band));
      s.source = QRectF(at / w.scale, size / w.scale);
      s.onPage = QRectF(QPointF(w.margin, w.margin), size);
      s.left = c > 0;
      s.right = c < n - 1;
      s.above = r > 0;
      s.below = r < n - 1;
      w.sheets.push_back(s);
    }
  return w;
}

}  // namespace pastel
