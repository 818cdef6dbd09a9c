#include "simulation/people/cXPortal.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "resfile/ReconStream.h"
#include "resfile/TypeCode.h"
#include "simulation/ObjectDrawing.h"
#include "simulation/ObjectModule.h"
#include "simulation/XViewer.h"
#include "simulation/people/PortalWalls.h"

namespace tova {

namespace {

constexpr int32_t kSideEntries = 6;
// Records before these versions hold no costs, or hold them as integers.
constexpr int32_t kCostsSince = 15;
constexpr int32_t kFloatCostsSince = 38;
// Lots up to this version were saved before portals wrote their walls.
constexpr int32_t kLastVersionWithoutPortalWalls = 51;

bool InsideLot(TileLocation tile, int32_t size) {
  return tile.x >= 1 && tile.y >= 1 && tile.x <= size - 2 && tile.y <= size - 2;
}

int32_t LowestBitIndex(int32_t mask) {
  for (int32_t n = 0; n < kSideEntries; ++n) {
    if ((mask & (1 << n)) != 0) return n;
  }
  return -1;
}

}  // namespace

cXPortal::cXPortal(ObjectDefinition* definition, cXMTObject* lead, ObjectModule* module)
    : cXMTObject(definition, lead, module) {}

cXPortal::~cXPortal() = default;

uint32_t cXPortal::GetTypeCode() const { return TypeCode("DOOR"); }

// ---- costs ----

void cXPortal::SetCost(int32_t goal, float value) {
  if (goal < 1 || goal > kMaxGoalId) return;
  if (static_cast<int32_t>(costs_.size()) < goal) costs_.resize(static_cast<size_t>(goal), kNotComputed);
  costs_[static_cast<size_t>(goal - 1)] = value;
  if (goal == debugGoal_) MarkForRedraw(true);
}

float cXPortal::GetCost(int32_t goal) const {
  if (goal <= 0 || goal > static_cast<int32_t>(costs_.size())) return 0;
  return costs_[static_cast<size_t>(goal - 1)];
}

std::string cXPortal::CostLabel(int32_t goal) const {
  const float c = GetCost(goal);
  if (c == kNotComputed) return "U";
  if (c == kNoPath) return "R";
  if (c == kFailed) return "F";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(c));
  return text;
}

DrawnRect cXPortal::Draw(ObjectDrawer& drawer, DrawingContext& context) {
  DrawnRect drawn = cXMTObject::Draw(drawer, context);
  if (debugGoal_ == 0 || !IsPortalEnd()) return drawn;
  int32_t x = 0, y = 0;
  ObjectDrawer::ScreenPoint(context, x, y);
  drawn.Union(drawer.DrawLabel(CostLabel(debugGoal_), x, y, 0, context));
  return drawn;
}

int32_t cXPortal::GetContentsMaxValue() { return debugGoal_ != 0 ? INT_MAX : cXMTObject::GetContentsMaxValue(); }

bool cXPortal::Transfer(ReconStream& s, int32_t version, bool replaced, BehaviorCodec& codec) {
  if (!cXMTObject::Transfer(s, version, replaced, codec)) return false;
  if (version < kCostsSince) return true;
  int32_t count = static_cast<int32_t>(costs_.size());
  s.SerializeLongs(&count, 1);
  if (s.Failed()) return false;
  if (!s.IsReading()) {
    if (count > 0) s.SerializeFloats(costs_.data(), count);
    return !s.Failed();
  }
  if (count < 0) {
    s.Fail();
    return false;
  }
  // The costs are read in full, but no more than the goal ids there are
  // are kept.
  const int32_t kept = std::min(count, kMaxGoalId);
  costs_.assign(static_cast<size_t>(kept), 0.0f);
  float dropped = 0;
  for (int32_t i = 0; i < count && !s.Failed(); ++i) {
    float* into = i < kept ? &costs_[static_cast<size_t>(i)] : &dropped;
    if (version < kFloatCostsSince) {
      int32_t old = 0;
      s.SerializeLongs(&old, 1);
    } else {
      s.SerializeFloats(into, 1);
    }
  }
  return !s.Failed();
}

// ---- the portal's parts ----

bool cXPortal::IsPortalEnd() const {
  ObjectDefinition* d = GetDefinition();
  return d != nullptr && d->GetRecord().FunctionEntry(kPortalEntry) != 0;
}

cXPortal* cXPortal::Partner() {
  cXMTObject* p = this;
  for (;;) {
    p = p->GetNextPart() != nullptr ? p->GetNextPart() : p->GetLead();
    if (p == this) return nullptr;
    if (p->IsPortal()) {
      auto* portal = static_cast<cXPortal*>(p);
      if (portal->IsPortalEnd()) return portal;
    }
  }
}

int16_t cXPortal::GetDefinitionPortalWord() const {
  return GetDefinition() ? GetDefinition()->GetRecord().Word(kPortalWord * 2) : 0;
}

int32_t cXPortal::WallValue() const {
  return GetDefinition() ? GetDefinition()->GetRecord().Word(kWallValueWord * 2) : 0;
}

iPortalWalls* cXPortal::Walls() const {
  return GetModule() != nullptr ? dynamic_cast<iPortalWalls*>(GetModule()->GetWorld()) : nullptr;
}

int32_t cXPortal::DecodeWallSideBit(int32_t n, int32_t* part) {
  if (part == nullptr) return n >= 0 && n < 31 ? 1 << n : 0;
  *part = 0;
  switch (n) {
    case 4: *part = 2; return 16;
    case 5: *part = 4; return 16;
    case 6: *part = 1; return 32;
    case 7: *part = 3; return 32;
    default: return n >= 0 && n < 31 ? 1 << n : 0;
  }
}

void cXPortal::ApplyToWalls(int32_t value, bool notify) {
  iPortalWalls* walls = Walls();
  iLotWorld* world = GetModule() ? GetModule()->GetWorld() : nullptr;
  if (walls == nullptr || world == nullptr) return;
  const int32_t size = world->GetSize();
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->GetNextPart()) {
    if (!p->IsPortal()) continue;
    const int32_t own = static_cast<cXPortal*>(p)->WallValue();
    const int32_t mask = p->GetWallSideMask();
    const TileLocation tile = p->GetTile();
    if (own == 0 || mask == 0 || !InsideLot(tile, size)) continue;
    std::array<int32_t, 6> entries = walls->GetWallSideEntries(tile);
    for (int32_t n = 0; n < kSideEntries; ++n) {
      if ((mask & DecodeWallSideBit(n)) != 0) entries[static_cast<size_t>(n)] = value != 0 ? value : own;
    }
    walls->SetWallSideEntries(tile, entries);
  }
  if (notify) walls->RebuildWalls(GetLevel());
}

// ---- placement ----

bool cXPortal::CanPlace(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  cXMTObject* lead = GetLead();
  if (lead != this) {
    const FinePoint leadPoint{point.x - RotatedX() * 16, point.y - RotatedY() * 16};
    return lead->CanPlace(leadPoint, level - RotatedLevel(), container, slot);
  }
  if (!cXMTObject::CanPlace(point, level, container, slot)) return false;
  iPortalWalls* walls = Walls();
  iLotWorld* world = GetModule() ? GetModule()->GetWorld() : nullptr;
  if (walls != nullptr && world != nullptr) {
    for (cXMTObject* p = this; p != nullptr; p = p->GetNextPart()) {
      if (!p->IsPortal()) continue;
      const int32_t mask = p->GetWallSideMask();
      const TileLocation tile =
          TileLocation::FromFine({point.x + p->RotatedX() * 16, point.y + p->RotatedY() * 16}, level + p->RotatedLevel());
      if (static_cast<cXPortal*>(p)->WallValue() == 0 || mask == 0 || !InsideLot(tile, world->GetSize())) continue;
      if (walls->GetWallSideEntries(tile)[static_cast<size_t>(LowestBitIndex(mask))] != kPlainWall) {
        SetPlaceFailureCode(kCodeSideTaken);
        return false;
      }
    }
  }
  if (point.x % 16 != 8 || point.y % 16 != 8) {
    SetPlaceFailureCode(kCodeNotTileCentre);
    return false;
  }
  return true;
}

void cXPortal::Place(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  // Moved straight from one place to another (or off the lot): the walls it
  // leaves get their plain sides back first.
  if (IsOnLot()) ApplyToWalls(kPlainWall, point.IsOffLot());
  cXMTObject::Place(point, level, container, slot);
  ApplyToWalls(0, true);
  if (IsOnLot() && GetModule() != nullptr) {
    iLotWorld* world = GetModule()->GetWorld();
    NotifyViewersWorldChanged(GetTile().Rotate(world ? world->GetViewRotation() : 0));
  }
  if (GetModule() != nullptr) ResetAllCosts(*GetModule());
}

void cXPortal::PlaceAtCurrentLocation(int32_t version) {
  cXMTObject::PlaceAtCurrentLocation(version);
  if (version <= kLastVersionWithoutPortalWalls) ApplyToWalls(0, true);
}

void cXPortal::RemoveFromWorld() {
  const bool onLot = IsOnLot();
  const TileLocation tile = GetTile();
  ApplyToWalls(kPlainWall, true);
  iLotWorld* world = GetModule() ? GetModule()->GetWorld() : nullptr;
  if (onLot && world != nullptr && !tile.IsOnBorder(world->GetSize())) {
    NotifyViewersWorldChanged(tile.Rotate(world->GetViewRotation()));
  }
  cXMTObject::RemoveFromWorld();
  if (GetModule() != nullptr) ResetAllCosts(*GetModule());
}

// ---- routing over portal ends ----

std::vector<cXPortal*> cXPortal::PortalEnds(ObjectModule& lot) {
  std::vector<cXPortal*> ends;
  for (cXObject* o = lot.FirstObject(); o != nullptr; o = o->GetNext()) {
    if (o->IsPortal() && static_cast<cXPortal*>(o)->IsPortalEnd()) ends.push_back(static_cast<cXPortal*>(o));
  }
  return ends;
}

int32_t cXPortal::NewGoalId(ObjectModule& lot) {
  std::vector<bool> used(static_cast<size_t>(kMaxGoalId) + 1, false);
  for (cXObject* o = lot.FirstObject(); o != nullptr; o = o->GetNext()) {
    const int32_t g = GoalOf(*o);
    if (g >= 1 && g <= kMaxGoalId) used[static_cast<size_t>(g)] = true;
  }
  for (int32_t g = 1; g <= kMaxGoalId; ++g) {
    if (!used[static_cast<size_t>(g)]) return g;
  }
  return 0;
}

void cXPortal::ResetAllCosts(ObjectModule& lot) {
  for (cXPortal* p : PortalEnds(lot)) std::fill(p->costs_.begin(), p->costs_.end(), kNotComputed);
}

bool cXPortal::PrepareGoal(ObjectModule& lot, cXObject& person, cXObject*) {
  if (GoalOf(person) == 0) person.SetData(kGoalWord, static_cast<int16_t>(NewGoalId(lot)));
  const int32_t g = GoalOf(person);
  if (g < 1 || g > kMaxGoalId) return false;
  for (cXPortal* p : PortalEnds(lot)) p->SetCost(g, kNotComputed);
  return true;
}

float cXPortal::PathCost(cXPortal& from, cXPortal& to) {
  ObjectModule* lot = from.GetModule();
  if (lot == nullptr) return kNoPath;
  const std::vector<cXPortal*> ends = PortalEnds(*lot);
  if (GoalOf(from) == 0) {
    const int32_t fresh = NewGoalId(*lot);
    if (fresh == 0) return kNoPath;
    from.SetData(kGoalWord, static_cast<int16_t>(fresh));
    for (cXPortal* p : ends) p->SetCost(fresh, kNotComputed);
  }
  const int32_t g = GoalOf(from);
  if (g < 1 || g > kMaxGoalId) return kNoPath;
  if (from.GetCost(g) != kNotComputed) return to.GetCost(g);
  for (cXPortal* p : ends) p->SetCost(g, kNoPath);
  from.SetCost(g, 0);
  std::vector<cXPortal*> open{&from};
  while (!open.empty()) {
    // The lowest cost, scanning from the back: a later entry wins ties.
    size_t best = open.size() - 1;
    for (size_t i = open.size() - 1; i-- > 0;) {
      if (open[i]->GetCost(g) < open[best]->GetCost(g)) best = i;
    }
    cXPortal* here = open[best];
    open.erase(open.begin() + static_cast<std::ptrdiff_t>(best));
    const float own = here->GetCost(g);
    cXPortal* partner = here->Partner();
    for (cXPortal* l : ends) {
      if (l == here || (RoomOf(*l) != RoomOf(*here) && l != partner)) continue;
      if (l->GetCost(g) <= own) continue;
      const float cost = own + here->DistanceTo(*l) + 1.0f;
      if (cost < l->GetCost(g)) {
        l->SetCost(g, cost);
        open.push_back(l);
      }
    }
  }
  return to.GetCost(g);
}

cXPortal* cXPortal::ChoosePortal(ObjectModule& lot, cXObject& person, cXObject& goal) {
  const int32_t g = GoalOf(person);
  const std::vector<cXPortal*> ends = PortalEnds(lot);
  cXPortal* chosen = nullptr;
  for (cXPortal* p : ends) {
    if (RoomOf(*p) != RoomOf(person)) continue;
    if (p->GetCost(g) == kNotComputed) {
      p->SetCost(g, kNoPath);
      cXPortal* partner = p->Partner();
      for (cXPortal* s : ends) {
        if (RoomOf(*s) != RoomOf(goal)) continue;
        const float d = PathCost(*p, *s);
        if (d == kNoPath) continue;
        // Through p the way to s would only grow longer: p leads away.
        if (partner == nullptr || PathCost(*partner, *s) > d) continue;
        const float candidate = std::min(kCostCap, d + s->DistanceTo(goal) + person.DistanceTo(*p));
        if (candidate < p->GetCost(g)) p->SetCost(g, candidate);
      }
    }
    const float c = p->GetCost(g);
    if (c == kNoPath || c == kFailed) continue;
    if (chosen == nullptr || c < chosen->GetCost(g)) chosen = p;
  }
  return chosen;
}

void cXPortal::MarkFailed(ObjectModule&, cXObject& person, cXPortal& portal) {
  const int32_t g = GoalOf(person);
  portal.SetCost(g, kFailed);
  if (cXPortal* partner = portal.Partner()) partner->SetCost(g, kFailed);
}

void cXPortal::MarkTaken(ObjectModule& lot, cXObject& person, cXPortal& portal) {
  const int32_t g = GoalOf(person);
  const float c = portal.GetCost(g);
  cXPortal* partner = portal.Partner();
  float value = kFailed;
  if (c == kFailed) return;
  if (c < kFirstTaken || c > kLastTaken) {
    float highest = kFirstTaken - 1;
    for (cXPortal* p : PortalEnds(lot)) {
      const float other = p->GetCost(g);
      if (RoomOf(*p) == RoomOf(person) && other >= kFirstTaken && other <= kLastTaken) highest = std::max(highest, other);
    }
    value = highest + 1;
  }
  portal.SetCost(g, value);
  if (partner != nullptr) partner->SetCost(g, value);
}

bool cXPortal::GoThroughPortal(cXObject& person, PortalRouteContext& context) {
  ObjectModule* lot = person.GetModule();
  if (lot == nullptr || context.goal == nullptr) return false;
  if (context.portal == nullptr && !PrepareGoal(*lot, person, context.goal)) return false;
  cXPortal* portal = ChoosePortal(*lot, person, *context.goal);
  if (portal == nullptr || portal->GetDefinition() == nullptr) return false;
  const int16_t tree = portal->GetDefinition()->GetFunctionTreeId(kPortalEntry);
  if (tree == 0 || !person.PushTreeCall(portal->GetBehavior(), tree, portal->GetId(), false)) return false;
  MarkTaken(*lot, person, *portal);
  context.portal = portal;
  return true;
}

}  // namespace tova
