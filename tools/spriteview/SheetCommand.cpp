// spriteview sheet --file FILE.iff [--default-palette PAL] --out OUT.png:
// loads every sprite of a file through one sprite cache, lists each with
// the frames it refused, and draws every colour frame on one sheet.
#include <cstdio>
#include <cstring>
#include <string>

#include "gamedata/GlobalContext.h"
#include "houseview/PalWrap.h"
#include "houseview/SpriteCache.h"
#include "houseview/SpriteSheet.h"
#include "platform/PngFile.h"

namespace spriteview {

int RunSheet(int argc, char** argv) {
  std::string file, palettePath, out;
  for (int i = 0; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--file") == 0) file = argv[i + 1];
    else if (std::strcmp(argv[i], "--default-palette") == 0) palettePath = argv[i + 1];
    else if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
    else return 2;
  }
  if (file.empty() || out.empty() || argc % 2 != 0) return 2;

  tova::GlobalContext context;
  tova::GlobalContext* previous = tova::gGlobalContext;
  tova::gGlobalContext = &context;
  tova::PalWrap* palette = nullptr;
  if (!palettePath.empty()) {
    palette = tova::LoadDefaultPalette(palettePath);
    if (palette == nullptr) {
      std::fprintf(stderr, "spriteview: cannot read the palette %s\n", palettePath.c_str());
      tova::gGlobalContext = previous;
      return 1;
    }
    context.palette = palette;
  }
  int result = 0;
  {
    tova::SpriteCache cache(file);
    if (!cache.IsOpen()) {
      std::fprintf(stderr, "spriteview: cannot open %s\n", file.c_str());
      result = 1;
    } else {
      const std::vector<int32_t> ids = tova::ListSpriteIds(cache);
      int32_t frames = 0;
      for (int32_t id : ids) {
        tova::SpriteCacheEntry* entry = cache.Find(id);
        if (entry == nullptr) continue;
        std::printf("%s %d v%d frames %d palette %d\n", entry->IsSprite2() ? "SPR2" : "SPR#", id,
                    entry->GetVersion(), entry->GetFramesPerChannel(), entry->GetPaletteId());
        for (const auto& [frame, reason] : entry->GetDropped())
          std::printf("dropped %d frame %d: %s\n", id, frame, reason.c_str());
        frames += entry->GetFramesPerChannel();
      }
      std::printf("sprites %zu frames %d\n", ids.size(), frames);
      std::string error;
      if (!platform::WritePngFile(out, tova::DrawSpriteSheet(cache, ids), &error)) {
        std::fprintf(stderr, "spriteview: %s\n", error.c_str());
        result = 1;
      }
    }
  }
  context.palette = nullptr;
  tova::PalWrap::Release(palette);
  tova::gGlobalContext = previous;
  return result;
}

}  // namespace spriteview
