#pragma once
// Tree breakpoints kept across runs in "Breakpts.txt": which node of which
// tree of which object file stops the interpreter. Marks are set in the
// loaded trees (bit 15 of the node's opcode), never in the stored ones.

#include <cstdint>
#include <string>
#include <vector>

#include "gamedata/ResourceSource.h"

namespace tova {

class Breakpoints {
 public:
  struct Record {
    std::string fileName;  // name part of the object file's path, up to 63 characters
    int32_t treeId = 0;
    int32_t node = 0;
  };

  static Breakpoints& Instance();

  // Empties the list and reads it: one item a line, the count and then each
  // record's file name (the whole line), tree id and node index. Sets the
  // read flag only when the file opened; false when it did not.
  bool Read(const std::string& path);
  // Rewrites the file read from when the list is not empty or was read;
  // a failed write leaves the old file whole.
  bool Write() const;
  // Marks the trees of `file` that records name, and drops records whose
  // node lies outside an existing tree.
  void Apply(ResourceSource& file, ResourceSource::SwapFn treeSwap);

  void Add(Record r) { records_.push_back(std::move(r)); }
  void Clear();
  bool Empty() const { return records_.empty(); }
  const std::vector<Record>& Records() const { return records_; }
  bool WasRead() const { return read_; }

 private:
  std::vector<Record> records_;
  std::string path_;
  bool read_ = false;
};

// The process-wide list under the names the catalogue uses.
inline bool ReadBreakpoints(const std::string& path) { return Breakpoints::Instance().Read(path); }
inline bool WriteBreakpoints() { return Breakpoints::Instance().Write(); }
inline void ApplyBreakpoints(ResourceSource& file, ResourceSource::SwapFn treeSwap) {
  Breakpoints::Instance().Apply(file, treeSwap);
}

}  // namespace tova
