#pragma once
#include <cmath>
#include <cstdint>
#include <optional>

namespace pastel {

// Conversion to a 16-bit integer the way the handlers compute with twips:
// nearest whole number, halves to even. Values outside -32768..32767 (and
// NaN) are reported as nullopt rather than wrapped.
inline std::optional<std::int16_t> toInt16(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  const double r = std::nearbyint(v);  // default rounding: halves to even
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(r);
}

}  // namespace pastel
