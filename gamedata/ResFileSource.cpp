#include "gamedata/ResFileSource.h"

#include <cstring>

#include "resfile/MappedResFile.h"
#include "resfile/MemHandle.h"
#include "resfile/SeqResFile.h"

namespace tova {

std::string ResFileSource::GetPath() const {
  std::string path;
  if (file_) file_->GetPath(path);
  return path;
}

std::optional<std::span<uint8_t>> ResFileSource::GetResource(uint32_t type, int16_t id, SwapFn swap, int* status) {
  if (!file_) {
    if (status) *status = kFlatNotOpen;
    return std::nullopt;
  }
  MemHandle h = file_->GetResource(type, id, swap);
  if (!h) {
    if (status) *status = file_->GetError() != 0 ? file_->GetError() : kResNotFound;
    return std::nullopt;
  }
  if (status) *status = kResOK;
  const int32_t size = GetMemHandleSize(h);
  return std::span<uint8_t>(GetMemHandleData(h), size > 0 ? static_cast<size_t>(size) : 0);
}

std::optional<std::string> ResFileSource::GetLabel(uint32_t type, int16_t id, SwapFn swap) {
  if (!file_) return std::nullopt;
  MemHandle h = file_->GetResource(type, id, swap);
  if (!h) return std::nullopt;
  std::string label;
  if (file_->GetLabel(h, label) != 0) return std::nullopt;
  return label;
}

std::optional<int16_t> ResFileSource::FindByLabel(uint32_t type, std::string_view label, SwapFn swap) {
  if (!file_) return std::nullopt;
  MemHandle h = file_->GetNamedResource(type, std::string(label), swap);
  if (!h) return std::nullopt;
  ResId id = 0;
  if (file_->GetId(h, id) != 0) return std::nullopt;
  return id;
}

int ResFileSource::PutResource(uint32_t type, int16_t id, std::string_view label, std::vector<uint8_t> bytes) {
  if (!file_) return kFlatNotOpen;
  MemHandle h = NewMemHandle(static_cast<int32_t>(bytes.size()));
  if (!h) return kResOutOfMemory;
  if (!bytes.empty()) std::memcpy(GetMemHandleData(h), bytes.data(), bytes.size());
  int status = file_->AddResource(h, type, id, ClampLabel(std::string(label)), true);
  if (status != 0) {
    DisposeMemHandle(h);
    return status;
  }
  status = file_->WriteResource(h);
  if (status != 0) {
    // A resource that replaced a stored one gives the stored one back.
    DiscardFailedWrite(*file_, h);
    return status;
  }
  file_->DetachResource(h);
  DisposeMemHandle(h);
  return kResOK;
}

const int16_t* ResFileSource::FindConstantList(int16_t id) const {
  const auto* objectFile = dynamic_cast<const ObjResFile*>(file_);
  return objectFile ? objectFile->FindConstantList(id) : nullptr;
}

std::optional<std::string> ResFileSource::GetString(int16_t id, int index) {
  if (!file_) return std::nullopt;
  std::string text;
  file_->GetString(id, index, text);
  if (text.empty()) return std::nullopt;
  return text;
}

}  // namespace tova
