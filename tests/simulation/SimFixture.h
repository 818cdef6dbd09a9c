// A small lot for interpreter tests: one definition whose trees are
// assembled from text into memory files, a module, and objects made of it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gamedata/BehaviorAssembler.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ResourceSource.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXObject.h"

namespace tova_test {

using namespace tova;

// "Expression" operands: left index, right index, then the operator in
// byte 5 and the owners in bytes 6 (left) and 7 (right).
inline std::string Expr(int leftOwner, int left, int op, int rightOwner, int right) {
  return "Expression " + std::to_string(left) + " " + std::to_string(right) + " " + std::to_string(op << 8) + " " +
         std::to_string((leftOwner & 0xFF) | ((rightOwner & 0xFF) << 8));
}

// A person for operand tests: motives and person data of its own.
class FakePerson : public cXObject {
 public:
  using cXObject::cXObject;
  float motives[kMotiveCount] = {};
  int16_t personData[kPersonDataWords] = {};
  bool IsPerson() const override { return true; }
  float* GetMotive(int32_t n) override { return n >= 0 && n < kMotiveCount ? &motives[n] : nullptr; }
  int16_t* GetPersonData(int32_t n) override { return n >= 0 && n < kPersonDataWords ? &personData[n] : nullptr; }
};

// A fake person that is a neighbour.
class NeighbourPerson : public FakePerson {
 public:
  using FakePerson::FakePerson;
  int16_t neighbour = 0;
  int16_t GetNeighbourId() const override { return neighbour; }
};

class SimFixture : public ::testing::Test {
 protected:
  void SetUp() override { MakeDefinition(); }

  void MakeDefinition(int16_t stackSize = 8, int16_t attributes = 8) {
    ObjectDefinitionRecord record;
    record.SetGuid(0x10203040);
    record.SetWord(ObjectDefinitionRecord::kObjectType, 4);
    record.SetWord(ObjectDefinitionRecord::kStackSize, stackSize);
    record.SetWord(ObjectDefinitionRecord::kWordArrayLength, attributes);
    record.SetFunctionEntry(1, 4096);
    record.SetFunctionEntry(18, 4100);
    definition = std::make_unique<ObjectDefinition>(nullptr, nullptr, record, "Thing", 0, 128);
    definition->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
  }

  // Gives the definition (before any object is made of it) a tree for one
  // more function-table entry.
  void AddEntryTree(int entry, int16_t tree) {
    ObjectDefinitionRecord record = definition->GetRecord();
    record.SetFunctionEntry(entry, tree);
    definition = std::make_unique<ObjectDefinition>(nullptr, nullptr, record, definition->GetName(), 0, 128);
    definition->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
  }

  void Trees(MemoryResourceSource& file, const std::string& text) {
    for (AssembledTree& t : AssembleTrees(text)) file.Add(kTypeBHAV, t.id, std::move(t.bytes), t.label);
  }
  void Trees(const std::string& text) { Trees(own, text); }

  template <class T = cXObject>
  T* Make() {
    auto o = std::make_unique<T>(definition.get(), &module);
    o->InitFromDefinition();
    T* p = o.get();
    const int16_t id = module.AddObject(std::move(o), 0, true);
    module.SetStateBits(id, kSchedActive, true);
    return p;
  }

  // Makes an object running tree id (4096 by default).
  template <class T = cXObject>
  T* Run(int32_t tree = 4096) {
    T* o = Make<T>();
    EXPECT_TRUE(o->ResetAndPush(definition->GetBehavior(), tree));
    return o;
  }

  Behavior* behavior() { return definition->GetBehavior(); }

  MemoryResourceSource global{"GameData/Global/Global.iff"};
  MemoryResourceSource own{"GameData/Objects/Thing.iff"};
  MemoryResourceSource semi{"GameData/Global/ThingGlobals.iff"};
  std::unique_ptr<ObjectDefinition> definition;
  ObjectModule module;
};

}  // namespace tova_test
