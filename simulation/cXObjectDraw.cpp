#include "simulation/cXObjectDraw.h"

#include <algorithm>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXCursorObject.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

int16_t CategoryOfMaster(ObjectDefinition* definition) {
  if (definition == nullptr) return 0;
  ObjectDefinition* master = definition->GetMasterDefinition();
  return (master != nullptr ? master : definition)->GetRecord().Word(ObjectDefinitionRecord::kCategory);
}

// A definition drawn on its own with a graphic and a facing: thumbnails.
class DrawnDefinition : public DrawnObject {
 public:
  DrawnDefinition(ObjectDefinition& definition, int32_t graphic, int32_t direction, SpriteDraw* sprites)
      : definition_(definition), graphic_(graphic), direction_(direction), sprites_(sprites) {}

  int32_t Id() const override { return 0; }
  int32_t TypeCode() const override { return definition_.GetRecord().ObjectType(); }
  std::string Name() const override { return definition_.GetName(); }
  int16_t Word(int32_t index) const override { return index == 0 ? static_cast<int16_t>(graphic_) : 0; }
  void SetWord(int32_t, int16_t) override {}
  int32_t Direction() const override { return direction_; }
  int32_t StateBits() const override { return 0; }
  bool ShowsId() const override { return false; }
  int32_t RedrawState() const override { return 0; }
  void SetRedrawStamp(uint32_t) override {}
  DrawnRect StoredRect() const override { return {}; }
  void SetStoredRect(const DrawnRect&) override {}
  float WorldX() const override { return 0; }
  float WorldY() const override { return 0; }
  float WorldHeight() const override { return 0; }
  int32_t FirstDrawGroupId() const override {
    return definition_.GetRecord().Word(ObjectDefinitionRecord::kFirstDrawGroup);
  }
  int32_t FirstSwitchableSprite() const override {
    return definition_.GetRecord().Word(ObjectDefinitionRecord::kFirstSwitchSprite);
  }
  int32_t MasterCategory() const override { return CategoryOfMaster(&definition_); }
  const DrawGroup* DrawGroupOf(int32_t graphic) const override { return definition_.GetDrawGroup(graphic); }
  SpriteDraw* Sprites() const override { return sprites_; }
  std::vector<int16_t> DynamicSpriteWords() const override { return {}; }
  std::vector<SlotContent> SlotContents() const override { return {}; }
  std::vector<SlotPointIcons> SlotPoints() const override { return {}; }
  bool IsPortal() const override { return false; }

 private:
  ObjectDefinition& definition_;
  int32_t graphic_, direction_;
  SpriteDraw* sprites_;
};

// Answers where the frames would go without drawing them: a thumbnail is
// measured before it is placed in its box.
class MeasuringSprites : public SpriteDraw {
 public:
  explicit MeasuringSprites(SpriteDraw& real) : real_(real) {}
  int32_t FrameCount(int32_t id) const override { return real_.FrameCount(id); }
  bool FrameInfo(int32_t id, int32_t frame, int32_t& w, int32_t& h, int32_t& ox, int32_t& oy) const override {
    return real_.FrameInfo(id, frame, w, h, ox, oy);
  }
  DrawnRect DrawFrame(int32_t id, int32_t frame, int32_t x, int32_t y, const DrawingContext&) override {
    int32_t w = 0, h = 0, ox = 0, oy = 0;
    if (!real_.FrameInfo(id, frame, w, h, ox, oy)) return {};
    return {x - ox, y - oy, x - ox + w, y - oy + h};
  }

 private:
  SpriteDraw& real_;
};

struct ThumbnailPart {
  ObjectDefinition* definition;
  int32_t dx, dy;  // tiles from the master, turned by the facing
};

}  // namespace

// ---- a live object ----

int32_t DrawnLiveObject::Id() const { return object_.GetId(); }
int32_t DrawnLiveObject::TypeCode() const {
  return object_.GetDefinition() != nullptr ? object_.GetDefinition()->GetRecord().ObjectType() : 0;
}
std::string DrawnLiveObject::Name() const {
  return object_.GetDefinition() != nullptr ? object_.GetDefinition()->GetName() : std::string();
}
int16_t DrawnLiveObject::Word(int32_t index) const {
  return index >= 0 && index < kObjectDataWords ? object_.GetData(index) : 0;
}
void DrawnLiveObject::SetWord(int32_t index, int16_t value) {
  if (index >= 0 && index < kObjectDataWords) object_.SetData(index, value);
}
int32_t DrawnLiveObject::Direction() const { return object_.GetData(kDataDirection); }
int32_t DrawnLiveObject::StateBits() const { return static_cast<int32_t>(object_.GetStateFlags() & kStateMask); }
bool DrawnLiveObject::ShowsId() const { return object_.ShowsId(); }
int32_t DrawnLiveObject::RedrawState() const { return object_.GetRedrawState(); }
void DrawnLiveObject::SetRedrawStamp(uint32_t milliseconds) {
  object_.SetRedrawStamp(static_cast<int32_t>(milliseconds & 0x7FFFFFFF));
}
DrawnRect DrawnLiveObject::StoredRect() const {
  const ScreenBox& box = object_.ScreenRectangle();
  return {box.left, box.top, box.right, box.bottom};
}
void DrawnLiveObject::SetStoredRect(const DrawnRect& rect) {
  object_.ScreenRectangle() = ScreenBox{rect.left, rect.top, rect.right, rect.bottom};
}
float DrawnLiveObject::WorldX() const { return static_cast<float>(object_.GetPosition().x) / 16.0f; }
float DrawnLiveObject::WorldY() const { return static_cast<float>(object_.GetPosition().y) / 16.0f; }
float DrawnLiveObject::WorldHeight() const { return object_.GetAltitude(); }
int32_t DrawnLiveObject::FirstDrawGroupId() const {
  ObjectDefinition* d = object_.GetDefinition();
  return d != nullptr ? d->GetRecord().Word(ObjectDefinitionRecord::kFirstDrawGroup) : 0;
}
int32_t DrawnLiveObject::FirstSwitchableSprite() const {
  ObjectDefinition* d = object_.GetDefinition();
  return d != nullptr ? d->GetRecord().Word(ObjectDefinitionRecord::kFirstSwitchSprite) : 0;
}
int32_t DrawnLiveObject::MasterCategory() const { return CategoryOfMaster(object_.GetDefinition()); }
const DrawGroup* DrawnLiveObject::DrawGroupOf(int32_t graphic) const {
  ObjectDefinition* d = object_.GetDefinition();
  return d != nullptr ? d->GetDrawGroup(graphic) : nullptr;
}
SpriteDraw* DrawnLiveObject::Sprites() const { return drawer_.SpritesOf(object_.GetDefinition()); }
std::vector<int16_t> DrawnLiveObject::DynamicSpriteWords() const { return object_.DynamicSprites(); }
bool DrawnLiveObject::IsPortal() const { return object_.IsPortal(); }

std::vector<SlotContent> DrawnLiveObject::SlotContents() const {
  std::vector<SlotContent> out;
  ObjectModule* module = object_.GetModule();
  if (module == nullptr) return out;
  const std::vector<ObjectSlotEntry>& entries = object_.Slots();
  for (int32_t n = 0; n < object_.SlotCount(); ++n) {
    cXObject* held = module->GetObjectById(object_.GetSlotObject(n));
    if (held == nullptr) continue;
    const ObjectSlotEntry& entry = entries[static_cast<size_t>(n) + 1];
    contents_.push_back(std::make_unique<DrawnLiveObject>(*held, drawer_));
    out.push_back({entry.x, entry.y, entry.z, contents_.back().get()});
  }
  return out;
}

std::vector<SlotPointIcons> DrawnLiveObject::SlotPoints() const {
  std::vector<SlotPointIcons> out;
  for (const SlotPoint& p : object_.GetSlotPoints()) {
    SlotPointIcons icons;
    icons.height = p.z;
    icons.firstIcon = p.iconSprite1;
    icons.secondIcon = p.iconSprite2;
    icons.remainingTicks = p.cycle.Remaining();
    icons.graphic = p.cycle.Graphic();
    icons.frameIndex = p.cycle.Frame();
    const ObjectDefinition* cycle = p.cycle.Definition();
    icons.cycleDefinition = cycle;
    icons.cycleIsPerson = cycle != nullptr && cycle->IsPerson();
    icons.cycleSprites = drawer_.SpritesOf(cycle);
    out.push_back(icons);
  }
  return out;
}

DrawnRect cXObject::Draw(ObjectDrawer& drawer, DrawingContext& context) {
  DrawnLiveObject drawn(*this, drawer);
  return drawer.Draw(drawn, context);
}

DrawnRect cXCursorObject::Draw(ObjectDrawer& drawer, DrawingContext& context) {
  DrawnRect drawn = cXObject::Draw(drawer, context);
  if (carried_ == nullptr || carriedPlaced_ || !IsOnLot()) return drawn;
  // The carried object shows where the cursor is, faded, and goes back to
  // where it really stands.
  const FinePoint real = carried_->GetPosition();
  const int32_t realLevel = carried_->GetLevel();
  carried_->SetPosition(GetPosition());
  carried_->SetLevel(GetLevel());
  const DrawingContext saved = context;
  context.seeThrough = true;
  context.opacity = 0.5f;
  drawn.Union(carried_->Draw(drawer, context));
  context = saved;
  carried_->SetPosition(real);
  carried_->SetLevel(realLevel);
  return drawn;
}

// ---- thumbnails ----

DrawnRect RenderObjectThumbnail(ObjectDefinition& definition, const ThumbnailRequest& request, ObjectDrawer& drawer,
                                DrawingContext& context, int32_t* zoomUsed) {
  const ObjectDefinitionRecord& record = definition.GetRecord();
  const int32_t direction = ThumbnailDirection(record.Word(ObjectDefinitionRecord::kFacingOffset));
  std::vector<ThumbnailPart> parts;
  if (record.MasterId() == 0) {
    parts.push_back({&definition, 0, 0});
  } else if (record.SubIndex() == -1) {
    ObjectFolder* folder = definition.GetOwner();
    for (int n = 0; folder != nullptr; ++n) {
      ObjectDefinition* part = folder->FindPartByOrdinal(definition, n);
      if (part == nullptr) break;
      const auto sub = static_cast<uint16_t>(part->GetRecord().SubIndex());
      float x = static_cast<int8_t>(sub & 0xFF), y = static_cast<int8_t>(sub >> 8);
      ObjectDrawer::TurnOffset(direction, x, y);
      parts.push_back({part, static_cast<int32_t>(x), static_cast<int32_t>(y)});
    }
  }
  if (zoomUsed != nullptr) *zoomUsed = 0;
  if (parts.empty()) return {};  // a part of a group draws nothing alone
  // Farthest first, so nearer parts cover them.
  std::stable_sort(parts.begin(), parts.end(),
                   [](const ThumbnailPart& a, const ThumbnailPart& b) { return a.dx + a.dy < b.dx + b.dy; });

  const DrawingContext saved = context;
  context.project = nullptr;
  context.overlay = nullptr;
  context.rotation = 0;
  auto drawAll = [&](int32_t zoom, int32_t x, int32_t y, bool measure) {
    DrawnRect drawn;
    context.zoom = zoom;
    for (const ThumbnailPart& part : parts) {
      SpriteDraw* sprites = drawer.SpritesOf(part.definition);
      std::unique_ptr<MeasuringSprites> measuring;
      if (measure && sprites != nullptr) {
        measuring = std::make_unique<MeasuringSprites>(*sprites);
        sprites = measuring.get();
      }
      int32_t px = 0, py = 0;
      GroupPartOffset(part.dx, part.dy, zoom, px, py);
      context.originX = x + px;
      context.originY = y + py;
      context.picture.pixels = measure ? nullptr : saved.picture.pixels;
      DrawnDefinition drawn1(*part.definition, request.graphic, direction, sprites);
      drawn.Union(drawer.Draw(drawn1, context));
    }
    return drawn;
  };

  int32_t zoom = request.zoom;
  if (zoom <= 0) {
    const DrawnRect near = drawAll(3, 0, 0, true);
    zoom = near.Empty() ? 3
                        : ThumbnailZoom(near.right - near.left, near.bottom - near.top, request.width, request.height);
  }
  const DrawnRect extent = drawAll(zoom, 0, 0, true);
  DrawnRect drawn;
  if (!extent.Empty()) {
    const int32_t x = saved.originX + (request.width - (extent.right - extent.left)) / 2 - extent.left;
    const int32_t y = saved.originY + (request.height - (extent.bottom - extent.top)) / 2 - extent.top;
    context.zoom = zoom;
    context.picture = saved.picture;
    if ((request.mode & ThumbnailRequest::kWithFloorShadow) != 0 && drawer.FloorShadows() != nullptr)
      drawn.Union(drawer.FloorShadows()->DrawFloorShadow(&definition, direction, x, y, context));
    drawn.Union(drawAll(zoom, x, y, false));
  }
  context = saved;
  if (zoomUsed != nullptr) *zoomUsed = zoom;
  return drawn;
}

}  // namespace tova
