#pragma once
// A door, archway or stair: a multi-tile object whose parts with a tree for
// entry point 15 are portal ends. Each end joins the room it stands in with
// the room of its partner end. Placing the portal writes its value into the
// wall sides it stands in (removing it gives them back the plain wall), and
// every end keeps one route cost per goal id for the search over portal
// ends that tells a person which portal to go through next.
//
// Costs: 10001 not computed, 10000 being computed or no path, 0 to 1000 a
// path cost, 1001 to 1100 taken (in the order taken), 1101 failed.

#include <cstdint>
#include <string>
#include <vector>

#include "simulation/cXMTObject.h"

namespace tova {

class iPortalWalls;

// What a person's routing keeps between portals: the goal it walks to and
// the portal it went through last (null before the first).
struct PortalRouteContext {
  cXObject* goal = nullptr;
  class cXPortal* portal = nullptr;
};

class cXPortal : public cXMTObject {
 public:
  static constexpr float kNotComputed = 10001.0f;
  static constexpr float kNoPath = 10000.0f;
  static constexpr float kCostCap = 1000.0f;
  static constexpr float kFirstTaken = 1001.0f;
  static constexpr float kLastTaken = 1100.0f;
  static constexpr float kFailed = 1101.0f;
  static constexpr int32_t kMaxGoalId = 9999;
  static constexpr int32_t kGoalWord = 6;
  static constexpr int32_t kPortalEntry = 15;
  // Definition words: the value written into wall sides, and the one the
  // object code reads of the portal on a wall side.
  static constexpr int32_t kWallValueWord = 46;
  static constexpr int32_t kPortalWord = 81;
  // The value a wall side gets back when a portal leaves it.
  static constexpr int32_t kPlainWall = 1;
  // Failure codes of the placement test.
  static constexpr int32_t kCodeSideTaken = 22;
  static constexpr int32_t kCodeNotTileCentre = 3;

  cXPortal(ObjectDefinition* definition, cXMTObject* lead, ObjectModule* module);
  ~cXPortal() override;

  uint32_t GetTypeCode() const override;
  bool IsPortal() const override { return true; }
  bool Transfer(ReconStream& stream, int32_t version, bool replaced, BehaviorCodec& codec) override;
  using cXObject::Transfer;
  void PlaceAtCurrentLocation(int32_t version) override;
  void RemoveFromWorld() override;
  bool CanPlace(FinePoint point, int32_t level, cXObject* container, int32_t slot) override;
  void Place(FinePoint point, int32_t level, cXObject* container, int32_t slot) override;
  int32_t GetContentsMaxValue() override;
  // The base drawing; while a debug goal is set a portal end also shows
  // its cost for that goal as a label.
  DrawnRect Draw(ObjectDrawer& drawer, DrawingContext& context) override;

  // ---- costs ----
  // Goals outside 1..9999 are ignored; the list grows with 10001.
  void SetCost(int32_t goal, float value);
  // 0 for a goal of 0 or less or beyond the list.
  float GetCost(int32_t goal) const;
  int32_t CostCount() const { return static_cast<int32_t>(costs_.size()); }
  // The debug label of the goal's cost: "U", "R", "F" or the cost with two
  // decimals.
  std::string CostLabel(int32_t goal) const;
  // The goal whose costs the portals show (0 none).
  static void SetDebugGoal(int32_t goal) { debugGoal_ = goal; }
  static int32_t DebugGoal() { return debugGoal_; }

  // A part with a tree for entry point 15.
  bool IsPortalEnd() const;
  // The next portal end along the group's chain of parts (from the last
  // back to the first); null when the walk comes back to this one.
  cXPortal* Partner();
  int16_t GetDefinitionPortalWord() const;

  // Writes the wall sides of every part with a wall value and a side mask
  // that stands inside the lot: value 0 gives each part its own wall value.
  // With notify the level's walls are rebuilt.
  void ApplyToWalls(int32_t value, bool notify);

  // ---- routing over portal ends ----
  // Every portal end of the lot (those with a tree for entry point 15).
  static std::vector<cXPortal*> PortalEnds(ObjectModule& lot);
  // The smallest goal id 1..9999 that no object uses; 0 when all are used.
  static int32_t NewGoalId(ObjectModule& lot);
  static void ResetAllCosts(ObjectModule& lot);
  // Gives the person a goal id when it has none and marks that goal's cost
  // on every portal end not computed; false when no goal id is free.
  static bool PrepareGoal(ObjectModule& lot, cXObject& person, cXObject* goal);
  // The cheapest way from one portal end to another over the portal ends,
  // for the goal id of `from`.
  static float PathCost(cXPortal& from, cXPortal& to);
  // The portal end in the person's room that leads on to the goal most
  // cheaply; null when none does.
  static cXPortal* ChoosePortal(ObjectModule& lot, cXObject& person, cXObject& goal);
  static void MarkFailed(ObjectModule& lot, cXObject& person, cXPortal& portal);
  static void MarkTaken(ObjectModule& lot, cXObject& person, cXPortal& portal);
  // Chooses the next portal and pushes its entry tree 15 onto the person;
  // false when any step fails.
  static bool GoThroughPortal(cXObject& person, PortalRouteContext& context);

  // Wall side bit n: the side mask bit, and for the diagonals the part
  // (1-4) of the tile it separates.
  static int32_t DecodeWallSideBit(int32_t n, int32_t* part);
  static int32_t DecodeWallSideBit(int32_t n) { return DecodeWallSideBit(n, nullptr); }

 private:
  iPortalWalls* Walls() const;
  int32_t WallValue() const;
  static int32_t GoalOf(const cXObject& o) { return o.GetData(kGoalWord); }
  static int32_t RoomOf(const cXObject& o) { return o.GetData(kDataRoom); }

  std::vector<float> costs_;
  static inline int32_t debugGoal_ = 0;
};

}  // namespace tova
