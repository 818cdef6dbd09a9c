#pragma once
// Broadcast commands the catalogue sends and receives, in the names of the
// command table (CommandIds.h) where it has them.

#include <cstdint>

#include "gamedata/CommandIds.h"

namespace tova {

constexpr int16_t kCommandFileChanged = 129;  // received: a resource file
constexpr int16_t kCommandDefinitionRenamed = cmd::kDefinitionUpdated;    // sent: the GUID
constexpr int16_t kCommandCatalogueChanged = cmd::kCatalogueChanged;      // sent: 0
constexpr int16_t kCommandTreesChanged = 258;  // received: a Behavior
constexpr int16_t kCommandDefinitionRemoving = cmd::kDefinitionUnloaded;  // sent: the GUID

}  // namespace tova
