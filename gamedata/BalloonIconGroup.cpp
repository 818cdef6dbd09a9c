#include "gamedata/BalloonIconGroup.h"

#include "resfile/StringSet.h"

namespace tova {

namespace {

constexpr BalloonIconGroup::Entry kGroups[BalloonIconGroup::kGroupCount] = {
    {0, BalloonIconGroup::kNoBase, 161}, {1, 100, 505}, {2, 400, 501}, {3, 200, 502},
    {4, 300, 503},                       {5, 500, 504}, {6, 600, 506}, {7, BalloonIconGroup::kNoBase, 507},
    {8, 700, 508},                       {9, 800, 509},
};

constexpr int32_t kGroup0Icons[] = {200, 201, 202, 203, 204, 205, 206, 207, 208, 209,
                                    210, 211, 212, 213, 400, 401, 402, 403, 404};

std::string EntryText(StringSet& set, int32_t n) {
  const char* text = n >= 1 && n < set.End() ? set.GetString(n) : nullptr;
  return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

BalloonIconGroup::BalloonIconGroup(int32_t group, iResFile* behaviorFile) : group_(group), file_(behaviorFile) {
  for (const Entry& e : kGroups) {
    if (e.group == group) entry_ = &e;
  }
}

BalloonIconGroup::~BalloonIconGroup() = default;

int32_t BalloonIconGroup::GetIconId(int32_t index) const {
  if (entry_ == nullptr) return 0;
  if (entry_->base != kNoBase) return entry_->base + index;
  if (group_ == 0 && index >= 0 && index < static_cast<int32_t>(std::size(kGroup0Icons))) return kGroup0Icons[index];
  return 0;
}

std::string BalloonIconGroup::GetGroupName() const {
  std::string name;
  if (file_ != nullptr) {
    StringSet groups;
    if (groups.LoadFromFile(file_, kGroupNamesTable, false) == 0) name = EntryText(groups, group_ + 1);
  }
  return name.empty() ? "Group " + std::to_string(group_) : name;
}

std::string BalloonIconGroup::GetIconName(int32_t index) {
  if (!namesTried_ && entry_ != nullptr && file_ != nullptr) {
    namesTried_ = true;
    auto set = std::make_unique<StringSet>();
    if (set->LoadFromFile(file_, entry_->stringTable, false) == 0) names_ = std::move(set);
  }
  std::string name = names_ ? EntryText(*names_, index + 1) : std::string();
  return name.empty() ? "Icon " + std::to_string(index) : name;
}

int32_t BalloonIconGroup::GetStandardIcon(int32_t kind) const {
  if (group_ != 1 || entry_ == nullptr || kind < 0 || kind > 2) return 0;
  return entry_->base + kind;
}

}  // namespace tova
