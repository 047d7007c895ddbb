#pragma once
#include <cstdint>

namespace pastel {

// A window element's colour: red + 256 * green + 65536 * blue, or a system
// colour reference with the top bit set (stored as signed decimal text).
using ColourValue = std::uint32_t;

constexpr ColourValue rgb(int r, int g, int b) {
  return ColourValue(r) | (ColourValue(g) << 8) | (ColourValue(b) << 16);
}
constexpr int redOf(ColourValue c) { return int(c & 0xff); }
constexpr int greenOf(ColourValue c) { return int((c >> 8) & 0xff); }
constexpr int blueOf(ColourValue c) { return int((c >> 16) & 0xff); }
constexpr bool isSystemColour(ColourValue c) { return (c & 0x80000000u) != 0; }

constexpr ColourValue kSysWindowBackground = 0x80000005u;  // text-box background
constexpr ColourValue kSysWindowText = 0x80000008u;
constexpr ColourValue kSysButtonFace = 0x8000000Fu;
constexpr ColourValue kSysButtonText = 0x80000012u;
constexpr ColourValue kWhite = rgb(255, 255, 255);
constexpr ColourValue kBlack = rgb(0, 0, 0);

// Resolves a system reference to plain RGB through the platform palette
// (white window background when no GUI application runs); plain colours pass.
ColourValue resolveColour(ColourValue c);

}  // namespace pastel
