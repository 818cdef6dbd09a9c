#pragma once
// Command numbers that travel through Broadcast, with what the argument holds.

#include <cstdint>

namespace tova::cmd {

constexpr int16_t kDefinitionUpdated = 130;     // a definition value
constexpr int16_t kRedrawAll = 131;             // 0 (one console command passes a value)
constexpr int16_t kRotationChanged = 132;       // the new rotation
constexpr int16_t kTerrainChanged = 133;        // a level or 0
constexpr int16_t kWorldChanged = 134;          // 0
constexpr int16_t kObjectRemoving = 135;        // the object
constexpr int16_t kObjectRemoved = 136;         // the object
constexpr int16_t kPickerTool = 140;            // a value of the tool
constexpr int16_t kStartupLoaded = 141;         // 0; sent before the random seed is set
constexpr int16_t kBuildChanged = 145;          // 0 or a value of the sender
constexpr int16_t kHouseSaving = 146;           // the open resource file
constexpr int16_t kHouseLoaded = 147;           // the open resource file
constexpr int16_t kSpeedChanged = 194;          // 0 or the speed
constexpr int16_t kPeoplePanel = 216;           // 0
constexpr int16_t kClockOrStatistic = 218;      // the clock value or the statistic
constexpr int16_t kHourSet = 219;               // 0
constexpr int16_t kSimulationTick = 221;        // 0 or a tick value
constexpr int16_t kCatalogueChanged = 224;      // 0
constexpr int16_t kObjectCreated = 226;         // the new object's id
constexpr int16_t kSelectedPersonChanged = 228; // 0
constexpr int16_t kFamilyChanged = 232;         // 0 or the family member
constexpr int16_t kShowString = 235;            // a value of the primitive
constexpr int16_t kUndoChanged = 238;           // 0
constexpr int16_t kRoomsRecomputed = 240;       // the level
constexpr int16_t kRoomChanged = 241;           // the room id
constexpr int16_t kRefresh = 242;               // a value of the primitive
constexpr int16_t kObjectDeleted = 243;         // the object id
constexpr int16_t kLotLoad = 246;               // 0
constexpr int16_t kAnimatedPersonSet = 247;     // 0
constexpr int16_t kTickOrConsole = 248;         // 5, or a console value
constexpr int16_t kZoomChanged = 249;           // the zoom
constexpr int16_t kFamilyOperation = 251;       // a family number
constexpr int16_t kWallsChanged = 257;          // 0
constexpr int16_t kBehaviorChanged = 258;       // the Behavior whose trees changed
constexpr int16_t kFamilyOperation2 = 259;      // a family number
constexpr int16_t kDefinitionUnloaded = 260;    // the definition
constexpr int16_t kWorldSizeChanged = 261;      // the new size in tiles
constexpr int16_t kHouseViewCommand = 262;      // a value of the command
constexpr int16_t kTutorialObjectSet = 263;     // 0
constexpr int16_t kObjectModule = 264;          // 0
constexpr int16_t kSpeedOverride = 265;         // 1 begins, 0 ends
constexpr int16_t kShowStackObject = 268;       // the object
constexpr int16_t kTerrainTool = 800;           // 0

}  // namespace tova::cmd
