#pragma once
// The neighbourhood's two records ('NGBH' settings, 'NBRS' neighbours) as
// self-saving objects over a neighbourhood.

#include "gamedata/Neighborhood.h"
#include "resfile/ReconObject.h"

namespace tova {

template <void (Neighborhood::*Member)(ReconStream&, int32_t), ResType kType>
class NeighborhoodRecord : public ReconObject {
 public:
  explicit NeighborhoodRecord(Neighborhood& owner) : owner_(owner) {}
  void Reconstitute(ReconStream& s, int32_t version) override { (owner_.*Member)(s, version); }
  ResType GetTypeCode() const override { return kType; }

 private:
  Neighborhood& owner_;
};

using NeighborhoodSettingsRecord = NeighborhoodRecord<&Neighborhood::ReconstituteSettings, kNeighborhoodSettingsChunk>;
using NeighborhoodNeighborsRecord = NeighborhoodRecord<&Neighborhood::ReconstituteNeighbors, kNeighborsChunk>;

}  // namespace tova
