#pragma once
// A scripted person for the route walk: its words, its routes and path, a
// plan that hands back a set path, a walk animation that answers from a
// list, portals, trees and other people, each call written to a log.

#include <array>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "FakeRouteSite.h"
#include "simulation/people/RouteWalk.h"

namespace tova::test {

class FakeRouteWalkHost : public iRouteWalkHost {
 public:
  int16_t id = 5;
  std::vector<PersonRoute> routes;
  std::vector<PathPoint> path;
  std::array<int16_t, 80> words{};
  bool canRoute = true;
  bool interrupted = false;
  FinePoint at{56, 56};
  int32_t direction = 0;
  int32_t now = 1000;
  bool roomKnown = true;
  int32_t roomTiles = 40;
  int16_t seat = 0;

  std::set<int16_t> validTargets{20};
  bool inTargetRoom = true;
  std::set<int16_t> portals;
  FinePoint targetAt{168, 168};
  int32_t targetDirection = 0;

  std::vector<std::string> log;
  bool pushWorks = true;
  std::set<std::string> namedTrees;  // "<object> <name>"
  bool lastTreeTrue = true;
  bool lastTreeResult = true;

  FakeRouteSite site;
  std::vector<PathPoint> planPath{{56, 56}, {184, 168}};
  int32_t planGoal = 0;
  std::function<std::vector<PathPoint>(const PersonRoute&)> planner;

  std::deque<int32_t> walkSteps;
  bool walkAnimating = false;
  bool placeFits = true;
  int32_t placedFacing = -9;

  bool prepareGoalWorks = true;
  std::deque<int16_t> portalChoices;

  std::vector<RoutePerson> others;
  std::set<int16_t> withStepAside;
  std::set<int16_t> waitingPeople;
  int16_t marker = 90;
  std::vector<PathPoint> markerPath{{0, 0}, {16, 0}};
  std::vector<RoutingSlot> markerSlots;
  uint32_t stepAsideSerial = 77;

  int16_t PersonId() override { return id; }
  std::vector<PersonRoute>& Routes() override { return routes; }
  std::vector<PathPoint>& Path() override { return path; }
  int16_t Word(int32_t n) override { return words[static_cast<size_t>(n)]; }
  void SetWord(int32_t n, int16_t v) override { words[static_cast<size_t>(n)] = v; }
  bool CanRoute() override { return canRoute; }
  bool Interrupted() override { return interrupted; }
  FinePoint Position() override { return at; }
  int32_t Direction() override { return direction; }
  int32_t Now() override { return now; }
  bool RoomKnown() override { return roomKnown; }
  int32_t RoomTiles() override { return roomTiles; }
  int16_t SeatId() override { return seat; }
  bool TargetValid(int16_t t) override { return validTargets.count(t) != 0; }
  bool InTargetRoom(int16_t) override { return inTargetRoom; }
  bool IsPortal(int16_t o) override { return portals.count(o) != 0; }
  FinePoint ObjectPosition(int16_t o) override {
    for (const RoutePerson& p : others)
      if (p.id == o) return {(p.rect.left + p.rect.right) / 2, (p.rect.top + p.rect.bottom) / 2};
    return targetAt;
  }
  int32_t ObjectDirection(int16_t) override { return targetDirection; }
  bool PushEntryTree(int16_t object, int32_t entry, const std::vector<int16_t>& params) override {
    std::string line = "entry " + std::to_string(object) + " " + std::to_string(entry);
    for (int16_t p : params) line += " " + std::to_string(p);
    log.push_back(line);
    return pushWorks;
  }
  bool HasNamedTree(int16_t object, const std::string& name) override {
    return namedTrees.count(std::to_string(object) + " " + name) != 0;
  }
  bool PushNamedTree(int16_t object, const std::string& name, int16_t stackObject,
                     const std::vector<int16_t>& params) override {
    std::string line = "tree " + std::to_string(object) + " " + name + " / " + std::to_string(stackObject);
    for (int16_t p : params) line += " " + std::to_string(p);
    log.push_back(line);
    return pushWorks;
  }
  bool LastTreeEndedTrue() override { return lastTreeTrue; }
  bool LastTreeResult() override { return lastTreeResult; }
  void DumpStack() override { log.push_back("dump"); }
  iRouteSite& Site(PersonRoute&) override { return site; }
  bool Plan(PersonRoute& route, std::vector<PathPoint>& points) override {
    points = planner ? planner(route) : planPath;
    if (route.goals.empty()) points.clear();
    route.reachedGoal = points.empty() ? -1 : planGoal;
    return !points.empty();
  }
  void StartWalk() override {
    log.push_back("start walk");
    walkAnimating = true;
  }
  int32_t WalkStep() override {
    const int32_t step = walkSteps.empty() ? 2 : walkSteps.front();
    if (!walkSteps.empty()) walkSteps.pop_front();
    if (step != 2) walkAnimating = false;
    return step;
  }
  bool WalkAnimating() override { return walkAnimating; }
  void StopWalk() override {
    log.push_back("stop walk");
    walkAnimating = false;
  }
  bool PlaceHere(int32_t facing) override {
    placedFacing = facing;
    return placeFits;
  }
  bool PrepareGoal(int16_t) override { return prepareGoalWorks; }
  int16_t ChoosePortal(int16_t) override {
    if (portalChoices.empty()) return 0;
    const int16_t p = portalChoices.front();
    portalChoices.pop_front();
    return p;
  }
  void MarkTaken(int16_t p) override { log.push_back("taken " + std::to_string(p)); }
  void MarkFailed(int16_t p) override { log.push_back("failed " + std::to_string(p)); }
  std::vector<RoutePerson> OtherPeople() override { return others; }
  bool HasStepAsideAction(int16_t p) override { return withStepAside.count(p) != 0; }
  bool CurrentRouteWaits(int16_t p) override { return waitingPeople.count(p) != 0; }
  int16_t MakeMarker(int16_t) override { return marker; }
  void DeleteMarker(int16_t m) override { log.push_back("delete marker " + std::to_string(m)); }
  std::vector<PathPoint> PlanFor(int16_t, int16_t, const RoutingSlot& slot) override {
    markerSlots.push_back(slot);
    return markerPath;
  }
  uint32_t PushStepAside(int16_t person, int16_t m, int16_t priority) override {
    log.push_back("step aside " + std::to_string(person) + " " + std::to_string(m) + " " + std::to_string(priority));
    return stepAsideSerial;
  }
  void ReleaseWaiters(bool arrived) override { log.push_back(std::string("release ") + (arrived ? "arrived" : "failed")); }
  void CancelAction(int16_t person, uint32_t serial) override {
    log.push_back("cancel " + std::to_string(person) + " " + std::to_string(serial));
  }

  bool Logged(const std::string& line) const {
    for (const std::string& l : log)
      if (l == line) return true;
    return false;
  }
};

}  // namespace tova::test
