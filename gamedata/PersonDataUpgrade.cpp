#include "gamedata/PersonDataUpgrade.h"

namespace tova {

void UpgradePersonDataBlock(std::vector<uint8_t>& block) {
  // Older layouts were shorter: the fields they lack read as zero.
  const uint32_t version = block.size() >= 4 ? static_cast<uint32_t>(block[0] | (block[1] << 8) | (block[2] << 16)) |
                                                   (static_cast<uint32_t>(block[3]) << 24)
                                             : 0;
  block.resize(kPersonDataBlockSize, 0);
  if (version == 136 || version == 137) {
    const auto v = static_cast<uint32_t>(kPersonDataBlockVersion);
    for (int i = 0; i < 4; ++i) block[static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  }
}

}  // namespace tova
