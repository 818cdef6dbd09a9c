#pragma once
// The icon groups of the balloon over a person's head: a (group, index) pair
// names a sprite id, and the global behaviour file names groups and icons.

#include <cstdint>
#include <memory>
#include <string>

class iResFile;
class StringSet;

namespace tova {

class BalloonIconGroup {
 public:
  static constexpr int32_t kGroupCount = 10;
  static constexpr uint16_t kNoBase = 0xFFFF;
  static constexpr int16_t kGroupNamesTable = 500;

  struct Entry {
    int32_t group;
    uint16_t base;
    int16_t stringTable;
  };

  // behaviorFile: the global behaviour file the names come from (may be null).
  BalloonIconGroup(int32_t group, iResFile* behaviorFile);
  ~BalloonIconGroup();
  BalloonIconGroup(const BalloonIconGroup&) = delete;
  BalloonIconGroup& operator=(const BalloonIconGroup&) = delete;

  int32_t GetGroup() const { return group_; }
  const Entry* GetEntry() const { return entry_; }
  // 0 when the pair names no icon.
  int32_t GetIconId(int32_t index) const;
  std::string GetGroupName() const;
  std::string GetIconName(int32_t index);
  // Kinds 0-2 of group 1 give its first three icons; anything else 0.
  int32_t GetStandardIcon(int32_t kind) const;

 private:
  int32_t group_;
  const Entry* entry_ = nullptr;
  iResFile* file_;
  std::unique_ptr<StringSet> names_;
  bool namesTried_ = false;
};

}  // namespace tova
