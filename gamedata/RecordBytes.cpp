#include "gamedata/RecordBytes.h"

#include <algorithm>
#include <cstring>

namespace tova {

void ByteReader::Need(size_t n) const {
  if (n > bytes_.size() - pos_) {
    throw RecordError("record ends early: " + std::to_string(n) + " bytes needed at offset " + std::to_string(pos_) +
                      " of " + std::to_string(bytes_.size()));
  }
}

void ByteReader::RequireItems(uint64_t count, size_t itemSize, const char* what) const {
  if (itemSize == 0) itemSize = 1;
  if (count > Remaining() / itemSize) {
    throw RecordError(std::string("count of ") + what + " (" + std::to_string(count) + ") exceeds the record's size");
  }
}

uint8_t ByteReader::U8() {
  Need(1);
  return bytes_[pos_++];
}

int16_t ByteReader::I16() {
  Need(2);
  uint8_t b[2] = {bytes_[pos_], bytes_[pos_ + 1]};
  if (swap_) Swap16At(b);
  pos_ += 2;
  return LoadI16(b);
}

int32_t ByteReader::I32() {
  Need(4);
  uint8_t b[4];
  std::memcpy(b, bytes_.data() + pos_, 4);
  if (swap_) Swap32At(b);
  pos_ += 4;
  return LoadI32(b);
}

float ByteReader::F32() {
  Need(4);
  uint32_t bits = LoadU32(bytes_.data() + pos_);  // floats keep their bytes, whatever the order
  pos_ += 4;
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

std::string ByteReader::String() {
  size_t end = pos_;
  while (end < bytes_.size() && bytes_[end] != 0) ++end;
  if (end >= bytes_.size()) throw RecordError("string without terminator at offset " + std::to_string(pos_));
  std::string s(reinterpret_cast<const char*>(bytes_.data() + pos_), end - pos_);
  pos_ = end + 1;
  if (pos_ & 1) pos_ = pos_ < bytes_.size() ? pos_ + 1 : pos_;  // a final pad byte may be cut off
  return s;
}

void ByteReader::Skip(size_t n) {
  Need(n);
  pos_ += n;
}

void ByteWriter::I16(int16_t v) {
  uint8_t b[2];
  StoreU16(b, static_cast<uint16_t>(v));
  bytes_.insert(bytes_.end(), b, b + 2);
}

void ByteWriter::I32(int32_t v) {
  uint8_t b[4];
  StoreU32(b, static_cast<uint32_t>(v));
  bytes_.insert(bytes_.end(), b, b + 4);
}

void ByteWriter::F32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  U32(bits);
}

void ByteWriter::String(const std::string& s) {
  bytes_.insert(bytes_.end(), s.begin(), s.end());
  bytes_.push_back(0);
  if (bytes_.size() & 1) bytes_.push_back(0);
}

RecordView ParseRecord(std::span<const uint8_t> bytes) {
  if (bytes.size() < 12) throw RecordError("record shorter than its 12-byte header");
  RecordView v;
  v.swapped = bytes[0] != 0;
  uint8_t b[8];
  std::memcpy(b, bytes.data() + 4, 8);
  v.version = LoadI32(b);
  v.type = LoadU32(b + 4);
  v.body = bytes.subspan(12);
  return v;
}

std::vector<uint8_t> MakeRecord(int32_t version, uint32_t type, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out(12 + body.size(), 0);
  StoreU32(out.data() + 4, static_cast<uint32_t>(version));
  StoreU32(out.data() + 8, type);
  std::copy(body.begin(), body.end(), out.begin() + 12);
  return out;
}


}  // namespace tova
