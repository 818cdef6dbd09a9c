#include "gamedata/TuningImport.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "gamedata/TextTable.h"
#include "platform/Path.h"

namespace tova {

namespace {

constexpr int kMaxConstants = 256;

class Reporter {
 public:
  Reporter(const TextTable& table, std::string& report) : table_(table), report_(report) {}
  void At(const char* message, int row, int col) {
    const char* cell = table_.GetCell(col, row);
    report_ += message;
    report_ += " (line " + std::to_string(row) + ", col " + std::to_string(col) + ", text:\"";
    report_ += cell ? cell : "";
    report_ += "\")\n";
  }

 private:
  const TextTable& table_;
  std::string& report_;
};

// A cell's text; "" where the table has no such cell.
const char* Cell(const TextTable& t, int col, int row) {
  const char* cell = t.GetCell(col, row);
  return cell ? cell : "";
}

// A cell read as a number, held to 32 bits so that no arithmetic on it can
// overflow and no cast can turn a huge number into a small valid one; false
// when the cell does not start with a number.
bool CellNumber(const TextTable& t, int col, int row, long& out) {
  const char* cell = t.GetCell(col, row);
  if (!cell || !*cell) return false;
  char* end = nullptr;
  out = std::clamp<long>(std::strtol(cell, &end, 10), INT32_MIN, INT32_MAX);
  return end != cell;
}

int AttenuationCode(const char* word) {
  static const char* const kWords[] = {"none", "low", "medium", "high"};
  for (int i = 0; i < 4; ++i) {
    if (word && platform::EqualsNoCase(word, kWords[i])) return i + 1;
  }
  return -1;
}

void ApplyAdRow(const TextTable& t, int row, TreeTableData& table, Reporter& r) {
  long number = 0;
  TreeTableEntry* entry = CellNumber(t, 0, row, number) ? table.FindByNumber(static_cast<int32_t>(number)) : nullptr;
  if (!entry) return r.At("Tree table entry not found.", row, 0);
  long motive = 0;
  int slot = CellNumber(t, 1, row, motive) ? TuningMotiveSlot(static_cast<int>(motive)) : -1;
  if (slot < 0 || slot >= static_cast<int>(entry->motives.size())) return r.At("Invalid motive specified.", row, 1);
  entry->tuningMark = TreeTableEntry::kTuned;
  MotiveEntry& ad = entry->motives[static_cast<size_t>(slot)];
  const char* type = Cell(t, 2, row);
  long value = 0;
  CellNumber(t, 3, row, value);
  if (platform::EqualsNoCase(type, "max")) {
    // A maximum the stored word cannot hold gives the widest range it can.
    ad.range = static_cast<int16_t>(std::clamp<long>(value - ad.base, INT16_MIN, INT16_MAX));
  } else if (platform::EqualsNoCase(type, "mod")) {
    int code = TuningModifierCode(static_cast<int>(value));
    if (code < 0) return r.At("Invalid advertisement specified.", row, 3);
    ad.modifier = static_cast<int16_t>(code);
  } else if (platform::EqualsNoCase(type, "att")) {
    int code = AttenuationCode(t.GetCell(3, row));
    if (code < 0) return r.At("Invalid attenuation specified.", row, 3);
    entry->attenuationCode = code;
  } else {
    r.At("Invalid constant type specified.", row, 2);
  }
}

// An "ads" block from its first row; returns the row after the last one used.
int ImportAds(TuningHost& host, const TextTable& t, int row, const std::string& value, Reporter& r) {
  // GUIDs are unsigned: values above 2^31 are common.
  unsigned long guid = std::strtoul(value.c_str(), nullptr, 10);
  if (guid == 0 || guid > 0xFFFFFFFFul) {
    r.At("Could not parse guid.", row, 1);
    return row + 1;
  }
  TuningHost::Lookup found = TuningHost::Lookup::kNoObject;
  TreeTableData* table = host.FindTreeTable(static_cast<uint32_t>(guid), found);
  if (found == TuningHost::Lookup::kNoObject) {
    r.At("Could not find object with guid.", row, 1);
    return row + 1;
  }
  if (!table || found == TuningHost::Lookup::kNoTable) {
    r.At("Tree table not found for given object.", row, 1);
    return row + 1;
  }
  table->changed = true;
  int rows = t.GetRowCount();
  for (++row; row < rows && t.HasText(0, row); ++row) ApplyAdRow(t, row, *table, r);
  return row;
}

int ImportConstants(TuningFile& file, const TextTable& t, int row, Reporter& r) {
  long id = 0;
  CellNumber(t, 1, row, id);
  if (id == 0 || id < INT16_MIN || id > INT16_MAX) {
    r.At("Could not parse constants id.", row, 1);
    return row + 1;
  }
  std::vector<int16_t> values;
  bool tunable = false;
  if (!file.GetConstants(static_cast<int16_t>(id), values, tunable)) {
    r.At("Constants of given id do not exist.", row, 1);
    return row + 1;
  }
  if (!tunable) {
    r.At("Constants of given id are not marked as tunable.", row, 1);
    return row + 1;
  }
  if (values.size() > static_cast<size_t>(kMaxConstants)) {
    r.At("Temporary storage not large enough.", row, 1);
    return row + 1;
  }
  ++row;
  if (!t.HasText(0, row)) {
    r.At("Empty constants set found.", row, 0);
    return row;
  }
  int rows = t.GetRowCount();
  for (; row < rows && t.HasText(0, row); ++row) {
    if (!t.HasText(1, row)) continue;
    long index = 0;
    long v = 0;
    CellNumber(t, 0, row, index);
    CellNumber(t, 1, row, v);
    if (index < 0 || index >= static_cast<long>(values.size())) {
      r.At("Index exceeds programmed index count.", row, 0);
      continue;
    }
    values[static_cast<size_t>(index)] = static_cast<int16_t>(v);
  }
  std::vector<int16_t> list;
  list.reserve(values.size() + 1);
  list.push_back(static_cast<int16_t>(values.size()));
  list.insert(list.end(), values.begin(), values.end());
  file.SetConstantOverride(static_cast<int16_t>(id), list);
  return row;
}

}  // namespace

int TuningMotiveSlot(int motive) {
  static const int kSlots[9] = {9, 6, 5, 15, 7, 8, 3, 13, 14};
  return (motive >= 1 && motive <= 9) ? kSlots[motive - 1] : -1;
}

int TuningModifierCode(int value) {
  static const int kCodes[][2] = {{18, 3},  {19, 11}, {20, 1},  {21, 9},  {22, 7},  {23, 21},
                                  {24, 15}, {25, 14}, {26, 19}, {27, 22}, {28, 16}, {33, 4},
                                  {34, 12}, {35, 2},  {36, 10}, {37, 8}};
  for (const auto& c : kCodes) {
    if (c[0] == value) return c[1];
  }
  return -1;
}

int ImportTuning(TuningHost& host, const std::string& path, std::string& report) {
  TextTable table;
  if (table.Read(path) != 0) {
    report += "File not found : " + path;
    return -1;
  }
  return ImportTuningTable(host, table, report);
}

int ImportTuningTable(TuningHost& host, const TextTable& t, std::string& report) {
  if (t.GetColumnCount() < 2) {
    report += "Not enough columns in the text file.\n";
    return -1;
  }
  if (t.GetRowCount() == 0) {
    report += "Not enough rows in the text file.\n";
    return -1;
  }
  const char* header = Cell(t, 1, 0);
  if (std::strncmp(header, "Version ", 8) != 0) {
    report += "Could not read version header.\n";
    return -1;
  }
  if (std::strtol(header + 8, nullptr, 10) < 2) {
    report += "Version is too old, must be 2 or greater.\n";
    return -1;
  }
  for (TuningFile* f : host.OpenObjectFiles()) f->DropConstantOverrides();

  Reporter r(t, report);
  int rows = t.GetRowCount();
  int row = 1;
  while (row < rows) {
    if (!t.HasText(0, row)) {
      ++row;
      continue;
    }
    int next = row + 1;
    TuningFile* file = host.FindObjectFile(Cell(t, 0, row));
    std::string kindAndValue = Cell(t, 1, row);
    size_t colon = kindAndValue.find(':');
    if (!file) {
      r.At("Object file not found.", row, 0);
    } else if (colon == std::string::npos) {
      r.At("Colon separator not found.", row, 1);
    } else if (platform::EqualsNoCase(kindAndValue.substr(0, colon), "ads")) {
      next = ImportAds(host, t, row, kindAndValue.substr(colon + 1), r);
    } else {
      next = ImportConstants(*file, t, row, r);
    }
    // The rest of the block, up to a row with an empty first column, is passed over.
    row = next;
    while (row < rows && t.HasText(0, row)) ++row;
  }
  return 0;
}

void SaveTuning(TuningHost& host, std::string& report) {
  for (const TunedTable& tuned : host.ChangedTreeTables()) {
    std::string where = tuned.fileName + ", id " + std::to_string(tuned.id) + "\n";
    TreeTableData stored;
    if (!host.ReadStoredTreeTable(tuned, stored)) {
      report += "Could not load tree table from object file " + where;
      continue;
    }
    bool differs = false;
    const std::vector<TreeTableEntry>& now = tuned.table->entries;
    for (size_t i = 0; i < now.size() && !differs; ++i) {
      const TreeTableEntry& e = now[i];
      if (e.tuningMark != TreeTableEntry::kTuned || (e.flags & TreeTableEntry::kFlagBangName)) continue;
      if (i >= stored.entries.size()) {
        differs = true;
        break;
      }
      const TreeTableEntry& s = stored.entries[i];
      if (s.nameIndex != e.nameIndex || s.motives.size() != e.motives.size()) differs = true;
      for (size_t k = 0; k < e.motives.size() && !differs; ++k) {
        const MotiveEntry& a = e.motives[k];
        const MotiveEntry& b = s.motives[k];
        differs = a.modifier != b.modifier || a.base != b.base || a.range != b.range;
      }
    }
    if (!differs) continue;
    if (host.IsWritable(tuned) && host.WriteTreeTable(tuned, tuned.definitionName + " tree table") == 0) {
      report += "Saved differences for tree table " + where;
    } else {
      report += "Differences found in read-only tree table " + where;
    }
  }
  for (TuningFile* file : host.OpenObjectFiles()) {
    for (const auto& [id, list] : file->GetConstantOverrides()) {
      if (list.empty()) continue;
      std::vector<int16_t> values(list.begin() + 1, list.end());
      std::vector<int16_t> stored;
      bool tunable = false;
      bool same = file->GetConstants(id, stored, tunable) && stored == values;
      if (same) continue;
      std::string where = file->GetFileName() + ", id " + std::to_string(id) + "\n";
      if (file->IsWritable() && file->WriteConstants(id, values) == 0) {
        report += "Wrote constants " + where;
      } else {
        report += "Read-only constants are different " + where;
      }
    }
  }
}

}  // namespace tova
