#pragma once
// Bounded little-endian readers and writers for resource bodies, in the plain
// encoding of the record stream: 16- and 32-bit integers in the writer's order
// (reversed when the data came from a machine of the other order), floats
// never reversed, strings zero-terminated and padded to an even position.
// Reads past the end throw RecordError instead of leaving the buffer.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tova {

class RecordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes, bool swap = false) : bytes_(bytes), swap_(swap) {}

  uint8_t U8();
  int16_t I16();
  uint16_t U16() { return static_cast<uint16_t>(I16()); }
  int32_t I32();
  uint32_t U32() { return static_cast<uint32_t>(I32()); }
  float F32();
  // A zero-terminated string; the pad byte after an odd length is skipped.
  std::string String();
  void Skip(size_t n);

  size_t Position() const { return pos_; }
  size_t Remaining() const { return bytes_.size() - pos_; }
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  bool Swapped() const { return swap_; }
  // Throws unless `count` items of at least `itemSize` bytes each can still follow:
  // keeps a damaged count from growing an array before the reads fail.
  void RequireItems(uint64_t count, size_t itemSize, const char* what) const;

 private:
  void Need(size_t n) const;
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  bool swap_;
};

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

// Self-saving records: a 12-byte header {swap flag, 3 zero bytes, version,
// type code} in front of the body.
struct RecordView {
  int32_t version = 0;
  uint32_t type = 0;
  bool swapped = false;
  std::span<const uint8_t> body;
};
RecordView ParseRecord(std::span<const uint8_t> bytes);
std::vector<uint8_t> MakeRecord(int32_t version, uint32_t type, const std::vector<uint8_t>& body);

}  // namespace tova
