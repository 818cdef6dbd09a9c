// The palettes of one sprite file, by resource id; each held with one
// reference. Searched from the front: the first palette of an id wins.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace tova {

class PalWrap;

class PaletteTable {
 public:
  PaletteTable() = default;
  ~PaletteTable();
  PaletteTable(const PaletteTable&) = delete;
  PaletteTable& operator=(const PaletteTable&) = delete;

  // Appends, taking a reference of its own.
  void Add(PalWrap* palette, int32_t id);
  // The palette with one more reference for the caller, or null.
  PalWrap* Find(int32_t id);
  void Clear();
  int32_t Size() const { return static_cast<int32_t>(mEntries.size()); }

 private:
  std::vector<std::pair<int32_t, PalWrap*>> mEntries;
};

}  // namespace tova
