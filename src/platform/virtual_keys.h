#pragma once

namespace pastel {

// The virtual-key numbers the kana pad sends and the input method reads,
// beyond the character keys.
namespace vk {
constexpr int kBack = 8, kReturn = 13, kShift = 16, kKanaLock = 0x15, kConvert = 28, kSpace = 32,
              kDelete = 46, kNumpad0 = 96, kNumpad9 = 105, kF6 = 117, kF7 = 118;
}

}  // namespace pastel
