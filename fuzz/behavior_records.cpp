// Feeds arbitrary bytes to the behaviour-data parsers. The first byte picks
// the parser; the rest is the resource.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "gamedata/Behavior.h"
#include "gamedata/BehaviorAssembler.h"
#include "gamedata/DrawGroup.h"
#include "gamedata/FloatConstants.h"
#include "gamedata/ObjFnTable.h"
#include "gamedata/SlotDescriptor.h"

using namespace tova;

namespace {

void Tree(const std::vector<uint8_t>& bytes, bool otherOrder) {
  MemoryResourceSource file("fuzz.iff", true, otherOrder);
  file.Add(kTypeBHAV, 4096, bytes, "t");
  file.Add(kTypeBCON, 4096, bytes);
  Behavior b(nullptr, nullptr, &file, nullptr);
  if (TreeView t = b.GetTree(4096)) {
    for (int i = 0; i < t.NodeCount(); ++i) b.IsNodeTarget(4096, i);
    b.GetSignature(4096);
    // Printing and assembling again must give the tree back, marks aside.
    std::string text = DisassembleTree(4096, "t", t.Bytes());
    const size_t used = kTreeHeaderSize + kTreeNodeSize * static_cast<size_t>(t.NodeCount());
    if (AssembleTrees(text).at(0).bytes != WithoutBreakpoints(t.Bytes().first(used))) __builtin_trap();
  }
  if (ConstantsView c = b.GetConstants(4096, true)) {
    for (int i = 0; i < c.Count(); ++i) c.At(i);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t selector = data[0];
  std::vector<uint8_t> bytes(data + 1, data + size);
  MemoryResourceSource file("fuzz.iff", true, (selector & 0x80) != 0);
  try {
    switch (selector & 0x7F) {
      case 0: Tree(bytes, (selector & 0x80) != 0); break;
      case 1: {
        file.Add(kTypeOBJf, 1, bytes);
        ObjFnTable t;
        t.Load(file, 1);
        break;
      }
      case 2: {
        file.Add(kTypeDGRP, 1, bytes);
        DrawGroup g;
        if (g.Load(file, 1) == 0) {
          // What is read writes back in the current layout and reads the same.
          std::vector<uint8_t> written = g.Serialize();
          DrawGroup again;
          if (!again.Parse(written) || again.Serialize() != written) __builtin_trap();
        }
        break;
      }
      case 3: {
        file.Add(kTypeSLOT, 1, bytes);
        std::vector<ObjectSlot> o;
        std::vector<RoutingSlot> r;
        std::vector<SlotPoint> p;
        SlotLoader(&file).Load(1, &o, &r, &p);
        break;
      }
      case 4: {
        file.Add(kTypeFCNS, 1, bytes);
        FloatConstants f;
        f.Load(file, 1);
        break;
      }
      case 5:
        // Whatever assembles prints and assembles again to the same tree and label.
        for (const AssembledTree& t :
             AssembleTrees(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
          const std::vector<AssembledTree> again = AssembleTrees(DisassembleTree(t.id, t.label, t.bytes));
          if (again.size() != 1 || again[0].label != t.label || again[0].bytes != t.bytes) __builtin_trap();
        }
        break;
      default: break;
    }
  } catch (const AssemblyError&) {
  }
  return 0;
}
