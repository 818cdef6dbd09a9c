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
#include <vector>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/SlotDescriptor.h"
#include "gamedata/TilePosition.h"
#include "resfile/KeyedArrayList.h"
#include "simulation/TreeZaz.h"

namespace tova {

class ObjectModule;

constexpr int32_t kObjectDataWords = 72;
constexpr int32_t kTempCount = 8;
constexpr int32_t kMotiveCount = 16;
constexpr int32_t kPersonDataWords = 80;
constexpr int32_t kDefinitionRecordWords = 108;

// Object-data words the interpreter itself uses.
enum ObjectDataWord : int32_t {
  kDataDirection = 1,
  kDataContainer = 2,
  kDataSlotIndex = 3,
  kDataOwnId = 11,
  kDataContainment = 14,
  kDataIdleCountdown = 25,
  kDataRoom = 29,
  kDataSlotCount = 67,
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

struct ScreenBox {
  int32_t left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};

class cXObject : public TreeZaz {
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
  // 'XOBJ' for a plain object.
  virtual uint32_t GetTypeCode() const;

  // What a person answers; a plain object has none of it.
  virtual bool IsPerson() const { return false; }
  virtual float* GetMotive(int32_t) { return nullptr; }
  virtual int16_t* GetPersonData(int32_t) { return nullptr; }
  virtual bool IsAsleep() const { return false; }
  virtual bool IsAway() const { return false; }
  virtual bool IsCarried() const { return false; }

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
  int16_t GetSlotObject(int32_t n) const;
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

  // An object may be descheduled while it sleeps: not a person, idle
  // countdown 0 and its first graphic cycle not running.
  bool MayDeschedule() const;

 protected:
  int32_t personMark_ = 0;

 private:
  int32_t DispatchPrimitive(uint16_t opcode, TreeStackFrame& frame, TreeNode node);
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
  int32_t floorShadow_ = -1;
  bool showId_ = false;
  // Current frame of the primitive being run (operand access reads it).
  TreeStackFrame* runningFrame_ = nullptr;
};

}  // namespace tova
