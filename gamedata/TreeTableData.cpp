#include "gamedata/TreeTableData.h"

namespace tova {

TreeTableEntry* TreeTableData::FindByNumber(int32_t number) {
  for (TreeTableEntry& e : entries) {
    if (e.nameIndex == number) return &e;
  }
  return nullptr;
}

bool TreeTableData::HasOnlyFlagEntries(int32_t flag) const {
  bool any = false;
  for (const TreeTableEntry& e : entries) {
    if (e.flags & TreeTableEntry::kFlagBangName) continue;
    if (!(e.flags & flag)) return false;
    any = true;
  }
  return any;
}

bool TreeTableData::HasLinkedEntries() const {
  for (const TreeTableEntry& e : entries) {
    if (e.flags & TreeTableEntry::kFlagBangName) continue;
    for (const TreeTableEntry& other : entries) {
      if (other.nameIndex == e.link) return true;
    }
  }
  return false;
}

}  // namespace tova
