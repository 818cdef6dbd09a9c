#include "gamedata/FamilyHistory.h"

#include <cstdio>

#include "resfile/ReconStream.h"

namespace tova {
namespace {

struct Column {
  const char* name;
  bool wide;       // 32-bit
  bool narrowInV0; // 16-bit in version 0 records
};

constexpr Column kColumns[FamilyHistory::kColumnCount] = {
    {"Lot#", false, false},
    {"#Members", false, false},
    {"#Adult Males", false, false},
    {"#Adult Females", false, false},
    {"#Kid Males", false, false},
    {"#Kid Females", false, false},
    {"#Workers", false, false},
    {"#Objects", false, false},
    {"Objects Value", true, true},
    {"Architecture Value", true, true},
    {"House Square Feet", false, false},
    {"House Size", false, false},
    {"Furnishings Rating", false, false},
    {"Size Rating", false, false},
    {"Yard Rating", false, false},
    {"Upkeep Rating", false, false},
    {"Layout Rating", false, false},
    {"$Income", true, true},
    {"$Bills", true, true},
    {"$Food", true, true},
    {"$Maintenance", true, true},
    {"$Objects", true, true},
    {"$Misc", true, true},
    {"$Arch", true, false},
    {"$Funds", true, false},
    {"Romances Out", false, false},
    {"Romances In", false, false},
    {"Friends Out", false, false},
    {"Friends In", false, false},
    {"#Friends", false, false},
};

}  // namespace

const char* FamilyHistory::ColumnName(int32_t column) {
  return column >= 0 && column < kColumnCount ? kColumns[column].name : "";
}

void FamilyHistory::AddRow(const Row& row) {
  if (rows_.size() >= kMaxRows) rows_.erase(rows_.begin());
  rows_.push_back(row);
}

void FamilyHistory::Reconstitute(ReconStream& s, int32_t version) {
  bool packed = true;
  s.SerializeBool(&packed);
  if (packed) s.SetPacked();
  auto count = static_cast<int32_t>(rows_.size());
  s.SerializeLongs(&count, 1);
  if (s.IsReading()) {
    // Each row takes at least one bit per column even when packed; a stored
    // count beyond what the bytes can hold is refused, and no more than the
    // history keeps is taken.
    if (!s.CheckCount(count, kColumnCount * 2) || static_cast<size_t>(count) > kMaxRows) {
      s.Fail();
      return;
    }
    rows_.assign(static_cast<size_t>(count), Row{});
  }
  for (Row& row : rows_) {
    for (int32_t c = 0; c < kColumnCount; ++c) {
      const bool wide = kColumns[c].wide && !(version == 0 && kColumns[c].narrowInV0);
      if (wide) {
        s.SerializeLongs(&row[c], 1);
      } else {
        auto v = static_cast<int16_t>(row[c]);
        s.SerializeShorts(&v, 1);
        if (s.IsReading()) row[c] = v;
      }
    }
    if (s.Failed()) return;
  }
}

bool FamilyHistory::WriteReport(const std::string& path) const {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (f == nullptr) return false;
  for (int32_t c = 0; c < kColumnCount; ++c) std::fprintf(f, "%s\t", kColumns[c].name);
  std::fputc('\n', f);
  for (const Row& row : rows_) {
    for (int32_t v : row) std::fprintf(f, "%d\t", v);
    std::fputc('\n', f);
  }
  return std::fclose(f) == 0;
}

}  // namespace tova
