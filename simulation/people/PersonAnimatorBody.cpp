// The person animator's reading of the person's looks from its body strings.
#include <charconv>
#include <utility>

#include "gamedata/BodyStrings.h"
#include "gamedata/ObjectDefinition.h"
#include "platform/Path.h"
#include "resfile/StringSet.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr ResId kSkinNames = 8192;
constexpr int32_t kSkeletonEntry = 1;
constexpr int32_t kStandardWalkingStart = 19, kStandardWalkingLoop = 20, kStandardRunningLoop = 21, kStandardRunningStart = 22, kStandardRunningStop = 23;
constexpr int32_t kFollowFalse = 3;

float TravelOf(const iSkill* skill) { return skill != nullptr ? skill->Travel() : 0.0f; }

}  // namespace

void PersonAnimator::ResetBody() {
  practicesDirty_ = true;
  if (person_ == nullptr) return;
  ReleaseDressings();
  ObjectDefinition* definition = person_->GetDefinition();
  bodyStrings_ = definition != nullptr ? definition->GetBodyStrings() : nullptr;
  person_->SetWord(kPersonOutfit, 0);
  person_->SetWord(kLeftHandWord, 0);
  person_->SetWord(kRightHandWord, 0);
  if (body_ != nullptr) {
    wornOutfit = -1;
    ChooseSuits();
  }
  if (bodyStrings_ != nullptr) {
    const std::string sex = BodyStrings::Get(*bodyStrings_, kBodySex);
    if (platform::EqualsNoCase(sex, "male")) person_->SetWord(kPersonSex, 0);
    if (platform::EqualsNoCase(sex, "female")) person_->SetWord(kPersonSex, 1);

    const std::string age = BodyStrings::Get(*bodyStrings_, kBodyAge);
    int32_t years = 0;
    if (!age.empty() && std::from_chars(age.data(), age.data() + age.size(), years).ec == std::errc()) {
      person_->SetWord(kPersonAge, static_cast<int16_t>(years));
    }

    const std::string skin = BodyStrings::Get(*bodyStrings_, kBodySkinKey);
    if (!skin.empty()) {
      person_->SetWord(kSkinWord, 0);
      StringSet skins;
      if (definition->GetOwnFile() != nullptr &&
          skins.LoadFromFile(definition->GetOwnFile(), kSkinNames, false) == 0) {
        for (int i = 2; i <= skins.GetCount(); ++i) {
          if (BodyStrings::Get(skins, i) == skin) {
            person_->SetWord(kSkinWord, static_cast<int16_t>(i - 1));
            break;
          }
        }
      }
    }
  }
  extraDressings.clear();
  wornOutfit = -1;
  practicesDirty_ = true;
}

void PersonAnimator::Attach(cXPerson* person) {
  person_ = person;
  ResetBody();
  BuildBody();
}

PersonAnimator::~PersonAnimator() {
  if (ownedBody_ != nullptr) ReleaseBody();
}

void PersonAnimator::BuildBody() {
  iCharacterLibrary* library = GetCharacterLibrary();
  if (library == nullptr || person_ == nullptr || bodyStrings_ == nullptr) return;
  const std::string skeleton = BodyStrings::Get(*bodyStrings_, kSkeletonEntry);
  if (skeleton.empty()) return;
  if (ownedBody_ != nullptr) ReleaseBody();
  ownedBody_ = library->CreateBody(skeleton, this);
  if (ownedBody_ == nullptr) return;
  body_ = ownedBody_.get();
  movementState = kStateStanding;
  Reset();
  practicesDirty_ = true;

  const std::string censor = skeleton + "-censor";
  censorSuit = library->HasSuit(censor) ? censor : std::string();

  // Everything worn before the body existed goes on now.
  wornOutfit = -1;
  ChooseSuits();
  for (Dressing& d : dressings) {
    if (!d.worn && !d.suit.empty()) d.Wear(library, body_, std::string(d.suit), std::string(d.texture));
  }
  RewearExtra();

  walk.ClearMeasures();
  walk.startDistance = TravelOf(GetStandardSkill(kStandardWalkingStart)) * kUnitsToFine;
  walk.runHalfLoop = TravelOf(GetStandardSkill(kStandardRunningLoop)) * 0.5f * kUnitsToFine;
  walk.walkHalfLoop = TravelOf(GetStandardSkill(kStandardWalkingLoop)) * 0.5f * kUnitsToFine;
  walk.runStartDistance = TravelOf(GetStandardSkill(kStandardRunningStart)) * kUnitsToFine;
  walk.runStopDistance = TravelOf(GetStandardSkill(kStandardRunningStop)) * 0.5f * kUnitsToFine;
  walk.walkEighthLoop = walk.walkHalfLoop * 0.125f;

  MakeAttachmentPoints(*bodyStrings_);
  StartPractice(kBackgroundSlot, GetStandardSkill(kStandingLoop), false);
  const iSkill* walkLoop = GetStandardSkill(kStandardWalkingLoop);
  StartPractice(kMainSlot, walkLoop, false);
  if (walkLoop != nullptr && mainPractice != nullptr && walkLoop->FrameCount() > 0) {
    int32_t frames[2] = {};
    for (int i = 0; i < 2; ++i) {
      frames[i] = FindTimeProperty(*walkLoop, "anchor", std::to_string(i + 1), walk.footBone[i]);
      walk.anchorPhase[i] = frames[i] >= 0 ? static_cast<float>(frames[i]) / walkLoop->FrameCount() : 0.0f;
    }
    // Each stride is measured with the walk loop posed where its foot is planted.
    const auto footsAt = [&](float phase, float& foot1, float& foot2) {
      mainPractice->time = phase;
      body_->UpdatePractices(Clock());
      body_->UpdateTransforms();
      float p1[3] = {}, p2[3] = {};
      const bool found = body_->BonePosition(walk.footBone[0], p1) && body_->BonePosition(walk.footBone[1], p2);
      foot1 = p1[2] * kUnitsToFine;
      foot2 = p2[2] * kUnitsToFine;
      return found;
    };
    if (frames[0] >= 0 && frames[1] >= 0) {
      float foot1 = 0, foot2 = 0;
      if (footsAt(walk.anchorPhase[1], foot1, foot2)) walk.stride[1] = foot2 - foot1;
      if (footsAt(walk.anchorPhase[0], foot1, foot2)) walk.stride[0] = foot1 - foot2;
    }
  }
  if (mainPractice != nullptr) {
    body_->RemovePractice(mainPractice);
    mainPractice = nullptr;
  }
  currentStandard = -1;
  practicesDirty_ = true;
  if (followState != 0) followState = kFollowFalse;
  // A new body ends any follow: the walk starts again from its request.
  walk.followStopRequest = 1;
  walk.followScale = 0;
}

void PersonAnimator::ReleaseBody() {
  Reset();
  ReleaseDressings();
  censorSuit.clear();
  if (body_ != nullptr) {
    for (bool* made : {&hasHandPoint, &hasHeadPoint, &hasHeadFrontPoint}) *made = false;
    body_->RemoveAttachmentPoint(kHandPoint);
    body_->RemoveAttachmentPoint(kHeadPoint);
    body_->RemoveAttachmentPoint(kHeadFrontPoint);
  }
  if (ownedBody_ != nullptr && body_ == ownedBody_.get()) body_ = nullptr;
  ownedBody_.reset();
}

void PersonAnimator::PlayStandard(int32_t index, bool hold) {
  if (mainPractice != nullptr && currentStandard == index) return;
  if (!StartPractice(kMainSlot, GetStandardSkill(index), false)) return;
  currentStandard = index;
  mainPractice->hold = hold ? 1 : 0;
}

bool PersonAnimator::RootOffset(int32_t index, float& x, float& y, float& z) const {
  x = y = z = 0;
  const iSkill* skill = GetStandardSkill(index);
  if (skill == nullptr) return false;
  for (const SkillTrack& motion : skill->Motions()) {
    if (motion.bone != "ROOT" || motion.translations.empty()) continue;
    const auto& last = motion.translations.back();
    x = last[0];
    y = last[1];
    z = last[2];
    return true;
  }
  return false;
}

}  // namespace tova
