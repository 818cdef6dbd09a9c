#pragma once
// An object's tree table: the interactions a person may choose, each with its
// action tree, the check tree that decides whether it is offered, its motive
// advertisements and its menu name. Stored as 'TTAB' (every older layout is
// read, the newest is written) with the names in the string list 'TTAs' of
// the same id.

#include <cstdint>
#include <string>

#include "gamedata/TreeTableData.h"
#include "resfile/iResFile.h"

class ReconStream;

namespace tova {

constexpr ResType kTypeTTAB = TypeCode("TTAB");
constexpr ResType kTypeTTAs = TypeCode("TTAs");

class TreeTable {
 public:
  static constexpr int16_t kCurrentVersion = 9;

  explicit TreeTable(int32_t motivesPerEntry);
  virtual ~TreeTable() = default;

  // 0; -1 without an open file or for id 0, or for a damaged table (no
  // entries are left); -99 without a 'TTAB' of that id. A table older than
  // the names list is written again at once in the current layout, but only
  // into a writable file. `treeSwap` converts trees read for their labels.
  int Load(iResFile* file, ResId id, SwapProc treeSwap = nullptr);
  // 0; -1 for an id below 1 or without an open file; else the file's code.
  int Save(iResFile* file, ResId id, const std::string& label);
  // Save to the file and id of the last load or save; -1 when there is none.
  int Resave();

  float GetAttenuation(int entry, bool flag) const;
  static float Attenuation(const TreeTableEntry& entry, bool flag);
  // Copies everything but the value that starts at 50; motive entries as
  // many as both hold.
  static void CopyEntry(TreeTableEntry& target, const TreeTableEntry& source);
  // A new entry with the table's number of motive entries.
  TreeTableEntry NewEntry() const;

  int32_t GetEntryCount() const { return static_cast<int32_t>(data_.entries.size()); }
  TreeTableData& Data() { return data_; }
  const TreeTableData& Data() const { return data_; }
  int32_t MotivesPerEntry() const { return motivesPerEntry_; }
  // Version of the stored table at the last load (-1 before any).
  int32_t LoadedVersion() const { return loadedVersion_; }

  // Reads or writes the body after the count and version words.
  void Serialize(ReconStream& s, int16_t count, int16_t version);

 private:
  void ReadOldEntry(ReconStream& s, TreeTableEntry& e, int16_t version, int position);

  int32_t motivesPerEntry_;
  TreeTableData data_;
  iResFile* file_ = nullptr;
  ResId id_ = 0;
  int32_t loadedVersion_ = -1;
};

}  // namespace tova
