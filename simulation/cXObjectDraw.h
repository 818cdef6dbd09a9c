#pragma once
// Drawing live objects and definitions through the object drawer: a live
// object (and the cursor) as the drawer sees it, and thumbnails of a
// definition for the catalogue and family screens.

#include <cstdint>
#include <memory>
#include <vector>

#include "simulation/ObjectDrawing.h"

namespace tova {

class cXObject;
class ObjectDefinition;

// A live object as the drawer sees it; the objects in its slots are shown
// through adapters it keeps while it lives.
class DrawnLiveObject : public DrawnObject {
 public:
  DrawnLiveObject(cXObject& object, const ObjectDrawer& drawer) : object_(object), drawer_(drawer) {}

  int32_t Id() const override;
  int32_t TypeCode() const override;
  std::string Name() const override;
  int16_t Word(int32_t index) const override;
  void SetWord(int32_t index, int16_t value) override;
  int32_t Direction() const override;
  int32_t StateBits() const override;
  bool ShowsId() const override;
  int32_t RedrawState() const override;
  void SetRedrawStamp(uint32_t milliseconds) override;
  DrawnRect StoredRect() const override;
  void SetStoredRect(const DrawnRect& rect) override;
  float WorldX() const override;
  float WorldY() const override;
  float WorldHeight() const override;
  int32_t FirstDrawGroupId() const override;
  int32_t FirstSwitchableSprite() const override;
  int32_t MasterCategory() const override;
  const DrawGroup* DrawGroupOf(int32_t graphic) const override;
  SpriteDraw* Sprites() const override;
  std::vector<int16_t> DynamicSpriteWords() const override;
  std::vector<SlotContent> SlotContents() const override;
  std::vector<SlotPointIcons> SlotPoints() const override;
  bool IsPortal() const override;

 private:
  cXObject& object_;
  const ObjectDrawer& drawer_;
  mutable std::vector<std::unique_ptr<DrawnLiveObject>> contents_;
};

// What a thumbnail asks for.
struct ThumbnailRequest {
  static constexpr int32_t kWithFloorShadow = 1;
  int32_t graphic = 0;
  int32_t width = 0, height = 0;  // the box
  int32_t mode = 0;               // kWithFloorShadow lays the shadow under it
  int32_t zoom = 0;               // 0: the largest whose margins are 3 pixels
};

// Draws the definition centred in a box of the context's picture (the box
// at the context's origin) facing (its facing offset + 4) mod 8; a
// multi-tile master draws every part of its group, the nearest last; any
// other part of a group draws nothing. The rectangle drawn; the zoom used
// in zoomUsed.
DrawnRect RenderObjectThumbnail(ObjectDefinition& definition, const ThumbnailRequest& request, ObjectDrawer& drawer,
                                DrawingContext& context, int32_t* zoomUsed = nullptr);

}  // namespace tova
