#include "gamedata/ObjectDefinitionRecord.h"

#include <algorithm>
#include <cstring>

namespace tova {

void ObjectDefinitionRecord::Assign(const uint8_t* data, int32_t size) {
  bytes_.fill(0);
  if (!data || size <= 0) return;
  std::memcpy(bytes_.data(), data, static_cast<size_t>(std::min<int32_t>(size, kSize)));
}

int16_t ObjectDefinitionRecord::Word(int offset) const {
  if (offset < 0 || offset + 2 > kSize) return 0;
  return static_cast<int16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
}

void ObjectDefinitionRecord::SetWord(int offset, int16_t value) {
  if (offset < 0 || offset + 2 > kSize) return;
  bytes_[offset] = static_cast<uint8_t>(value);
  bytes_[offset + 1] = static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8);
}

uint32_t ObjectDefinitionRecord::Long(int offset) const {
  if (offset < 0 || offset + 4 > kSize) return 0;
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | bytes_[offset + i];
  return v;
}

void ObjectDefinitionRecord::SetLong(int offset, uint32_t value) {
  if (offset < 0 || offset + 4 > kSize) return;
  for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint8_t ObjectDefinitionRecord::Byte(int offset) const {
  return (offset < 0 || offset >= kSize) ? 0 : bytes_[offset];
}

void ObjectDefinitionRecord::SetByte(int offset, uint8_t value) {
  if (offset >= 0 && offset < kSize) bytes_[offset] = value;
}

int16_t ObjectDefinitionRecord::FunctionEntry(int n) const {
  if (n < 0 || n >= kFunctionEntries) return 0;
  return Word(kFunctionEntryOffset[static_cast<size_t>(n)]);
}

void ObjectDefinitionRecord::SetFunctionEntry(int n, int16_t treeId) {
  if (n >= 0 && n < kFunctionEntries) SetWord(kFunctionEntryOffset[static_cast<size_t>(n)], treeId);
}

int ObjectDefinitionRecord::GetField(int n) const {
  if (n >= 0 && n <= 6) return Word(kFieldWords + 2 * n);
  if (n >= 7 && n <= 13) return (Byte(kFieldBits) >> (n - 7)) & 1;
  return 0;
}

}  // namespace tova
