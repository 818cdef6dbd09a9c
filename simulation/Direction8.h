// Directions count eighths of a turn, 0 to 7; sums and differences of them
// wrap back into that range.
#pragma once

#include <cstdint>

namespace tova {

inline int32_t WrapDirection(int32_t v) { return ((v % 8) + 8) % 8; }

}  // namespace tova
