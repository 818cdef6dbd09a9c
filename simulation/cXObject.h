#pragma once
// A live object of the current lot: a behaviour-tree interpreter bound to one
// object definition and owned by the lot's object module. It holds the words
// the primitives read and write (attributes, temps, the 72 object-data
// words, dynamic sprite switches), its place, its slots, and carries out the
// primitives of its trees. Persons derive from it and answer the person
// reads (motives, person data, sleep and the rest).

#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gamedata/LotInterfaces.h"
#include "gamedata/Motives.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/SlotDescriptor.h"
#include "gamedata/TilePosition.h"
#include "resfile/KeyedArrayList.h"
#include "simulation/BalloonPrimitive.h"
#include "simulation/TreeZaz.h"

struct DrawnRect;
struct DrawingContext;
class ObjectDrawer;

namespace tova {

class ObjectModule;

constexpr int32_t kObjectDataWords = 72;
constexpr int32_t kTempCount = 8;
constexpr int32_t kPersonDataWords = 80;
constexpr int32_t kDefinitionRecordWords = 108;

// Object-data words the interpreter and placement use.
enum ObjectDataWord : int32_t {
  kDataGraphic = 0,
  kDataDirection = 1,
  kDataContainer = 2,
  kDataSlotIndex = 3,
  kDataSlotKinds = 4,
  kDataWallAdjacency = 5,
  kDataRoomImpact = 7,
  kDataFlags = 8,
  kDataOwnId = 11,
  kDataWallPlacement = 13,
  kDataContainment = 14,
  kDataDepreciated = 15,
  kDataTileNotice = 16,
  kDataAgeYears = 18,
  kDataCreationMinute = 21,
  kDataRotationStep = 23,
  kDataCreationHour = 24,
  kDataIdleCountdown = 25,
  kDataContainerAtPosition = 26,
  kDataSize = 27,
  kDataCapacity = 28,
  kDataRoom = 29,
  kDataTileFlagRule = 30,
  kDataHidden = 34,
  kDataRoomValue = 39,
  kDataValue = 41,
  kDataPlacement = 42,
  kDataMovement = 43,
  kDataCreationYear = 45,
  kDataCreationMonth = 46,
  kDataCreationDay = 47,
  kDataAgeMonths = 48,
  kDataBlocking = 53,
  kDataDefinitionWord98 = 58,
  kDataValueClass = 59,
  kDataSchedulerFlag = 60,
  kDataUseCount = 62,
  kDataExclusive = 63,
  kDataSlotCount = 67,
};

// Bits of word 8 (flags), 42 (placement) and 43 (movement).
enum : int16_t {
  kFlagBlockA = 0x0002,
  kFlagNonBlocking = 0x0004,
  kFlagBlockB = 0x0010,
  kFlagInUse = 0x0020,
  kFlagFacedByObject = 0x0100,
  kPlaceOnFloor = 0x0001,
  kPlaceOnGround = 0x0002,
  kPlaceOnWater = 0x0004,
  kPlaceOldLot = 0x0080,
  kPlaceUnevenGround = 0x0100,
  kPlaceNoFloorAbove = 0x0200,
  kPlaceNoRoutingTest = 0x0400,
  kPlaceInShallowPool = 0x0800,
  kPlaceNotInDeepPool = 0x1000,
  kMovePickUp = 0x0002,
  kMoveDelete = 0x0008,
};
// Word 42 bit 0x1000 also forbids levels above 1 (tested before the pool
// rule reads it as "not in deep pool").
constexpr int16_t kPlaceGroundLevelOnly = 0x1000;

// Entry trees of the function table that placement and resets run.
enum EntryTree : int32_t {
  kEntryInit = 0,
  kEntryMain = 1,
  kEntryLoad = 2,
  kEntryReset = 3,
  kEntryAllowOverlap = 5,
  kEntryWallAdjacency = 6,
  kEntryRelevel = 7,
  kEntryJoin = 8,
  kEntryPlaced = 9,
  kEntryRemoved = 10,
  kEntryUserPlaced = 11,
  kEntryPickedUp = 12,
  kEntryFacedChanged = 25,
  kEntryFacing = 26,
};

// Placement failure codes the tools show and the primitives branch on.
enum PlaceCode : int32_t {
  kPlaceOk = 0,
  kPlaceBorder = 1,
  kPlaceBadLevel = 2,
  kPlaceRouting = 7,
  kPlaceNeedsFlag = 9,
  kPlaceFlagForbids = 10,
  kPlaceOverlap = 11,
  kPlaceNonBlockingSlot = 12,
  kPlaceNoSuchSlot = 13,
  kPlaceTooBig = 14,
  kPlaceGroupInSlot = 16,
  kPlaceUneven = 17,
  kPlaceNoFloorViewed = 18,
  kPlaceFloored = 19,
  kPlaceUnfloored = 20,
  kPlaceCannotAfford = 21,
  kPlaceSameWall = 22,
  kPlaceWrongKind = 24,
  kPlaceWater = 29,
  kPlaceDeepPool = 30,
  kPlaceAboveGround = 31,
  kPlaceCounterOnly = 36,
  kPlaceCannotPickUp = 37,
  kPlaceInUse = 38,
  kPlaceProtectedTile = 39,
  kPlaceNoFloor = 41,
  kPlaceFlooredOffView = 42,
};

// What FindFreeLocation looks for.
struct FreeLocationRequest {
  bool fixedStart = false;
  FinePoint start;
  int32_t level = 1;
  int32_t direction = -1;  // -1 a spiral; 0 or 4 along x; 2 or 6 along y
  bool sameRoom = false;
  bool emptyTile = false;
  bool tileFlag = false;
};

// State flags.
enum : uint32_t {
  kStateMask = 0x1F,
  kStateBeingDeleted = 0x40,
  kStateCreated = 0x80,
  kStateInError = 0x100,
  kStateConstructed = 0x200,
  kStateQueuedQuietly = 0x1000,
};

// Variable owners of operand access.
enum VariableOwner : int32_t {
  kOwnerMyAttribute = 0,
  kOwnerStackObjAttribute = 1,
  kOwnerMyData = 3,
  kOwnerStackObjData = 4,
  kOwnerGlobal = 6,
  kOwnerLiteral = 7,
  kOwnerTemp = 8,
  kOwnerParam = 9,
  kOwnerStackObjectId = 10,
  kOwnerTempByTemp = 11,
  kOwnerMotiveTableWord2 = 12,
  kOwnerStackObjTemp = 13,
  kOwnerMyMotive = 14,
  kOwnerStackObjMotive = 15,
  kOwnerStackObjSlot = 16,
  kOwnerStackObjMotiveByTemp = 17,
  kOwnerMyPersonData = 18,
  kOwnerStackObjPersonData = 19,
  kOwnerMySlot = 20,
  kOwnerStackObjDefinition = 21,
  kOwnerStackObjAttributeByParam = 22,
  kOwnerRoom = 23,
  kOwnerNeighborhoodValue = 24,
  kOwnerLocal = 25,
  kOwnerConstant = 26,
  kOwnerStackObjDynSpriteByTemp = 27,
  kOwnerMotiveTableWord0 = 28,
  kOwnerMotiveTableWord1 = 29,
  kOwnerMyPersonDataByTemp = 30,
  kOwnerStackObjPersonDataByTemp = 31,
  kOwnerNeighborPersonData = 32,
  kOwnerJobData = 33,
  kOwnerNeighborhoodGlobal = 34,
  kOwnerStackObjHasEntryTree = 35,
  kOwnerMyDefinitionExtra = 36,
  kOwnerStackObjDefinitionExtra = 37,
  kOwnerNeighborDefinition = 38,
};

// One containment slot: the leading entry, then one per object slot of the
// definition's 'SLOT' resource.
struct ObjectSlotEntry {
  float x = 0, y = 0, z = 0;
  int16_t object = 0;
  int32_t kind = 1;
};

// One entry of a person's action queue as the queue dump shows it.
struct QueuedActionInfo {
  bool present = false;
  std::string name;
  int16_t target = 0;
  int16_t treeId = 0;
  std::string treeName;
  int32_t priority = 0;
  int32_t entryIndex = 0;
};

struct ScreenBox {
  int32_t left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};

class PrimProfiler;

class cXObject : public TreeZaz, public iBalloonHolder {
  friend class ObjectModule;

 public:
  // The definition's reference is taken here and given back at destruction.
  cXObject(ObjectDefinition* definition, ObjectModule* module);
  ~cXObject() override;

  int32_t RunPrimitive(TreeStackFrame& frame, TreeNode node) override;
  void OnError(int16_t code) override;
  bool Tick() override;
  // Pushes a call on this object's stack: the Behavior's tree with zero
  // parameters and the given stack object; false when refused.
  virtual bool PushTreeCall(Behavior* behavior, int32_t treeId, int16_t stackObject, bool flag);
  virtual void InitFromDefinition();

  // The object's record in the lot's object record at the given version;
  // replaced says it was read with a replacement definition (direction 0).
  // False when the bytes cannot hold what they claim.
  virtual bool Transfer(ReconStream& stream, int32_t version, bool replaced, BehaviorCodec& codec);
  // The frame stack alone.
  using TreeZaz::Transfer;
  // The record's first part: footprint box, point, level, the id (lots
  // before version 47), direction.
  void TransferPositionBlock(ReconStream& stream, int32_t version);
  // After reading a lot old enough to lack them: the container and slot
  // words follow from the containment the object was read with.
  void RestoreContainerWords() { SetContainment(data_[kDataContainerAtPosition], data_[kDataContainment]); }
  // 'XOBJ' for a plain object.
  virtual uint32_t GetTypeCode() const;

  // ---- resets and placement ----
  // Restarts the object: its words (but its place, direction, value and
  // creation stamp), the main tree, entry tree 0 (and one tick when run).
  virtual void ResetData(bool run);
  virtual void Reset(int32_t how);
  virtual void PlaceAtCurrentLocation(int32_t version);
  virtual void Rotate(int32_t steps);
  virtual void RemoveFromWorld();
  // The placement test; false leaves its code in PlaceFailureCode() and the
  // object in the way in ObjectInTheWay(). slot is the container's slot
  // index (0 first), ignored without a container.
  virtual bool CanPlace(FinePoint point, int32_t level, cXObject* container, int32_t slot);
  virtual void Place(FinePoint point, int32_t level, cXObject* container, int32_t slot);
  virtual bool IsSameObject(const cXObject* other) const { return other == this; }
  virtual bool CanPlaceAt(FinePoint point, int32_t level, cXObject* container, int32_t slot);
  virtual void PlaceAndNotify(FinePoint point, int32_t level, cXObject* container, int32_t slot);
  virtual bool CanPickUp();
  virtual void PickUp();
  virtual bool CanDelete();
  // A part of a multi-tile group.
  virtual bool IsGroupPart() const { return false; }
  virtual bool IsCursor() const { return false; }
  // The parts of its group, lead first (a single object: itself).
  virtual void GetGroup(std::vector<cXObject*>& out) { out.assign(1, this); }
  // A group part leaves its joined group; a single object has none.
  virtual void SplitFromGroup() {}
  // A cursor being removed puts its carried object down, or deletes it.
  virtual void DropOrDeleteCarried() {}

  static int32_t PlaceFailureCode() { return placeCode_; }
  static cXObject* ObjectInTheWay() { return inTheWay_; }
  static void SetPlaceFailureCode(int32_t code) { placeCode_ = code; }

  // Containment: the container (null in a world cell) and the position in
  // it (-1 none, 0 its leading entry, n its slot n-1).
  cXObject* GetContainer() const;
  int32_t GetContainmentPosition() const { return data_[kDataContainment]; }
  cXObject* GetOutermostContainer();
  bool IsOnLot() const { return !position_.IsOffLot(); }
  cXObject* GetObjectInSlot(int32_t n) const;
  int32_t SlotCount() const { return static_cast<int32_t>(slots_.size()) - 1; }
  // The slot's kind (1-16), 0 out of range.
  int32_t GetSlotKind(int32_t n) const;
  TileLocation GetTile() const { return TileLocation::FromFine(position_, level_); }
  LotBox GetFootprint() const { return {footprint_[2], footprint_[0], footprint_[3], footprint_[1]}; }
  // The footprint box the object would have at the point, facing direction.
  virtual LotBox FootprintAt(FinePoint point, int32_t direction) const;
  bool Blocks() const;
  // Of word 13's bits 0 and 2, the wall side the object stands against,
  // turned by its direction.
  int32_t GetWallSideMask() const;
  // Bits 0-5 of word 5 from the walls at its tile (entry tree 6 on change).
  void UpdateWallAdjacency();
  // Sale value: word 41 (the lead's for a group part), halved when
  // depreciated.
  virtual int32_t GetSaleValue() const;
  void DepreciateOneDay();
  void UpdateSchedulerBits();
  // Marks the object (from its outermost container down, unless only this)
  // for redraw.
  void MarkForRedraw(bool onlyThis = false);
  int32_t GetRedrawState() const { return redrawState_; }
  void SetRedrawState(int32_t state) { redrawState_ = state; }
  ScreenBox& ScreenRectangle() { return screen_; }
  // The floor-shadow number of the first drawn object of this cell's stack.
  int32_t FloorShadowNumber();
  // Height of slot n above the floor: its own offset plus the offsets of
  // the entries that hold the object and each of its containers.
  float SlotHeight(int32_t n);
  // Distance in tiles, a storey counting 20.
  float DistanceTo(const cXObject& other) const;
  // The largest contents answer of what its slots hold, at least 1000
  // (INT_MAX while its id is shown, and for persons and cursors).
  virtual int32_t GetContentsMaxValue();
  void SetShowId(bool on) { showId_ = on; }
  // The state value (low five bits of the state flags), for every part of
  // its group.
  void SetState(uint32_t value);
  // Stands against a wall: word 13's low four bits, of any part of its
  // group, or parts that differ in word 42 bit 0x0800.
  bool IsWallObject();
  // A portal (doors and windows in walls) answers the wall pictures.
  virtual bool IsPortal() const { return false; }
  // The average point of the parts of its group (its own point alone).
  FinePoint GroupCentre();
  // Centres the house view on the object (its group centre), unless it is
  // hidden: a person on the viewed level at its height, others at their
  // tile on their level.
  void ScrollViewTo(bool animate);
  // A free tile centre for the object; false when the search gives up.
  bool FindFreeLocation(const FreeLocationRequest& request, FinePoint& out);
  // Runs entry tree n synchronously (argument as its first parameter);
  // false without such a tree.
  bool HasEntryTree(int32_t n) const;
  bool RunEntryTree(int32_t n, int16_t stackObject = 0, int16_t argument = 0);

  // Called on every object when the terrain changed; nothing to do for a
  // plain object.
  virtual void OnTerrainChanged() {}
  // Persons and portals get ready before the lot moves under them.
  virtual void PrepareForShift() {}
  // Moves the object by whole tiles without touching the world (the world
  // moves its layers itself).
  void ShiftBy(int32_t dx, int32_t dy);
  // The creation stamp from the simulator's clock (none: all 0), and the
  // age in game minutes since it.
  void StampCreation();
  int32_t AgeInMinutes() const;

  // What a person answers; a plain object has none of it.
  // The neighbour the person is (0 for other objects).
  virtual int16_t GetNeighbourId() const { return 0; }
  // Queues on the person an action on target carrying the object id, the
  // interaction index and the flag, through the person's availability
  // check; whether it was queued (never for other objects).
  virtual bool QueueAction(cXObject& /*target*/, int16_t /*objectId*/, int16_t /*index*/, int16_t /*flag*/,
                           int32_t /*priority*/) {
    return false;
  }
  // The person's action queue for the queue dump.
  virtual int32_t ActionQueueLength() const { return 0; }
  virtual QueuedActionInfo DescribeQueuedAction(int32_t) const { return {}; }
  virtual bool IsPerson() const { return false; }
  virtual float* GetMotive(int32_t) { return nullptr; }
  virtual int16_t* GetPersonData(int32_t) { return nullptr; }
  virtual bool IsAsleep() const { return false; }
  virtual bool IsAway() const { return false; }
  virtual bool IsCarried() const { return false; }
  // A person's altitude above its level (0 for other objects).
  virtual float GetAltitude() const { return 0; }

  // The value of a variable; address receives a writable 16-bit word (null
  // when read-only), motive a motive's float. Raises the owner's error codes.
  int16_t EvaluateVariable(int32_t owner, int32_t index, int16_t** address, float** motive);

  int16_t GetId() const { return id_; }
  void SetId(int16_t id) { id_ = id; }
  ObjectModule* GetModule() const { return module_; }
  ObjectDefinition* GetDefinition() const { return definition_; }
  Behavior* GetBehavior() const { return definition_ ? definition_->GetBehavior() : nullptr; }
  cXObject* GetNext() const { return next_; }
  void SetNext(cXObject* next) { next_ = next; }

  int16_t* Attributes() { return attributes_.data(); }
  int32_t AttributeCount() const { return static_cast<int32_t>(attributes_.size()); }
  int16_t* Temps() { return temps_.data(); }
  int16_t* Data() { return data_.data(); }
  int16_t GetData(int32_t n) const { return data_[static_cast<size_t>(n)]; }
  void SetData(int32_t n, int16_t v) { data_[static_cast<size_t>(n)] = v; }
  std::vector<int16_t>& DynamicSprites() { return dynamicSprites_; }
  const std::vector<ObjectSlotEntry>& Slots() const { return slots_; }
  std::vector<RoutingSlot>& RoutingSlots() { return routingSlots_; }
  int16_t GetSlotObject(int32_t n) const;
  // Empties the slot entries (the leading one too) that name no object.
  void ClearDanglingSlots();
  void SetSlotObject(int32_t n, int16_t id);
  uint32_t GetStateFlags() const { return stateFlags_; }
  void SetStateFlags(uint32_t flags) { stateFlags_ = flags; }
  FinePoint GetPosition() const { return position_; }
  void SetPosition(FinePoint p) { position_ = p; }
  int32_t GetLevel() const { return level_; }
  void SetLevel(int32_t level) { level_ = level; }
  KeyedArrayList& KeyedArrays() { return keyedArrays_; }
  int32_t GetPersonMark() const { return personMark_; }
  int32_t GetFloorShadow() const { return floorShadow_; }

  // Draws the object into the house picture through the drawer (its
  // sprites, what its slots hold, its slot icons and labels); the union of
  // everything drawn. In cXObjectDraw.cpp.
  virtual DrawnRect Draw(ObjectDrawer& drawer, DrawingContext& context);
  bool ShowsId() const { return showId_; }
  void SetRedrawStamp(int32_t milliseconds) { redrawStamp_ = milliseconds; }
  const std::vector<SlotPoint>& GetSlotPoints() const { return slotPoints_; }

  // The balloon its first graphic cycle shows.
  BalloonState& Balloon() override { return balloon_; }
  bool HasGraphicCycles() const override { return !slotPoints_.empty(); }

  // An object may be descheduled while it sleeps: not a person, idle
  // countdown 0 and its first graphic cycle not running.
  bool MayDeschedule() const;

  // The profiler that times this object's ticks and primitives; null when
  // not profiled. Not owned.
  void SetProfiler(PrimProfiler* profiler) { profiler_ = profiler; }
  PrimProfiler* GetProfiler() const { return profiler_; }

 protected:
  int32_t personMark_ = 0;

 private:
  int32_t DispatchPrimitive(uint16_t opcode, TreeStackFrame& frame, TreeNode node);
  int32_t PlacementCode(FinePoint point, int32_t level, cXObject* container, int32_t slot);
  int32_t ContainerCode(cXObject& container, int32_t slot);
  int32_t OverlapCode(FinePoint point, int32_t level);
  // Leaves the world cell or the container entry; what was stacked in the
  // leading entry takes its place.
  void LeaveCell();
  void EnterCell(cXObject* container, int32_t slot);
  void SetContainment(int16_t container, int16_t position);
  // Moves the object and everything in its slots.
  void MoveTo(FinePoint point, int32_t level);
  void ReevaluateFacing(TileLocation tile);
  void MarkSelfForRedraw();
  void MarkDownForRedraw(int32_t depth);
  TileLocation FrontTile() const;
  bool IsCategory6();
  cXObject* StackObject(const TreeStackFrame& frame) const;
  cXObject* RequireStackObject(const TreeStackFrame& frame, int16_t code) const;
  int16_t ReadDefinitionExtra(cXObject& object, int32_t index, int16_t** address);

  int32_t PrimSleep(TreeStackFrame& frame, TreeNode node);
  int32_t PrimExpression(TreeStackFrame& frame, TreeNode node);
  int32_t PrimRandomNumber(TreeStackFrame& frame, TreeNode node);
  int32_t PrimBreakpoint(TreeStackFrame& frame, TreeNode node);
  int32_t PrimRunFunctionalTree(TreeStackFrame& frame, TreeNode node);
  int32_t PrimCallNamedTree(TreeStackFrame& frame, TreeNode node);
  int32_t PrimWakeStackObject(TreeStackFrame& frame, TreeNode node);

  std::vector<int16_t> attributes_;
  std::vector<int16_t> dynamicSprites_;
  std::array<int16_t, kTempCount> temps_{};
  std::array<int16_t, kObjectDataWords> data_{};
  ObjectModule* module_;
  cXObject* next_ = nullptr;
  KeyedArrayList keyedArrays_;
  int16_t id_ = 0;
  FinePoint position_ = FinePoint::OffLot();
  std::array<int32_t, 4> footprint_{};
  int32_t level_ = 1;
  uint32_t stateFlags_ = kStateConstructed;
  ObjectDefinition* definition_;
  std::vector<ObjectSlotEntry> slots_;
  std::vector<RoutingSlot> routingSlots_;
  std::vector<SlotPoint> slotPoints_;
  int32_t redrawStamp_ = INT_MAX, redrawClock_ = 0, redrawState_ = 1;
  ScreenBox screen_;
  PrimProfiler* profiler_ = nullptr;
  int32_t floorShadow_ = -1;
  bool showId_ = false;
  BalloonState balloon_;
  // Current frame of the primitive being run (operand access reads it).
  TreeStackFrame* runningFrame_ = nullptr;

  static inline int32_t placeCode_ = 0;
  static inline cXObject* inTheWay_ = nullptr;
};

}  // namespace tova
