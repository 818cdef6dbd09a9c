#pragma once
// The interpreter's operands that read the neighbourhood of the running
// game: a neighbourhood value, a neighbourhood global, and the person data
// and definition record of a neighbour record, the neighbour named by the
// frame's stack object id. Without a neighbourhood the values read 0 and the
// records are absent. None of them can be written.

#include <cstdint>

namespace tova {

// Owners 24, 32, 34 and 38; raises the object error of a bad index or a
// missing record.
int16_t ReadNeighborhoodOwner(int32_t owner, int32_t index, int16_t stackObject);

}  // namespace tova
