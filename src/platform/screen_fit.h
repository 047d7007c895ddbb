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

// Qt takes its scale only when the application is made: called before that,
// this reads the primary screen's free area through an application of its
// own and, where the window does not fit, sets QT_SCALE_FACTOR for the one
// made next. Qt 6.4 paints nothing below one device pixel per logical pixel
// (it crops instead), so a screen drawn at 1x is left at 1x. Returns the
// factor that would fit (1: the window fits as it is).
double fitScreenBeforeStart(int argc, char** argv, QSize outer, QSize client);

}  // namespace pastel
