#pragma once
// The live person as the route walk and the route's goal picking see it:
// its words, routes and path, the interpreter that runs its trees, the
// animator that walks it, the portals of its lot and the other people.
// Made for one tick of a walk and dropped after it.

#include <cstdint>
#include <string>
#include <vector>

#include "simulation/people/RouteSite.h"
#include "simulation/people/RouteWalk.h"

namespace tova {

class cXObject;
class cXPerson;
class ObjectModule;
class Room;
class RoomManager;

class PersonRouteHost : public iRouteWalkHost, public iRouteSite {
 public:
  // rooms may be null: the person's room then counts as not known to the planner.
  PersonRouteHost(cXPerson& person, RoomManager* rooms);

  // ---- iRouteWalkHost ----
  int16_t PersonId() override;
  std::vector<PersonRoute>& Routes() override;
  std::vector<PathPoint>& Path() override;
  int16_t Word(int32_t n) override;
  void SetWord(int32_t n, int16_t value) override;
  bool CanRoute() override;
  bool Interrupted() override;
  FinePoint Position() override;
  int32_t Direction() override;
  int32_t Now() override;
  bool RoomKnown() override;
  int32_t RoomTiles() override;
  int16_t SeatId() override;
  bool TargetValid(int16_t target) override;
  bool InTargetRoom(int16_t target) override;
  bool IsPortal(int16_t object) override;
  FinePoint ObjectPosition(int16_t object) override;
  int32_t ObjectDirection(int16_t object) override;
  bool PushEntryTree(int16_t object, int32_t entry, const std::vector<int16_t>& params) override;
  bool HasNamedTree(int16_t object, const std::string& name) override;
  bool PushNamedTree(int16_t object, const std::string& name, int16_t stackObject,
                     const std::vector<int16_t>& params) override;
  bool LastTreeEndedTrue() override;
  bool LastTreeResult() override;
  void DumpStack() override;
  iRouteSite& Site(PersonRoute& route) override;
  bool Plan(PersonRoute& route, std::vector<PathPoint>& points) override;
  void StartWalk() override;
  int32_t WalkStep() override;
  bool WalkAnimating() override;
  void StopWalk() override;
  bool PlaceHere(int32_t direction) override;
  bool PrepareGoal(int16_t target) override;
  int16_t ChoosePortal(int16_t target) override;
  void MarkTaken(int16_t portal) override;
  void MarkFailed(int16_t portal) override;
  std::vector<RoutePerson> OtherPeople() override;
  bool HasStepAsideAction(int16_t person) override;
  bool CurrentRouteWaits(int16_t person) override;
  int16_t MakeMarker(int16_t person) override;
  void DeleteMarker(int16_t marker) override;
  std::vector<PathPoint> PlanFor(int16_t person, int16_t marker, const RoutingSlot& slot) override;
  uint32_t PushStepAside(int16_t person, int16_t marker, int16_t priority) override;
  void ReleaseWaiters(bool arrived) override;
  void CancelAction(int16_t person, uint32_t serial) override;

  // ---- iRouteSite ----
  FinePoint PersonPosition() override;
  int32_t PersonLevel() override;
  int32_t PersonRoom() override;
  int32_t PersonDirection() override;
  void SetPersonDirection(int32_t direction) override;
  int16_t PersonWord(int32_t n) override;
  void SetPersonWord(int32_t n, int16_t value) override;
  RouteSnapObject PersonSeat() override;
  FinePoint TargetPosition(bool footprint) override;
  int32_t TargetDirection() override;
  int32_t TargetLevel() override;
  bool IsBorderTile(FinePoint point) override;
  bool IsInsideWorld(FinePoint point) override;
  int32_t RoomAt(FinePoint point, int32_t level) override;
  uint8_t BlockMask(FinePoint point, int32_t level, int32_t rotation) override;
  uint32_t Corners(FinePoint point) override;
  Placement TryPlacePerson(FinePoint point) override;
  RouteSnapObject SnapObjectAt(FinePoint point, int32_t level) override;
  int32_t Random(int32_t n) override;

  // Room 0 of the lot's room layer is outdoors.
  static constexpr int32_t kOutdoors = -5;

 private:
  cXObject* Object(int16_t id);
  cXPerson* Person(int16_t id);
  // The plan of `route` for `who` (its room's objects, rectangles and tiles).
  bool PlanWith(cXPerson& who, PersonRoute& route, std::vector<PathPoint>& points);
  RouteSnapObject SnapOf(cXObject& object);
  int32_t RoomOf(const cXObject& object);
  Room* RoomRecord(int32_t room);

  cXPerson& person_;
  ObjectModule* module_;
  RoomManager* rooms_;
  PersonRoute* route_ = nullptr;  // the route whose goals the site answers for
};

}  // namespace tova
