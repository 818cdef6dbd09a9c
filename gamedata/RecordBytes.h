#pragma once
// Little-endian bytes of fixed layouts (trees, constant tables): a writer and
// loads and stores at an offset. Strings are zero-terminated and padded to an
// even position, as the record stream keeps them.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tova {

class ByteWriter {
 public:
  void U8(uint8_t v) { bytes_.push_back(v); }
  void I16(int16_t v);
  void U16(uint16_t v) { I16(static_cast<int16_t>(v)); }
  void I32(int32_t v);
  void U32(uint32_t v) { I32(static_cast<int32_t>(v)); }
  void F32(float v);
  void String(const std::string& s);

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Little-endian loads and stores at an offset, for fixed layouts (trees).
inline uint16_t LoadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline int16_t LoadI16(const uint8_t* p) { return static_cast<int16_t>(LoadU16(p)); }
inline uint32_t LoadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t LoadI32(const uint8_t* p) { return static_cast<int32_t>(LoadU32(p)); }
inline void StoreU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void StoreU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void Swap16At(uint8_t* p) { std::swap(p[0], p[1]); }
inline void Swap32At(uint8_t* p) {
  std::swap(p[0], p[3]);
  std::swap(p[1], p[2]);
}

}  // namespace tova
