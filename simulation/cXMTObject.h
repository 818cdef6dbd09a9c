#pragma once
// One part of an object that covers several tiles. The parts of a group are
// chained from the lead (the first part); each stands on its own tile at an
// offset from the lead that turns with the lead's direction. The group is
// placed, turned, picked up and removed as one. Parts whose definition has
// entry tree 8 join neighbouring groups of their kind when placed and can
// be split off again.

#include <cstdint>
#include <vector>

#include "simulation/cXObject.h"

namespace tova {

class cXMTObject : public cXObject {
 public:
  // Links the part at the end of the lead's chain (a null lead: a new
  // group with this part as its lead).
  cXMTObject(ObjectDefinition* definition, cXMTObject* lead, ObjectModule* module);
  ~cXMTObject() override;

  uint32_t GetTypeCode() const override;
  // Also reads the part's tile offsets (the sub-index's high byte y, low
  // byte x) and its storey offset (the part key) from the definition.
  void InitFromDefinition() override;
  bool Transfer(ReconStream& stream, int32_t version, bool replaced, BehaviorCodec& codec) override;
  using cXObject::Transfer;

  void ResetData(bool run) override;
  void PlaceAtCurrentLocation(int32_t version) override;
  void Rotate(int32_t steps) override;
  void RemoveFromWorld() override;
  bool CanPlace(FinePoint point, int32_t level, cXObject* container, int32_t slot) override;
  void Place(FinePoint point, int32_t level, cXObject* container, int32_t slot) override;
  bool IsSameObject(const cXObject* other) const override;
  bool CanPlaceAt(FinePoint point, int32_t level, cXObject* container, int32_t slot) override;
  void PlaceAndNotify(FinePoint point, int32_t level, cXObject* container, int32_t slot) override;
  bool CanPickUp() override;
  void PickUp() override { PickUpGroup(false); }
  // Splits the part from its joined group first when asked.
  void PickUpGroup(bool split);
  bool CanDelete() override;
  int32_t GetSaleValue() const override;
  bool IsGroupPart() const override { return true; }
  void GetGroup(std::vector<cXObject*>& out) override;
  void SplitFromGroup() override;

  // Every part's offset from the lead, turned by the lead's direction.
  virtual void UpdateOffsets();

  cXMTObject* GetLead() { return lead_ ? lead_ : this; }
  const cXMTObject* GetLead() const { return lead_ ? lead_ : this; }
  cXMTObject* GetNextPart() const { return nextPart_; }
  // The part's offset from the lead after turning, in tiles (y, x) and
  // storeys.
  int32_t RotatedY() const { return rotatedY_; }
  int32_t RotatedX() const { return rotatedX_; }
  int32_t RotatedLevel() const { return rotatedLevel_; }
  // The offsets the part has in its group before turning.
  void SetOffsets(int32_t y, int32_t x, int32_t level) { offsetY_ = y, offsetX_ = x, offsetLevel_ = level; }
  int32_t OffsetY() const { return offsetY_; }
  int32_t OffsetX() const { return offsetX_; }
  int32_t OffsetLevel() const { return offsetLevel_; }
  // Bit i: the neighbouring tile in direction (own direction + i) mod 8
  // holds a part of the same group.
  uint8_t NeighbourMask();

 private:
  FinePoint LeadPoint(FinePoint point) const;
  void Unlink();
  void LinkTo(cXMTObject* lead);
  // Takes the neighbouring groups of the same kind into one group.
  void JoinNeighbours();
  // Entry tree 8 on every part with its neighbour mask.
  void RunJoinTrees();

  cXMTObject* nextPart_ = nullptr;
  cXMTObject* lead_ = nullptr;
  int32_t offsetY_ = 0, offsetX_ = 0, offsetLevel_ = 0;
  int32_t rotatedY_ = 0, rotatedX_ = 0, rotatedLevel_ = 0;
};

}  // namespace tova
