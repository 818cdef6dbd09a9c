// The part of a resource container that works on its index alone: lookups by
// id, variant, label, index and handle, adding, writing, deleting, renaming
// and detaching resources, unique labels and unused ids. What touches
// storage (reading and writing chunks, freeing them) is left to the
// container: the 2.x file on disk and the in-memory file of the tests.
#pragma once

#include <string>
#include <unordered_map>

#include "resfile/IFFResMap.h"
#include "resfile/iResFile.h"

class MappedResFile : public iResFile {
 public:
  bool IsWritable() override { return mOpen && mWritable; }
  bool IsOpen() override { return mOpen; }
  // Closes the file, keeping its path for Resume, which opens it again.
  int Suspend() override;
  int Resume() override;
  int Flush() override;
  int CountTypes() override;
  ResType GetTypeAt(int index) override;
  int CountResources(ResType type) override;
  MemHandle GetResource(ResType type, ResId id, SwapProc swap) override;
  MemHandle GetNamedResource(ResType type, const std::string& label, SwapProc swap) override;
  MemHandle GetIndexedResource(ResType type, int index, SwapProc swap) override;
  MemHandle GetResourceVariant(ResType type, ResId id, int variant, SwapProc swap) override;
  int GetLabel(MemHandle h, std::string& out) override;
  ResType GetType(MemHandle h) override;
  int GetId(MemHandle h, ResId& out) override;
  int GetVariant(MemHandle h) override;
  int MakeUniqueLabel(ResType type, std::string& label) override;
  ResId GetUnusedId(ResType type) override;
  int DetachResource(MemHandle h) override;
  bool IsNative(MemHandle h) override;
  int ChangeId(MemHandle h, ResId id) override;
  int AddResource(MemHandle h, ResType type, ResId id, const std::string& label,
                  bool native) override;
  int AddResourceVariant(MemHandle h, ResType type, ResId id, const std::string& label,
                         int variant, bool native) override;
  int WriteResource(MemHandle h) override;
  int DeleteResource(MemHandle h) override;
  int SetIdAndLabel(MemHandle h, ResId id, const std::string& label, int variant) override;

  const IFFResMap& GetMap() const { return mMap; }
  // Gives up a replacement that was never written: the entry goes back to
  // its stored data and the handle is freed. kResNotFound when the handle
  // replaced nothing.
  int DropReplacement(MemHandle h);

 protected:
  // Reads the entry's data into a new handle, checking what is stored.
  virtual int ReadData(const ResGroup& group, const ResEntry& entry, MemHandle& out) = 0;
  // Writes the entry's header and data (storage found or reused as needed);
  // sets the entry's offset.
  virtual int WriteData(const ResGroup& group, ResEntry& entry, MemHandle h) = 0;
  // Frees the stored chunk of a written entry.
  virtual int FreeData(const ResGroup& group, ResEntry& entry) = 0;
  // Rewrites the stored id and label of a written entry.
  virtual int RewriteHeader(const ResGroup& group, const ResEntry& entry) = 0;
  // Makes what was written durable; called where the container flushes.
  virtual int SyncFile() { return 0; }
  // Runs before the first change of the index or the storage.
  virtual int BeforeChange() { return 0; }

  // -49 when no file is open.
  bool Ready();
  MemHandle Load(ResGroup& group, ResEntry& entry, SwapProc swap);
  // Load for an entry of the type that a lookup found; the missing code
  // when it found none.
  MemHandle LoadFound(ResType type, ResEntry* e, int missing, SwapProc swap);
  int WriteEntry(const ResGroup& group, ResEntry& entry);
  // A replaced entry keeps naming its old chunk until the new data is
  // written, so a failed write leaves the old data on disk and in the map.
  bool IsReplaced(const ResEntry& entry) const;
  bool NeedsWrite(const ResEntry& entry) const {
    return entry.handle && (entry.offset == -1 || IsReplaced(entry));
  }

  IFFResMap mMap;
  // Replaced entries: the handle that replaced their stored data and the
  // label the stored data goes with.
  struct Replacement {
    MemHandle handle = nullptr;
    std::string label;
  };
  std::unordered_map<const ResEntry*, Replacement> mReplaced;
  bool mOpen = false;
  bool mWritable = false;
  std::string mSuspendedPath;
};

// After a failed write of a handle just added to the file: a replacement is
// dropped so the stored data stays, anything else is deleted. The handle is
// freed either way.
void DiscardFailedWrite(iResFile& file, MemHandle h);
