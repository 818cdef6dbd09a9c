// Object files for catalogue tests, written through the project's own IFF
// writer into a scratch data root.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gamedata/ObjectDefinitionRecord.h"
#include "resfile/IFFResFile2.h"
#include "resfile/MemHandle.h"
#include "resfile/StringSet.h"

namespace tova_test {

struct ResourceSpec {
  ResType type;
  int16_t id;
  std::string label;
  std::vector<uint8_t> bytes;
};

inline std::vector<uint8_t> RecordBytes(const tova::ObjectDefinitionRecord& r, size_t size = 216) {
  return std::vector<uint8_t>(r.Data(), r.Data() + size);
}

inline tova::ObjectDefinitionRecord MakeRecord(uint32_t guid, int16_t type = 4) {
  tova::ObjectDefinitionRecord r;
  r.SetGuid(guid);
  r.SetWord(tova::ObjectDefinitionRecord::kObjectType, type);
  return r;
}

// Writes a 2.5 file at path with the resources, creating its folder.
inline void WriteIff(const std::filesystem::path& path, const std::vector<ResourceSpec>& resources,
                     const std::vector<std::pair<int16_t, std::vector<std::string>>>& stringTables = {}) {
  std::filesystem::create_directories(path.parent_path());
  IFFResFile2 file;
  ASSERT_EQ(file.Create(path.string()), 0);
  ASSERT_EQ(file.Open(path.string()), 0);
  for (const ResourceSpec& r : resources) {
    MemHandle h = NewMemHandle(static_cast<int32_t>(r.bytes.size()));
    std::copy(r.bytes.begin(), r.bytes.end(), GetMemHandleData(h));
    ASSERT_EQ(file.AddResource(h, r.type, r.id, r.label, true), 0);
    ASSERT_EQ(file.WriteResource(h), 0);
    file.DetachResource(h);
    DisposeMemHandle(h);
  }
  for (const auto& [id, texts] : stringTables) {
    StringSet set;
    for (const std::string& t : texts) set.SetString(set.GetCount() + 1, t.c_str());
    ASSERT_EQ(set.SaveTo(&file, id), 0);
  }
  ASSERT_EQ(file.Close(), 0);
}

inline ResourceSpec Objd(int16_t id, const std::string& label, const tova::ObjectDefinitionRecord& r,
                         size_t size = 216) {
  return ResourceSpec{TypeCode("OBJD"), id, label, RecordBytes(r, size)};
}

}  // namespace tova_test
