#pragma once
#include <QSize>

namespace pastel {

// How much smaller the windows are drawn so that a window of `outer` size
// (its frame and menu bar included, `client` its client area, logical pixels)
// fits `available`, the screen less its panels: 1 where it fits as it is. The
// frame is the window system's and keeps its size, so all but the client
// area is counted at full size. A multiple of 1/64, so that the screen's size
// divided by it is exact.
double scaleToFit(QSize available, QSize outer, QSize client);

struct ScreenFit {
  double fit = 1;   // the factor that fits (1: the window fits as it is)
  double rest = 1;  // what Qt's scale could not take, for the window to draw
};

// Qt takes its scale only when the application is made: called before that,
// this reads the primary screen's free area through an application of its
// own and, where the window does not fit, sets QT_SCALE_FACTOR for the one
// made next. Qt 6.4 crops below one device pixel per logical pixel, so the
// scale stops there and the rest is left to the window.
ScreenFit fitScreenBeforeStart(int argc, char** argv, QSize outer, QSize client);

}  // namespace pastel
