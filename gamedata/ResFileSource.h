#pragma once
// A resource file of the resource layer seen as a ResourceSource. Spans it
// hands out point into the file's cached handles: they stay valid until the
// resource is released, replaced or deleted, or the file is closed.

#include "gamedata/ResourceSource.h"

namespace tova {

class ResFileSource : public ResourceSource {
 public:
  explicit ResFileSource(iResFile* file) : file_(file) {}

  bool IsOpen() const override { return file_ && file_->IsOpen(); }
  bool IsWritable() const override { return file_ && file_->IsWritable(); }
  std::string GetPath() const override;
  std::optional<std::span<uint8_t>> GetResource(uint32_t type, int16_t id, SwapFn swap,
                                                int* status = nullptr) override;
  std::optional<std::string> GetLabel(uint32_t type, int16_t id, SwapFn swap) override;
  std::optional<int16_t> FindByLabel(uint32_t type, std::string_view label, SwapFn swap) override;
  int PutResource(uint32_t type, int16_t id, std::string_view label, std::vector<uint8_t> bytes) override;
  // Tuning overrides live in the object-file chains; other files have none.
  const int16_t* FindConstantList(int16_t id) const override;
  std::optional<std::string> GetString(int16_t id, int index) override;

  iResFile* File() const { return file_; }

 private:
  iResFile* file_;
};

}  // namespace tova
