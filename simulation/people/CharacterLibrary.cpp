#include "simulation/people/CharacterLibrary.h"

#include "simulation/people/PersonAnimator.h"

namespace tova {

namespace {
iCharacterLibrary* gLibrary = nullptr;
}  // namespace

iCharacterLibrary* GetCharacterLibrary() { return gLibrary; }
void SetCharacterLibrary(iCharacterLibrary* library) { gLibrary = library; }

void OnAnimationEvents(PracticeRef& practice, const SkillTrack& motion, const std::vector<EventPair>& pairs,
                       float /*time*/) {
  PersonAnimator* animator = practice.body != nullptr ? practice.body->GetAnimator() : nullptr;
  if (animator != nullptr) animator->DispatchEvents(practice, motion, pairs);
}

}  // namespace tova
