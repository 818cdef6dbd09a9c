// The guarded allocator the image codec allocates through: each block is
// "GMEM", its size, the caller's bytes and "GEND"; a released block's first
// four bytes read "GFRE". Problems are printed to the standard output.
//
// A second release is recognised by the set of live blocks (and of blocks
// released since), never by reading memory already given back.
#pragma once

#include <cstdint>

// Sizes above this are refused by galloc (gfree would not recognise them).
constexpr int32_t kGallocMaxSize = 0x63FFFFF;

// Null on a size <= 0 (or above the limit) or when memory runs out.
void* galloc(int32_t size);
// 1 when the block was released; 0 for null, a second release or a damaged
// block (which is then kept).
int32_t gfree(void* block);
// Blocks handed out and not yet released.
int32_t GallocLiveCount();
