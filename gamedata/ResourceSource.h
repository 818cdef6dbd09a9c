#pragma once
// The little that behaviour data needs of a resource file: cached resources
// by type and id (converted once from the stored byte order), labels, lookup
// by label, writing back, the tuning overrides of constant tables and string
// table entries. The resource layer's files are adapted to it; tests and
// tools use MemoryResourceSource.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "resfile/ResStatus.h"
#include "resfile/TypeCode.h"
#include "resfile/iResFile.h"

namespace tova {

constexpr uint32_t kTypeBHAV = TypeCode("BHAV");
constexpr uint32_t kTypeBCON = TypeCode("BCON");
constexpr uint32_t kTypeOBJf = TypeCode("OBJf");
constexpr uint32_t kTypeDGRP = TypeCode("DGRP");
constexpr uint32_t kTypeSLOT = TypeCode("SLOT");
constexpr uint32_t kTypeFCNS = TypeCode("FCNS");

class ResourceSource {
 public:
  // Turns stored data into this machine's order; applied once, at first load,
  // only when the stored order differs.
  using SwapFn = SwapProc;

  virtual ~ResourceSource() = default;

  virtual bool IsOpen() const = 0;
  virtual bool IsWritable() const = 0;
  virtual std::string GetPath() const = 0;

  // The cached resource (shared by every user of the file; breakpoint marks
  // are set in it), or nothing with the status in *status (kResNotFound).
  virtual std::optional<std::span<uint8_t>> GetResource(uint32_t type, int16_t id, SwapFn swap,
                                                        int* status = nullptr) = 0;
  // Label of (type, id); nullopt when there is no such resource. Both may
  // load the resource, so they take the swap routine a load would use.
  virtual std::optional<std::string> GetLabel(uint32_t type, int16_t id, SwapFn swap) = 0;
  // Id of the first resource of the type bearing the label.
  virtual std::optional<int16_t> FindByLabel(uint32_t type, std::string_view label, SwapFn swap) = 0;
  // Adds or replaces (type, id) and writes it; kResNotWritable on a read-only file.
  virtual int PutResource(uint32_t type, int16_t id, std::string_view label, std::vector<uint8_t> bytes) = 0;
  // Tuning overrides of a constant table: {count (top bit ignored),
  // values...}, or null.
  virtual const int16_t* FindConstantList(int16_t id) const = 0;
  // Entry `index` (1-based) of string table `id`; nullopt when missing.
  virtual std::optional<std::string> GetString(int16_t id, int index) = 0;
};

// Name part of a path, after the last '/' or '\'.
std::string_view FileNamePart(std::string_view path);

// A resource file held in memory.
class MemoryResourceSource : public ResourceSource {
 public:
  explicit MemoryResourceSource(std::string path = "memory.iff", bool writable = true, bool otherByteOrder = false)
      : path_(std::move(path)), writable_(writable), otherOrder_(otherByteOrder) {}

  bool IsOpen() const override { return open_; }
  bool IsWritable() const override { return writable_; }
  std::string GetPath() const override { return path_; }
  std::optional<std::span<uint8_t>> GetResource(uint32_t type, int16_t id, SwapFn swap,
                                                int* status = nullptr) override;
  std::optional<std::string> GetLabel(uint32_t type, int16_t id, SwapFn swap) override;
  std::optional<int16_t> FindByLabel(uint32_t type, std::string_view label, SwapFn swap) override;
  int PutResource(uint32_t type, int16_t id, std::string_view label, std::vector<uint8_t> bytes) override;
  const int16_t* FindConstantList(int16_t id) const override;
  std::optional<std::string> GetString(int16_t id, int index) override;

  // Test and tool controls.
  void Add(uint32_t type, int16_t id, std::vector<uint8_t> bytes, std::string label = "");
  void SetOpen(bool open) { open_ = open; }
  void SetWritable(bool writable) { writable_ = writable; }
  // The list must hold the count its first value gives.
  void SetConstantList(int16_t id, std::vector<int16_t> list) { overrides_[id] = std::move(list); }
  void SetStrings(int16_t id, std::vector<std::string> strings) { strings_[id] = std::move(strings); }
  // The stored bytes as last written (not the converted cache).
  const std::vector<uint8_t>* Stored(uint32_t type, int16_t id) const;
  size_t Count(uint32_t type) const;
  std::vector<std::pair<uint32_t, int16_t>> Keys() const;

 private:
  struct Entry {
    std::vector<uint8_t> stored;
    std::string label;
    std::optional<std::vector<uint8_t>> loaded;
    bool otherOrder = false;
  };
  std::string path_;
  bool writable_;
  bool otherOrder_;
  bool open_ = true;
  std::map<std::pair<uint32_t, int16_t>, Entry> entries_;
  std::map<int16_t, std::vector<int16_t>> overrides_;
  std::map<int16_t, std::vector<std::string>> strings_;
};

}  // namespace tova
