// People on a small lot: a person definition and a plain "Thing" definition
// with trees assembled from text, tree tables per object, and a host that
// records what people ask of the game above them.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "gamedata/SimRandom.h"
#include "gamedata/TreeTableData.h"
#include "simulation/people/ActivityLog.h"
#include "simulation/people/AutonomyConstants.h"
#include "simulation/people/MoodTables.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/cXPerson.h"

namespace tova_test {

using namespace tova;

class RecordingHost : public iPeopleHost {
 public:
  bool FreeWill() const override { return freeWill; }
  bool DemoMode() const override { return demo; }
  bool AllMenus() const override { return allMenus; }
  bool AllowInUse() const override { return allowInUse; }
  void ShowMessage(const std::string& text, const std::string& title) override { messages.push_back(title + ": " + text); }
  void DebugLog(const std::string& line) override { log.push_back(line); }
  void ShowMoney(cXPerson& person, int32_t amount) override { money.emplace_back(person.GetId(), amount); }
  void Broadcast(int32_t command, intptr_t argument) override { broadcasts.emplace_back(command, argument); }
  void CountHouseSample(bool routing) override {
    ++samples;
    routingSamples += routing ? 1 : 0;
  }
  uint32_t GetTickCount() const override { return tick; }
  int16_t RoomAt(const cXObject& o) const override {
    auto it = rooms.find(o.GetId());
    return it != rooms.end() ? it->second : 0;
  }
  bool IsInsideLot(const cXObject& o) const override { return !outside.contains(o.GetId()); }
  bool IsStandable(const cXObject& o) const override { return !unstandable.contains(o.GetId()); }
  float RoomScore(int16_t room) const override { return room == 0 ? outdoorScore : roomScore; }
  void SetRoomLights(int16_t room, bool on) override { lights.emplace_back(room, on); }
  TreeTableData* GetTreeTable(cXObject& o) override {
    auto it = tables.find(o.GetId());
    return it != tables.end() ? &it->second : nullptr;
  }
  ResourceSource* GlobalFile() override { return global; }
  bool IsHouseMember(const cXPerson& p) const override { return members.contains(p.GetId()); }
  void CopyToNeighbor(cXPerson& p) override { copied.push_back(p.GetId()); }
  ObjectDefinition* FindDefinition(ObjectModule&, uint32_t guid) override {
    return guid == kStepAsideGuid ? marker : nullptr;
  }
  bool GetOutfit(int16_t character, int16_t outfit, int16_t sex, std::array<std::string, 3>& out) override {
    ++outfitLookups;
    if (character != 3) return false;
    out = {std::string(sex != 0 ? "female" : "male") + std::to_string(outfit), "hands", "head"};
    return true;
  }
  std::string NormalizeSuitName(ObjectDefinition*, const std::string& name) override { return name + "!"; }
  std::string DefinitionName(uint32_t guid) const override {
    auto it = names.find(guid);
    return it != names.end() ? it->second : std::to_string(guid);
  }

  bool freeWill = true, demo = false, allMenus = false, allowInUse = false;
  uint32_t tick = 0;
  float roomScore = 0, outdoorScore = 0;
  int32_t samples = 0, routingSamples = 0, outfitLookups = 0;
  std::vector<std::string> messages, log;
  std::vector<std::pair<int16_t, int32_t>> money;
  std::vector<std::pair<int32_t, intptr_t>> broadcasts;
  std::vector<std::pair<int16_t, bool>> lights;
  std::map<int16_t, int16_t> rooms;
  std::set<int16_t> unstandable, members, outside;
  std::vector<int16_t> copied;
  std::map<int16_t, TreeTableData> tables;
  std::map<uint32_t, std::string> names;
  ResourceSource* global = nullptr;
  ObjectDefinition* marker = nullptr;
};

// One interaction of a table.
inline TreeTableEntry Interaction(int32_t key, std::string name, int32_t flags = 0, int16_t hungerBase = 0,
                                  int16_t checkTree = 0) {
  TreeTableEntry e;
  e.nameIndex = key;
  e.name = std::move(name);
  e.flags = flags;
  e.actionTree = 4103;
  e.checkTree = checkTree;
  e.attenuationCode = 1;  // no distance penalty unless a test asks for one
  e.motives.assign(16, MotiveEntry{});
  e.motives[kMotiveHunger].base = hungerBase;
  return e;
}

constexpr uint32_t kPersonGuid = 0x50455253;

class PersonFixture : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    // Things: entry 4 counts in attribute 0 how often an action on them was
    // dropped; tree 4103 is an action that counts in attribute 1.
    AddEntryTree(kEntryActionRemoved, 4101);
    Trees(
        "tree 4096 \"Main\"\n params 4\nn0: Sleep 1 -> n0 n0\nend\n"
        "tree 4101 \"Dropped\"\n params 4\nn0: " + Expr(kOwnerMyAttribute, 0, 3, kOwnerLiteral, 1) +
        " -> true true\nend\n"
        "tree 4102 \"Reset\"\n params 4\nn0: " + Expr(kOwnerMyAttribute, 2, 3, kOwnerLiteral, 1) +
        " -> true true\nend\n"
        "tree 4103 \"Use\"\n params 4\nn0: " + Expr(kOwnerStackObjAttribute, 1, 3, kOwnerLiteral, 1) +
        " -> true true\nend\n"
        "tree 4104 \"Check\"\n params 4\nn0: " + Expr(kOwnerParam, 0, 2, kOwnerLiteral, 1) + " -> true false\nend\n");
    ObjectDefinitionRecord record;
    record.SetGuid(kPersonGuid);
    record.SetWord(ObjectDefinitionRecord::kObjectType, ObjectDefinition::kPersonType);
    record.SetWord(ObjectDefinitionRecord::kStackSize, 16);
    record.SetWord(ObjectDefinitionRecord::kWordArrayLength, 8);
    record.SetFunctionEntry(kEntryMain, 4096);
    record.SetFunctionEntry(kEntryReset, 4102);
    record.SetFunctionEntry(kEntryActionRemoved, 4101);
    personDefinition = std::make_unique<ObjectDefinition>(nullptr, nullptr, record, "Bella", 0, 128);
    personDefinition->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
    SetPeopleHost(&host);
    AutonomyConstantsClient::Instance().Reset();
    MoodTables::Instance().Reset();
    ActivityLog::Instance().Clear();
    QueuedAction::SetSerialCounter(0);
    SetRandomSeed(12345);
  }
  // The objects go before the definitions they hold.
  void TearDown() override {
    module.Clear();
    SetPeopleHost(nullptr);
  }

  template <class T = cXPerson>
  T* MakePerson() {
    auto p = std::make_unique<T>(personDefinition.get(), &module);
    T* person = p.get();
    const int16_t id = module.AddObject(std::move(p), 0, true);
    person->InitFromDefinition();
    person->ResetData(false);
    person->SetWord(kPersonAutonomyLevel, 100);
    module.SetStateBits(id, kSchedActive, true);
    return person;
  }

  // A thing offering the entries to autonomy.
  cXObject* MakeThing(std::vector<TreeTableEntry> entries = {}) {
    cXObject* o = Make<cXObject>();
    o->ResetData(false);
    host.tables[o->GetId()].entries = std::move(entries);
    module.SetStateBits(o->GetId(), kSchedOffersInteractions, true);
    return o;
  }

  QueuedAction ActionOn(cXPerson& p, cXObject& target, int32_t key, int32_t priority) {
    return QueuedAction::ForEntry(p, &target, key, priority);
  }

  std::vector<int32_t> QueuedPriorities(cXPerson& p) {
    std::vector<int32_t> out;
    for (int32_t n = 0; n < p.QueuedCount(); ++n) out.push_back(p.GetQueuedAction(n)->priority);
    return out;
  }

  RecordingHost host;
  std::unique_ptr<ObjectDefinition> personDefinition;
};

}  // namespace tova_test
