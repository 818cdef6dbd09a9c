// The resource index of a container: type groups in the order first met or
// added, each with its entries in order. It is also the body of the 'rsmp'
// map record that version 2.5 files keep so they open without a scan.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "resfile/iResFile.h"

class ReconStream;

struct ResEntry {
  int32_t offset = -1;  // -1 while the resource has never been written
  ResId id = -1;
  uint16_t flags = 0xFFFF;        // as the resource is in memory
  uint16_t storedFlags = 0xFFFF;  // as last written to its chunk header
  MemHandle handle = nullptr;     // null until loaded; set through IFFResMap::SetHandle
  std::string label;
  int32_t labelIndex = -1;  // 1.0 files keep labels in a name list
  int Variant() const { return flags >> 8; }
};

struct ResGroup {
  ResType type = 0;
  std::vector<std::unique_ptr<ResEntry>> entries;
};

class IFFResMap {
 public:
  ~IFFResMap();

  ResGroup* FindGroup(ResType type) const;
  ResGroup* AddGroup(ResType type);  // the existing group, or a new one
  // A new entry of the type and id (at the end, or at the front in 1.0 files).
  ResEntry* NewEntry(ResType type, ResId id);
  // Exchanges the groups (not the free count) with another map.
  void SwapGroups(IFFResMap& other);
  // Turns the order of the groups and of each group's entries round.
  void Reverse();
  // Gives an entry of the group a new id, keeping the lookups by id right.
  void SetId(ResGroup& group, ResEntry& entry, ResId id);
  void RemoveGroup(ResType type);
  int CountTypes() const { return static_cast<int>(mGroups.size()); }
  ResType TypeAt(int index) const;  // 1-based; 0 when out of range

  // With a variant other than 0, the first entry of that id and variant; with
  // variant 0, or when fallBack is set and the variant is absent, the first
  // entry of that id whose flags are below 256.
  ResEntry* FindById(ResType type, ResId id, int variant, bool fallBack) const;
  ResEntry* FindByLabel(ResType type, const std::string& label) const;
  ResEntry* FindByIndex(ResType type, int index) const;  // 1-based, all variants
  ResEntry* FindByHandle(MemHandle h, ResGroup** group = nullptr) const;
  // Gives an entry of the group its handle (or none), so that it is found
  // by that handle.
  void SetHandle(ResGroup& group, ResEntry& entry, MemHandle h);
  ResEntry* FindByOffset(int32_t offset) const;
  // Drops the group when it empties. The indexes are kept up to date entry by
  // entry, so deleting many resources one after another stays cheap.
  void RemoveEntry(ResEntry* entry);
  ResId UnusedId(ResType type) const;
  void DisposeHandles();
  void Clear();

  // The map record: free bytes, groups, and per entry its offset, id, stored
  // flags and label. Reading checks every count against the bytes left.
  void Reconstitute(ReconStream& stream, int32_t version);

  uint32_t mFreeBytes = 0;
  // 1.0 files put new groups and entries first, so after a scan the order is
  // the reverse of the file's.
  bool mNewAtFront = false;
  std::vector<std::unique_ptr<ResGroup>> mGroups;

 private:
  // Lookups by type, by type and id, and by handle do not walk the map: an
  // index of the first group of each type, of the entries of each (type, id)
  // in map order and of the entry holding each handle. Additions, removals
  // and new ids update it in place; wholesale reorderings rebuild it.
  static uint64_t Key(ResType type, ResId id) { return (static_cast<uint64_t>(type) << 16) | static_cast<uint16_t>(id); }
  void BuildIndex() const;
  ResGroup* GroupOf(const ResEntry* entry) const;
  // Puts the entry into the (type, id) list at its place in map order.
  void IndexById(const ResGroup& group, ResEntry* entry) const;
  void UnindexById(ResType type, const ResEntry* entry) const;
  mutable std::unordered_map<ResType, ResGroup*> mByType;
  mutable std::unordered_map<uint64_t, std::vector<ResEntry*>> mById;
  mutable std::unordered_map<MemHandle, std::pair<ResEntry*, ResGroup*>> mByHandle;
  mutable bool mIndexValid = false;
};
