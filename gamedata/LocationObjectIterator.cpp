#include "gamedata/LocationObjectIterator.h"

namespace tova {

LocationObjectIterator::LocationObjectIterator(SlotHolder* start, intptr_t value) : current_(start), value_(value) {
  if (start) {
    path_.push_back({start, 0});
    seen_.insert(start);
  }
}

SlotHolder* LocationObjectIterator::Next() {
  while (!path_.empty()) {
    auto& [holder, slot] = path_.back();
    if (slot < holder->SlotCount()) {
      SlotHolder* inside = holder->SlotContent(slot++);
      // An object met before (slots that loop, or one object in two slots)
      // is not walked again, so damaged containment cannot make the walk
      // endless.
      if (inside && seen_.insert(inside).second) {
        path_.push_back({inside, 0});
        current_ = inside;
        return inside;
      }
    } else {
      path_.pop_back();
    }
  }
  current_ = nullptr;
  return nullptr;
}

void CopyStatistics(int32_t (&out)[8], const int32_t (&in)[8]) {
  for (int i = 0; i < 8; ++i) out[i] = in[i];
}

void AddStatistics(int32_t (&out)[8], const int32_t (&a)[8], const int32_t (&b)[8], const int32_t (&c)[8]) {
  for (int i = 0; i < 8; ++i) out[i] = static_cast<int32_t>(static_cast<uint32_t>(a[i]) + b[i] + c[i]);
}

}  // namespace tova
