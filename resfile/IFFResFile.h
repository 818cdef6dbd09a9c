// The older resource container, IFF 1.0: 16-byte chunk headers that hold an
// index into a name list instead of the label, and no resource map (opening
// scans the file). The name list lives in the file as an internal resource
// ('NAME' id 1, a record; older files have a raw 'NAME' id 0), kept apart
// from the public resources. Variants do not exist in this version.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "resfile/IFFChunkFile.h"

class ReconStream;

// The labels of a 1.0 file by label index.
struct IFFNameList {
  std::vector<std::pair<int32_t, std::string>> entries;
  void Reconstitute(ReconStream& stream, int32_t version);
};

class IFFResFile : public IFFChunkFile {
 public:
  static constexpr int32_t kChunkHeaderSize = 16;

  IFFResFile();
  ~IFFResFile() override;

  int Create(const std::string& path) override;
  int Open(const std::string& path) override;
  int Suspend() override { return mError = kFlatOpenFailed; }
  int Resume() override { return mError = kFlatOpenFailed; }
  int Close() override;
  int Flush() override;

  MemHandle GetResourceVariant(ResType type, ResId id, int variant, SwapProc swap) override;
  int GetVariant(MemHandle h) override { return iResFile::GetVariant(h); }
  int AddResource(MemHandle h, ResType type, ResId id, const std::string& label,
                  bool native) override;
  int AddResourceVariant(MemHandle h, ResType type, ResId id, const std::string& label,
                         int variant, bool native) override {
    return iResFile::AddResourceVariant(h, type, id, label, variant, native);
  }
  int DeleteResource(MemHandle h) override;
  int SetIdAndLabel(MemHandle h, ResId id, const std::string& label, int variant) override;

 protected:
  void EncodeHeader(const ChunkHeader& h, uint8_t* out) const override;
  void DecodeHeader(const uint8_t* in, ChunkHeader& h) const override;
  void ForEachEntry(const std::function<void(ResEntry&)>& visit) override;

 private:
  void Swap();
  int32_t NextLabelIndex() const;
  void LoadNames();
  int SaveNames();

  IFFResMap mInternal;  // resources flagged 0x08: the name list
  bool mSwapped = false;
  bool mNamesChanged = true;
};
