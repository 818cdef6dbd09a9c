// The person animator's dressings: the suits of the outfit and the hand
// kinds from the body strings, the extra suits, the censor suit and the
// attachment points the hand and head use.
#include "gamedata/BodyStrings.h"
#include "resfile/StringSet.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int32_t kHeadSuitEntry = 3;
constexpr int32_t kDefaultBodyEntry = 2;
constexpr int32_t kHeadBoneEntry = 4, kHeadPointEntry = 5, kHandBoneEntry = 6, kHandPointEntry = 7;
constexpr int32_t kOutfitBodyEntries[] = {2, 16, 17};
constexpr int32_t kUniformBody = 28, kUniformLeftHand = 29, kUniformRightHand = 30;
constexpr int32_t kFirstHandEntry = 18, kHandKinds = 5;
constexpr int32_t kCensorBit = 0x80, kCensorTopLevel = 127;

enum Outfit : int32_t { kChosen = 3, kUniform = 4, kSleepwear = 5, kSkeleton = 6, kNegativeSkeleton = 7 };

struct Suit {
  std::string name;
  std::string texture;
};

Suit Split(const StringSet* strings, int32_t entry) {
  Suit s;
  if (strings != nullptr) BodyStrings::SplitEntry(*strings, entry, s.name, s.texture, false);
  return s;
}

// The part of a body-string line after its key ("BODY=name" gives "name").
std::string AfterKey(const std::string& line) {
  const size_t eq = line.find('=');
  return eq == std::string::npos ? line : line.substr(eq + 1);
}

}  // namespace

void PersonAnimator::ChooseSuits() {
  if (person_ == nullptr) return;
  const int32_t outfit = person_->Word(kPersonOutfit);
  const int32_t left = person_->Word(kLeftHandWord);
  const int32_t right = person_->Word(kRightHandWord);
  if (outfit == wornOutfit && left == wornLeftHand && right == wornRightHand) return;

  const StringSet* strings = bodyStrings_;
  Suit head = Split(strings, kHeadSuitEntry);
  Suit body = Split(strings, kDefaultBodyEntry);
  std::string secondBody;
  const int32_t handKind = left >= 0 && left < kHandKinds ? left : 0;
  const int32_t rightKind = right >= 0 && right < kHandKinds ? right : 0;
  Suit leftHand = Split(strings, kFirstHandEntry + 2 * handKind);
  Suit rightHand = Split(strings, kFirstHandEntry + 2 * rightKind + 1);
  switch (outfit) {
    case 1:
    case 2: body = Split(strings, kOutfitBodyEntries[outfit]); break;
    case kChosen: {
      const std::array<std::string, 3>& names = person_->GetOutfitNames();
      body = {names[0], names[1]};
      secondBody = names[2];
      break;
    }
    case kUniform:
      body = Split(strings, kUniformBody);
      leftHand = Split(strings, kUniformLeftHand);
      rightHand = Split(strings, kUniformRightHand);
      break;
    case kSleepwear: {
      const std::array<std::string, 2> names = person_->ChooseSleepwear();
      body = {names[0], names[1]};
      break;
    }
    case kSkeleton:
    case kNegativeSkeleton: {
      const cXPerson::SkeletonSuit suit = person_->ChooseSkeletonSuit(outfit == kNegativeSkeleton);
      body = {suit.names[0], AfterKey(suit.bodyLines[0])};
      head = {suit.names[1], AfterKey(suit.bodyLines[1])};
      leftHand.texture = AfterKey(suit.bodyLines[2]);
      rightHand.texture = leftHand.texture;
      break;
    }
    default: break;
  }
  wornOutfit = outfit;
  wornLeftHand = left;
  wornRightHand = right;

  if (body_ != nullptr) {
    iCharacterLibrary* library = GetCharacterLibrary();
    dressings[kHeadHolder].Wear(library, body_, head.name, head.texture);
    dressings[kBodyHolder1].Wear(library, body_, body.name, body.texture);
    if (outfit == kChosen && !secondBody.empty()) dressings[kBodyHolder2].Wear(library, body_, secondBody, "");
    if (!leftHand.name.empty() && !rightHand.name.empty()) {
      dressings[kLeftHandHolder].Wear(library, body_, leftHand.name, leftHand.texture);
      dressings[kRightHandHolder].Wear(library, body_, rightHand.name, rightHand.texture);
    }
  }
  practicesDirty_ = true;
}

void PersonAnimator::ReleaseDressings() {
  for (Dressing& d : extraDressings) d.Release(body_);
  for (Dressing& d : dressings) d.Release(body_);
  censorDressing.Release(body_);
  censorLevel = 0;
}

void PersonAnimator::RewearExtra() {
  iCharacterLibrary* library = GetCharacterLibrary();
  for (Dressing& d : extraDressings) {
    const Dressing names = d;
    d.Wear(library, body_, names.suit, names.texture);
  }
}

void PersonAnimator::UpdateCensor() {
  if (person_ == nullptr) return;
  const int32_t word = person_->Word(kCensorWord);
  const int32_t level = (word & kCensorBit) != 0 ? kCensorTopLevel : word;
  if (level == 0) {
    censorDressing.Release(body_);
    censorLevel = 0;
    return;
  }
  if (censorDressing.worn && level == censorLevel) return;
  censorDressing.Release(body_);
  if (censorDressing.Wear(GetCharacterLibrary(), body_, censorSuit, "", level)) censorLevel = level;
}

void PersonAnimator::MakeAttachmentPoints(const StringSet& strings) {
  if (body_ == nullptr) return;
  const std::string headBone = BodyStrings::Get(strings, kHeadBoneEntry);
  const std::string headPoint = BodyStrings::Get(strings, kHeadPointEntry);
  const std::string handBone = BodyStrings::Get(strings, kHandBoneEntry);
  const std::string handPoint = BodyStrings::Get(strings, kHandPointEntry);
  hasHandPoint = !handBone.empty() && body_->MakeAttachmentPoint(kHandPoint, handBone, handPoint);
  hasHeadPoint = !headBone.empty() && body_->MakeAttachmentPoint(kHeadPoint, headBone, headPoint);
  hasHeadFrontPoint = !headBone.empty() && body_->MakeAttachmentPoint(kHeadFrontPoint, headBone, "HeadFake");
}

}  // namespace tova
