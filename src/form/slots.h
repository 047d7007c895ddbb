#pragma once

namespace pastel {

// A poster holds ten photos and ten words, and the word list ten words. The
// photo slots have one more: the overflow slot, where a photo picked from the
// strip floats when every other slot is placed.
inline constexpr int kSlots = 10;
inline constexpr int kOverflowSlot = kSlots;
// The picture strip shows ten cells a page.
inline constexpr int kStripCells = 10;

}  // namespace pastel
