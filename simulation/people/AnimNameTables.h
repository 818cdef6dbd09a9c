#pragma once
// The thirteen animation-name tables that map the people's animation
// indices to skill names, by age and sex, with the lookups that pick a
// person's table and fall back through the others. Blank entries and
// missing skills are reported through the installed reports.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "gamedata/AnimTable.h"
#include "gamedata/CatalogueServices.h"

namespace tova {

class cXObject;
class cXPerson;
class iSkill;

// Lines in the application's message log while its asset report switch is on.
class AnimationReports {
 public:
  virtual ~AnimationReports() = default;
  virtual void ReportBlankAnimation(const cXPerson& /*person*/, const std::string& /*table*/, int32_t /*index*/) {}
  virtual void ReportBlankObjectAnimation(const cXObject& /*object*/, const cXPerson& /*person*/,
                                          const std::string& /*table*/, int32_t /*index*/) {}
  virtual void ReportMissingSkill(const cXPerson& /*person*/, const std::string& /*name*/) {}
};

class AnimNameTables {
 public:
  static constexpr int kCount = 13;
  // The 'STR#' id of each table, in table order.
  static constexpr std::array<int16_t, kCount> kIds = {150, 151, 152, 153, 154, 155, 130,
                                                       128, 156, 157, 158, 159, 160};
  enum Table : int {
    kStandard = 0, kStandardChild = 1, kStandardMale = 2, kStandardFemale = 3,
    kReachAdult = 4, kReachChild = 5, kPerson = 6, kGlobal = 7, kMiscAdult = 8, kMiscChild = 9,
    kSpecialMale = 10, kSpecialFemale = 11, kSpecialChild = 12,
  };

  static AnimNameTables& Instance();

  // Makes the thirteen tables and loads them in table order; a table
  // that does not load stays empty.
  void Load(iResFile* file);
  void Free();
  bool IsLoaded() const { return loaded_; }
  // Null before Load or for a number outside 0..12.
  AnimTable* Get(int table);

  // The name of index's entry (entry index+1), "" when empty or absent.
  std::string Name(int table, int32_t index);

  const iSkill* GetStandardAnimation(const cXPerson& person, int32_t index);
  const iSkill* GetReachAnimation(const cXPerson& person, int32_t index);
  const iSkill* GetMiscAnimation(const cXPerson& person, int32_t index);
  const iSkill* GetPersonAnimation(const cXPerson& person, int32_t index);
  const iSkill* GetGlobalAnimation(const cXPerson& person, int32_t index);
  // From the object's own tables; isMain: a main animation of the
  // animate primitive, where a person partner's age picks the direction.
  const iSkill* GetObjectAnimation(cXObject& object, cXPerson& person, int32_t index, bool isMain);
  // Null for an empty name; a skill the library lacks is reported.
  const iSkill* SkillByName(const cXPerson& person, const std::string& name);

  void SetReports(AnimationReports* reports) { reports_ = reports; }

  // The animation code counts every age below 18 as a child.
  static bool IsChild(const cXPerson& person);

 private:
  const iSkill* Reported(const cXPerson& person, int table, const char* word, int32_t index);

  std::array<std::unique_ptr<AnimTable>, kCount> tables_;
  bool loaded_ = false;
  AnimationReports* reports_ = nullptr;
};

// The catalogue hook that loads and frees the tables with the catalogue.
class AnimTableCatalogueServices : public CatalogueServices {
 public:
  void LoadAnimNameTables(iResFile* globalFile) override { AnimNameTables::Instance().Load(globalFile); }
  void ReleaseAnimNameTables() override { AnimNameTables::Instance().Free(); }
};

}  // namespace tova
