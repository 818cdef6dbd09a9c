#pragma once
// An object's fixed entry points ('OBJf'): entry n names the tree run for
// entry point n, with a companion id beside it.

#include <cstdint>
#include <span>
#include <vector>

#include "gamedata/ResourceSource.h"
#include "resfile/ReconStream.h"

namespace tova {

class ObjFnTable {
 public:
  struct Entry {
    int16_t treeId = 0;
    int16_t companionId = 0;
  };
  static constexpr int32_t kRecordVersion = 0;

  ObjFnTable() { entries_.reserve(32); }

  // Tree id of entry n; 0 outside the table. `count` receives the entry count.
  int16_t GetTreeId(int n, int* count = nullptr) const;
  // Reads 'OBJf' id; the file's status (kResNotFound when absent).
  int Load(ResourceSource& file, int16_t id);
  int Save(ResourceSource& file, int16_t id);

  void Reconstitute(ReconStream& stream, int32_t version);
  std::vector<uint8_t> ToRecord();

  std::vector<Entry>& Entries() { return entries_; }
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

}  // namespace tova
