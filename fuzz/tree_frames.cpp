// Arbitrary bytes as a saved frame stack, then a tick of the object. The
// first byte picks the version (10, 24, 25 or the current 62), the rest is
// the record; a frame names its Behavior by one word (1: the object's own).
// Nothing may crash, hang or read outside the frames and trees.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gamedata/BehaviorAssembler.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ResourceSource.h"
#include "resfile/ReconStream.h"
#include "simulation/ObjectModule.h"

namespace {

using namespace tova;

using Codec = OneBehaviorCodec;

struct FrameLot {
  MemoryResourceSource global{"Global.iff"}, own{"Fuzz.iff"}, semi{"FuzzGlobals.iff"};
  std::unique_ptr<ObjectDefinition> definition;
  FrameLot() {
    const char* text =
        "tree 4096 \"Main\"\n params 4\n locals 2\n"
        "n0: Expression 0 1 768 1792 -> n1 n2\n"
        "n1: 4097 -1 -1 -1 -1 -> n0 n2\n"
        "n2: Sleep 1 -> n0 n0\n"
        "end\n"
        "tree 4097 \"Called\"\n type 4\n params 4\n"
        "n0: RandomNumber 1 8 7 7 -> true false\n"
        "n1: WakeStackObject -> true undefined\n"
        "end\n";
    for (AssembledTree& t : AssembleTrees(text)) own.Add(kTypeBHAV, t.id, std::move(t.bytes), t.label);
    ObjectDefinitionRecord record;
    record.SetWord(ObjectDefinitionRecord::kObjectType, 4);
    definition = std::make_unique<ObjectDefinition>(nullptr, nullptr, record, "Fuzz", 0, 128);
    definition->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FrameLot lot;
  if (size == 0) return 0;
  static const int32_t kVersions[] = {10, 24, 25, 62};
  const int32_t version = kVersions[data[0] & 3];
  std::vector<uint8_t> bytes(data + 1, data + size);
  ObjectModule module;
  auto owned = std::make_unique<cXObject>(lot.definition.get(), &module);
  cXObject* o = owned.get();
  o->InitFromDefinition();
  module.AddObject(std::move(owned), 0, true);
  ReconStream stream;
  stream.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
  Codec codec(lot.definition->GetBehavior());
  if (o->Transfer(stream, version, codec)) {
    o->Tick();
    o->RunTree(lot.definition->GetBehavior(), o->GetId(), 4097, nullptr);
  }
  return 0;
}
