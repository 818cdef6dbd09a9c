#pragma once
// The motive entries of the one shared tree-table entry into which the
// interaction list copies the entry it is weighing; behaviour trees read and
// write its words through three variable owners.

#include <vector>

#include "gamedata/TreeTableData.h"

namespace tova {

// Null until the interaction list names its entry.
std::vector<MotiveEntry>* SharedMotiveEntries();
void SetSharedMotiveEntries(std::vector<MotiveEntry>* entries);

}  // namespace tova
