#include "gamedata/RecordBytes.h"

#include <algorithm>
#include <cstring>

namespace tova {

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

}  // namespace tova
