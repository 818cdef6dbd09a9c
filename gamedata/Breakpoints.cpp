#include "gamedata/Breakpoints.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <set>

#include "gamedata/BehaviorTree.h"
#include "gamedata/TextCompare.h"

namespace tova {
namespace {

bool ReadLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool ReadNumber(std::istream& in, int32_t& out) {
  std::string line;
  if (!ReadLine(in, line)) return false;
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return false;
  auto [ptr, ec] = std::from_chars(line.data() + start, line.data() + line.size(), out);
  return ec == std::errc();
}

}  // namespace

Breakpoints& Breakpoints::Instance() {
  static Breakpoints list;
  return list;
}

void Breakpoints::Clear() {
  records_.clear();
  read_ = false;
  path_.clear();
}

bool Breakpoints::Read(const std::string& path) {
  records_.clear();
  path_ = path;
  read_ = false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  read_ = true;
  int32_t count = 0;
  if (!ReadNumber(in, count)) return true;
  for (int32_t i = 0; i < count; ++i) {
    Record r;
    if (!ReadLine(in, r.fileName) || !ReadNumber(in, r.treeId) || !ReadNumber(in, r.node)) break;
    if (r.fileName.size() > 63) r.fileName.resize(63);
    records_.push_back(std::move(r));
  }
  return true;
}

bool Breakpoints::Write() const {
  if (records_.empty() && !read_) return true;
  if (path_.empty()) return false;
  // Written beside the file and moved over it, so a failure keeps the old one.
  const std::string temp = path_ + ".tmp";
  std::error_code ec;
  std::filesystem::remove(temp, ec);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << records_.size() << '\n';
    for (const Record& r : records_) out << r.fileName << '\n' << r.treeId << '\n' << r.node << '\n';
    if (!out.flush()) {
      out.close();
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  std::filesystem::rename(temp, path_, ec);
  if (ec) std::filesystem::remove(temp, ec);
  return !ec;
}

void Breakpoints::Apply(ResourceSource& file, ResourceSource::SwapFn treeSwap) {
  const std::string path = file.GetPath();
  const std::string_view name = FileNamePart(path);
  std::set<int32_t> trees;
  for (const Record& r : records_) {
    if (EqualsNoCase(r.fileName, name)) trees.insert(r.treeId);
  }
  for (int32_t id : trees) {
    if (id < INT16_MIN || id > INT16_MAX) continue;
    auto bytes = file.GetResource(kTypeBHAV, static_cast<int16_t>(id), treeSwap);
    if (!bytes) continue;
    TreeView tree(*bytes);
    if (!tree) continue;
    for (int i = 0; i < tree.NodeCount(); ++i) tree.Node(i).SetBreakpoint(false);
    std::erase_if(records_, [&](const Record& r) {
      if (r.treeId != id || !EqualsNoCase(r.fileName, name)) return false;
      if (!tree.HasNode(r.node)) return true;
      tree.Node(r.node).SetBreakpoint(true);
      return false;
    });
  }
}

}  // namespace tova
