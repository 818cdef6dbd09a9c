#pragma once
// A tab-separated text file read into rows of cells: the tuning table
// "Tuning.txt", the careers table and the other designer tables. One line is
// one row; the text between two tabs is one cell, and an empty cell is kept
// as "no text" so that columns stay in place.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

class TextTable {
 public:
  // Fills the table from a text file (CR LF and LF line ends read alike,
  // lines of any length). -1 when the file cannot be opened (the table is
  // then unchanged), else 0.
  int Read(const std::string& path);
  // The same from text already in memory (line ends as in the file).
  void Parse(std::string_view text);

  int GetRowCount() const { return static_cast<int>(rows_.size()); }
  // The largest number of cells in any row.
  int GetColumnCount() const { return columns_; }
  // The cell's text; "" for an empty cell (or a cell past the end of a
  // shorter row); null for a negative or out-of-range column or row.
  const char* GetCell(int col, int row) const;
  // The cell read as a decimal integer; 0 when absent.
  int GetCellInt(int col, int row) const;
  // True when the cell holds text (not empty, not absent).
  bool HasText(int col, int row) const;

 private:
  using Row = std::vector<std::optional<std::string>>;
  std::vector<Row> rows_;
  // Kept with the rows: every cell lookup checks against it.
  int columns_ = 0;
};

}  // namespace tova
