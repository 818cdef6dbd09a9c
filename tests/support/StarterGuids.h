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
// The two-part door and its parts.
inline constexpr uint32_t kDoor = 0x4C3A1040;
inline constexpr uint32_t kDoorFront = 0x4C3A1041;
inline constexpr uint32_t kDoorBack = 0x4C3A1042;

}  // namespace tova_test
