// The person animator's reading of the person's looks from its body strings.
#include <charconv>

#include "gamedata/BodyStrings.h"
#include "gamedata/ObjectDefinition.h"
#include "platform/Path.h"
#include "resfile/StringSet.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr ResId kSkinNames = 8192;

}  // namespace

void PersonAnimator::ResetBody() {
  practicesDirty_ = true;
  if (person_ == nullptr) return;
  ObjectDefinition* definition = person_->GetDefinition();
  bodyStrings_ = definition != nullptr ? definition->GetBodyStrings() : nullptr;
  person_->SetWord(kPersonOutfit, 0);
  person_->SetWord(kLeftHandWord, 0);
  person_->SetWord(kRightHandWord, 0);
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
  if (body_ != nullptr) {
    for (const Dressing& d : extraDressings) body_->RemoveDressing(d.suit);
  }
  extraDressings.clear();
  wornOutfit = -1;
  practicesDirty_ = true;
}

}  // namespace tova
