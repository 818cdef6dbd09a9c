#pragma once
// What the catalogue and the tuning import see of an object's tree table (the
// list of interactions a person can choose): its entries with their
// advertisement slots. The interaction code reads and writes the 'TTAB'
// resource; here the table is plain data.

#include <cstdint>
#include <string>
#include <vector>

namespace tova {

// One advertisement slot of an entry: the three words that behaviour trees
// reach as the entry's motive entry.
struct MotiveEntry {
  int16_t modifier = 0;  // word 0: the modifier code
  int16_t base = 0;      // word 1
  int16_t range = 0;     // word 2
};

struct TreeTableEntry {
  static constexpr int32_t kFlagBangName = 0x80;
  static constexpr int32_t kFlagOnly10 = 0x10;
  static constexpr int32_t kFlagOnly40 = 0x40;
  static constexpr int32_t kTuned = 50;

  int16_t actionTree = 0;
  int16_t checkTree = 0;
  int32_t flags = 0;
  std::vector<MotiveEntry> motives;
  int32_t attenuationCode = 3;
  float customAttenuation = 0.0f;
  int32_t nameIndex = 0;  // the entry's number: its string in the names list, minus one
  int32_t tuningMark = kTuned;
  int32_t link = -1;
  std::string name;
};

struct TreeTableData {
  std::vector<TreeTableEntry> entries;
  bool changed = false;  // tuned since it was loaded

  bool HasEntries() const { return !entries.empty(); }
  TreeTableEntry* FindByNumber(int32_t number);
  // At least one entry without flag 0x80, and every such entry has `flag`.
  bool HasOnlyFlagEntries(int32_t flag) const;
  // Some entry without flag 0x80 links (its -1 value) to the number of an
  // entry of this table.
  bool HasLinkedEntries() const;
};

}  // namespace tova
