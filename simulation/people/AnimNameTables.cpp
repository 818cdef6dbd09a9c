#include "simulation/people/AnimNameTables.h"

#include "gamedata/ObjectDefinition.h"
#include "simulation/people/CharacterLibrary.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int32_t kChildBelowAge = 18;

bool IsFemale(const cXPerson& person) { return person.Word(kPersonSex) != 0; }

std::string EntryOf(AnimTable* table, int32_t index) {
  if (table == nullptr || index < 0) return {};
  const char* text = table->GetString(index + 1);
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

AnimNameTables& AnimNameTables::Instance() {
  static AnimNameTables tables;
  return tables;
}

bool AnimNameTables::IsChild(const cXPerson& person) { return person.Word(kPersonAge) < kChildBelowAge; }

void AnimNameTables::Load(iResFile* file) {
  for (int i = 0; i < kCount; ++i) {
    tables_[static_cast<size_t>(i)] = std::make_unique<AnimTable>();
    if (file != nullptr) tables_[static_cast<size_t>(i)]->MergeNames(file, kIds[static_cast<size_t>(i)]);
  }
  loaded_ = true;
}

void AnimNameTables::Free() {
  for (auto& t : tables_) t.reset();
  loaded_ = false;
}

AnimTable* AnimNameTables::Get(int table) {
  return table >= 0 && table < kCount ? tables_[static_cast<size_t>(table)].get() : nullptr;
}

std::string AnimNameTables::Name(int table, int32_t index) { return EntryOf(Get(table), index); }

const iSkill* AnimNameTables::SkillByName(const cXPerson& person, const std::string& name) {
  if (name.empty()) return nullptr;
  iCharacterLibrary* library = GetCharacterLibrary();
  const iSkill* skill = library != nullptr ? library->GetSkill(name) : nullptr;
  if (skill == nullptr && reports_ != nullptr) reports_->ReportMissingSkill(person, name);
  return skill;
}

const iSkill* AnimNameTables::GetStandardAnimation(const cXPerson& person, int32_t index) {
  const bool child = IsChild(person);
  if (person.Word(kPersonOnInvalidTile) != 0) {
    const int special = child ? kSpecialChild : IsFemale(person) ? kSpecialFemale : kSpecialMale;
    const std::string name = Name(special, index);
    if (!name.empty()) return SkillByName(person, name);
  }
  const int own = child ? kStandardChild : IsFemale(person) ? kStandardFemale : kStandardMale;
  std::string name = Name(own, index);
  if (name.empty()) name = Name(kStandard, index);
  return SkillByName(person, name);
}

const iSkill* AnimNameTables::GetReachAnimation(const cXPerson& person, int32_t index) {
  return SkillByName(person, Name(IsChild(person) ? kReachChild : kReachAdult, index));
}

const iSkill* AnimNameTables::Reported(const cXPerson& person, int table, const char* word, int32_t index) {
  const std::string name = Name(table, index);
  if (name.empty()) {
    if (reports_ != nullptr) reports_->ReportBlankAnimation(person, word, index);
    return nullptr;
  }
  return SkillByName(person, name);
}

const iSkill* AnimNameTables::GetMiscAnimation(const cXPerson& person, int32_t index) {
  return Reported(person, IsChild(person) ? kMiscChild : kMiscAdult, "misc", index);
}

const iSkill* AnimNameTables::GetPersonAnimation(const cXPerson& person, int32_t index) {
  return Reported(person, kPerson, "pers", index);
}

const iSkill* AnimNameTables::GetGlobalAnimation(const cXPerson& person, int32_t index) {
  return Reported(person, kGlobal, "glob", index);
}

const iSkill* AnimNameTables::GetObjectAnimation(cXObject& object, cXPerson& person, int32_t index, bool isMain) {
  const bool child = IsChild(person);
  bool towardsOtherAge = false;
  if (isMain && person.CurrentAction().target == object.GetId() && object.IsPerson()) {
    towardsOtherAge = IsChild(static_cast<const cXPerson&>(object)) != child;
  }
  ObjectDefinition::AnimTableKind kind;
  const char* text;
  if (child) {
    kind = towardsOtherAge ? ObjectDefinition::kChildToAdultAnims : ObjectDefinition::kChildAnims;
    text = towardsOtherAge ? "child to adult" : "child to object (or child to child)";
  } else {
    kind = towardsOtherAge ? ObjectDefinition::kAdultToChildAnims : ObjectDefinition::kAdultAnims;
    text = towardsOtherAge ? "adult to child" : "adult to object (or adult to adult)";
  }
  ObjectDefinition* definition = object.GetDefinition();
  const std::string name = EntryOf(definition != nullptr ? definition->GetAnimTable(kind) : nullptr, index);
  if (name.empty()) {
    if (reports_ != nullptr) reports_->ReportBlankObjectAnimation(object, person, text, index);
    return nullptr;
  }
  return SkillByName(person, name);
}

}  // namespace tova
