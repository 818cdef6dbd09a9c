#pragma once
// Named float tables ('FCNS') that designers tune, and the clients that turn
// one table into a subsystem's working values.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gamedata/ResourceSource.h"
#include "resfile/ReconStream.h"

namespace tova {

class FloatConstants {
 public:
  struct Entry {
    float value = 0;
    std::string name;     // up to 63 characters
    std::string comment;  // up to 255 characters
  };
  static constexpr int32_t kRecordVersion = 1;

  // Value of the entry named `name` (case-insensitive); otherwise `fallback`,
  // appended as a new entry when `add` is set.
  float Get(std::string_view name, float fallback, bool add);
  void Set(std::string_view name, float value);

  // Empties the table and reads 'FCNS' id; the file's status (kResNotFound,
  // kResBadData for a damaged record).
  int Load(ResourceSource& file, int16_t id);
  int Save(ResourceSource& file, int16_t id);

  // The record's fields, in every mode of the record stream.
  void Reconstitute(ReconStream& stream, int32_t version);
  std::vector<uint8_t> ToRecord();

  const std::vector<Entry>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }
  void Append(Entry e);

 private:
  Entry* Find(std::string_view name);
  std::vector<Entry> entries_;
};

// A subsystem's view of one constants table.
class ConstantsClient {
 public:
  virtual ~ConstantsClient() = default;
  virtual ResourceSource* GetFile() = 0;
  virtual int16_t GetId() = 0;
  virtual void Load() = 0;
};

// Tables kept in the global behaviour file; the object catalogue names that
// file once it has opened it.
class GlobalConstantsClient : public ConstantsClient {
 public:
  explicit GlobalConstantsClient(int16_t id) : id_(id) {}
  ResourceSource* GetFile() override { return globalFile_; }
  int16_t GetId() override { return id_; }
  static void SetGlobalFile(ResourceSource* file) { globalFile_ = file; }
  static ResourceSource* GlobalFile() { return globalFile_; }

 protected:
  // Reads the table (when the file exists), lets `take` pick its values
  // (adding missing keys), and writes the table back when it was read or is
  // new. A read-only file or a failed write leaves the values in effect:
  // loading never fails on it.
  template <typename Take>
  void LoadWith(Take take) {
    FloatConstants table;
    ResourceSource* file = GetFile();
    const int status = file ? table.Load(*file, GetId()) : kResNotFound;
    take(table);
    // A table that exists but cannot be read is left as it is, not replaced
    // by the defaults; a failed write changes nothing here.
    const bool readable = status == kResOK || status == kResNotFound;
    if (file && readable && file->IsWritable()) table.Save(*file, GetId());
  }

 private:
  int16_t id_;
  static inline ResourceSource* globalFile_ = nullptr;
};

}  // namespace tova
