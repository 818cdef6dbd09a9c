// The people's animation-name tables: loading, the per-person choice of
// table with its fallbacks, the object tables by age, and the reports of
// blank entries and missing skills.
#include <gtest/gtest.h>

#include "FakeCharacterLibrary.h"
#include "PersonFixture.h"
#include "gamedata/ObjectFolder.h"
#include "resfile/MemResFile.h"
#include "simulation/people/AnimNameTables.h"

namespace tova_test {
namespace {

class RecordingReports : public AnimationReports {
 public:
  void ReportBlankAnimation(const cXPerson& person, const std::string& table, int32_t index) override {
    lines.push_back("blank " + table + " " + std::to_string(index) + " by " + std::to_string(person.GetId()));
  }
  void ReportBlankObjectAnimation(const cXObject& object, const cXPerson&, const std::string& table,
                                  int32_t index) override {
    lines.push_back("object " + std::to_string(object.GetId()) + " " + table + " " + std::to_string(index));
  }
  void ReportMissingSkill(const cXPerson&, const std::string& name) override { lines.push_back("missing " + name); }
  std::vector<std::string> lines;
};

void SaveTable(iResFile& file, ResId id, const std::vector<std::string>& names) {
  StringSet set;
  for (const std::string& n : names) set.SetString(set.GetCount() + 1, n.c_str());
  ASSERT_EQ(set.SaveTo(&file, id), 0);
}

class AnimTables : public PersonFixture {
 protected:
  void SetUp() override {
    PersonFixture::SetUp();
    SetCharacterLibrary(&library);
    AnimNameTables::Instance().SetReports(&reports);
    person = MakePerson();
    person->SetWord(kPersonAge, 30);
  }
  void TearDown() override {
    AnimNameTables::Instance().Free();
    AnimNameTables::Instance().SetReports(nullptr);
    SetCharacterLibrary(nullptr);
    PersonFixture::TearDown();
  }
  // Fills index 0 of each table given (by table number) and loads them.
  void LoadIndexZero(const std::map<int, std::string>& names) {
    for (int t = 0; t < AnimNameTables::kCount; ++t) {
      auto it = names.find(t);
      SaveTable(*file, AnimNameTables::kIds[static_cast<size_t>(t)], {it != names.end() ? it->second : "", "x"});
      if (it != names.end()) library.Add(it->second);
    }
    AnimNameTables::Instance().Load(file.get());
  }
  std::string Standard() {
    const iSkill* s = AnimNameTables::Instance().GetStandardAnimation(*person, 0);
    return s != nullptr ? s->GetName() : "(none)";
  }

  std::unique_ptr<MemResFile> file = std::make_unique<MemResFile>();
  FakeCharacterLibrary library;
  RecordingReports reports;
  cXPerson* person = nullptr;
};

TEST_F(AnimTables, EachTableComesFromItsOwnStringTable) {
  for (int t = 0; t < AnimNameTables::kCount; ++t) {
    const ResId id = AnimNameTables::kIds[static_cast<size_t>(t)];
    SaveTable(*file, id, {"Name" + std::to_string(id)});
  }
  AnimTableCatalogueServices services;
  services.LoadAnimNameTables(file.get());
  ASSERT_TRUE(AnimNameTables::Instance().IsLoaded());
  const int expected[] = {150, 151, 152, 153, 154, 155, 130, 128, 156, 157, 158, 159, 160};
  for (int t = 0; t < AnimNameTables::kCount; ++t) {
    EXPECT_EQ(AnimNameTables::Instance().Name(t, 0), "name" + std::to_string(expected[t])) << t;
    EXPECT_EQ(AnimNameTables::Instance().Name(t, 1), "") << "past the end";
  }
  services.ReleaseAnimNameTables();
  EXPECT_FALSE(AnimNameTables::Instance().IsLoaded());
  EXPECT_EQ(AnimNameTables::Instance().Get(0), nullptr);
}

TEST_F(AnimTables, MissingStringTablesLeaveEmptyTables) {
  AnimNameTables::Instance().Load(file.get());
  ASSERT_NE(AnimNameTables::Instance().Get(12), nullptr);
  EXPECT_EQ(Standard(), "(none)");
  EXPECT_TRUE(library.asked.empty()) << "an empty entry asks the library nothing";
  EXPECT_TRUE(reports.lines.empty()) << "standard animations are not reported";
}

TEST_F(AnimTables, StandardAnimationPicksTheTableByAgeSexAndSpecialFlag) {
  struct Case {
    int16_t age, sex, special;
    std::map<int, std::string> names;
    std::string expected;
  } cases[] = {
      {30, 0, 0, {{0, "base"}, {2, "male"}, {3, "female"}}, "male"},
      {30, 0, 0, {{0, "base"}, {3, "female"}}, "base"},  // table 2 empty: table 0
      {30, 1, 0, {{0, "base"}, {2, "male"}, {3, "female"}}, "female"},
      {17, 1, 0, {{0, "base"}, {1, "child"}, {3, "female"}}, "child"},
      {0, 0, 0, {{0, "base"}, {1, "child"}, {2, "male"}}, "child"},  // below 18 is a child here
      {18, 0, 0, {{0, "base"}, {1, "child"}, {2, "male"}}, "male"},
      {30, 0, 1, {{0, "base"}, {2, "male"}, {10, "special-m"}}, "special-m"},
      {30, 0, 1, {{0, "base"}, {2, "male"}}, "male"},  // table 10 empty: table 2
      {30, 0, 1, {{0, "base"}}, "base"},
      {30, 1, 1, {{0, "base"}, {10, "special-m"}, {11, "special-f"}}, "special-f"},
      {9, 0, 1, {{0, "base"}, {10, "special-m"}, {12, "special-c"}}, "special-c"},
      {30, 0, 0, {{2, ""}}, "(none)"},
  };
  for (const Case& c : cases) {
    file = std::make_unique<MemResFile>();
    library.skills.clear();
    LoadIndexZero(c.names);
    person->SetWord(kPersonAge, c.age);
    person->SetWord(kPersonSex, c.sex);
    person->SetWord(kPersonOnInvalidTile, c.special);
    EXPECT_EQ(Standard(), c.expected) << "age " << c.age << " sex " << c.sex << " special " << c.special;
  }
}

TEST_F(AnimTables, ReachTablesByAgeAndNoReportWhenEmpty) {
  LoadIndexZero({{4, "reach-adult"}, {5, "reach-child"}});
  EXPECT_EQ(AnimNameTables::Instance().GetReachAnimation(*person, 0)->GetName(), "reach-adult");
  person->SetWord(kPersonAge, 8);
  EXPECT_EQ(AnimNameTables::Instance().GetReachAnimation(*person, 0)->GetName(), "reach-child");
  EXPECT_EQ(AnimNameTables::Instance().GetReachAnimation(*person, 5), nullptr);
  EXPECT_EQ(AnimNameTables::Instance().GetReachAnimation(*person, -1), nullptr);
  EXPECT_TRUE(reports.lines.empty());
}

TEST_F(AnimTables, BlankMiscPersonAndGlobalEntriesAreReported) {
  LoadIndexZero({{6, "pers-0"}, {7, "glob-0"}, {8, "misc-adult"}, {9, "misc-child"}});
  AnimNameTables& t = AnimNameTables::Instance();
  EXPECT_EQ(t.GetMiscAnimation(*person, 0)->GetName(), "misc-adult");
  EXPECT_EQ(t.GetPersonAnimation(*person, 0)->GetName(), "pers-0");
  EXPECT_EQ(t.GetGlobalAnimation(*person, 0)->GetName(), "glob-0");
  person->SetWord(kPersonAge, 4);
  EXPECT_EQ(t.GetMiscAnimation(*person, 0)->GetName(), "misc-child");
  EXPECT_TRUE(reports.lines.empty());
  // Index 1 holds "x", which the library lacks; index 3 is past the end.
  EXPECT_EQ(t.GetMiscAnimation(*person, 3), nullptr);
  EXPECT_EQ(t.GetPersonAnimation(*person, 3), nullptr);
  EXPECT_EQ(t.GetGlobalAnimation(*person, 1), nullptr);
  const std::string id = std::to_string(person->GetId());
  EXPECT_EQ(reports.lines, (std::vector<std::string>{"blank misc 3 by " + id, "blank pers 3 by " + id, "missing x"}));
}

TEST_F(AnimTables, SkillByNameReportsMissingSkillsOnly) {
  AnimNameTables& t = AnimNameTables::Instance();
  library.Add("walk");
  EXPECT_EQ(t.SkillByName(*person, ""), nullptr);
  EXPECT_EQ(t.SkillByName(*person, "walk")->GetName(), "walk");
  EXPECT_EQ(t.SkillByName(*person, "fly"), nullptr);
  EXPECT_EQ(reports.lines, std::vector<std::string>{"missing fly"});
  SetCharacterLibrary(nullptr);
  EXPECT_EQ(t.SkillByName(*person, "walk"), nullptr) << "no library loaded";
}

// The object tables: 129 adult, 130 child, 131 adult to child, 132 child
// to adult, chosen by the actor's age and, for a main animation towards
// the person it is interacting with, by that partner's age.
class ObjectAnimTables : public AnimTables {
 protected:
  void SetUp() override {
    AnimTables::SetUp();
    SaveTable(objectFile, 129, {"a-obj"});
    SaveTable(objectFile, 130, {"c-obj"});
    SaveTable(objectFile, 131, {"a-to-c"});
    SaveTable(objectFile, 132, {"c-to-a", ""});
    for (const char* n : {"a-obj", "c-obj", "a-to-c", "c-to-a"}) library.Add(n);
    ObjectDefinitionRecord record;
    record.SetGuid(0x7000);
    record.SetWord(ObjectDefinitionRecord::kObjectType, 4);
    thingDefinition = std::make_unique<ObjectDefinition>(&folder, &objectFile, record, "Sofa", 0, 128);
    thing = Add(std::make_unique<cXObject>(thingDefinition.get(), &module));
    // A partner person with the object's tables.
    partnerDefinition = std::make_unique<ObjectDefinition>(&folder, &objectFile, personDefinition->GetRecord(),
                                                           "Partner", 0, 128);
    partner = Add(std::make_unique<cXPerson>(partnerDefinition.get(), &module));
    partner->SetWord(kPersonAge, 30);
  }
  template <class T>
  T* Add(std::unique_ptr<T> object) {
    T* raw = object.get();
    module.AddObject(std::move(object), 0, true);
    return raw;
  }
  std::string Object(cXObject& object, bool isMain, int32_t index = 0) {
    const iSkill* s = AnimNameTables::Instance().GetObjectAnimation(object, *person, index, isMain);
    return s != nullptr ? s->GetName() : "(none)";
  }

  MemResFile objectFile;
  ObjectFolder folder;
  std::unique_ptr<ObjectDefinition> thingDefinition, partnerDefinition;
  cXObject* thing = nullptr;
  cXPerson* partner = nullptr;
};

TEST_F(ObjectAnimTables, ActorAgePicksTheFamily) {
  EXPECT_EQ(Object(*thing, false), "a-obj");
  EXPECT_EQ(Object(*thing, true), "a-obj") << "not the interaction's target";
  person->SetWord(kPersonAge, 6);
  EXPECT_EQ(Object(*thing, false), "c-obj");
}

TEST_F(ObjectAnimTables, PartnerAgePicksTheDirectionOfMainAnimations) {
  struct Case {
    int16_t actorAge, partnerAge;
    bool isMain, isTarget;
    std::string expected;
  } cases[] = {
      {30, 30, true, true, "a-obj"},  {30, 8, true, true, "a-to-c"}, {30, 8, false, true, "a-obj"},
      {30, 8, true, false, "a-obj"},  {8, 30, true, true, "c-to-a"},  {8, 8, true, true, "c-obj"},
  };
  for (const Case& c : cases) {
    person->SetWord(kPersonAge, c.actorAge);
    partner->SetWord(kPersonAge, c.partnerAge);
    person->CurrentAction().target = c.isTarget ? partner->GetId() : static_cast<int16_t>(partner->GetId() + 1);
    EXPECT_EQ(Object(*partner, c.isMain), c.expected) << c.actorAge << " " << c.partnerAge << " " << c.isMain;
  }
}

TEST_F(ObjectAnimTables, BlankEntriesAndMissingTablesAreReportedByTheirNames) {
  person->SetWord(kPersonAge, 8);
  partner->SetWord(kPersonAge, 30);
  person->CurrentAction().target = partner->GetId();
  EXPECT_EQ(Object(*partner, true, 1), "(none)");
  EXPECT_EQ(Object(*thing, false, 4), "(none)");
  cXObject& bare = *Add(std::make_unique<cXObject>(definition.get(), &module));  // no file of its own
  person->SetWord(kPersonAge, 30);
  EXPECT_EQ(Object(bare, false), "(none)");
  const std::string p = std::to_string(partner->GetId()), t = std::to_string(thing->GetId()),
                    b = std::to_string(bare.GetId());
  EXPECT_EQ(reports.lines, (std::vector<std::string>{"object " + p + " child to adult 1",
                                                     "object " + t + " child to object (or child to child) 4",
                                                     "object " + b + " adult to object (or adult to adult) 0"}));
}

}  // namespace
}  // namespace tova_test
