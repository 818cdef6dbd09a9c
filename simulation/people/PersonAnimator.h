#pragma once
// The animation controller of one person, as far as the lot's record keeps
// it: the grid position and route destination of old records, the state of
// the waiting animate primitive, the dressings worn, the practices as their
// text form, the movement state, the head look and the snap offset; and
// the handling of the events its animations carry.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "simulation/people/CharacterLibrary.h"
#include "simulation/people/DressingHolder.h"
#include "simulation/people/PersonRoute.h"
#include "simulation/people/PersonWalk.h"

class ReconStream;
class StringSet;

namespace platform {
class Surface;
}
namespace tova {
struct PersonDrawContext;
}

namespace tova {

class cXPerson;
class FootstepWorld;
struct TreeStackFrame;

// The animate primitive's operand, decoded.
struct AnimateOperand {
  enum Source : int32_t { kStackObject = 0, kGlobal = 1, kPerson = 2, kMisc = 3 };
  enum Kind : int32_t { kBackground = 1, kCarry = 2, kMainNoCarry = 3 };
  enum Flag : int32_t {
    kBackwards = 2, kIndexInParameter = 4, kInterruptible = 8, kEventsToLocal = 32, kFollowSpeed = 64,
  };
  int32_t index = 0;
  int32_t source = kStackObject;
  // Any other kind is a main animation.
  int32_t kind = 0;
  int32_t flags = 0;
  int32_t eventCount = 0;
  // The local that receives events with kEventsToLocal.
  int32_t local = 0;
};

class PersonAnimator {
 public:
  static constexpr int32_t kDressingCount = 5;
  static constexpr int32_t kStateStanding = 3;
  static constexpr float kNoPosition = -999.0f;

  PersonAnimator() = default;
  // Releases the body the animator made.
  ~PersonAnimator();
  PersonAnimator(const PersonAnimator&) = delete;
  PersonAnimator& operator=(const PersonAnimator&) = delete;

  // Back to the state of a fresh person: no position, no destination,
  // standing, no animation waiting, no practice playing.
  void Reset();

  // The record inside the person's record. Old versions also carry the
  // path points, which go into points. False when the bytes run out or a
  // count cannot be right.
  bool Transfer(ReconStream& stream, int32_t version, std::vector<PathPoint>& points);

  // The owning person and, once made, its body in the character library.
  // Stores the owner, reads its looks and builds its body.
  void Attach(cXPerson* person);
  void AttachBody(iCharacterBody* body) { body_ = body; }
  cXPerson* GetPerson() const { return person_; }
  iCharacterBody* GetBody() const { return body_; }

  // Reads the person's looks from its definition's body strings: sex, age
  // and skin index into the person data; the outfit and hands cleared,
  // the extra dressings dropped.
  void ResetBody();
  // The body strings in use; null when the definition has none.
  StringSet* GetBodyStrings() const { return bodyStrings_; }

  // ---- animation events ----
  // Acts on each pair a practice passed, in order.
  void DispatchEvents(PracticeRef& practice, const SkillTrack& motion, const std::vector<EventPair>& pairs);
  void QueueEvent(int32_t n) { eventQueue.push_back(n); }
  // False when the queue is empty; else the oldest number goes to n.
  bool PopEvent(int32_t& n);
  // The floor sound kind under the person (the foot does not change the
  // tile); terrain without a world.
  int32_t FloorSoundKind(int32_t foot) const;
  // The footstep sound of a floor kind, barefoot or shod.
  static const char* FootstepSound(int32_t kind, bool barefoot);

  // ---- practices ----
  enum Slot : int { kMainSlot = 0, kLastSlot = 1, kCarrySlot = 2, kBackgroundSlot = 3 };
  static constexpr float kBlendOutTime = 200;
  static constexpr int kPracticeMode = 1;
  static constexpr int32_t kCarryByPrimitive = 6;
  // Person-data words of the looks: hand kinds, censor level, skin index.
  static constexpr int32_t kLeftHandWord = 22, kRightHandWord = 23, kCensorWord = 30, kSkinWord = 60;
  // Practice rates: the posture loop plays under everything, a carry over it.
  static constexpr int kBackgroundRate = -10;
  static constexpr int kCarryRate = 10;
  // Standard animation indices named here.
  enum Standard : int32_t {
    kSittingLoop = 1, kSittingFloorLoop = 2, kStandingLoop = 3, kPlaceholder = 37, kRightArmCarry = 38,
  };

  PracticeRef*& SlotPractice(int slot);
  // Starts the skill in the slot, forwards or from its end backwards; false
  // for no skill or one whose motions cannot be loaded.
  bool StartPractice(int slot, const iSkill* skill, bool backwards);
  // Fades the slot's practice out (the background goes at once); a main
  // practice becomes the last one.
  void StopPractice(int slot);
  const iSkill* GetStandardSkill(int32_t index) const;
  // "name;rate;speed;time;weight;hold;blend;blend", thousandths for the
  // fractions; "" for no practice.
  static std::string PracticeText(const PracticeRef* practice);
  // Re-creates the slot's practice from its text form; the slot stays
  // empty for a text without all its fields or a skill the library lacks.
  bool RestorePractice(int slot, const std::string& text);

  // In animations and walking or running the main practice decides; sitting
  // and standing always may be interrupted; the other states never.
  bool IsInterruptible() const;
  // The animation speed from the person's energy (and running).
  float PlaybackSpeed() const;
  // Keeps the posture's loop in the background slot.
  void ChooseBackground();
  // Plays the standard carry while the person holds something in its
  // first slot (UpdateCarry with that answer).
  void CheckCarry();
  void UpdateCarry(bool holding);
  // The reach animation index for a grab at that height, -1 for none.
  static int32_t ReachIndex(float height, int32_t posture);

  // ---- the animate primitive ----
  enum AnimateResult : int32_t { kEventStored = 0, kAnimateDone = 1, kAnimateNotYet = 2, kAnimateError = -1 };
  // One call of the primitive: kEventStored when an event number went to
  // the frame, kAnimateDone, kAnimateNotYet (call again next tick), or
  // kAnimateError for a parameter or local the frame does not have.
  int32_t StartAnimation(TreeStackFrame& frame, const AnimateOperand& operand);
  // The grab primitive's reach at a height, forwards or backwards; false
  // when the height has no reach animation or it cannot start.
  bool StartReachAnimation(float height, bool forwards);
  // No main practice, or it finished or stands still.
  bool IsMainDone() const;
  void StopMain();
  // The event log's lines about missing animations and events.
  static void SetAssetLog(bool on);
  // A skill's name for the log.
  static std::string SkillName(const iSkill* skill);

  // ---- the state dump ----
  // The dump's text for the mask's items (see kDump*).
  std::string DumpText(int32_t mask) const;
  // With the dump switch on and the person selected, writes the dump's
  // lines to the event log when they changed; with it off, forgets the
  // last dump.
  void Dump();
  static void SetDumpSwitch(bool on);
  static void SetDumpMask(int32_t mask);
  static const char* StateName(int32_t state);
  static const char* FollowStateName(int32_t state);
  static const char* StandardName(int32_t index);
  const std::string& LastDump() const { return lastDump_; }

  // The frame of the first time property name=value, searching each
  // motion's lists from the last backwards; -1 and no motion when none.
  static int32_t FindTimeProperty(const iSkill& skill, const std::string& name, const std::string& value,
                                  std::string& motion);

  // ---- extra dressings ----
  void AddExtraDressing(const std::string& suit, const std::string& texture);
  // Takes off every extra dressing of that suit; false when none was worn.
  bool RemoveExtraDressing(const std::string& suit);

  // The world the footsteps ask about; null sounds terrain.
  static void SetFootstepWorld(FootstepWorld* world);

  // ---- walking ----
  // One simulation tick: turns, adjusting steps, walking the route points
  // and stopping at their end.
  void Update();
  // Starts following the route points from where the person stands.
  void StartFollow();
  // After the follow: 2 still moving, 1 arrived and placed, 0 not.
  int32_t FollowStep();
  void StopFollow();
  bool IsFollowing() const { return followState != 0; }
  // The point moved onto the nearest point of the route's segments: the
  // segment ending at point index (the first for 0, all for a negative).
  PathPoint NearestPathPoint(PathPoint point, int32_t index) const;
  // The person object's direction word from the grid direction.
  void SetObjectDirection();
  // atan2 (dy, dx) in 0 .. 2 pi.
  static float HeadingOf(float dx, float dy);
  // After the walk's states, every tick: the placement handed to the body,
  // the redraw mark and the censor dressing; the practices advanced to the
  // animation clock, the bones and the render matrix; the head turn, its
  // target and the screen box. Profiler slots -3, -4 and -5 time the three.
  void AdvanceBody();
  PersonWalk walk;
  // ---- the body ----
  // Makes the body on the skeleton that body-strings entry 1 names, with
  // the censor suit, the dressings and attachment points, measures the
  // walk from the standard animations and leaves the person standing.
  // Nothing without a character library, body strings or skeleton.
  void BuildBody();
  // Resets, takes every dressing off, removes the practices and the
  // attachment points and deletes the body the animator made.
  void ReleaseBody();
  // Starts the standard animation in the main slot unless it already
  // plays there.
  void PlayStandard(int32_t index, bool hold);
  // The "ROOT" motion's translation at the last frame of a standard
  // animation; false and zeros when the skill or motion is missing.
  bool RootOffset(int32_t index, float& x, float& y, float& z) const;
  // 16/3: 3D units back to sixteenths of a tile.
  static constexpr float kUnitsToFine = 5.3333335f;
  // 3/16: sixteenths of a tile to 3D units.
  static constexpr float kFinePerUnit = 0.1875f;
  // Altitude units to 3D units: 3 / (2 sqrt 6).
  static constexpr float kAltitudeScale = 0.61237244f;
  static constexpr float kPi = 3.14159265358979f;
  // Person data word: 1 while the person runs.
  static constexpr int32_t kDataRunning = 17;

  // ---- dressings ----
  enum DressingIndex : int { kBodyHolder1 = 0, kBodyHolder2 = 1, kLeftHandHolder = 2, kRightHandHolder = 3, kHeadHolder = 4 };
  // Wears the suits of the outfit and hand kinds (person data 8, 22, 23)
  // when they changed since the last dressing.
  void ChooseSuits();
  // Every holder and the censor dressing off the body (names kept).
  void ReleaseDressings();
  void RewearExtra();
  // Wears the censor suit at person data 30 (127 when its bit 7 is set),
  // none at 0.
  void UpdateCensor();
  // The hand, head and head-front points from the body strings.
  void MakeAttachmentPoints(const StringSet& bodyStrings);
  static constexpr const char* kHandPoint = "hand";
  static constexpr const char* kHeadPoint = "head";
  static constexpr const char* kHeadFrontPoint = "head-front";
  // Person data of the look: target, state, two result selectors, countdown.
  static constexpr int32_t kLookTargetWord = 41, kLookStateWord = 42, kLookReachedWord = 43, kLookLimitWord = 44,
                           kLookCountdownWord = 45;

  // ---- head look ----
  void SetLookTarget(int32_t id);
  // Head facing and head target (eighths of a turn) from the head points
  // and the target person's head or object's position.
  void UpdateHeadTarget();
  // Turns the head towards the target a little each update, reporting
  // "reached" and the limits in person data 42.
  void UpdateHeadTurn();
  float& HeadFacing() { return head[0]; }
  float& HeadTarget() { return head[1]; }
  float& HeadAngle() { return head[2]; }
  // The 3D position of the head point; false when it is missing.
  bool HeadPosition(float out[3]) const;

  // ---- fading ----
  // Fades to the target over kAlphaTime of the animation clock, or jumps
  // (instant, or no alpha set yet).
  void SetAlpha(float target, bool instant);
  float AlphaNow() const;
  static constexpr float kAlphaTime = 250;

  // ---- drawing ----
  // The 3D position and orientation from the grid position (filled from
  // the person object when unset) and the offset, handed to the body.
  void ComputePlacement();
  // The body's box on the screen; with the on-screen test off every body
  // counts as on screen.
  void ComputeScreenBox();
  static void SetOnScreenTest(bool on);
  // The renderer's draw of the person: dressing, pose, fading, picking,
  // selection and the censor box.
  void Draw(PersonDrawContext& context, bool selected);
  // Moves the context to the hand (0) or head (1, 2) point; false when the
  // point is missing, which is another value or the context cannot draw.
  bool PlaceAtAttachment(PersonDrawContext& context, int32_t which) const;
  // Keeps the person in view (level and scroll).
  void FollowWithCamera(bool scroll);
  void SetCensorLevel(int32_t n);
  int32_t GetCensorLevel() const;
  const int32_t* GetCensorBox() const { return censorBox; }
  const float* GetCensorCentre() const { return censorCentre; }
  static constexpr float kNoCensorCentre = 1.0e30f;
  // The wide-margin mode of the camera follow.
  static void SetWideMargins(bool on);

  // ---- pictures ----
  // A still picture of the person in the outfit, posed by the named skill
  // at the time (0 to 1): 100 by 220 pixels on the background colour, the
  // person centred across it with its lowest row 20 above the bottom. It
  // is drawn in the top left 200 by 440 of the person view's screen, which
  // is put back as it was. Null without a view, a screen of at least that
  // size, a body or a device, or when the screen cannot be saved.
  std::unique_ptr<platform::Surface> RenderPose(uint32_t background, int32_t outfit, const std::string& skill,
                                                float time);

  // Decodes the animate primitive's node operand: the index in word 0,
  // then bytes for the source, the event count, the flags, the kind and
  // the local that receives events.
  static AnimateOperand DecodeOperand(const uint8_t* operand);
  // The tree a person runs when an animation it was asked for is missing.
  static constexpr const char* kMissingAnimationTree = "missing animation tree";

  float grid[3] = {kNoPosition, kNoPosition, kNoPosition};
  int32_t destination = -1;
  int32_t followState = 0;
  int32_t eventsFired = 0;
  int32_t primitiveRunning = 0;
  Dressing dressings[kDressingCount];
  std::vector<Dressing> extraDressings;
  // Practice text forms: main, carry, background.
  std::string practices[3];
  int32_t movementState = kStateStanding;
  float head[6] = {};
  float offset[3] = {};
  // Set when a record too old to hold the dressings was read.
  bool dressingsDirty = false;

  // Practice slots: the running one, the one fading out, carry, posture loop.
  PracticeRef* mainPractice = nullptr;
  PracticeRef* lastPractice = nullptr;
  PracticeRef* carryPractice = nullptr;
  PracticeRef* backgroundPractice = nullptr;
  // The motion an "anchor" event named and whether a practice is anchored.
  const SkillTrack* anchor = nullptr;
  int32_t anchorFlag = 0;
  // Event numbers for the animate primitive, oldest first.
  std::vector<int32_t> eventQueue;
  // The next main practice starts without blending from the last one.
  bool discontinuity = false;
  // Person data 8 as last dressed; -1 before the first dressing.
  int32_t wornOutfit = -1;
  int32_t currentStandard = -1;
  int32_t lastPosture = -1;
  int32_t carryKind = 0;
  // 0 while the standard carry plays, -1 when it does not.
  int32_t carryCheck = -1;
  bool carrySuppressed = false;
  bool speedFollowsPerson = false;
  // Position (3D units) and orientation handed to the body.
  float placement[4] = {};
  // The body's transform as of the last advance.
  PoseMatrix renderMatrix;
  bool placementDirty = true;
  bool poseDirty = true;
  int32_t screenBox[4] = {};
  bool onScreen = true;
  bool selectedShown = false;
  int32_t censorBox[4] = {};
  float censorCentre[3] = {0, kNoCensorCentre, 0};
  // Person data 22 and 23 as last dressed; -1 before the first dressing.
  int32_t wornLeftHand = -1;
  int32_t wornRightHand = -1;
  // "<skeleton>-censor" when the library has it, else empty.
  std::string censorSuit;
  Dressing censorDressing;
  int32_t censorLevel = 0;
  // Attachment points made on the body.
  bool hasHandPoint = false, hasHeadPoint = false, hasHeadFrontPoint = false;
  float alpha = -1.0f;
  float alphaFrom = 0, alphaTo = 0;
  int32_t alphaStart = 0;
  bool alphaRunning = false;

 private:
  void PlaySound(const std::string& name) const;
  // The animation clock: the simulator's ticks times its step of 50.
  static int32_t Clock();
  int32_t Animate(TreeStackFrame& frame, const AnimateOperand& operand);
  const iSkill* AnimationFor(TreeStackFrame& frame, const AnimateOperand& operand, int32_t index) const;
  void StartMain(TreeStackFrame& frame, const AnimateOperand& operand, int32_t index);
  // Hands the next event of the running main animation to the frame.
  int32_t NextEvent(TreeStackFrame& frame, const AnimateOperand& operand);
  // Stores an event number where the operand says; false when there is no such place.
  bool StoreEvent(TreeStackFrame& frame, const AnimateOperand& operand, int32_t n);
  void EndAnimation();
  void AssetLog(const std::string& text) const;
  void Footstep(const PracticeRef& practice, int32_t n) const;
  friend class PersonWalker;

  cXPerson* person_ = nullptr;
  iCharacterBody* body_ = nullptr;
  std::string lastDump_;
  StringSet* bodyStrings_ = nullptr;
  bool practicesDirty_ = true;
  std::unique_ptr<iCharacterBody> ownedBody_;
  // The missing-animation tree runs once the primitive is done with its frame.
  bool missingAnimation_ = false;
};

}  // namespace tova
