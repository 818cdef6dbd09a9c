#pragma once
// The object that follows the mouse in build and buy mode: a group of
// cursor parts, one per part of the object (or group) it carries. Moving
// it tries the carried object at the new place (or in a slot of what stands
// there) and puts it there when it fits; removing the cursor drops the
// carried object where it was last put, or deletes it.

#include <climits>
#include <cstdint>

#include "simulation/cXMTObject.h"

namespace tova {

class cXCursorObject : public cXMTObject {
 public:
  cXCursorObject(ObjectDefinition* definition, cXCursorObject* lead, ObjectModule* module);

  // Cursor parts of the cursor definition carrying the object of that id
  // (its whole group; 0: a bare cursor), placed at its point on the level
  // (1 for 0). The cursor part carrying the id, or 0 when the object may
  // not be picked up or a part cannot be registered.
  static int16_t AttachToCursor(ObjectModule& module, int16_t carriedId, ObjectDefinition* cursorDefinition,
                                int32_t level);
  // A new object of the definition on a cursor, marked as a purchase.
  static int16_t AttachNewObjectToCursor(ObjectModule& module, ObjectDefinition* definition,
                                         ObjectDefinition* cursorDefinition, int32_t level);

  uint32_t GetTypeCode() const override;
  bool IsCursor() const override { return true; }
  int32_t GetContentsMaxValue() override { return INT_MAX; }
  // Copies each carried part's rotation step and direction and marks it
  // held.
  void ResetData(bool run) override;
  void Rotate(int32_t steps) override;
  void RemoveFromWorld() override;
  // The cursor may stand on any tile of the lot's grid.
  bool CanPlace(FinePoint point, int32_t level, cXObject* container, int32_t slot) override;
  // Moves the cursor and tries the carried object there; the code is left
  // in PlaceFailureCode().
  void Place(FinePoint point, int32_t level, cXObject* container, int32_t slot) override;
  void UpdateOffsets() override;
  // Its own sprites, then the carried object faded at the cursor while it
  // is not put down (in cXObjectDraw.cpp).
  DrawnRect Draw(ObjectDrawer& drawer, DrawingContext& context) override;
  void DropOrDeleteCarried() override;
  // Forgets the carried object without putting it down.
  void LetGo();
  // Turns one step at a time (at most 8) until the carried object (or the
  // cursor) faces the direction.
  void RotateTo(int32_t direction);

  cXObject* GetCarried() const { return carried_; }
  bool IsCarriedPlaced() const { return carriedPlaced_; }
  bool IsPurchase() const { return priceToPay_; }
  void SetPurchase(bool purchase);
  int16_t GetTargetContainer() const { return targetContainer_; }
  int16_t GetTargetSlot() const { return targetSlot_; }
  int16_t GetFormerContainer() const { return formerContainer_; }
  int16_t GetFormerSlot() const { return formerSlot_; }
  FinePoint GetLastPoint() const { return lastPoint_; }

 private:
  cXCursorObject* CursorLead() { return static_cast<cXCursorObject*>(GetLead()); }
  cXObject* CarriedLead() const;
  void Move(FinePoint point, int32_t level);
  void ClearLinks();
  // The first slot of the objects at the point's tile that takes the
  // carried object; false when none does.
  bool FindContainerTarget(cXObject& carried, FinePoint point, int32_t level);
  void TurnToContainer(cXObject& carried, cXObject& container, FinePoint point, int32_t level);

  cXObject* carried_ = nullptr;
  bool carriedPlaced_ = false;
  bool priceToPay_ = false;
  FinePoint lastPoint_ = FinePoint::OffLot();
  int32_t lastLevel_ = 1;
  int16_t targetContainer_ = 0, targetSlot_ = 0;
  int16_t formerContainer_ = 0, formerSlot_ = 0;
};

}  // namespace tova
