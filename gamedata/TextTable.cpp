#include "gamedata/TextTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/TextFile.h"

namespace tova {

int TextTable::Read(const std::string& path) {
  std::optional<std::string> text = platform::ReadTextFile(path);
  if (!text) return -1;
  Parse(*text);
  return 0;
}

void TextTable::Parse(std::string_view text) {
  rows_.clear();
  columns_ = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    Row row;
    if (!line.empty()) {
      // With a tab appended, every piece that a tab ends is one cell.
      size_t start = 0;
      while (start <= line.size()) {
        size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) tab = line.size();
        std::string_view cell = line.substr(start, tab - start);
        if (cell.empty()) {
          row.emplace_back(std::nullopt);
        } else {
          row.emplace_back(std::string(cell));
        }
        start = tab + 1;
      }
    }
    columns_ = std::max(columns_, static_cast<int>(row.size()));
    rows_.push_back(std::move(row));
  }
}

const char* TextTable::GetCell(int col, int row) const {
  if (row < 0 || row >= GetRowCount() || col < 0 || col >= columns_) return nullptr;
  const Row& r = rows_[static_cast<size_t>(row)];
  if (static_cast<size_t>(col) >= r.size() || !r[static_cast<size_t>(col)]) return "";
  return r[static_cast<size_t>(col)]->c_str();
}

int TextTable::GetCellInt(int col, int row) const {
  const char* cell = GetCell(col, row);
  if (!cell) return 0;
  long v = std::strtol(cell, nullptr, 10);
  return static_cast<int>(std::clamp<long>(v, INT32_MIN, INT32_MAX));
}

bool TextTable::HasText(int col, int row) const {
  const char* cell = GetCell(col, row);
  return cell && *cell;
}

}  // namespace tova
