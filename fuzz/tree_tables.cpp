// Feeds arbitrary bytes to the tree-table readers. The first byte picks the
// record and its file's settings; for 'TTAB' the next two bytes give the
// length of the table, and the rest is its names list ('TTAs').
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "gamedata/Behavior.h"
#include "gamedata/BehaviorAssembler.h"
#include "resfile/MemResFile.h"
#include "simulation/TreeProperties.h"
#include "simulation/TreeTable.h"
#include "simulation/XObjLang.h"
#include "simulation/cTreeConstants.h"

using namespace tova;

namespace {

void Table(const uint8_t* data, size_t size, bool writable, bool native) {
  if (size < 2) return;
  const size_t length = std::min<size_t>(size - 2, static_cast<size_t>(data[0] | data[1] << 8));
  MemResFile file;
  const uint16_t flags = native ? kResFlagNative : 0;
  file.AddStored(kTypeTTAB, 300, data + 2, static_cast<int32_t>(length), "t", flags);
  file.AddStored(kTypeTTAs, 300, data + 2 + length, static_cast<int32_t>(size - 2 - length), "n", flags);
  file.SetWritable(writable);
  TreeTable table(16);
  if (table.Load(&file, 300) != 0) return;
  for (int i = 0; i < table.GetEntryCount(); ++i) table.GetAttenuation(i, i % 2 == 0);
  // What loads saves and loads back to the same entries (names lists of a
  // few entries only: padding one to 32767 names is slow, not wrong).
  for (const TreeTableEntry& e : table.Data().entries) {
    if (e.nameIndex > 64) return;
  }
  if (table.Save(&file, 301, "again") != 0) return;
  TreeTable back(16);
  if (back.Load(&file, 301) != 0 || back.GetEntryCount() != table.GetEntryCount()) __builtin_trap();
}

void Constants(const uint8_t* data, size_t size, bool native) {
  MemResFile file;
  const size_t half = size / 2;
  file.AddStored(kTypeTRCN, 4096, data, static_cast<int32_t>(half), "", native ? kResFlagNative : 0);
  file.AddStored(TypeCode("BCON"), 4096, data + half, static_cast<int32_t>(size - half), "c",
                 native ? kResFlagNative : 0);
  cTreeConstants constants;
  constants.Load(&file, 4096);
  for (size_t i = 0; i < constants.Entries().size(); ++i) constants.ElementLabel(static_cast<int>(i));
}

void Properties(const uint8_t* data, size_t size, bool otherOrder) {
  MemoryResourceSource own("fuzz.iff", true, otherOrder);
  own.Add(kTypeBHAV, 4096, AssembleTrees("tree 4096 \"t\"\nn0: 0 -> true false\nend\n")[0].bytes, "t");
  own.Add(kTypeTPRP, 4096, std::vector<uint8_t>(data, data + size));
  Behavior behavior(nullptr, nullptr, &own, nullptr);
  TreeProperties p(&behavior, 4096);
  p.Load();
  for (int kind = 0; kind < 2; ++kind) {
    for (int i = 0; i < p.GetCount(kind); ++i) p.GetName(kind, i);
  }
}

// One node of arbitrary bytes described against a fixture behaviour file.
void Node(const uint8_t* data, size_t size) {
  if (size < 12) return;
  MemoryResourceSource global("behavior.iff");
  MemoryResourceSource own("own.iff");
  for (int16_t t : {128, 132, 136, 139, 301}) global.SetStrings(t, {"a", "b"});
  own.SetStrings(301, {std::string(300, 'x')});
  own.Add(kTypeBCON, 4096, MakeConstants({1, 2}, false), "c");
  XObjLang text(&global);
  Behavior behavior(&text, &global, &own, nullptr);
  std::vector<uint8_t> node(data, data + 12);
  if (text.DescribeNode(behavior, 4096, TreeNode(node.data())).size() > XObjLang::kTextCapacity) __builtin_trap();
  XObjLang::IsSingleExitNode(TreeNode(node.data()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t pick = data[0];
  ++data;
  --size;
  switch (pick & 3) {
    case 0: Table(data, size, (pick & 4) != 0, (pick & 8) == 0); break;
    case 1: Constants(data, size, (pick & 8) == 0); break;
    case 2: Properties(data, size, (pick & 8) != 0); break;
    default: Node(data, size); break;
  }
  return 0;
}
