#pragma once
// A family's daily lot statistics: one row per day, at most 1024 rows, the
// oldest dropped first. Stored bit-packed; readable as a tab-separated report.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ReconStream;

namespace tova {

class FamilyHistory {
 public:
  static constexpr int32_t kColumnCount = 30;
  static constexpr size_t kMaxRows = 1024;
  static constexpr int32_t kRecordVersion = 1;

  // One row; every column held as a 32-bit value, stored at the column's width.
  using Row = std::array<int32_t, kColumnCount>;

  static const char* ColumnName(int32_t column);

  void AddRow(const Row& row);
  const std::vector<Row>& Rows() const { return rows_; }

  void Reconstitute(ReconStream& stream, int32_t version);
  // The header line of the column names, then one line per row; false when
  // the file cannot be opened.
  bool WriteReport(const std::string& path) const;

 private:
  std::vector<Row> rows_;
};

}  // namespace tova
