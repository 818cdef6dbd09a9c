#pragma once
// Trees as a machine of the other byte order stores them.

#include <cstdint>
#include <vector>

#include "gamedata/BehaviorTree.h"

namespace tova::testing_support {

inline std::vector<uint8_t> OtherOrderTree(std::vector<uint8_t> tree) {
  const int count = LoadI16(tree.data() + 2);
  Swap16At(tree.data());
  Swap16At(tree.data() + 2);
  Swap32At(tree.data() + 8);
  for (int i = 0; i < count; ++i) {
    uint8_t* node = tree.data() + kTreeHeaderSize + kTreeNodeSize * static_cast<size_t>(i);
    Swap16At(node);
    for (int w = 0; w < 4; ++w) Swap16At(node + 4 + 2 * w);
  }
  return tree;
}

}  // namespace tova::testing_support
