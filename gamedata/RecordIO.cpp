#include "gamedata/RecordIO.h"

#include <cstring>

#include "gamedata/RecordBytes.h"
#include "resfile/MemHandle.h"

namespace tova {

int ReadRecordBytes(ReconObject& object, std::span<const uint8_t> bytes, int32_t* outVersion) {
  if (bytes.size() < static_cast<size_t>(kReconHeaderSize) || bytes.size() > 0x7FFFFFFF) return kResBadData;
  const int32_t version = LoadI32(bytes.data() + 4);
  if (outVersion) *outVersion = version;
  ReconStream read;
  read.InitBuffer(const_cast<uint8_t*>(bytes.data()) + kReconHeaderSize,
                  static_cast<int32_t>(bytes.size()) - kReconHeaderSize, ReconStream::kRead, bytes[0] != 0);
  object.Reconstitute(read, version);
  read.Finish();
  return read.Failed() ? kResBadData : kResOK;
}

std::vector<uint8_t> WriteRecordBytes(ReconObject& object, int32_t version) {
  MemHandle h = ReconObject::WriteToHandle(object, version);
  if (!h) return {};
  const uint8_t* data = GetMemHandleData(h);
  std::vector<uint8_t> out(data, data + GetMemHandleSize(h));
  DisposeMemHandle(h);
  return out;
}

std::vector<uint8_t> MakeRecord(int32_t version, uint32_t type, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out(kReconHeaderSize + body.size(), 0);
  StoreU32(out.data() + 4, static_cast<uint32_t>(version));
  StoreU32(out.data() + 8, type);
  if (!body.empty()) std::memcpy(out.data() + kReconHeaderSize, body.data(), body.size());
  return out;
}

int LoadRecord(ResourceSource& file, uint32_t type, int16_t id, ReconObject& object, int32_t* outVersion) {
  int status = kResOK;
  auto bytes = file.GetResource(type, id, SwapReconHeader, &status);
  if (!bytes) return status;
  return ReadRecordBytes(object, *bytes, outVersion);
}

int SaveRecord(ResourceSource& file, uint32_t type, int16_t id, ReconObject& object, int32_t version) {
  std::vector<uint8_t> bytes = WriteRecordBytes(object, version);
  if (bytes.empty()) return kResBadData;
  const std::string label = file.GetLabel(type, id, SwapReconHeader).value_or("");
  return file.PutResource(type, id, label, std::move(bytes));
}

}  // namespace tova
