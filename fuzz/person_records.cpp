// Arbitrary bytes as a person's record in the lot's object stream. The first
// byte picks the version (3 to the current 62), the rest is the record: the
// object part, the animator's record, motives, person data, routes, the
// actions and with-list, the motive changes. A record that reads is written
// back and read again, and the person then ticks, queues, cancels and
// resets. The same bytes are then read as a door part's record (the part's
// object record and its route costs), written back and read again. Nothing
// may crash, hang or read outside the bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gamedata/BehaviorAssembler.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ResourceSource.h"
#include "gamedata/TreeTableData.h"
#include "resfile/ReconStream.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/cXPerson.h"
#include "simulation/people/cXPortal.h"

namespace {

using namespace tova;

using Codec = OneBehaviorCodec;

// Every object offers two interactions.
class Host : public iPeopleHost {
 public:
  Host() {
    for (int32_t key : {1, 2, 33}) {
      TreeTableEntry e;
      e.nameIndex = key;
      e.actionTree = 4097;
      e.name = "Use";
      table.entries.push_back(e);
    }
  }
  TreeTableData* GetTreeTable(cXObject&) override { return &table; }
  TreeTableData table;
};

struct Lot {
  MemoryResourceSource global{"Global.iff"}, own{"Fuzz.iff"}, semi{"FuzzGlobals.iff"};
  std::unique_ptr<ObjectDefinition> person, thing, door;
  Host host;
  Lot() {
    const char* text =
        "tree 4096 \"Main\"\n params 4\nn0: Sleep 1 -> n0 n0\nend\n"
        "tree 4097 \"Use\"\n params 4\nn0: Expression 0 1 768 1792 -> true true\nend\n";
    for (AssembledTree& t : AssembleTrees(text)) own.Add(kTypeBHAV, t.id, std::move(t.bytes), t.label);
    person = Make(ObjectDefinition::kPersonType, "Person");
    thing = Make(4, "Thing");
    door = Make(8, "Door");
    door->GetRecord().SetWord(ObjectDefinitionRecord::kMasterId, 1);
    door->GetRecord().SetFunctionEntry(cXPortal::kPortalEntry, 4097);
    SetPeopleHost(&host);
  }
  std::unique_ptr<ObjectDefinition> Make(int16_t type, const char* name) {
    ObjectDefinitionRecord record;
    record.SetWord(ObjectDefinitionRecord::kObjectType, type);
    record.SetWord(ObjectDefinitionRecord::kStackSize, 8);
    record.SetFunctionEntry(1, 4096);
    record.SetFunctionEntry(4, 4097);
    auto d = std::make_unique<ObjectDefinition>(nullptr, nullptr, record, name, 0, 128);
    d->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
    return d;
  }
};

bool Read(cXObject& p, std::vector<uint8_t>& bytes, int32_t version, Codec& codec) {
  ReconStream s;
  s.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
  return p.Transfer(s, version, false, codec);
}

std::vector<uint8_t> Write(cXObject& p, int32_t version, Codec& codec) {
  ReconStream measure;
  measure.InitMeasure();
  p.Transfer(measure, version, false, codec);
  std::vector<uint8_t> bytes(static_cast<size_t>(measure.GetPosition()));
  ReconStream s;
  s.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kWrite, false);
  p.Transfer(s, version, false, codec);
  return bytes;
}

void DoorRecord(Lot& lot, const std::vector<uint8_t>& input, int32_t version) {
  ObjectModule module;
  std::unique_ptr<cXObject> owned = ObjectModule::MakePortal(lot.door.get(), &module);
  auto* door = static_cast<cXPortal*>(owned.get());
  door->InitFromDefinition();
  module.AddObject(std::move(owned), 0, true);
  Codec codec(lot.door->GetBehavior());
  std::vector<uint8_t> bytes = input;
  if (!Read(*door, bytes, version, codec)) return;
  if (door->CostCount() > cXPortal::kMaxGoalId) __builtin_trap();
  std::vector<uint8_t> again = Write(*door, version, codec);
  if (!Read(*door, again, version, codec)) __builtin_trap();
  door->CostLabel(door->CostCount());
  cXPortal::ResetAllCosts(module);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Lot lot;
  if (size == 0) return 0;
  const int32_t version = 3 + data[0] % 60;
  std::vector<uint8_t> bytes(data + 1, data + size);
  DoorRecord(lot, bytes, version);
  ObjectModule module;
  // Ids 1 and 2: things the record's actions and with-list may name.
  for (int i = 0; i < 2; ++i) {
    auto thing = std::make_unique<cXObject>(lot.thing.get(), &module);
    thing->InitFromDefinition();
    module.AddObject(std::move(thing), 0, true);
  }
  auto owned = std::make_unique<cXPerson>(lot.person.get(), &module);
  cXPerson* p = owned.get();
  p->InitFromDefinition();
  module.AddObject(std::move(owned), 0, true);
  Codec codec(lot.person->GetBehavior());
  if (!Read(*p, bytes, version, codec)) return 0;
  std::vector<uint8_t> again = Write(*p, version, codec);
  if (!Read(*p, again, version, codec)) __builtin_trap();
  p->Tick();
  p->ShouldInterrupt();
  if (cXObject* thing = module.GetObjectById(1)) p->PushAction(QueuedAction::ForEntry(*p, thing, 2, 50));
  p->CancelAction(p->CurrentAction().serial);
  if (p->QueuedCount() > 0) p->CancelAction(p->GetQueuedAction(0)->serial);
  p->Reset(1);
  p->Reset(0);
  return 0;
}
