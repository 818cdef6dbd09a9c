// Several resource files presented as one: lookups ask the members in chain
// order, additions go to the first writable member whose type filter admits
// the type. An object is kept as an ".iff" file for its definitions and
// behaviour and an ".spf" file for its sprites, and game code opens both
// through one chain.
#pragma once

#include <string>
#include <vector>

#include "resfile/iResFile.h"

class ChainResFile : public iResFile {
 public:
  static constexpr int kMaxMembers = 8;

  ChainResFile();
  ~ChainResFile() override;

  // Appends a member (not owned); false when eight are chained.
  bool AddFile(iResFile* file);
  int CountFiles() const { return static_cast<int>(mMembers.size()); }
  iResFile* GetFile(int index) const;
  // Type filters: they steer only where new resources go.
  void ExcludeType(int member, ResType type);
  void IncludeType(int member, ResType type);
  bool Admits(int member, ResType type) const;

  int Create(const std::string& path) override;
  int Delete(const std::string& path) override;
  int Open(const std::string& path) override;
  int Suspend() override;
  int Resume() override;
  int Close() override;
  int Flush() override;
  bool IsWritable() override;
  void GetPath(std::string& out) override;
  bool IsOpen() override;
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
  int GetHandleAttribute(MemHandle h, int32_t& out) override;
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
  // Whether some writable member admits the type.
  virtual bool CanAddType(ResType type);

 protected:
  struct Member {
    iResFile* file = nullptr;
    std::vector<ResType> types;
    bool exclude = true;  // an empty exclude list admits every type
  };
  // Asks each member until one reports no error; else keeps the last status.
  template <class F>
  int AskOwner(F ask, bool writableOnly, int none);
  std::vector<ResType> TypeUnion();
  // Runs the operation on every member; the last failure is the answer.
  int ForEveryMember(int (iResFile::*op)());

  std::vector<Member> mMembers;
};
