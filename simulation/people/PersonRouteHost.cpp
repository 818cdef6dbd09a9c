#include "simulation/people/PersonRouteHost.h"

#include <algorithm>

#include "gamedata/LotInterfaces.h"
#include "gamedata/RoomManager.h"
#include "gamedata/SimRandom.h"
#include "simulation/ObjectErrorReport.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/PersonRouting.h"
#include "simulation/people/QueuedAction.h"
#include "simulation/people/cXPerson.h"
#include "simulation/people/RouteWords.h"
#include "simulation/people/cXPortal.h"

namespace tova {

namespace {

constexpr int32_t kFlagMayRoute = 0x8;
constexpr int32_t kKindPerson = 2;
constexpr int32_t kKindPortal = 8;

// Obstacles grow by less than half a tile (half of this).
constexpr int32_t kMostClearance = 14;

CostRect RectOf(const cXObject& o) {
  const LotBox box = o.GetFootprint();
  return {box.minX, box.minY, box.maxX, box.maxY, 0};
}

int32_t KindOf(const cXObject& o) {
  return o.GetDefinition() != nullptr ? o.GetDefinition()->GetRecord().ObjectType() : 0;
}

}  // namespace

PersonRouteHost::PersonRouteHost(cXPerson& person, RoomManager* rooms)
    : person_(person), module_(person.GetModule()), rooms_(rooms) {}

cXObject* PersonRouteHost::Object(int16_t id) { return module_ != nullptr && id != 0 ? module_->GetObjectById(id) : nullptr; }

cXPerson* PersonRouteHost::Person(int16_t id) {
  cXObject* o = Object(id);
  return o != nullptr && o->IsPerson() ? dynamic_cast<cXPerson*>(o) : nullptr;
}

int32_t PersonRouteHost::RoomOf(const cXObject& object) {
  iLotWorld* world = module_ != nullptr ? module_->GetWorld() : nullptr;
  if (world == nullptr) return kOutdoors;
  const int16_t room = world->GetRoomId(TileLocation::FromFine(object.GetPosition(), object.GetLevel()));
  return room == 0 ? kOutdoors : room;
}

// The room manager keeps the outdoors under the room layer's own number, 0.
Room* PersonRouteHost::RoomRecord(int32_t room) {
  if (rooms_ == nullptr) return nullptr;
  return rooms_->FindRoom(static_cast<int16_t>(room == kOutdoors ? 0 : room));
}

// ---- the person ----

int16_t PersonRouteHost::PersonId() { return person_.GetId(); }
std::vector<PersonRoute>& PersonRouteHost::Routes() { return person_.Routes(); }
std::vector<PathPoint>& PersonRouteHost::Path() { return person_.PathPoints(); }
int16_t PersonRouteHost::Word(int32_t n) { return n >= 0 && n < kPersonDataWords ? person_.Word(n) : 0; }
void PersonRouteHost::SetWord(int32_t n, int16_t value) {
  if (n >= 0 && n < kPersonDataWords) person_.SetWord(n, value);
}
bool PersonRouteHost::CanRoute() { return (person_.GetData(kDataFlags) & kFlagMayRoute) != 0; }
bool PersonRouteHost::Interrupted() { return person_.ShouldInterrupt(); }
FinePoint PersonRouteHost::Position() { return person_.GetPosition(); }
int32_t PersonRouteHost::Direction() { return person_.GetData(kDataDirection); }
int32_t PersonRouteHost::Now() { return static_cast<int32_t>(PeopleHost().GetTickCount()); }
// Every tile on the lot has a room, outdoors counting as one.
bool PersonRouteHost::RoomKnown() { return person_.IsOnLot(); }

int32_t PersonRouteHost::RoomTiles() {
  Room* room = RoomRecord(RoomOf(person_));
  return room != nullptr ? static_cast<int32_t>(room->GetTiles().size()) : 0;
}

int16_t PersonRouteHost::SeatId() {
  cXObject* seat = person_.GetContainer();
  return seat != nullptr ? seat->GetId() : 0;
}

// ---- targets ----

bool PersonRouteHost::TargetValid(int16_t target) {
  cXObject* o = Object(target);
  return o != nullptr && (o->GetStateFlags() & kStateBeingDeleted) == 0;
}

bool PersonRouteHost::InTargetRoom(int16_t target) {
  cXObject* o = Object(target);
  return o != nullptr && RoomOf(*o) == RoomOf(person_);
}

bool PersonRouteHost::IsPortal(int16_t object) {
  cXObject* o = Object(object);
  return o != nullptr && o->IsPortal();
}

FinePoint PersonRouteHost::ObjectPosition(int16_t object) {
  cXObject* o = Object(object);
  return o != nullptr ? o->GetPosition() : FinePoint::OffLot();
}

int32_t PersonRouteHost::ObjectDirection(int16_t object) {
  cXObject* o = Object(object);
  return o != nullptr ? o->GetData(kDataDirection) : 0;
}

// ---- trees ----

bool PersonRouteHost::PushEntryTree(int16_t object, int32_t entry, const std::vector<int16_t>& params) {
  cXObject* o = Object(object);
  if (o == nullptr || o->GetDefinition() == nullptr) return false;
  const int16_t tree = o->GetDefinition()->GetFunctionTreeId(entry);
  if (tree <= 0) return false;
  if (!person_.PushTree(o->GetBehavior(), params.empty() ? nullptr : params.data(), tree,
                        static_cast<int32_t>(params.size())))
    return false;
  if (TreeStackFrame* top = person_.CurrentFrame()) top->stackObject = object;
  return true;
}

bool PersonRouteHost::HasNamedTree(int16_t object, const std::string& name) {
  cXObject* o = Object(object);
  return o != nullptr && o->GetBehavior() != nullptr && o->GetBehavior()->LocateTree(name) != 0;
}

bool PersonRouteHost::PushNamedTree(int16_t object, const std::string& name, int16_t stackObject,
                                    const std::vector<int16_t>& params) {
  cXObject* o = Object(object);
  if (o == nullptr || o->GetBehavior() == nullptr) return false;
  const int16_t tree = o->GetBehavior()->LocateTree(name);
  if (tree == 0) return false;
  if (!person_.PushTree(o->GetBehavior(), params.empty() ? nullptr : params.data(), tree,
                        static_cast<int32_t>(params.size())))
    return false;
  if (TreeStackFrame* top = person_.CurrentFrame()) top->stackObject = stackObject;
  return true;
}

bool PersonRouteHost::LastTreeEndedTrue() { return person_.LastTarget() == kTargetTrue; }
bool PersonRouteHost::LastTreeResult() { return person_.LastResult(); }

void PersonRouteHost::DumpStack() {
  std::string text;
  ObjectErrorReport::DumpStack(person_, &text);
  PeopleHost().DebugLog(text);
}

// ---- goals and planning ----

iRouteSite& PersonRouteHost::Site(PersonRoute& route) {
  route_ = &route;
  return *this;
}

bool PersonRouteHost::PlanWith(cXPerson& who, PersonRoute& route, std::vector<PathPoint>& points) {
  RoutePlanFacts facts;
  facts.personName = who.GetName();
  facts.personId = who.GetId();
  facts.personRect = RectOf(who);
  // Obstacles grow by half the person's own width and one sixteenth more,
  // so a path that keeps clear of the grown rectangles, its corners rounded
  // to whole sixteenths, is one the whole person can walk; never by half a
  // tile, which would cover the standing points beside an object.
  facts.personClearance = static_cast<float>(std::min(
      std::max(facts.personRect.right - facts.personRect.left, facts.personRect.bottom - facts.personRect.top) + 2,
      kMostClearance));
  facts.ignoreObjects = who.Word(kWordIgnoreObjects) != 0;
  cXObject* target = Object(route.target);
  facts.targetId = route.target;
  if (target != nullptr && target->GetDefinition() != nullptr) facts.targetName = target->GetDefinition()->GetName();
  const int32_t room = RoomOf(who);
  facts.inTargetRoom = target != nullptr && RoomOf(*target) == room;
  facts.room = RoomRecord(room);
  facts.world = module_ != nullptr ? module_->GetWorld() : nullptr;
  if (module_ != nullptr) {
    for (cXObject* o = module_->FirstObject(); o != nullptr; o = o->GetNext()) {
      if (o == &who || !o->IsOnLot() || o->GetLevel() != who.GetLevel() || RoomOf(*o) != room) continue;
      RoomObjectForRoute r;
      r.facts.id = o->GetId();
      r.facts.heldInSlot = o->GetContainer() != nullptr;
      r.facts.word10 = o->GetData(10);
      r.facts.word8 = o->GetData(kDataFlags);
      r.facts.isPerson = o->IsPerson();
      r.facts.tilesAway = who.DistanceTo(*o);
      r.obstacle.footprint = RectOf(*o);
      r.obstacle.isPerson = KindOf(*o) == kKindPerson || o->IsPerson();
      r.obstacle.isPortal = KindOf(*o) == kKindPortal;
      r.obstacle.sideMask = static_cast<uint32_t>(o->GetWallSideMask());
      facts.objects.push_back(r);
    }
  }
  RoutePlanResult result;
  PlanRoute(MakeRoutePlanInput(route, facts), result);
  points = result.points;
  route.reachedGoal = result.reachedGoal;
  if (route.failureCode == 0) route.failureCode = result.failureCode;
  return !points.empty();
}

bool PersonRouteHost::Plan(PersonRoute& route, std::vector<PathPoint>& points) { return PlanWith(person_, route, points); }

// ---- the walk animation ----

void PersonRouteHost::StartWalk() { person_.Animator().StartFollow(); }
int32_t PersonRouteHost::WalkStep() { return person_.Animator().FollowStep(); }
// Still under way: an arrived follow (state 2) keeps its state for whoever
// reads it after the walk, and is not waited on.
bool PersonRouteHost::WalkAnimating() {
  const int32_t follow = person_.Animator().followState;
  return follow == 1 || follow == -1;
}
void PersonRouteHost::StopWalk() { person_.Animator().StopFollow(); }

bool PersonRouteHost::PlaceHere(int32_t direction) {
  if (direction >= 0) person_.SetData(kDataDirection, static_cast<int16_t>(direction & 7));
  const FinePoint at = person_.GetPosition();
  if (!person_.CanPlace(at, person_.GetLevel(), nullptr, 0)) return false;
  person_.Place(at, person_.GetLevel(), nullptr, 0);
  return true;
}

// ---- portals ----

bool PersonRouteHost::PrepareGoal(int16_t target) {
  return module_ != nullptr && cXPortal::PrepareGoal(*module_, person_, Object(target));
}

int16_t PersonRouteHost::ChoosePortal(int16_t target) {
  cXObject* goal = Object(target);
  if (module_ == nullptr || goal == nullptr) return 0;
  cXPortal* portal = cXPortal::ChoosePortal(*module_, person_, *goal);
  return portal != nullptr ? portal->GetId() : 0;
}

void PersonRouteHost::MarkTaken(int16_t portal) {
  auto* p = dynamic_cast<cXPortal*>(Object(portal));
  if (module_ != nullptr && p != nullptr) cXPortal::MarkTaken(*module_, person_, *p);
}

void PersonRouteHost::MarkFailed(int16_t portal) {
  auto* p = dynamic_cast<cXPortal*>(Object(portal));
  if (module_ != nullptr && p != nullptr) cXPortal::MarkFailed(*module_, person_, *p);
}

// ---- other people ----

std::vector<RoutePerson> PersonRouteHost::OtherPeople() {
  std::vector<RoutePerson> out;
  if (module_ == nullptr) return out;
  for (cXObject* o = module_->FirstObject(); o != nullptr; o = o->GetNext()) {
    auto* other = o != &person_ && o->IsPerson() && o->IsOnLot() ? dynamic_cast<cXPerson*>(o) : nullptr;
    if (other == nullptr || other->GetLevel() != person_.GetLevel()) continue;
    RoutePerson p;
    p.id = other->GetId();
    p.facts.id = other->GetId();
    p.facts.isPerson = true;
    p.facts.word8 = other->GetData(kDataFlags);
    p.facts.word10 = other->GetData(10);
    p.facts.tilesAway = person_.DistanceTo(*other);
    p.rect = RectOf(*other);
    p.waiting = std::any_of(other->Routes().begin(), other->Routes().end(),
                            [](const PersonRoute& r) { return r.waitingOn != 0; });
    out.push_back(p);
  }
  return out;
}

bool PersonRouteHost::HasStepAsideAction(int16_t person) {
  cXPerson* p = Person(person);
  return p != nullptr && p->HasStepAsideAction();
}

bool PersonRouteHost::CurrentRouteWaits(int16_t person) {
  cXPerson* p = Person(person);
  return p != nullptr && !p->Routes().empty() && p->Routes().back().waitingOn != 0;
}

int16_t PersonRouteHost::MakeMarker(int16_t person) {
  cXPerson* p = Person(person);
  if (module_ == nullptr || p == nullptr) return 0;
  ObjectDefinition* definition = PeopleHost().FindDefinition(*module_, kStepAsideGuid);
  if (definition == nullptr) return 0;
  const int16_t id = module_->CreateObject(definition);
  cXObject* marker = Object(id);
  if (marker == nullptr) return 0;
  if (p->IsOnLot()) marker->Place(p->GetPosition(), p->GetLevel(), nullptr, 0);
  return id;
}

void PersonRouteHost::DeleteMarker(int16_t marker) {
  if (module_ != nullptr && Object(marker) != nullptr) module_->DeleteObject(marker);
}

std::vector<PathPoint> PersonRouteHost::PlanFor(int16_t person, int16_t marker, const RoutingSlot& slot) {
  cXPerson* p = Person(person);
  cXObject* m = Object(marker);
  std::vector<PathPoint> points;
  if (p == nullptr || m == nullptr) return points;
  std::vector<RoutingSlot>& slots = m->RoutingSlots();
  if (slots.empty()) slots.push_back(slot);
  else slots[0] = slot;
  PersonRouteHost other(*p, rooms_);
  PersonRoute trial(person, marker, &slot, p->GetPosition(), p->Word(72), other.RoomTiles());
  trial.Begin(other.Site(trial));
  other.PlanWith(*p, trial, points);
  return points;
}

uint32_t PersonRouteHost::PushStepAside(int16_t person, int16_t marker, int16_t priority) {
  cXPerson* p = Person(person);
  cXObject* m = Object(marker);
  if (p == nullptr || m == nullptr) return 0;
  const QueuedAction action = QueuedAction::ForEntry(*p, m, kStepAsideEntryKey, priority);
  if (!p->PushAction(action)) return 0;
  for (int32_t n = p->QueuedCount() - 1; n >= 0; --n) {
    QueuedAction* q = p->GetQueuedAction(n);
    if (q != nullptr && q->target == marker) return q->serial;
  }
  return action.serial;
}

void PersonRouteHost::ReleaseWaiters(bool arrived) {
  if (module_ == nullptr) return;
  for (cXObject* o = module_->FirstObject(); o != nullptr; o = o->GetNext()) {
    auto* other = o != &person_ && o->IsPerson() ? dynamic_cast<cXPerson*>(o) : nullptr;
    if (other == nullptr || other->Routes().empty()) continue;
    PersonRoute& r = other->Routes().back();
    if (r.waitingOn != person_.GetId()) continue;
    r.waitingOn = 0;
    r.steppedAside = arrived;
  }
}

void PersonRouteHost::CancelAction(int16_t person, uint32_t serial) {
  if (cXPerson* p = Person(person)) p->CancelAction(serial);
}

// ---- iRouteSite ----

FinePoint PersonRouteHost::PersonPosition() { return person_.GetPosition(); }
int32_t PersonRouteHost::PersonLevel() { return person_.GetLevel(); }
int32_t PersonRouteHost::PersonRoom() { return RoomOf(person_); }
int32_t PersonRouteHost::PersonDirection() { return person_.GetData(kDataDirection); }
void PersonRouteHost::SetPersonDirection(int32_t direction) {
  person_.SetData(kDataDirection, static_cast<int16_t>(direction & 7));
}
int16_t PersonRouteHost::PersonWord(int32_t n) { return Word(n); }
void PersonRouteHost::SetPersonWord(int32_t n, int16_t value) { SetWord(n, value); }

RouteSnapObject PersonRouteHost::SnapOf(cXObject& object) {
  RouteSnapObject s;
  s.id = object.GetId();
  s.direction = object.GetData(kDataDirection);
  // The definition keeps no side mask of its own here: its wall-side mask stands in.
  s.sideMask = static_cast<uint16_t>(object.GetWallSideMask());
  s.heldObject = object.GetSlotObject(0);
  return s;
}

RouteSnapObject PersonRouteHost::PersonSeat() {
  cXObject* seat = person_.GetContainer();
  if (seat == nullptr || !seat->HasEntryTree(kEntryObjectGoal)) return {};
  return SnapOf(*seat);
}

FinePoint PersonRouteHost::TargetPosition(bool footprint) {
  cXObject* o = route_ != nullptr ? Object(route_->target) : nullptr;
  if (o == nullptr) return person_.GetPosition();
  return footprint ? o->GroupCentre() : o->GetPosition();
}

int32_t PersonRouteHost::TargetDirection() { return route_ != nullptr ? ObjectDirection(route_->target) : 0; }

int32_t PersonRouteHost::TargetLevel() {
  cXObject* o = route_ != nullptr ? Object(route_->target) : nullptr;
  return o != nullptr ? o->GetLevel() : person_.GetLevel();
}

bool PersonRouteHost::IsBorderTile(FinePoint point) {
  iLotWorld* world = module_ != nullptr ? module_->GetWorld() : nullptr;
  const int32_t size = world != nullptr ? world->GetSize() : kLotGridSize;
  return !IsInsideWorld(point) || IsOnBorder(point, size);
}

bool PersonRouteHost::IsInsideWorld(FinePoint point) {
  iLotWorld* world = module_ != nullptr ? module_->GetWorld() : nullptr;
  const int32_t size = world != nullptr ? world->GetSize() : kLotGridSize;
  return point.x >= 0 && point.y >= 0 && point.TileX() < size && point.TileY() < size;
}

int32_t PersonRouteHost::RoomAt(FinePoint point, int32_t level) {
  iLotWorld* world = module_ != nullptr ? module_->GetWorld() : nullptr;
  if (world == nullptr) return kOutdoors;
  const int16_t room = world->GetRoomId(TileLocation::FromFine(point, level));
  return room == 0 ? kOutdoors : room;
}

uint8_t PersonRouteHost::BlockMask(FinePoint point, int32_t level, int32_t rotation) {
  return module_ != nullptr ? module_->GetTileBlockMask(TileLocation::FromFine(point, level), rotation) : 0;
}

uint32_t PersonRouteHost::Corners(FinePoint point) {
  iLotWorld* world = module_ != nullptr ? module_->GetWorld() : nullptr;
  return world != nullptr ? world->GetCornerHeights(TileLocation::FromFine(point, person_.GetLevel())) : 0;
}

iRouteSite::Placement PersonRouteHost::TryPlacePerson(FinePoint point) {
  Placement p;
  p.fits = person_.CanPlace(point, person_.GetLevel(), nullptr, 0);
  if (p.fits) return p;
  p.code = cXObject::PlaceFailureCode();
  if (cXObject* blocker = cXObject::ObjectInTheWay()) {
    p.blocker = blocker->GetId();
    p.blockerIsPerson = blocker->IsPerson();
  }
  return p;
}

RouteSnapObject PersonRouteHost::SnapObjectAt(FinePoint point, int32_t level) {
  if (module_ == nullptr) return {};
  std::vector<cXObject*> here;
  module_->ObjectsInCell(TileLocation::FromFine(point, level), here);
  for (cXObject* o : here)
    if (o != nullptr && o != &person_ && o->HasEntryTree(kEntryObjectGoal)) return SnapOf(*o);
  return {};
}

int32_t PersonRouteHost::Random(int32_t n) { return n > 0 ? RandomLow(static_cast<uint32_t>(n)) : 0; }

}  // namespace tova
