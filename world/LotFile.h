// A lot's layers in a house file of their own: written into a fresh resource
// file beside the target and put in place in one step, so a failed save never
// leaves a half-written lot; read back at a given house-file version.
#pragma once

#include <cstdint>
#include <string>

class cFixedWorld;

int32_t SaveLotLayers(cFixedWorld& lot, const std::string& path, int32_t version, std::string& error);
int32_t LoadLotLayers(cFixedWorld& lot, const std::string& path, int32_t version);
