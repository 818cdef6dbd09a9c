#include "resfile/MemHandle.h"

#include <cstdlib>
#include <cstring>
#include <new>


MemHandle NewMemHandle(int32_t n) {
  if (n < 0) return nullptr;
  auto* h = new (std::nothrow) MemHandleRecord{nullptr, 0};
  if (!h) return nullptr;
  // malloc(0) may answer null; keep one byte so a handle always has a block.
  h->data = static_cast<uint8_t*>(std::malloc(n > 0 ? static_cast<size_t>(n) : 1));
  if (!h->data) {
    delete h;
    return nullptr;
  }
  std::memset(h->data, 0xA3, static_cast<size_t>(n));
  h->size = n;
  return h;
}

int DisposeMemHandle(MemHandle h) {
  if (h) {
    std::free(h->data);
    delete h;
  }
  return 0;
}

uint8_t* GetMemHandleData(MemHandle h) { return h ? h->data : nullptr; }

int32_t GetMemHandleSize(MemHandle h) { return h ? h->size : 0; }

int SetMemHandleSize(MemHandle h, int32_t n) {
  if (!h || n < 0) return 1;
  auto* block = static_cast<uint8_t*>(std::malloc(n > 0 ? static_cast<size_t>(n) : 1));
  if (!block) return 1;
  int32_t keep = h->size < n ? h->size : n;
  if (keep > 0) std::memcpy(block, h->data, static_cast<size_t>(keep));
  if (n > keep) std::memset(block + keep, 0, static_cast<size_t>(n - keep));
  std::free(h->data);
  h->data = block;
  h->size = n;
  return 0;
}

