#include "simulation/people/CharacterLibrary.h"

#include "simulation/people/PersonAnimator.h"

namespace tova {

namespace {
CharacterLibrary* gLibrary = nullptr;
}  // namespace

CharacterLibrary* GetCharacterLibrary() { return gLibrary; }
void SetCharacterLibrary(CharacterLibrary* library) { gLibrary = library; }

void OnAnimationEvents(Practice& practice, const Motion& motion, const std::vector<EventPair>& pairs,
                       float /*time*/) {
  PersonAnimator* animator = practice.body != nullptr ? practice.body->GetAnimator() : nullptr;
  if (animator != nullptr) animator->DispatchEvents(practice, motion, pairs);
}

}  // namespace tova
