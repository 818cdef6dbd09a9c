#include "resfile/ReconObject.h"

#include <string>
#include <utility>

#include "resfile/MappedResFile.h"
#include "resfile/ResUtil.h"

ReconObject::~ReconObject() = default;

void ReconObject::Reconstitute(ReconStream&, int32_t) {}

ResType ReconObject::GetTypeCode() const { return TypeCode("Rcon"); }

MemHandle ReconObject::WriteToHandle(ReconObject& object, int32_t version) {
  ReconStream measure;
  measure.InitMeasure();
  object.Reconstitute(measure, version);
  measure.Finish();
  int32_t body = measure.GetPosition();
  if (body < 0 || body > 0x7FFFFFFF - kReconHeaderSize) return nullptr;
  MemHandle h = NewMemHandle(body + kReconHeaderSize);
  if (!h) return nullptr;
  uint8_t* data = GetMemHandleData(h);
  WriteU32LE(data, 0);
  WriteU32LE(data + 4, static_cast<uint32_t>(version));
  WriteU32LE(data + 8, object.GetTypeCode());
  ReconStream write;
  write.InitBuffer(data + kReconHeaderSize, body, ReconStream::kWrite, false);
  object.Reconstitute(write, version);
  int tableStatus = write.Finish();
  // A writer that wrote more than it measured is a bug; never hand it out.
  if (write.Failed() || write.GetPosition() != body || tableStatus != 0) {
    DisposeMemHandle(h);
    return nullptr;
  }
  return h;
}

int ReconObject::ReadFromHandle(ReconObject& object, MemHandle h, int32_t* outVersion) {
  int32_t size = GetMemHandleSize(h);
  if (size < kReconHeaderSize) return kResBadData;
  const uint8_t* data = GetMemHandleData(h);
  auto version = static_cast<int32_t>(ReadU32LE(data + 4));
  if (outVersion) *outVersion = version;
  ReconStream read;
  read.InitBuffer(GetMemHandleData(h) + kReconHeaderSize, size - kReconHeaderSize,
                  ReconStream::kRead, data[0] != 0);
  object.Reconstitute(read, version);
  read.Finish();
  return read.Failed() ? kResBadData : kResOK;
}

void SwapReconHeader(void* data, int32_t size) {
  if (!data || size < kReconHeaderSize) return;
  auto* p = static_cast<uint8_t*>(data);
  p[0] = 1;
  std::swap(p[4], p[7]);
  std::swap(p[5], p[6]);
  std::swap(p[8], p[11]);
  std::swap(p[9], p[10]);
}

int ReconObject::SaveToResFile(ReconObject& object, int32_t version, iResFile& file, ResId id) {
  MemHandle h = WriteToHandle(object, version);
  if (!h) {
    file.SetError(kResBadData);
    return kResBadData;
  }
  int status = file.AddResource(h, object.GetTypeCode(), id, std::string(), true);
  if (status != 0) {
    DisposeMemHandle(h);
    return status;
  }
  status = file.WriteResource(h);
  if (status != 0) {
    DiscardFailedWrite(file, h);
    file.SetError(status);
    return status;
  }
  file.DetachResource(h);
  DisposeMemHandle(h);
  file.SetError(0);
  return 0;
}

int ReconObject::LoadFromResFile(ReconObject& object, iResFile& file, ResId id, int32_t* outVersion) {
  MemHandle h = file.GetResource(object.GetTypeCode(), id, SwapReconHeader);
  if (!h) {
    int status = file.GetError();
    return status != 0 ? status : kResNotFound;
  }
  int status = ReadFromHandle(object, h, outVersion);
  file.ReleaseResource(h);
  return status;
}
