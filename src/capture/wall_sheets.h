#pragma once
#include <QRectF>
#include <QSizeF>
#include <vector>

namespace pastel {

// A wall poster: the paper printed across n x n sheets that are glued
// together. Neighbouring sheets both print a band of the poster along the
// edge they share; the sheets' margins hold the cut marks and labels.

constexpr double kWallBandMm = 10;   // printed on both neighbours, for the glue
constexpr double kWallMarginMm = 7;  // around each sheet's part: marks, label, arrows

struct WallSheet {
  int row = 0, column = 0;  // from the top left, 0-based
  QRectF source;            // the part of the paper, paper pixels (0,0 .. 707,499)
  QRectF onPage;            // where it is drawn, device pixels from the printable area's corner
  bool left = false, right = false, above = false, below = false;  // neighbours
};

struct WallLayout {
  int n = 0;
  double scale = 0;  // device pixels per paper pixel
  double band = 0;   // the overlap band, device pixels
  double margin = 0;
  std::vector<WallSheet> sheets;  // row by row
};

// The largest poster of the paper's shape (`paper`, pixels) that n x n
// sheets of `printable` device pixels at `dpi` hold, each sheet's part
// inside its margin and overlapping its neighbours' by the band. Empty
// sheets when the printable area is too small.
WallLayout wallLayout(QSizeF paper, QSizeF printable, double dpi, int n);

}  // namespace pastel
