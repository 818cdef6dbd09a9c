#pragma once
// Walks the objects at one tile: the object the world holds there and,
// depth first, everything held in its containment slots, each object once.

#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tova {

// What the walk needs of a live object.
class SlotHolder {
 public:
  virtual ~SlotHolder() = default;
  virtual int SlotCount() const = 0;
  // The object in slot i, or null when the slot is empty.
  virtual SlotHolder* SlotContent(int i) const = 0;
};

class LocationObjectIterator {
 public:
  // `start` is the object the world's object layer holds at the tile;
  // `value` is the caller's, kept beside the walk.
  LocationObjectIterator(SlotHolder* start, intptr_t value);

  SlotHolder* Current() const { return current_; }
  intptr_t Value() const { return value_; }
  // The next object, or null when the walk is back at the start.
  SlotHolder* Next();

 private:
  SlotHolder* current_;
  intptr_t value_;
  std::vector<std::pair<SlotHolder*, int>> path_;  // containers and the slot to look at next
  std::unordered_set<const SlotHolder*> seen_;
};

// The simulator's eight-value statistic blocks.
void CopyStatistics(int32_t (&out)[8], const int32_t (&in)[8]);
void AddStatistics(int32_t (&out)[8], const int32_t (&a)[8], const int32_t (&b)[8], const int32_t (&c)[8]);

}  // namespace tova
