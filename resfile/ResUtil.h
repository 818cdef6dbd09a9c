// Small helpers shared by the resource layer and its callers: byte blocks,
// 16-bit rectangles, length-prefixed text and the tick clock.
#pragma once

#include <cstdint>
#include <string>

void MoveBytes(const void* source, void* destination, int32_t n);
void FillBytes(void* block, int value, int32_t n);
bool EqualBytes(const void* a, const void* b, int32_t n);

// A 32-bit rectangle, as the window code keeps them.
struct WideRect {
  int32_t left, top, right, bottom;
};

// A rectangle of four signed 16-bit values in the stored order top, left,
// bottom, right.
struct ShortRect {
  int16_t top, left, bottom, right;

  static void Set(ShortRect& r, int left, int top, int right, int bottom);
  static void Offset(ShortRect& r, int dx, int dy);
  // The intersection of a and b (empty when they do not meet); true when it
  // is not empty.
  static bool Intersect(const ShortRect& a, const ShortRect& b, ShortRect& out);
  static bool IsEmpty(const ShortRect& r);
};

WideRect ShortRectToRect(const ShortRect& r);

// Copies a length-prefixed text (first byte the length) into out, keeping at
// most 63 characters as labels do.
void CopyPascalString(const unsigned char* source, std::string& out);

// The system tick count in sixtieths of a second (64-bit arithmetic, so it
// does not wrap after a day of uptime).
uint32_t TicksNow();

// Little- and big-endian access to stored bytes.
inline uint16_t ReadU16LE(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadU32LE(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint16_t ReadU16BE(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t ReadU32BE(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}
inline void WriteU16LE(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void WriteU32LE(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void WriteU16BE(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}
inline void WriteU32BE(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
