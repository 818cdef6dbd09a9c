#pragma once
// A person's walk to a target, one tick at a time: the route is planned,
// portals are taken towards the target's room, the walk animation follows
// the path, and a person in the way is asked to step aside. The state word
// lives in the go-to primitive's frame between ticks (0 starts a new route).
// Everything the walk needs of the person, its trees, the interpreter, the
// animator, the portals and the other people goes through iRouteWalkHost,
// which the live person implements and tests script.

#include <cstdint>
#include <string>
#include <vector>

#include "simulation/people/PersonRoute.h"
#include "simulation/people/RouteRequest.h"

namespace tova {

class iRouteSite;

// Another person of the lot, as the search for someone in the way sees it.
struct RoutePerson {
  int16_t id = 0;
  RouteObjectFacts facts;
  CostRect rect;  // its cost is not read
  bool waiting = false;  // one of its routes waits on someone
};

class iRouteWalkHost {
 public:
  virtual ~iRouteWalkHost() = default;

  // ---- the person ----
  virtual int16_t PersonId() = 0;
  virtual std::vector<PersonRoute>& Routes() = 0;
  virtual std::vector<PathPoint>& Path() = 0;
  virtual int16_t Word(int32_t n) = 0;
  virtual void SetWord(int32_t n, int16_t value) = 0;
  // The person's object flag 0x8: it may route at all.
  virtual bool CanRoute() = 0;
  virtual bool Interrupted() = 0;
  virtual FinePoint Position() = 0;
  virtual int32_t Direction() = 0;
  virtual int32_t Now() = 0;
  virtual bool RoomKnown() = 0;
  virtual int32_t RoomTiles() = 0;
  // The object the person sits in (0 none).
  virtual int16_t SeatId() = 0;

  // ---- targets ----
  virtual bool TargetValid(int16_t target) = 0;
  virtual bool InTargetRoom(int16_t target) = 0;
  virtual bool IsPortal(int16_t object) = 0;
  virtual FinePoint ObjectPosition(int16_t object) = 0;
  virtual int32_t ObjectDirection(int16_t object) = 0;

  // ---- trees run on the person ----
  // An entry tree of the object pushed with parameters; false when it has none or the push fails.
  virtual bool PushEntryTree(int16_t object, int32_t entry, const std::vector<int16_t>& params) = 0;
  virtual bool HasNamedTree(int16_t object, const std::string& name) = 0;
  virtual bool PushNamedTree(int16_t object, const std::string& name, int16_t stackObject,
                             const std::vector<int16_t>& params) = 0;
  // The interpreter's last taken node target for the person was the return-true one.
  virtual bool LastTreeEndedTrue() = 0;
  // The interpreter's result flag of the last returned tree.
  virtual bool LastTreeResult() = 0;
  virtual void DumpStack() = 0;

  // ---- goals and planning ----
  virtual iRouteSite& Site(PersonRoute& route) = 0;
  // Plans the route from the person (its reached goal and failure code set); false without a path.
  virtual bool Plan(PersonRoute& route, std::vector<PathPoint>& points) = 0;

  // ---- the walk animation ----
  virtual void StartWalk() = 0;
  // 2 still walking, 1 arrived, 0 blocked.
  virtual int32_t WalkStep() = 0;
  virtual bool WalkAnimating() = 0;
  virtual void StopWalk() = 0;
  // Places the person where it stands, turned (direction -1: as it is),
  // and checks its tile; false when it does not fit.
  virtual bool PlaceHere(int32_t direction) = 0;

  // ---- portals ----
  virtual bool PrepareGoal(int16_t target) = 0;
  virtual int16_t ChoosePortal(int16_t target) = 0;
  virtual void MarkTaken(int16_t portal) = 0;
  virtual void MarkFailed(int16_t portal) = 0;

  // ---- other people ----
  virtual std::vector<RoutePerson> OtherPeople() = 0;
  virtual bool HasStepAsideAction(int16_t person) = 0;
  virtual bool CurrentRouteWaits(int16_t person) = 0;
  // Makes the step-aside marker at the person's position (0 when none can be made).
  virtual int16_t MakeMarker(int16_t person) = 0;
  virtual void DeleteMarker(int16_t marker) = 0;
  // Gives the marker the slot and plans a trial route of the person to it; the path found.
  virtual std::vector<PathPoint> PlanFor(int16_t person, int16_t marker, const RoutingSlot& slot) = 0;
  // Pushes the marker's step-aside action on the person; its serial, 0 when not pushed.
  virtual uint32_t PushStepAside(int16_t person, int16_t marker, int16_t priority) = 0;
  // Each other person whose current route waits on this person's action is
  // told whether this one arrived and stops waiting.
  virtual void ReleaseWaiters(bool arrived) = 0;
  virtual void CancelAction(int16_t person, uint32_t serial) = 0;
};

enum class WalkPrepared { kBlocked, kAlreadyThere, kReady, kTreePushed };

class RouteWalk {
 public:
  static constexpr int32_t kMaxRoutes = 64;

  // One tick of the walk: false, true, 2 (walking on) or 3 (a tree was pushed).
  static int32_t Run(iRouteWalkHost& host, int32_t& state, int16_t target, const RoutingSlot* slot);
  static bool UsePortal(iRouteWalkHost& host, PersonRoute& route);
  static WalkPrepared PrepareWalk(iRouteWalkHost& host, PersonRoute& route);
  // Appends the point the person ends up facing; false when it would be the last point itself.
  static bool AppendFacingPoint(std::vector<PathPoint>& path, const RoutingSlot& slot, int32_t personDirection,
                                FinePoint target, int32_t targetDirection);
  static bool FindBlockingPerson(iRouteWalkHost& host, PersonRoute& route);
  // Asks `blocker` to step aside from the path of the asking route.
  static bool AskToStepAsideFrom(iRouteWalkHost& host, const RoutePerson& blocker, PersonRoute& route,
                                 const std::vector<PathPoint>& path);
  // The marker's slot for a blocker standing in rect on the path: its two
  // sides across the path (and the path's own direction when `wide`).
  static RoutingSlot StepAsideSlot(const std::vector<PathPoint>& path, const CostRect& rect, FinePoint blockerAt,
                                   bool wide);

 private:
  static int32_t End(iRouteWalkHost& host, int32_t& state, bool arrived);
};

}  // namespace tova
