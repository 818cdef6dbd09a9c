// Builds archive files for tests and fuzz seeds: the 16-byte header, the
// members' bytes, then the directory (count; size, size, offset, name length,
// name per entry), all little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tova_test {

class FarBuilder {
 public:
  void Add(const std::string& name, const std::string& data) { mMembers.push_back({name, data}); }

  std::string Build() const {
    std::string out = "FAR!byAZ";
    Put(out, 1);
    Put(out, 0);  // directory offset, filled in below
    std::vector<uint32_t> offsets;
    for (const auto& m : mMembers) {
      offsets.push_back(static_cast<uint32_t>(out.size()));
      out += m.data;
    }
    const auto dirOffset = static_cast<uint32_t>(out.size());
    for (int i = 0; i < 4; ++i) out[12 + i] = static_cast<char>(dirOffset >> (8 * i));
    Put(out, static_cast<uint32_t>(mMembers.size()));
    for (size_t i = 0; i < mMembers.size(); ++i) {
      Put(out, static_cast<uint32_t>(mMembers[i].data.size()));
      Put(out, static_cast<uint32_t>(mMembers[i].data.size()));
      Put(out, offsets[i]);
      Put(out, static_cast<uint32_t>(mMembers[i].name.size()));
      out += mMembers[i].name;
    }
    return out;
  }

  static void Put(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
  }
  static void Patch(std::string& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
  }

 private:
  struct Member {
    std::string name;
    std::string data;
  };
  std::vector<Member> mMembers;
};

}  // namespace tova_test
