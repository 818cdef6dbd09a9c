#include "simulation/people/RouteWalk.h"

#include <algorithm>
#include <cstdlib>

#include "simulation/Direction8.h"
#include "simulation/ObjectQueryPrimitives.h"
#include "simulation/SoundPlayer.h"
#include "simulation/people/RouteSite.h"
#include "simulation/people/RouteWords.h"

namespace tova {

namespace {

constexpr int32_t kResultFalse = 0;
constexpr int32_t kResultTrue = 1;
constexpr int32_t kResultWalking = 2;
constexpr int32_t kResultTree = 3;

constexpr int32_t kWaitTicks = 30;
constexpr int32_t kAskTicks = 300;
constexpr int64_t kStuckDistance2 = 65;
// A route tries again at most this often before it fails.
constexpr int32_t kMaxRetries = 3;

const char* const kSoundBegin = "begin_route";
const char* const kSoundEnd = "end_route";
const char* const kTreeWaiting = "route waiting animation";
const char* const kTreeAsk = "route ask to move animation";
const char* const kTreeFeedback = "Route failure feedback";

PathPoint TileStep(PathPoint from, int32_t d) {
  d = WrapDirection(d);
  return {from.x + 16 * kRouteDirX[d], from.y + 16 * kRouteDirY[d]};
}

void PlayRouteSound(iRouteWalkHost& host, const char* name) {
  if (iSoundPlayer* player = GetSoundPlayer()) player->Play(name, host.PersonId());
}

int16_t BlockedCode(iRouteWalkHost& host) {
  const int16_t word = host.Word(kWordFailure);
  return word != 0 ? word : static_cast<int16_t>(kRouteFailBlocked);
}

}  // namespace

int32_t RouteWalk::Run(iRouteWalkHost& host, int32_t& state, int16_t target, const RoutingSlot* slot) {
  std::vector<PersonRoute>& routes = host.Routes();
  if (state == 0) {
    if (!host.TargetValid(target) || routes.size() >= static_cast<size_t>(kMaxRoutes)) return kResultFalse;
    PersonRoute route(host.PersonId(), target, slot, host.Position(), host.Word(kWordSaved), host.RoomTiles());
    if (host.Word(kWordIgnoreObjects) != 0) route.slot.flags |= kSlotAnyRoom;
    for (const PersonRoute& r : routes)
      if ((r.slot.flags & kSlotFailureFeedback) == 0) route.slot.flags &= ~kSlotFailureFeedback;
    routes.push_back(route);
    state = 1;
  }
  if (routes.empty()) {
    state = 0;
    return kResultWalking;
  }
  {
    PersonRoute& r = routes.back();
    if (!host.TargetValid(r.target)) state = state == 3 ? 20 : 19;
    if (r.started == 0) {
      // Read from a saved lot: what was under way is planned again.
      if (state == 2) r.portal = 0;
      if (state == 3) state = 15;
      r.started = 1;
    }
  }

  // A state either moves on to another in the same tick or ends the tick.
  for (int32_t guard = 0; guard < 64; ++guard) {
    PersonRoute& r = host.Routes().back();
    // An interrupted person ends the route with code 4 through the next state.
    const auto interrupted = [&](int32_t next) {
      if (!host.Interrupted()) return false;
      r.failureCode = kRouteFailInterrupted;
      state = next;
      return true;
    };
    switch (state) {
      case 1: {
        if (!host.CanRoute()) {
          state = 7;
          break;
        }
        if (!host.InTargetRoom(r.target) && host.Word(kWordIgnoreObjects) == 0) {
          bool usedAsPortal = false;
          for (const PersonRoute& other : host.Routes()) usedAsPortal |= other.portal == r.target;
          state = host.IsPortal(r.target) && usedAsPortal ? 7 : 2;
          break;
        }
        if (interrupted(7)) break;
        r.Begin(host.Site(r));
        if (host.Word(kWordPosture) == 1) {
          const int16_t seat = host.SeatId();
          const bool goalOnSeat = std::any_of(r.goals.begin(), r.goals.end(),
                                              [&](const RouteGoal& g) { return seat != 0 && g.object == seat; });
          if (goalOnSeat) {
            state = 8;
            break;
          }
          host.SetWord(kWordGoalParam, static_cast<int16_t>(r.parameter));
          if (seat != 0 && host.PushEntryTree(seat, kEntryStandUp, {static_cast<int16_t>(r.parameter)})) {
            state = 5;
            return kResultTree;
          }
          state = 7;
          break;
        }
        state = 18;
        break;
      }
      case 2:
        if (interrupted(7)) break;
        if (host.InTargetRoom(r.target)) {
          host.SetWord(kWordSaved, r.savedWord);
          state = 1;
          break;
        }
        if (r.portal != 0 && !host.LastTreeResult()) {
          host.MarkFailed(r.portal);
          if (++r.retries >= kMaxRetries) {
            r.failureCode = kRouteFailNoPortal;
            state = 16;
            break;
          }
        }
        if (UsePortal(host, r)) return kResultTree;
        r.failureCode = kRouteFailNoPortal;
        state = 16;
        break;
      case 3:
        if (interrupted(11)) break;
        if (host.Path().empty()) {
          state = 11;
          break;
        }
        switch (host.WalkStep()) {
          case 2: return kResultWalking;
          case 1: state = 9; break;
          default: state = 10; break;
        }
        break;
      case 4:
        if (host.LastTreeEndedTrue()) {
          state = 8;
        } else {
          r.failureCode = BlockedCode(host);
          state = 16;
        }
        break;
      case 5:
        host.SetWord(kWordSaved, r.savedWord);
        if (!host.LastTreeEndedTrue() || host.Word(kWordPosture) != 0) {
          r.failureCode = kRouteFailStillSeated;
          state = 16;
        } else {
          state = 1;
        }
        break;
      case 6:
        switch (r.waitCounter) {
          case 0: {
            const FinePoint at = host.Position();
            const int64_t dx = int64_t{at.x} - r.lastX, dy = int64_t{at.y} - r.lastY;
            r.lastX = at.x;
            r.lastY = at.y;
            if (dx * dx + dy * dy < kStuckDistance2) {
              r.waitCounter = 1;
              return kResultWalking;
            }
            if (++r.retries >= kMaxRetries) {
              r.failureCode = BlockedCode(host);
              state = 16;
              break;
            }
            state = 1;
            break;
          }
          case 1:
            r.waitCounter = 2;
            state = r.waitingOn != 0 || !FindBlockingPerson(host, r) ? 16 : 14;
            break;
          case 2:
            r.waitCounter = 3;
            if (++r.retries >= kMaxRetries) {
              r.failureCode = BlockedCode(host);
              state = 16;
              break;
            }
            state = 1;
            break;
          default:
            state = 16;
            break;
        }
        break;
      case 7:
        if (r.failureCode == 0) r.failureCode = kRouteFailGeneric;
        return End(host, state, false);
      case 8: {
        const int16_t saved = host.Word(kWordSaved);
        if (saved != 0) host.SetWord(kWordReplace, saved);
        const std::vector<PathPoint>& path = host.Path();
        const size_t n = path.size();
        const int32_t facing =
            n >= 2 ? OctantDirection({path[n - 2].x, path[n - 2].y}, {path[n - 1].x, path[n - 1].y}) : -1;
        if (host.PlaceHere(facing)) return End(host, state, true);
        host.SetWord(kWordReplace, 0);
        if (host.Word(kWordPosture) != 0) return End(host, state, true);
        r.failureCode = kRouteFailGeneric;
        state = 7;
        break;
      }
      case 9:
      case 10:
      case 11:
        if (host.WalkAnimating()) return kResultWalking;
        PlayRouteSound(host, kSoundEnd);
        state = state == 9 ? 8 : state == 10 ? 6 : 7;
        break;
      case 12:
        PlayRouteSound(host, kSoundBegin);
        host.StartWalk();
        state = 3;
        break;
      case 13:
        if (interrupted(7)) break;
        if (host.Now() - r.waitStart < kWaitTicks && host.PushNamedTree(host.PersonId(), kTreeWaiting, 0, {}))
          return kResultTree;
        state = 1;
        break;
      case 14:
        if (interrupted(7)) break;
        if (r.waitingOn == 0) {
          state = 1;
          break;
        }
        if (r.waitStart < 0) {
          if (host.PushNamedTree(host.PersonId(), kTreeAsk, r.waitingOn, {})) {
            r.waitStart = host.Now();
            return kResultTree;
          }
          state = 6;
          break;
        }
        if (host.Now() - r.waitStart < kAskTicks && host.PushNamedTree(host.PersonId(), kTreeWaiting, 0, {}))
          return kResultTree;
        state = 6;
        break;
      case 15:
      case 20:
        if (host.WalkAnimating()) return kResultWalking;
        state = state == 15 ? 1 : 19;
        break;
      case 16:
        if (r.failureCode == 0) r.failureCode = kRouteFailGeneric;
        host.SetWord(kWordFailure, static_cast<int16_t>(r.failureCode));
        state = 7;
        if ((r.slot.flags & kSlotFailureFeedback) != 0 && host.HasNamedTree(r.target, kTreeFeedback) &&
            host.PushNamedTree(r.target, kTreeFeedback, 0,
                               {static_cast<int16_t>(r.failureCode), r.blockingId, 0, 0})) {
          host.SetWord(kWordSaved, 0);
          state = 17;
          return kResultTree;
        }
        break;
      case 17:
        host.SetWord(kWordFailure, static_cast<int16_t>(r.failureCode));
        state = 7;
        break;
      case 18:
        switch (PrepareWalk(host, r)) {
          case WalkPrepared::kBlocked: state = 6; break;
          case WalkPrepared::kAlreadyThere: state = 8; break;
          case WalkPrepared::kReady: state = 12; break;
          case WalkPrepared::kTreePushed:
            host.SetWord(kWordSaved, 0);
            state = 4;
            return kResultTree;
        }
        break;
      default:
        state = 7;
        break;
    }
  }
  // The states above always come to an end within a few steps; never loop.
  host.Routes().back().failureCode = kRouteFailGeneric;
  return End(host, state, false);
}

int32_t RouteWalk::End(iRouteWalkHost& host, int32_t& state, bool arrived) {
  std::vector<PersonRoute>& routes = host.Routes();
  PersonRoute& r = routes.back();
  if (host.WalkAnimating()) {
    host.DumpStack();
    host.StopWalk();
  }
  host.SetWord(kWordFailure, static_cast<int16_t>(arrived ? 0 : r.failureCode));
  if (routes.size() == 1 && host.Word(kWordKeepsRoute) == 0) host.SetWord(kWordRouteDone, 1);
  host.ReleaseWaiters(arrived);
  if (r.waitingOn != 0) host.CancelAction(r.waitingOn, r.stepAsideSerial);
  routes.pop_back();
  state = 0;
  return arrived ? kResultTrue : kResultFalse;
}

bool RouteWalk::UsePortal(iRouteWalkHost& host, PersonRoute& route) {
  if (route.portal == 0 && !host.PrepareGoal(route.target)) return false;
  const int16_t portal = host.ChoosePortal(route.target);
  if (portal == 0) return false;
  if (!host.PushEntryTree(portal, kEntryPortal, {})) return false;
  host.MarkTaken(portal);
  route.portal = portal;
  return true;
}

WalkPrepared RouteWalk::PrepareWalk(iRouteWalkHost& host, PersonRoute& route) {
  if (!host.RoomKnown()) {
    route.goals.clear();
    return WalkPrepared::kBlocked;
  }
  std::vector<PathPoint>& path = host.Path();
  path.clear();
  if (!host.Plan(route, path) || path.empty()) {
    route.goals.clear();
    return WalkPrepared::kBlocked;
  }
  if (route.reachedGoal >= 0 && static_cast<size_t>(route.reachedGoal) < route.goals.size()) {
    const RouteGoal goal = route.goals[static_cast<size_t>(route.reachedGoal)];
    host.SetWord(kWordGoalParam, goal.param);
    if (goal.object != 0) {
      route.goals.clear();
      if (goal.object == host.SeatId()) return WalkPrepared::kAlreadyThere;
      if (host.PushEntryTree(goal.object, kEntryObjectGoal, {})) return WalkPrepared::kTreePushed;
      route.failureCode = kRouteFailBlocked;
      return WalkPrepared::kBlocked;
    }
  }
  if (path.size() >= 2 && !AppendFacingPoint(path, route.slot, host.Direction(), host.ObjectPosition(route.target),
                                             host.ObjectDirection(route.target)))
    return WalkPrepared::kBlocked;
  return WalkPrepared::kReady;
}

bool RouteWalk::AppendFacingPoint(std::vector<PathPoint>& path, const RoutingSlot& slot, int32_t personDirection,
                                  FinePoint target, int32_t targetDirection) {
  if (path.size() < 2) return true;
  const PathPoint last = path.back();
  const PathPoint before = path[path.size() - 2];
  PathPoint extra = last;
  const bool anyDirection = (slot.flags & kSlotDirections) != 0;
  if (slot.facing == -3) {
    extra = {last.x + (last.x - before.x), last.y + (last.y - before.y)};
    if (extra == last) extra = TileStep(last, personDirection);
  } else if (slot.facing >= 0 && slot.facing <= 7) {
    extra = TileStep(last, targetDirection + slot.facing);
  } else if (anyDirection && (slot.flags & kSlotEndAtTarget) != 0) {
    extra = {target.x, target.y};
  } else {
    int32_t d = OctantDirection({last.x, last.y}, target);
    if (!anyDirection && last.x == target.x && last.y == target.y) d = targetDirection;
    if (slot.facing == -1) d += 4;
    extra = TileStep(last, d);
  }
  if (extra == last) return false;
  path.push_back(extra);
  return true;
}

bool RouteWalk::FindBlockingPerson(iRouteWalkHost& host, PersonRoute& route) {
  if (host.Word(kWordPosture) != 0) return false;
  std::vector<RoutePerson> candidates;
  for (const RoutePerson& p : host.OtherPeople())
    if (!p.waiting && !route.IgnoresObject(p.facts)) candidates.push_back(p);
  if (candidates.empty()) return false;

  auto trial = [&]() {
    PersonRoute t(route.person, route.target, &route.slot, host.Position(), route.savedWord, host.RoomTiles());
    return t;
  };
  for (const RoutePerson& c : candidates) {
    PersonRoute t = trial();
    t.ignoredPerson = c.id;
    t.Begin(host.Site(t));
    std::vector<PathPoint> path;
    if (host.Plan(t, path) && !path.empty() && AskToStepAsideFrom(host, c, route, path)) return true;
  }
  PersonRoute t = trial();
  t.ignorePeople = true;
  t.Begin(host.Site(t));
  std::vector<PathPoint> path;
  if (!host.Plan(t, path) || path.size() < 2) return false;
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    const int64_t dx = int64_t{path[i + 1].x} - path[i].x, dy = int64_t{path[i + 1].y} - path[i].y;
    const int64_t n = std::max<int64_t>({std::llabs(dx), std::llabs(dy), 1});
    for (int64_t s = 0; s <= n; ++s) {
      const auto x = static_cast<int32_t>(path[i].x + dx * s / n), y = static_cast<int32_t>(path[i].y + dy * s / n);
      for (const RoutePerson& c : candidates)
        if (c.rect.Contains(x, y)) return AskToStepAsideFrom(host, c, route, path);
    }
  }
  return false;
}

RoutingSlot RouteWalk::StepAsideSlot(const std::vector<PathPoint>& path, const CostRect& rect, FinePoint blockerAt,
                                     bool wide) {
  bool haveEntry = false, haveExit = false;
  PathPoint entry{}, exit{};
  for (size_t i = 0; i + 1 < path.size() && !haveExit; ++i) {
    const int64_t dx = int64_t{path[i + 1].x} - path[i].x, dy = int64_t{path[i + 1].y} - path[i].y;
    const int64_t n = std::max<int64_t>({std::llabs(dx), std::llabs(dy), 1});
    for (int64_t s = 0; s <= n && !haveExit; ++s) {
      const PathPoint p{static_cast<int32_t>(path[i].x + dx * s / n), static_cast<int32_t>(path[i].y + dy * s / n)};
      const bool inside = rect.Contains(p.x, p.y);
      if (!haveEntry && inside) {
        haveEntry = true;
        entry = p;
      } else if (haveEntry && !inside) {
        haveExit = true;
        exit = p;
      }
    }
    if (haveEntry && !haveExit) exit = path[i];
  }
  if (!haveEntry) {
    entry = path.front();
    exit = {blockerAt.x, blockerAt.y};
  }
  const int32_t d = OctantDirection({entry.x, entry.y}, {exit.x, exit.y});
  RoutingSlot slot;
  slot.flags = (1 << WrapDirection(d + 2)) | (1 << WrapDirection(d + 6)) | kSlotEndAtTarget | kSlotRandomWeights;
  slot.distances = {16, 80, 16};
  slot.facing = -3;
  slot.params = {1, 0, 0};
  if (wide) {
    slot.flags |= 1 << WrapDirection(d);
    slot.distances = {16, 80, 80};
  }
  return slot;
}

bool RouteWalk::AskToStepAsideFrom(iRouteWalkHost& host, const RoutePerson& blocker, PersonRoute& route,
                                   const std::vector<PathPoint>& path) {
  if (host.HasStepAsideAction(blocker.id) || path.size() < 2 || host.CurrentRouteWaits(blocker.id)) return false;
  const int16_t marker = host.MakeMarker(blocker.id);
  if (marker == 0) return false;
  const FinePoint at = host.ObjectPosition(blocker.id);
  RoutingSlot slot = StepAsideSlot(path, blocker.rect, at, false);
  if (host.PlanFor(blocker.id, marker, slot).empty()) {
    slot = StepAsideSlot(path, blocker.rect, at, true);
    host.PlanFor(blocker.id, marker, slot);
  }
  const uint32_t serial = host.PushStepAside(blocker.id, marker, host.Word(kWordActionPriority));
  if (serial == 0) {
    host.DeleteMarker(marker);
    return false;
  }
  route.waitingOn = blocker.id;
  route.stepAsideSerial = serial;
  route.steppedAside = false;
  return true;
}

}  // namespace tova
