#pragma once

namespace pastel {

// Every position and size in the model is in twips; a logical pixel is 15.
inline constexpr float kTwipsPerPixel = 15;

// Twips to whole screen pixels, nearest (halves away from zero): the one
// rule for everything shown. The page has a rule of its own.
constexpr int twipsToPixels(float twips) {
  const float px = twips / kTwipsPerPixel;
  return int(px < 0 ? px - 0.5f : px + 0.5f);
}

}  // namespace pastel
