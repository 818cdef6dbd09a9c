#include "LotRoute.h"

#include <cstdio>
#include <vector>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/LotInterfaces.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/PersonRoute.h"
#include "simulation/people/RouteWords.h"
#include "simulation/people/cXPerson.h"
#include "simulation/people/cXPortal.h"
#include "world/HeadlessLot.h"

namespace tova {

namespace {

// The marker's tree that walks a person to its routing slot.
const char* const kGoHereTree = "Step aside: go here";
// Held in the failure word until the route's end writes its code there.
constexpr int16_t kNotEnded = -1;

struct RoomVisit {
  int32_t room = 0;
  std::vector<PathPoint> path;
  int16_t portal = 0;
  float cost = 0;
};

std::string FormatCost(float c) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(c));
  return text;
}

}  // namespace

bool RunLotRoute(const std::string& root, const std::string& lot, LotRouteEnd from, LotRouteEnd to,
                 int32_t tickLimit, std::string& out, std::string& error, iCharacterLibrary* characters) {
  HeadlessLot headless(root);
  if (characters != nullptr ? !headless.UseCharacterLibrary(*characters) : !headless.UseHeadlessGait()) {
    error = "no global file under " + headless.Root();
    return false;
  }
  if (!headless.Load(lot, error)) return false;
  headless.FindRooms();
  cXPerson* person = headless.AddPerson(from.x, from.y, from.level, error);
  if (person == nullptr) return false;
  // The marker stands wherever a person may: on the ground or a floor.
  cXObject* marker = headless.AddObject(kStepAsideGuid, to.x, to.y, to.level, error, [](cXObject& m) {
    m.SetData(kDataPlacement, static_cast<int16_t>(m.GetData(kDataPlacement) | kPlaceOnGround | kPlaceOnFloor));
    m.SetData(kDataSlotKinds, static_cast<int16_t>(m.GetData(kDataSlotKinds) | 1));
  });
  if (marker == nullptr) return false;
  const int16_t personId = person->GetId(), markerId = marker->GetId();
  Behavior* behavior = marker->GetBehavior();
  const int16_t tree = behavior != nullptr ? behavior->LocateTree(kGoHereTree) : 0;
  if (tree == 0 || !person->PushTreeCall(behavior, tree, markerId, true)) {
    error = "the person cannot be sent to the marker";
    return false;
  }

  ObjectModule& module = headless.Module();
  person->SetWord(kWordFailure, kNotEnded);
  iLotWorld* world = module.GetWorld();
  auto roomOf = [&](const cXObject& o) {
    return world != nullptr ? world->GetRoomId(TileLocation::FromFine(o.GetPosition(), o.GetLevel())) : 0;
  };
  std::vector<RoomVisit> visits{{roomOf(*person), {}, 0, 0}};
  int32_t result = -1;
  for (int32_t tick = 0; tick < tickLimit && result < 0; ++tick) {
    headless.Tick();
    person = dynamic_cast<cXPerson*>(module.GetObjectById(personId));
    if (person == nullptr) {
      error = "the person left the lot";
      return false;
    }
    const int32_t room = roomOf(*person);
    if (room != visits.back().room) visits.push_back({room, {}, 0, 0});
    if (!person->PathPoints().empty()) visits.back().path = person->PathPoints();
    const std::vector<PersonRoute>& routes = person->Routes();
    if (!routes.empty()) {
      const int16_t portal = routes.front().portal;
      if (portal != 0 && portal != visits.back().portal) {
        // The portal is kept by the route until the next one is taken.
        bool seen = false;
        for (const RoomVisit& v : visits) seen |= v.portal == portal && &v != &visits.back();
        auto* p = dynamic_cast<cXPortal*>(module.GetObjectById(portal));
        if (!seen && p != nullptr) {
          visits.back().portal = portal;
          visits.back().cost = p->GetCost(person->GetData(cXPortal::kGoalWord));
        }
      }
    } else if (person->Word(kWordFailure) != kNotEnded) {
      result = person->Word(kWordFailure);
    }
  }
  if (result < 0) {
    error = "the route did not end within " + std::to_string(tickLimit) + " ticks";
    return false;
  }
  for (const RoomVisit& v : visits) {
    out += "room " + std::to_string(v.room) + "\n";
    // The walk ends at the second-last point; the last one only turns the
    // person to face it, and may lie beyond a wall.
    const size_t walked = v.path.size() >= 2 ? v.path.size() - 1 : v.path.size();
    for (size_t i = 0; i < v.path.size(); ++i) {
      out += (i < walked ? "point " : "facing ") + std::to_string(v.path[i].x) + " " + std::to_string(v.path[i].y) + "\n";
    }
    if (v.portal != 0) out += "portal " + std::to_string(v.portal) + " cost " + FormatCost(v.cost) + "\n";
  }
  out += "result " + std::to_string(result) + "\n";
  return true;
}

}  // namespace tova
