#pragma once
// An animation-name table: a string table whose gaps are filled from further
// tables, names folded to lower case.

#include "resfile/StringSet.h"

namespace tova {

class AnimTable : public StringSet {
 public:
  ~AnimTable() override = default;

  // Loads string table `id` of the file (current language) and copies each
  // of its entries into this table where this table's entry is missing or
  // empty, lower-cased; entries already present stay. The load's status on
  // failure, else 0.
  int MergeNames(iResFile* file, ResId id);
};

}  // namespace tova
