#pragma once
#include <cmath>

namespace pastel {

// Every position and size in the model is in twips; a logical pixel is 15.
inline constexpr float kTwipsPerPixel = 15;

// Twips to whole pixels, nearest.
inline int twipsToPixels(float twips) { return int(std::lround(twips / kTwipsPerPixel)); }

}  // namespace pastel
