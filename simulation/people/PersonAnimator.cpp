#include "simulation/people/PersonAnimator.h"

#include "resfile/ReconStream.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int32_t kMaxPathPoints = 4096;
constexpr int32_t kMaxExtraDressings = 256;

void TransferDressing(ReconStream& s, Dressing& d) {
  s.SerializeString(d.suit);
  s.SerializeString(d.texture);
}

}  // namespace

void PersonAnimator::Reset() {
  grid[0] = grid[1] = grid[2] = kNoPosition;
  destination = -1;
  followState = 0;
  eventsFired = 0;
  primitiveRunning = 0;
  movementState = kStateStanding;
  offset[0] = offset[1] = offset[2] = 0;
  eventQueue.clear();
  // The next main animation starts without blending from whatever played.
  discontinuity = true;
  lastPosture = -1;
  carryCheck = -1;
  carryKind = 0;
  anchor = nullptr;
  anchorFlag = 0;
  currentStandard = -1;
  for (int slot : {kMainSlot, kLastSlot, kCarrySlot, kBackgroundSlot}) {
    PracticeRef*& practice = SlotPractice(slot);
    if (practice != nullptr && body_ != nullptr) body_->RemovePractice(practice);
    practice = nullptr;
  }
}

bool PersonAnimator::Transfer(ReconStream& s, int32_t version, std::vector<PathPoint>& points) {
  const bool reading = s.IsReading();
  if (version < 47) {
    s.SerializeFloats(grid, 3);
    int16_t dest = static_cast<int16_t>(destination);
    s.SerializeShorts(&dest, 1);
    int16_t count = static_cast<int16_t>(points.size());
    s.SerializeShorts(&count, 1);
    if (reading) {
      if (count < 0 || count > kMaxPathPoints || !s.CheckCount(count, 8)) {
        s.Fail();
        return false;
      }
      points.clear();
      for (int32_t i = 0; i < count; ++i) {
        int32_t w[2] = {};
        s.SerializeLongs(w, 2);
        points.push_back({w[1], w[0]});
      }
      // A destination must name one of the points read with it.
      destination = dest >= 0 && dest < count ? dest : -1;
      followState = destination != -1 ? 1 : 0;
    } else {
      for (PathPoint& p : points) {
        int32_t w[2] = {p.y, p.x};
        s.SerializeLongs(w, 2);
      }
    }
  }
  if (version > 12) {
    s.SerializeLongs(&eventsFired, 1);
    s.SerializeLongs(&primitiveRunning, 1);
  }
  if (version > 50) {
    if (reading) ReleaseDressings();
    for (Dressing& d : dressings) TransferDressing(s, d);
    int32_t count = static_cast<int32_t>(extraDressings.size());
    s.SerializeLongs(&count, 1);
    if (reading) {
      if (count < 0 || count > kMaxExtraDressings || !s.CheckCount(count, 4)) {
        s.Fail();
        return false;
      }
      extraDressings.assign(static_cast<size_t>(count), Dressing{});
    }
    for (Dressing& d : extraDressings) TransferDressing(s, d);
    if (reading && body_ != nullptr && !s.Failed()) {
      // What the record names is worn as it was, whatever the outfit says.
      iCharacterLibrary* library = GetCharacterLibrary();
      for (Dressing& d : dressings) {
        const Dressing names = d;
        d.Wear(library, body_, names.suit, names.texture);
      }
      RewearExtra();
      wornOutfit = person_ != nullptr ? person_->Word(kPersonOutfit) : -1;
      wornLeftHand = person_ != nullptr ? person_->Word(kLeftHandWord) : -1;
      wornRightHand = person_ != nullptr ? person_->Word(kRightHandWord) : -1;
    }
  } else if (reading) {
    dressingsDirty = true;
  }
  if (version > 58) {
    if (!reading && body_ != nullptr) {
      practices[0] = PracticeText(mainPractice);
      practices[1] = PracticeText(carryPractice);
      practices[2] = PracticeText(backgroundPractice);
    }
    const bool mainKept = movementState >= 0 && movementState <= 3;
    std::string main = reading || mainKept ? practices[0] : std::string();
    s.SerializeString(main);
    practices[0] = reading || mainKept ? main : practices[0];
    s.SerializeString(practices[1]);
    s.SerializeString(practices[2]);
  }
  if (version > 60) {
    s.SerializeLongs(&movementState, 1);
    if (reading && (movementState < 0 || movementState > 3)) movementState = kStateStanding;
    s.SerializeFloats(head, 6);
    s.SerializeFloats(offset, 3);
  }
  if (reading && version > 58 && body_ != nullptr && !s.Failed()) {
    RestorePractice(kMainSlot, practices[0]);
    RestorePractice(kCarrySlot, practices[1]);
    RestorePractice(kBackgroundSlot, practices[2]);
  }
  if (reading && body_ != nullptr && !s.Failed()) UpdateCensor();
  return !s.Failed();
}

}  // namespace tova
