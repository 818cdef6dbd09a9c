// spriteview compose --file FILE.iff --scene SCENE.txt [--default-palette PAL]
// --out OUT.png: draws
// the sprites a scene lists, z-buffered, into a 640 x 480 565 picture with a
// cleared depth buffer, and prints each draw's rectangle. Scene lines:
//   sprite ID FRAME X Y ROW [mirror] [aa|noaa] [shade S]
// ROW is the screen row the sprite stands on (its depth); '#' starts a comment.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata/GlobalContext.h"
#include "houseview/BlendTables.h"
#include "houseview/LightingSettings.h"
#include "houseview/PalWrap.h"
#include "houseview/SpriteCache.h"
#include "houseview/SpriteDrawInfo.h"
#include "houseview/SpriteTarget.h"
#include "houseview/ZBufferLookup.h"
#include "platform/PngFile.h"
#include "ui/graphics/cGZBuffer.h"

namespace spriteview {

namespace {

constexpr int32_t kComposeWidth = 640, kComposeHeight = 480;

struct ComposeDraw {
  int32_t id = 0, frame = 0, x = 0, y = 0, row = 0;
  bool mirror = false, antialias = true;
  float shade = 1.0f;
};

bool ComposeParse(const std::string& path, std::vector<ComposeDraw>& draws) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "spriteview: cannot read the scene %s\n", path.c_str());
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    ComposeDraw d;
    if (word != "sprite" || !(words >> d.id >> d.frame >> d.x >> d.y >> d.row)) {
      std::fprintf(stderr, "spriteview: %s:%d: expected \"sprite ID FRAME X Y ROW\"\n", path.c_str(), number);
      return false;
    }
    while (words >> word) {
      if (word == "mirror") d.mirror = true;
      else if (word == "aa") d.antialias = true;
      else if (word == "noaa") d.antialias = false;
      else if (word == "shade" && (words >> d.shade)) continue;
      else {
        std::fprintf(stderr, "spriteview: %s:%d: unknown word \"%s\"\n", path.c_str(), number, word.c_str());
        return false;
      }
    }
    draws.push_back(d);
  }
  return true;
}

int ComposeScene(const std::string& file, const std::vector<ComposeDraw>& draws, const std::string& out);

}  // namespace

int RunCompose(int argc, char** argv) {
  std::string file, scene, out, palettePath;
  for (int i = 0; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--file") == 0) file = argv[i + 1];
    else if (std::strcmp(argv[i], "--scene") == 0) scene = argv[i + 1];
    else if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
    else if (std::strcmp(argv[i], "--default-palette") == 0) palettePath = argv[i + 1];
    else return 2;
  }
  if (file.empty() || scene.empty() || out.empty() || argc % 2 != 0) return 2;
  std::vector<ComposeDraw> draws;
  if (!ComposeParse(scene, draws)) return 1;

  // Sprites without a palette of their own draw with the default one.
  tova::GlobalContext context;
  tova::GlobalContext* previous = tova::gGlobalContext;
  tova::gGlobalContext = &context;
  if (!palettePath.empty() && (context.palette = tova::LoadDefaultPalette(palettePath)) == nullptr) {
    std::fprintf(stderr, "spriteview: cannot read the palette %s\n", palettePath.c_str());
    tova::gGlobalContext = previous;
    return 1;
  }
  const int result = ComposeScene(file, draws, out);
  tova::PalWrap::Release(context.palette);
  context.palette = nullptr;
  tova::gGlobalContext = previous;
  return result;
}

namespace {

int ComposeScene(const std::string& file, const std::vector<ComposeDraw>& draws, const std::string& out) {
  tova::SpriteCache cache(file);
  if (!cache.IsOpen()) {
    std::fprintf(stderr, "spriteview: cannot open %s\n", file.c_str());
    return 1;
  }
  tova::BuildBlendTable();
  std::vector<uint16_t> colour(kComposeWidth * kComposeHeight, 0), depth(kComposeWidth * kComposeHeight, 0xFFFF);
  tova::SpriteTarget target{colour.data(), kComposeWidth * 2, depth.data(), kComposeWidth * 2,
                            ShortRect{0, 0, kComposeHeight, kComposeWidth}};
  tova::SetSpriteTarget(target);
  tova::ZBufferLookup lookup;
  lookup.Build(3, kComposeWidth, kComposeHeight);
  const bool antialias = tova::gSpriteAntialias != 0;
  for (const ComposeDraw& d : draws) {
    tova::SetSpriteAntialias(d.antialias);
    tova::SpriteDrawInfo info;
    info.zTables = &lookup;
    info.zoom = 3;
    info.screenY = d.row;
    lookup.PlaceSprite(info, 0);
    info.SetShade(d.shade);
    const DrawnRect r = cache.DrawSprite(d.id, d.frame, d.x, d.y, d.mirror ? tova::SpriteDrawInfo::kDrawMirror : 0,
                                         info, true);
    std::printf("rect %d %d %d %d\n", r.top, r.left, r.bottom, r.right);
  }
  tova::SetSpriteAntialias(antialias);
  tova::SetSpriteTarget(tova::SpriteTarget{});

  platform::Image image;
  image.width = kComposeWidth;
  image.height = kComposeHeight;
  image.channels = 3;
  image.pixels.reserve(colour.size() * 3);
  for (uint16_t p : colour) {
    uint8_t r, g, b;
    cGZBuffer::SplitColorFor(cGZBuffer::kFormat565, p, r, g, b);
    image.pixels.insert(image.pixels.end(), {r, g, b});
  }
  std::string error;
  if (!platform::WritePngFile(out, image, &error)) {
    std::fprintf(stderr, "spriteview: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

}  // namespace spriteview
