// Which sprite file a floor or wallpaper pattern uses: an id, the file's
// name and the pattern catalogue's elements. Saved with the house through
// the record stream.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class iResFile;
class ReconStream;

namespace tova {

class SpriteFileUsage {
 public:
  struct Element {
    uint8_t a = 0;
    uint8_t b = 0;
    int32_t value = 0;
  };
  static constexpr size_t kMaxName = 255;
  static constexpr int32_t kMaxElements = 256;

  SpriteFileUsage() = default;
  // The name is the file part of the file's path.
  SpriteFileUsage(int32_t id, iResFile* file);

  bool IsFile(iResFile* file) const;
  // Name, element count, then each element's two bytes and integer. A count
  // beyond what the stream holds or beyond 256 fails the stream.
  void Reconstitute(ReconStream& stream);

  int32_t id = 0;
  std::string name;
  std::vector<Element> elements;
};

}  // namespace tova
