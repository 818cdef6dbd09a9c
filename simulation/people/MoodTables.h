#pragma once
// The global mood tables: which motives make a person's mood and how much
// each weighs at its value. Table 502 is everyone's, 504 children's; each
// string of a table is a motive index followed by its curve's points, as in
// "5 (-100;2)(0;1)(100;1)". Loaded from the global behaviour file when the
// first person is set up.

#include <cstdint>
#include <vector>

#include "gamedata/PiecewiseCurve.h"

namespace tova {

class ResourceSource;

class MoodTables {
 public:
  using Table = std::vector<PiecewiseCurve>;
  static constexpr int16_t kEveryoneTable = 502;
  static constexpr int16_t kChildTable = 504;
  static constexpr int32_t kPointsPerCurve = 8;

  static MoodTables& Instance();
  // The first call reads both tables (nothing without a file); later calls
  // do nothing.
  void LoadOnce(ResourceSource* file);
  void Load(ResourceSource& file);
  void Reset() { *this = MoodTables(); }
  const Table& For(bool child) const { return child ? child_ : everyone_; }

 private:
  static Table Read(ResourceSource& file, int16_t id);
  Table everyone_;
  Table child_;
  bool loaded_ = false;
};

}  // namespace tova
