// The guids of the objects in the starter content (content/GameData/Objects),
// which the tests that load it place and look for.
#pragma once

#include <cstdint>

namespace tova_test {

inline constexpr uint32_t kChair = 0x4C3A1001;
inline constexpr uint32_t kTable = 0x4C3A1002;
inline constexpr uint32_t kLamp = 0x4C3A1003;
inline constexpr uint32_t kBench = 0x4C3A1004;
inline constexpr uint32_t kTicker = 0x4C3A1010;

}  // namespace tova_test
