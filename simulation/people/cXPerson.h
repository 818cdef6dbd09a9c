#pragma once
// A person on the lot: a live object with motives, the 80 person-data words
// its trees read and write, the action it runs with the one before it and up
// to eight waiting actions, the objects it is busy with (the with-list),
// motive changes per tick, its routes, its animator and its mood curves.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gamedata/MotiveCurveSet.h"
#include "gamedata/Motives.h"
#include "simulation/CreationPrimitives.h"
#include "simulation/PlacementPrimitives.h"
#include "simulation/cXObject.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/PersonRoute.h"
#include "simulation/people/QueuedAction.h"

namespace tova {

// Person-data words this code reads or writes.
enum PersonWord : int32_t {
  kPersonPosture = 0,
  kPersonPendingMoney = 1,
  kPersonOutfit = 8,
  kPersonTreeTicks = 27,
  kPersonMotivesFrozen = 29,
  kPersonVisitor = 32,
  kPersonActionPriority = 33,
  kPersonAutonomyLevel = 36,
  kPersonCharacter = 56,
  kPersonOutfitIndex = 57,
  kPersonAge = 58,
  kPersonRouteFailure = 62,
  kPersonOnInvalidTile = 64,
  kPersonSex = 65,
  kPersonNoInterrupt = 71,
  kPersonReplace = 73,
};

// Motives named here beyond the decay's own.
enum : int32_t { kMotiveMood = 3, kMotiveRoom = 13 };

// The object-data word that holds the interaction autonomy chose.
constexpr int32_t kDataChosenInteraction = 20;
// Entry tree run on an action's target when the action is dropped.
constexpr int32_t kEntryActionRemoved = 4;
// The interrupting entry of a person's own table and the step-aside marker.
constexpr int32_t kInterruptEntryKey = 33;
constexpr uint32_t kStepAsideGuid = 1988;
constexpr int32_t kStepAsideEntryKey = 3;
constexpr int16_t kNoRoomYet = -5;

struct MotiveChange {
  int32_t motive = 0;
  float perTick = 0;
  float stop = 0;
  friend bool operator==(const MotiveChange&, const MotiveChange&) = default;
};

// An object the person is busy with: it called a tree on the person at
// this interpreter depth.
struct WithRecord {
  int16_t object = 0;
  int32_t depth = 0;
  bool owner = false;
  friend bool operator==(const WithRecord&, const WithRecord&) = default;
};

// One interaction scored in an autonomy decision.
struct ScoredCandidate {
  int16_t object = 0;
  int32_t entryKey = -1;
  float score = 0;
  bool noRandom = false;
  float rawScore = 0;
  float distance = 0;
  float attenuation = 0;
};

class cXPerson : public cXObject, public iSnapPerson, public iVisitorMark {
 public:
  static constexpr int32_t kQueueSize = 8;
  static constexpr int32_t kMaxRoutes = 64;
  static constexpr int32_t kMaxMotiveChanges = 64;
  static constexpr int32_t kMaxWithRecords = 256;

  cXPerson(ObjectDefinition* definition, ObjectModule* module);
  ~cXPerson() override;

  // Makes the object module create persons of this class.
  static void Register();

  // ---- cXObject ----
  // Opcode 3 is autonomy's choice; the person's other opcodes arrive with
  // its primitives, everything else is the plain object's.
  int32_t RunPrimitive(TreeStackFrame& frame, TreeNode node) override;
  // The animate primitive (opcode 44) through the animator.
  static constexpr uint16_t kAnimateOpcode = 44;
  int32_t RunAnimate(TreeStackFrame& frame, TreeNode node);
  bool IsPerson() const override { return true; }
  float* GetMotive(int32_t n) override;
  int16_t* GetPersonData(int32_t n) override;
  bool IsAsleep() const override { return motives_.current[kMotiveSleepState] < 0; }
  uint32_t GetTypeCode() const override;
  bool Tick() override;
  void OnFramePopped() override;
  bool PushTreeCall(Behavior* behavior, int32_t treeId, int16_t stackObject, bool owner) override;
  void InitFromDefinition() override;
  void ResetData(bool run) override;
  // how: the id of the object that goes away, 0 for a plain reset.
  void Reset(int32_t how) override;
  void PlaceAtCurrentLocation(int32_t version) override;
  void Place(FinePoint point, int32_t level, cXObject* container, int32_t slot) override;
  bool Transfer(ReconStream& stream, int32_t version, bool replaced, BehaviorCodec& codec) override;
  using cXObject::Transfer;

  // ---- the person ----
  float GetMotiveValue(int32_t n) const;
  float& MotiveRef(int32_t n);
  MotiveBlock& Motives() { return motives_; }
  int16_t Word(int32_t n) const { return personData_[static_cast<size_t>(n)]; }
  void SetWord(int32_t n, int16_t v) { personData_[static_cast<size_t>(n)] = v; }
  bool IsVisitor() const override { return Word(kPersonVisitor) != 0; }
  bool IsChild() const { return Word(kPersonAge) >= 1 && Word(kPersonAge) <= 17; }
  bool IsInactive() const { return inactive_; }
  // A reset leaves the person out of the world.
  void SetKeptOutOfWorld(bool kept) { keptOut_ = kept; }
  void SetInactive(bool inactive) { inactive_ = inactive; }
  const std::string& GetName() const;
  // Copies the person into its neighbour record.
  void UpdateNeighbor();
  // Reset, possibly because object goes away (null: a plain reset).
  void ResetFor(cXObject* object);
  void DecayMotivesIfActive();
  void ComputeMood();
  void LoadMotiveCurves();
  MotiveCurveSet& Curves() { return curves_; }
  void CheckStandingTile();
  // Room tracking after the person was placed.
  void TrackRoom();
  int16_t GetRoom() const { return room_; }
  std::vector<MotiveChange>& MotiveChanges() { return motiveChanges_; }
  const std::vector<WithRecord>& WithList() const { return withList_; }
  std::vector<PersonRoute>& Routes() { return routes_; }
  // After a lot is loaded: every route is planned again when walked on.
  void MarkRoutesNotStarted();
  bool HasRoute() const { return !routes_.empty(); }
  std::vector<PathPoint>& PathPoints() { return pathPoints_; }
  PersonAnimator& Animator() { return animator_; }

  // Appearance names (the animator dresses the person with them).
  const std::array<std::string, 3>& GetOutfitNames();
  std::array<std::string, 2> ChooseSleepwear() const;
  // The skeleton suit names and the three body-string lines.
  struct SkeletonSuit {
    std::array<std::string, 2> names;
    std::array<std::string, 3> bodyLines;
  };
  SkeletonSuit ChooseSkeletonSuit(bool negative) const;

  // ---- the action queue ----
  bool PushAction(const QueuedAction& action);
  bool CancelAction(uint32_t serial);
  bool ShouldInterrupt() const;
  void SetCurrentAction(const QueuedAction& action);
  void PopHeadAction();
  int32_t QueuedCount() const { return static_cast<int32_t>(tail_ - head_); }
  QueuedAction* GetQueuedAction(int32_t n);
  // The queue as the object module's dump reads it.
  int32_t ActionQueueLength() const override { return QueuedCount(); }
  QueuedActionInfo DescribeQueuedAction(int32_t n) const override;
  QueuedAction& CurrentAction() { return current_; }
  QueuedAction& PreviousAction() { return previous_; }
  bool IsStepAsideAction(const QueuedAction& action) const;
  bool HasStepAsideAction();
  bool AskToStepAside(int32_t priority);

  // ---- what a snap asks (cXPersonSnap.cpp) ----
  // Steps aside for the asker at the priority of the asker's current action.
  bool RequestStepAside(cXObject& asker) override;
  // Kept in the animator: the snap offset and the placed marks.
  void SetSnapOffsets(float dy, float dx, float dfacing) override;
  void SetPlacedMarks(float a, float b, float c) override;

  // ---- autonomy ----
  bool FindBestInteraction(TreeStackFrame& frame);
  bool LogScoredInteractions();
  const std::vector<ScoredCandidate>& Candidates() const { return candidates_; }
  float BaseHappiness() const { return baseHappiness_; }
  bool DecisionResult() const { return decisionResult_; }
  int16_t& MenuReason() { return menuReason_; }

  static constexpr uint16_t kFindBestInteractionOpcode = 3;

  // Every person but the one going away is reset for it.
  static void TellPersonsObjectGone(ObjectModule& module, cXObject& gone);

  // ---- the person's own primitives ----
  // Runs a person-only opcode into result; false for any other opcode.
  bool RunPersonPrimitive(TreeStackFrame& frame, TreeNode node, int32_t& result);
  // The head waiting action, off the queue without its target being told.
  QueuedAction TakeHeadAction();

 private:
  friend struct PersonPrimitives;

  // Bridges the curve set's person view to the person data.
  class CurveLink : public MotivePerson {
   public:
    explicit CurveLink(cXPerson& p) : person_(p) {}
    int16_t GetPersonData(int index) const override;
    void OnMotivesChanged() override {}

   private:
    cXPerson& person_;
  };

  QueuedAction& Slot(uint32_t counter) { return ring_[counter % kQueueSize]; }
  // Removes waiting action n (0 = head); its target is told.
  void RemoveQueued(int32_t n);
  void TellTargetRemoved(const QueuedAction& action);
  void ClearQueue();
  void FullReset(cXObject* object);
  void PutBack();
  void ApplyMotiveChanges();
  // Drops the with-records whose objects are gone.
  void PruneWithList();
  bool TransferActions(ReconStream& s, int32_t version);

  std::array<int16_t, kPersonDataWords> personData_{};
  MotiveBlock motives_;
  uint32_t lastDecay_ = 0;
  std::vector<ScoredCandidate> candidates_;
  uint32_t decisionTicks_ = 0;
  float baseHappiness_ = 0;
  bool decisionResult_ = false;
  std::array<QueuedAction, kQueueSize> ring_;
  uint32_t head_ = 0;
  uint32_t tail_ = 0;
  QueuedAction current_;
  QueuedAction previous_;
  std::vector<MotiveChange> motiveChanges_;
  PersonAnimator animator_;
  std::vector<PathPoint> pathPoints_;
  CurveLink curveLink_{*this};
  MotiveCurveSet curves_;
  std::vector<PersonRoute> routes_;
  int16_t room_ = kNoRoomYet;
  std::vector<WithRecord> withList_;
  int16_t lastCharacter_ = -999;
  int16_t lastOutfit_ = -1;
  std::array<std::string, 3> outfitNames_;
  bool cleaningUp_ = false;
  bool inactive_ = false;
  bool keptOut_ = false;
  int16_t menuReason_ = 0;
};

}  // namespace tova
