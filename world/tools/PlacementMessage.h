// The texts of the build tools' placement messages by code; code 26 shows
// a cost.
#pragma once

#include <cstdint>
#include <string>

std::string PlacementMessageText(int32_t code, int32_t value = 0);
