// spriteview lightmap --data ROOT --out DIR: builds the light map with the
// lighting settings' R, N, F over ROOT/GameData/lightmap.dat (reading it
// when it fits them, else computing and writing it), prints one line that
// says which, and writes the floor images of the three zooms and the
// side-0 wall strips of distance 0 at zoom 3 as grey pictures (byte =
// brightness).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "SpriteviewCommands.h"
#include "houseview/LightMapSet.h"
#include "houseview/LightingSettings.h"
#include "platform/PngFile.h"

namespace spriteview {

namespace {

platform::Image LightmapGreyImage(int32_t width, int32_t height) {
  platform::Image image;
  image.width = width;
  image.height = height;
  image.channels = 3;
  image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0);
  return image;
}

void LightmapPutGrey(platform::Image& image, int32_t x, int32_t y, uint8_t value) {
  uint8_t* p = &image.pixels[(static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 3];
  p[0] = p[1] = p[2] = value;
}

bool LightmapWrite(const platform::Image& image, const std::filesystem::path& path) {
  std::string error;
  if (platform::WritePngFile(path.string(), image, &error)) return true;
  std::fprintf(stderr, "spriteview lightmap: %s\n", error.c_str());
  return false;
}

}  // namespace

int RunLightmap(int argc, char** argv) {
  std::string root, out;
  for (int i = 0; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--data") == 0) {
      root = argv[i + 1];
    } else if (std::strcmp(argv[i], "--out") == 0) {
      out = argv[i + 1];
    } else {
      root.clear();
      break;
    }
  }
  if (root.empty() || out.empty() || argc != 4) {
    std::fprintf(stderr, "usage: spriteview lightmap --data ROOT --out DIR\n");
    return 2;
  }
  std::error_code ec;
  const std::filesystem::path gameData = std::filesystem::path(root) / "GameData";
  std::filesystem::create_directories(gameData, ec);
  std::filesystem::create_directories(out, ec);

  const tova::LightingSettings& settings = tova::gLightingSettings;
  tova::LightMapSet lights(settings);
  lights.SetCachePath((gameData / "lightmap.dat").string());
  if (!lights.MakeTables()) {
    std::fprintf(stderr, "spriteview lightmap: the settings give no light map, or memory ran out\n");
    return 1;
  }
  if (!lights.CacheError().empty()) {
    std::fprintf(stderr, "spriteview lightmap: %s\n", lights.CacheError().c_str());
    return 1;
  }
  std::printf("lightmap R %g N %g F %g D %d bytes %lld %s\n", static_cast<double>(settings.lightRange),
              static_cast<double>(settings.falloffNear), static_cast<double>(settings.falloffFar),
              lights.DistanceCount(), static_cast<long long>(lights.TotalBytes()),
              lights.ReadFromCache() ? "read" : "built");

  for (int32_t zoom = 1; zoom <= 3; ++zoom) {
    const tova::FloorLightImage* floor = lights.GetFloorImage(zoom);
    if (floor == nullptr) return 1;
    platform::Image image = LightmapGreyImage(floor->width, floor->height);
    for (int32_t y = 0; y < floor->height; ++y)
      for (int32_t x = 0; x < floor->width; ++x)
        LightmapPutGrey(image, x, y, floor->bytes[static_cast<size_t>(y * floor->width + x)]);
    if (!LightmapWrite(image, std::filesystem::path(out) / ("floor_z" + std::to_string(zoom) + ".png"))) return 1;
  }

  // The strip's images side by side, wall offset -K on the left.
  const tova::WallLightStrip* strip = lights.GetStrip(0, 3, 0);
  if (strip == nullptr) return 1;
  const int32_t count = 2 * strip->reach + 1;
  platform::Image sheet = LightmapGreyImage(count * strip->width, strip->rows);
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* bytes = &strip->images[static_cast<size_t>(i * strip->ImageSize())];
    for (int32_t y = 0; y < strip->rows; ++y)
      for (int32_t x = 0; x < strip->width; ++x) LightmapPutGrey(sheet, i * strip->width + x, y, bytes[y * strip->width + x]);
  }
  return LightmapWrite(sheet, std::filesystem::path(out) / "strips_z3_d0.png") ? 0 : 1;
}

}  // namespace spriteview
