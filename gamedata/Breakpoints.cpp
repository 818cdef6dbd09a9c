#include "gamedata/Breakpoints.h"

#include <charconv>
#include <set>

#include "gamedata/BehaviorTree.h"
#include "gamedata/TextCompare.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

namespace tova {
namespace {

bool ReadNumber(platform::TextFileReader& in, int32_t& out) {
  std::string line;
  if (!in.ReadLine(line)) return false;
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
  platform::TextFileReader in;
  if (!in.Open(path)) return false;
  read_ = true;
  int32_t count = 0;
  if (!ReadNumber(in, count)) return true;
  for (int32_t i = 0; i < count; ++i) {
    Record r;
    // The name is the whole line: names may hold spaces.
    if (!in.ReadLine(r.fileName) || !ReadNumber(in, r.treeId) || !ReadNumber(in, r.node)) break;
    if (r.fileName.size() > 63) r.fileName.resize(63);
    records_.push_back(std::move(r));
  }
  return true;
}

bool Breakpoints::Write() const {
  if (records_.empty() && !read_) return true;
  if (path_.empty()) return false;
  std::string text = std::to_string(records_.size()) + "\r\n";
  for (const Record& r : records_) {
    text += r.fileName + "\r\n" + std::to_string(r.treeId) + "\r\n" + std::to_string(r.node) + "\r\n";
  }
  return platform::SaveFileAtomically(platform::ResolvePath(path_), text);
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
