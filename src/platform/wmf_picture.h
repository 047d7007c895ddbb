#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace pastel {

// Natural size of a metafile in HiMetric: a placeable file's own bounds and
// units per inch, otherwise the bounding box libwmf finds by scanning.
struct WmfSize {
  bool ok = false;
  int widthHiMetric = 0;
  int heightHiMetric = 0;
};
WmfSize wmfNaturalSize(const QByteArray& file);

// Renders a metafile through libwmf on a white ground, fitted into box
// (keeping the aspect) and never larger than its size at 96 dpi. An invalid
// box means the natural size. A null image when the file is broken or asks
// libwmf for more than its memory budget. Gives the natural size too.
QImage renderWmf(const QByteArray& file, QSize box, WmfSize* natural = nullptr);

// What libwmf may allocate for one file before it is stopped.
inline constexpr size_t kWmfMemoryBudget = 64u * 1024 * 1024;
// Rendering never makes an image with a side longer than this.
inline constexpr int kWmfMaxRenderSide = 2048;

}  // namespace pastel
