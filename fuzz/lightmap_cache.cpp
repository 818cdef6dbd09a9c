// Arbitrary bytes as the light map's cache file "lightmap.dat", then every
// table fetched. The first byte picks how the bytes become the file: as
// they are (nearly always the wrong size: deleted and rebuilt), repeated to
// exactly the size the settings give (read as it is, table by table), or
// repeated to that size and then cut short after the build (reads that fail
// later compute their table). Nothing may crash or read past a table.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "FuzzScratch.h"
#include "houseview/LightMapSet.h"

namespace {

// A short range keeps each rebuild small; the layout is the same.
const tova::LightingSettings& LightmapFuzzSettings() {
  static const tova::LightingSettings settings = [] {
    tova::LightingSettings s;
    s.lightRange = 6.0f;
    return s;
  }();
  return settings;
}

int64_t LightmapFuzzTotal(const std::string& path) {
  static const int64_t total = [&] {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    tova::LightMapSet lights(LightmapFuzzSettings());
    lights.SetCachePath(path);
    lights.MakeTables();
    return lights.TotalBytes();
  }();
  return total;
}

// The first and last byte of a table: the sanitizers see any table whose
// bytes are fewer than its measures say.
uint32_t LightmapFuzzSum(const uint8_t* bytes, size_t count) { return count > 0 ? bytes[0] + bytes[count - 1] : 0u; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchFolder::Path() + "/lightmap.dat";
  const int64_t total = LightmapFuzzTotal(path);
  const int mode = size > 0 ? data[0] % 3 : 0;
  const uint8_t* payload = size > 0 ? data + 1 : data;
  const size_t length = size > 0 ? size - 1 : 0;

  if (mode == 0) {
    fuzz::WriteInput("lightmap.dat", payload, length);
  } else {
    // The bytes repeated, by doubling what is there already; one buffer for
    // every run, as fresh pages cost more than the rest of a run.
    static std::vector<uint8_t> file;
    file.assign(static_cast<size_t>(total), 0);
    size_t filled = length < file.size() ? length : file.size();
    if (filled > 0) std::memcpy(file.data(), payload, filled);
    while (filled > 0 && filled < file.size()) {
      const size_t more = filled < file.size() - filled ? filled : file.size() - filled;
      std::memcpy(file.data() + filled, file.data(), more);
      filled += more;
    }
    fuzz::WriteInput("lightmap.dat", file.data(), file.size());
  }

  tova::LightMapSet lights(LightmapFuzzSettings());
  lights.SetCachePath(path);
  if (!lights.MakeTables()) return 0;
  if (mode == 2) {
    uint32_t cut = 0;
    std::memcpy(&cut, payload, length < sizeof cut ? length : sizeof cut);
    std::error_code ec;
    std::filesystem::resize_file(path, cut % static_cast<uint32_t>(total + 1), ec);
  }

  volatile uint32_t sink = 0;
  for (int32_t d = -1; d <= lights.DistanceCount(); ++d) {
    if (const tova::WallFalloffTable* table = lights.GetFalloffTable(d))
      sink = sink + LightmapFuzzSum(table->bytes.data(), table->bytes.size());
    for (int32_t zoom = 0; zoom <= 4; ++zoom) {
      for (int32_t side = 0; side <= 2; ++side) {
        if (const tova::WallLightStrip* strip = lights.GetStrip(d, zoom, side))
          sink = sink + LightmapFuzzSum(strip->images.data(), strip->images.size());
        for (int32_t o = -6; o <= 6; ++o) {
          const tova::WallStripImage image = lights.GetWallStrip(o, d, zoom, side);
          if (image.bytes != nullptr)
            sink = sink + LightmapFuzzSum(image.bytes, static_cast<size_t>(image.width) * static_cast<size_t>(image.rows));
        }
      }
    }
  }
  for (int32_t zoom = 0; zoom <= 4; ++zoom) {
    if (const tova::FloorLightImage* image = lights.GetFloorImage(zoom))
      sink = sink + LightmapFuzzSum(image->bytes.data(), image->bytes.size());
    const int32_t tile = 128 >> (3 - (zoom < 1 ? 1 : zoom > 3 ? 3 : zoom));
    for (int32_t a = -5; a <= 5; ++a) {
      for (int32_t b = -5; b <= 5; ++b) {
        const tova::FloorTileImage box = lights.GetFloorTile(a, b, zoom);
        if (box.bytes == nullptr) continue;
        // The tile's whole box lies inside the image.
        sink = sink + LightmapFuzzSum(box.bytes, 1) +
               LightmapFuzzSum(box.bytes + static_cast<size_t>(tile / 2 - 1) * static_cast<size_t>(box.stride),
                               static_cast<size_t>(tile));
      }
    }
  }
  return 0;
}
