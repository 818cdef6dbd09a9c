// A resource file kept in memory, with the lookup and replacement rules of
// the 2.x container. Tests of every layer above use it in place of a file on
// disk; the test controls let them store raw (also non-native) resources,
// look at what was "written" and make the file read-only.
//
// It starts open and writable. Close keeps the stored resources (only cached
// handles go), so Close and Open again behave like a file that was saved.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "resfile/MappedResFile.h"

class MemResFile : public MappedResFile {
 public:
  MemResFile();
  ~MemResFile() override;

  int Create(const std::string& path) override;
  int Delete(const std::string& path) override;
  int Open(const std::string& path) override;
  int Close() override;
  void GetPath(std::string& out) override { out = mPath; }

  // Test controls.
  void SetWritable(bool writable) { mWritable = writable; }
  // Stores bytes as if written earlier; flags as stored (without
  // kResFlagNative the swap callback of a load applies).
  void AddStored(ResType type, ResId id, const void* data, int32_t size,
                 const std::string& label = std::string(), uint16_t flags = kResFlagNative);
  // The bytes last written for (type, id, variant); false when none.
  bool GetStored(ResType type, ResId id, std::vector<uint8_t>& out, int variant = 0) const;
  // Makes the next write fail with the given code (0: no failure).
  void FailNextWrite(int code) { mFailWrite = code; }

 protected:
  int ReadData(const ResGroup& group, const ResEntry& entry, MemHandle& out) override;
  int WriteData(const ResGroup& group, ResEntry& entry, MemHandle h) override;
  int FreeData(const ResGroup& group, ResEntry& entry) override;
  int RewriteHeader(const ResGroup&, const ResEntry&) override { return 0; }

 private:
  std::map<int32_t, std::vector<uint8_t>> mChunks;
  int32_t mNextOffset = 64;
  std::string mPath = "<memory>";
  int mFailWrite = 0;
};
