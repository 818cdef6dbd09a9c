// treerun --data ROOT --object GUID [--tree ID] [--ticks N]
//
// Makes one object of the definition with that GUID in an empty module,
// pushes its main tree (entry 1) or the given tree, and ticks it N times
// (default 10). Prints per tick
//   tick <n> <yield|stop|error> tree <id> node <i> frames <k>
// then the temps, the attributes and the error code with its message.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "gamedata/ObjectFolder.h"
#include "gamedata/SimRandom.h"
#include "simulation/ObjectModule.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: treerun --data ROOT --object GUID [--tree ID] [--ticks N]\n");
  return 2;
}

bool ParseNumber(const char* text, long long lo, long long hi, long long& out) {
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 0);
  if (end == text || *end != '\0' || v < lo || v > hi) return false;
  out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root;
  long long guid = -1, tree = 0, ticks = 10;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--data") == 0 && hasValue) {
      root = argv[++i];
    } else if (std::strcmp(argv[i], "--object") == 0 && hasValue) {
      if (!ParseNumber(argv[++i], 0, 0xFFFFFFFFLL, guid)) return Usage();
    } else if (std::strcmp(argv[i], "--tree") == 0 && hasValue) {
      if (!ParseNumber(argv[++i], 256, 32767, tree)) return Usage();
    } else if (std::strcmp(argv[i], "--ticks") == 0 && hasValue) {
      if (!ParseNumber(argv[++i], 0, 1000000, ticks)) return Usage();
    } else {
      return Usage();
    }
  }
  if (root.empty() || guid < 0) return Usage();
  if (root.back() != '/' && root.back() != '\\') root += '/';

  tova::ObjectFolder folder;
  folder.Init(root);
  tova::ObjectDefinition* definition = folder.FindByGUID(static_cast<uint32_t>(guid));
  if (definition == nullptr) {
    std::fprintf(stderr, "treerun: no definition with GUID 0x%08llX in %s\n", guid, root.c_str());
    return 1;
  }
  tova::ObjectModule module(&folder);
  auto owned = std::make_unique<tova::cXObject>(definition, &module);
  tova::cXObject* object = owned.get();
  object->InitFromDefinition();
  const int16_t id = module.AddObject(std::move(owned), 0, true);
  module.SetStateBits(id, tova::kSchedActive, true);
  const int32_t start = tree != 0 ? static_cast<int32_t>(tree) : definition->GetFunctionTreeId(1);
  if (!object->ResetAndPush(definition->GetBehavior(), start)) {
    std::fprintf(stderr, "treerun: tree %d cannot be run\n", start);
    return 1;
  }
  tova::SetRandomSeed(1);

  for (long long n = 1; n <= ticks; ++n) {
    const bool yielded = object->Tick();
    const char* result = object->GetErrorCode() != 0 ? "error" : yielded ? "yield" : "stop";
    tova::TreeStackFrame* top = object->CurrentFrame();
    std::printf("tick %lld %s tree %d node %d frames %d\n", n, result, top ? top->TreeId() : 0, top ? top->node : -1,
                object->FrameCount());
    if (object->GetErrorCode() != 0) break;
  }
  std::printf("temps");
  for (int i = 0; i < tova::kTempCount; ++i) std::printf(" %d", object->Temps()[i]);
  std::printf("\nattributes");
  for (int i = 0; i < object->AttributeCount(); ++i) std::printf(" %d", object->Attributes()[i]);
  std::printf("\nerror %d \"%s\"\n", object->GetErrorCode(), tova::ObjectErrorMessage(object->GetErrorCode()));
  return 0;
}
