#pragma once
// The stored person-data block of a person definition, brought to the
// current layout when the catalogue loads the definition: version 138, 216
// bytes. Older blocks of 136 (or 137 at 160 bytes) grew zeroed bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tova {

constexpr int32_t kPersonDataBlockVersion = 138;
constexpr size_t kPersonDataBlockSize = 216;

// Rewrites the block in place: versions 136 and 137 become 138, and every
// block is cut or zero-padded to the full size.
void UpgradePersonDataBlock(std::vector<uint8_t>& block);

}  // namespace tova
