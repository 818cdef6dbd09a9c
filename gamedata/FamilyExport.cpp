#include "gamedata/FamilyExport.h"

#include "resfile/ReconStream.h"

namespace tova {

std::vector<int16_t> ExpFamilyInfo::MemberIds() const {
  std::vector<int16_t> ids;
  for (int16_t id : members) {
    if (id == 0) break;
    ids.push_back(id);
  }
  return ids;
}

void ExpFamilyInfo::Reconstitute(ReconStream& s, int32_t version) {
  if (version >= 63) s.SerializeBytes(&flags, 1);
  s.SerializeShorts(&familyNumber, 1);
  s.SerializeShorts(members, kMaxMembers);
}

int32_t GuidTable::Lookup(int32_t guid) const {
  std::vector<bool> used(pairs_.size(), false);
  for (;;) {
    size_t i = 0;
    while (i < pairs_.size() && (used[i] || pairs_[i].from != guid)) ++i;
    if (i == pairs_.size()) return guid;
    used[i] = true;
    guid = pairs_[i].to;
  }
}

void GuidTable::Reconstitute(ReconStream& s, int32_t) {
  auto count = static_cast<int32_t>(pairs_.size());
  s.SerializeLongs(&count, 1);
  if (s.IsReading()) {
    if (!s.CheckCount(count, 8)) return;
    pairs_.assign(static_cast<size_t>(count), Pair{});
  }
  for (Pair& p : pairs_) {
    s.SerializeLongs(&p.from, 1);
    s.SerializeLongs(&p.to, 1);
    if (s.Failed()) return;
  }
}

}  // namespace tova
