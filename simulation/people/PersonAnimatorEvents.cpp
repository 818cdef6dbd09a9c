// The person animator's handling of the events its animations carry, and
// the extra suits those events put on.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "simulation/ObjectModule.h"
#include "simulation/SoundPlayer.h"
#include "simulation/people/FootstepWorld.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int32_t kTileSize = 16;

FootstepWorld* gFootstepWorld = nullptr;

// The value read as a decimal integer; 0 when it does not start with one.
int32_t NumberOf(const std::string& value) {
  int32_t n = 0;
  const char* begin = value.data();
  if (!value.empty() && value[0] == '+') ++begin;
  const auto result = std::from_chars(begin, value.data() + value.size(), n);
  return result.ec == std::errc() ? n : 0;
}

bool IsSelected(const cXPerson* person) {
  return person != nullptr && person->GetModule() != nullptr && person->GetModule()->GetSelectedPerson() == person;
}

}  // namespace

void PersonAnimator::SetFootstepWorld(FootstepWorld* world) { gFootstepWorld = world; }

bool PersonAnimator::PopEvent(int32_t& n) {
  if (eventQueue.empty()) return false;
  n = eventQueue.front();
  eventQueue.erase(eventQueue.begin());
  return true;
}

void PersonAnimator::PlaySound(const std::string& name) const {
  iSoundPlayer* player = GetSoundPlayer();
  if (player != nullptr && person_ != nullptr) player->Play(name, person_->GetId());
}

const char* PersonAnimator::FootstepSound(int32_t kind, bool barefoot) {
  switch (kind) {
    case 3:
    case 5: return barefoot ? "footstep_medium_noshoe" : "footstep_medium";
    case 4: return barefoot ? "footstep_soft_noshoe" : "footstep_soft";
    case 6: return "footstep_plant";
    case 7: return "footstep_trash";
    case 8: return "footstep_ash";
    case 9: return "footstep_roach";
    case 10: return "footstep_puddle";
    case 11: return "footstep_pool_swim_stroke";
    case 1:
    case 2: return barefoot ? "footstep_hard_noshoe" : "footstep_hard";
    default: return barefoot ? "footstep_terrain_noshoe" : "footstep_terrain";
  }
}

int32_t PersonAnimator::FloorSoundKind(int32_t /*foot*/) const {
  if (gFootstepWorld == nullptr) return 0;
  const int32_t x = static_cast<int32_t>(std::lround(grid[0])) / kTileSize;
  const int32_t y = static_cast<int32_t>(std::lround(grid[1])) / kTileSize;
  const int32_t level = person_ != nullptr ? person_->GetLevel() : 1;
  return gFootstepWorld->SoundKind(x, y, level);
}

void PersonAnimator::Footstep(const PracticeRef& practice, int32_t n) const {
  if (!IsSelected(person_) || std::fabs(grid[0] - kNoPosition) < 1e-6f) return;
  const bool forwards = practice.speed >= 0;
  const bool matches = forwards ? (n == 1 || n == 2) : (n == -1 || n == -2);
  if (!matches) return;
  const bool barefoot = wornOutfit == 1 || wornOutfit == 2;
  PlaySound(FootstepSound(FloorSoundKind(std::abs(n)), barefoot));
}

void PersonAnimator::DispatchEvents(PracticeRef& practice, const SkillTrack& motion, const std::vector<EventPair>& pairs) {
  for (const EventPair& pair : pairs) {
    const std::string& name = pair.name;
    const int32_t n = NumberOf(pair.value);
    if (name == "xevt") {
      QueueEvent(n);
    } else if (name == "interruptable" || name == "interruptible") {
      practice.interruptible = n;
    } else if (name == "anchor") {
      practice.anchorWord = 0;
      if (&practice != mainPractice) continue;
      if (n != 0) {
        practice.anchor = &motion;
        if (anchor != &motion) {
          anchor = &motion;
          anchorFlag = 0;
        }
      } else {
        practice.anchor = nullptr;
        if (anchor == &motion) {
          anchor = nullptr;
          anchorFlag = 0;
        }
      }
    } else if (name == "dress") {
      AddExtraDressing(pair.value, std::string());
    } else if (name == "undress") {
      RemoveExtraDressing(pair.value);
    } else if (name == "lefthand" || name == "righthand" || name == "censor") {
      if (person_ == nullptr) continue;
      const int32_t word = name == "lefthand" ? kLeftHandWord : name == "righthand" ? kRightHandWord : kCensorWord;
      person_->SetWord(word, static_cast<int16_t>(n));
    } else if (name == "sound") {
      PlaySound(pair.value);
    } else if (name == "selectedsound") {
      if (IsSelected(person_)) PlaySound(pair.value);
    } else if (name == "deselectedsound") {
      if (!IsSelected(person_)) PlaySound(pair.value);
    } else if (name == "footstep") {
      Footstep(practice, n);
    } else if (name == "discontinuity") {
      if (lastPractice != nullptr) {
        if (body_ != nullptr) body_->RemovePractice(lastPractice);
        lastPractice = nullptr;
      }
      discontinuity = true;
    }
  }
}

void PersonAnimator::AddExtraDressing(const std::string& suit, const std::string& texture) {
  RemoveExtraDressing(suit);
  if (suit.empty()) return;
  Dressing holder{suit, texture};
  // Without a body the names wait for it; a suit the body refuses is dropped.
  if (body_ != nullptr && !holder.Wear(GetCharacterLibrary(), body_, suit, texture)) return;
  extraDressings.push_back(holder);
}

bool PersonAnimator::RemoveExtraDressing(const std::string& suit) {
  const auto worn = [&](const Dressing& d) { return d.suit == suit; };
  if (std::none_of(extraDressings.begin(), extraDressings.end(), worn)) return false;
  for (Dressing& d : extraDressings) {
    if (worn(d)) d.Release(body_);
  }
  std::erase_if(extraDressings, worn);
  return true;
}

}  // namespace tova
