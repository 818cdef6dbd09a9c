// A read-only chain member over loose data files: the folders of a search
// path (";"-separated) hold files named "#id#name.ext", found through the
// data-file catalogue by type and id, type and name, or listing order. Each
// file read becomes one resource handle, kept until detached or closed.
#pragma once

#include <string>
#include <vector>

#include "resfile/iResFile.h"

class ResolveResFile : public iResFile {
 public:
  ResolveResFile();
  ~ResolveResFile() override;

  int Create(const std::string&) override { return mError = kResUnsupported; }
  int Delete(const std::string&) override { return mError = kResUnsupported; }
  int Open(const std::string& path) override;
  int Suspend() override { return mError = 0; }
  int Resume() override { return mError = 0; }
  int Close() override;
  int Flush() override { return mError = kResUnsupported; }
  bool IsWritable() override { return false; }
  void GetPath(std::string& out) override { out = mPathText; }
  bool IsOpen() override { return !mDirectories.empty(); }
  int CountTypes() override;
  ResType GetTypeAt(int index) override;
  int CountResources(ResType type) override;
  MemHandle GetResource(ResType type, ResId id, SwapProc swap) override;
  MemHandle GetNamedResource(ResType type, const std::string& label, SwapProc swap) override;
  MemHandle GetIndexedResource(ResType type, int index, SwapProc swap) override;
  int GetLabel(MemHandle h, std::string& out) override;
  ResType GetType(MemHandle h) override;
  int GetId(MemHandle h, ResId& out) override;
  int MakeUniqueLabel(ResType, std::string&) override { return mError = kResUnsupported; }
  ResId GetUnusedId(ResType) override {
    mError = kResUnsupported;
    return 0;
  }
  int DetachResource(MemHandle h) override;
  bool IsNative(MemHandle) override {
    mError = 0;
    return true;
  }
  int ChangeId(MemHandle, ResId) override { return mError = kResUnsupported; }
  int AddResource(MemHandle, ResType, ResId, const std::string&, bool) override {
    return mError = kResUnsupported;
  }
  int WriteResource(MemHandle) override { return mError = kResUnsupported; }
  int DeleteResource(MemHandle) override { return mError = kResUnsupported; }
  int SetIdAndLabel(MemHandle, ResId, const std::string&, int) override { return mError = kResUnsupported; }
  // Whether the handle came from this member.
  bool HoldsHandle(MemHandle h) const;

 private:
  struct Loaded {
    ResType type;
    int32_t id;
    std::string name;
    MemHandle handle;
  };
  std::vector<ResType> Types() const;
  MemHandle Take(ResType type, int32_t id, const std::string& name, int status, void* opened, SwapProc swap);
  const Loaded* Find(MemHandle h) const;

  std::vector<std::string> mDirectories;
  std::string mPathText;
  std::vector<Loaded> mLoaded;
};
