#include "resfile/ResUtil.h"

#include <algorithm>
#include <chrono>
#include <cstring>

void MoveBytes(const void* source, void* destination, int32_t n) {
  if (n > 0) std::memmove(destination, source, static_cast<size_t>(n));
}

void FillBytes(void* block, int value, int32_t n) {
  if (n > 0) std::memset(block, value, static_cast<size_t>(n));
}

bool EqualBytes(const void* a, const void* b, int32_t n) {
  return n <= 0 || std::memcmp(a, b, static_cast<size_t>(n)) == 0;
}

void ShortRect::Set(ShortRect& r, int left, int top, int right, int bottom) {
  r.left = static_cast<int16_t>(left);
  r.top = static_cast<int16_t>(top);
  r.right = static_cast<int16_t>(right);
  r.bottom = static_cast<int16_t>(bottom);
}

void ShortRect::Offset(ShortRect& r, int dx, int dy) {
  r.left = static_cast<int16_t>(r.left + dx);
  r.right = static_cast<int16_t>(r.right + dx);
  r.top = static_cast<int16_t>(r.top + dy);
  r.bottom = static_cast<int16_t>(r.bottom + dy);
}

bool ShortRect::IsEmpty(const ShortRect& r) { return !(r.top < r.bottom && r.left < r.right); }

bool ShortRect::Intersect(const ShortRect& a, const ShortRect& b, ShortRect& out) {
  ShortRect r;
  r.top = std::max(a.top, b.top);
  r.left = std::max(a.left, b.left);
  r.bottom = std::min(a.bottom, b.bottom);
  r.right = std::min(a.right, b.right);
  if (IsEmpty(r)) r = ShortRect{0, 0, 0, 0};
  out = r;
  return !IsEmpty(out);
}

WideRect ShortRectToRect(const ShortRect& r) { return WideRect{r.left, r.top, r.right, r.bottom}; }

void CopyPascalString(const unsigned char* source, std::string& out) {
  out.clear();
  if (!source) return;
  size_t n = std::min<size_t>(source[0], 63);
  out.assign(reinterpret_cast<const char*>(source + 1), n);
}

uint32_t TicksNow() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now().time_since_epoch())
                .count();
  return static_cast<uint32_t>(static_cast<int64_t>(ms) * 60 / 1000);
}
