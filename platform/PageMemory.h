// Whole pages of memory straight from the system, reserved and committed
// read-write in one step, for allocators that carve their own slots.
#pragma once

#include <cstddef>

namespace platform {

// The system's page size, read once.
size_t PageSize();
// At least `bytes` (rounded up to whole pages) of zeroed read-write memory;
// null when the system refuses or bytes is 0.
void* AllocatePages(size_t bytes);
// Frees a block from AllocatePages; `bytes` is the size it was asked for.
void FreePages(void* block, size_t bytes);

}  // namespace platform
