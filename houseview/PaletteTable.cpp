#include "houseview/PaletteTable.h"

#include "houseview/PalWrap.h"

namespace tova {

PaletteTable::~PaletteTable() { Clear(); }

void PaletteTable::Add(PalWrap* palette, int32_t id) {
  if (palette == nullptr) return;
  palette->AddRef();
  mEntries.emplace_back(id, palette);
}

PalWrap* PaletteTable::Find(int32_t id) {
  for (auto& [key, palette] : mEntries)
    if (key == id) {
      palette->AddRef();
      return palette;
    }
  return nullptr;
}

void PaletteTable::Clear() {
  for (auto& entry : mEntries) PalWrap::Release(entry.second);
  mEntries.clear();
}

}  // namespace tova
