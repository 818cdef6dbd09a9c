#pragma once
// The records a family file adds to the family's own chunks: which
// neighbours travel with it, and the table that maps the person GUIDs of a
// lot brought in from another neighbourhood to the people made for them here.

#include <cstdint>
#include <vector>

#include "resfile/TypeCode.h"

class ReconStream;

namespace tova {

constexpr ResType kExportInfoChunk = TypeCode("EXPi");
constexpr ResType kGuidTableChunk = TypeCode("Gtab");

struct ExpFamilyInfo {
  static constexpr int32_t kRecordVersion = 63;
  static constexpr int32_t kMaxMembers = 8;
  uint8_t language = 0;  // not stored
  uint8_t flags = 0;
  int16_t familyNumber = 0;
  int16_t members[kMaxMembers] = {};

  // The member ids up to the first 0.
  std::vector<int16_t> MemberIds() const;
  void Reconstitute(ReconStream& stream, int32_t version);
};

class GuidTable {
 public:
  struct Pair {
    int32_t from = 0;
    int32_t to = 0;
  };
  void Add(int32_t from, int32_t to) { pairs_.push_back({from, to}); }
  // Follows the chain from `guid`, each pair used at most once.
  int32_t Lookup(int32_t guid) const;
  const std::vector<Pair>& Pairs() const { return pairs_; }
  void Reconstitute(ReconStream& stream, int32_t version);

 private:
  std::vector<Pair> pairs_;
};

}  // namespace tova
