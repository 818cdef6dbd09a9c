// The person-data words and object entry points that person routing reads
// and writes, shared by the route's goals, the walk and the live host.
#pragma once

#include <cstdint>

namespace tova {

// Person-data words.
constexpr int32_t kWordPosture = 0;  // 1 seated
constexpr int32_t kWordActionPriority = 33;
constexpr int32_t kWordGoalParam = 37;
constexpr int32_t kWordKeepsRoute = 38;
constexpr int32_t kWordRouteDone = 39;
constexpr int32_t kWordFailure = 62;
constexpr int32_t kWordIgnoreObjects = 68;
constexpr int32_t kWordSaved = 72;
constexpr int32_t kWordReplace = 73;

// Entry points of an object's function table.
constexpr int32_t kEntryPortal = 15;
constexpr int32_t kEntryObjectGoal = 26;
constexpr int32_t kEntryStandUp = 27;

}  // namespace tova
