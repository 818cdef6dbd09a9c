// MD5 message digests (RFC 1321), used to check that a received file is the
// one the server announced. Integrity only: not a guard against a hostile
// server, which names the digest itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vek {

class Md5 {
 public:
  Md5();
  void Update(const void* data, size_t size);
  // The digest as 32 lowercase hexadecimal digits; the object is spent.
  std::string HexDigest();

  static std::string Of(std::string_view bytes);

 private:
  void Block(const uint8_t* block);
  uint32_t state_[4];
  uint64_t length_ = 0;
  uint8_t buffer_[64];
  size_t used_ = 0;
};

}  // namespace vek
