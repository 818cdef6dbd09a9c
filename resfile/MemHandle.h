// Memory handles: a block of bytes with its size. Every resource comes back
// from a resource file as one; the file's cache owns it until it is detached
// or released.
#pragma once

#include <cstdint>


struct MemHandleRecord {
  uint8_t* data;
  int32_t size;
};
using MemHandle = MemHandleRecord*;

// A new handle of n bytes, each 0xA3 so that unwritten bytes stand out; null
// when n is negative or memory runs out.
MemHandle NewMemHandle(int32_t n);
// Frees the block and the record; null is accepted. Returns 0.
int DisposeMemHandle(MemHandle h);
uint8_t* GetMemHandleData(MemHandle h);
int32_t GetMemHandleSize(MemHandle h);
// Resizes keeping the first min(old, n) bytes; growth is zero-filled.
// Returns 1 (handle unchanged) for a null handle, a negative size or no
// memory, else 0.
int SetMemHandleSize(MemHandle h, int32_t n);

