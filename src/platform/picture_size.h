#pragma once
#include <QSize>

namespace pastel {

// The size of `natural` scaled down to fit inside `box`, keeping the aspect
// and never growing it. An invalid or empty box leaves the size as it is.
QSize fitWithin(QSize natural, QSize box);

// A pixel length at 96 dpi in HiMetric (0.01 mm).
int pixelsToHiMetric(int pixels);

}  // namespace pastel
