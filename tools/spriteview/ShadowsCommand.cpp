// spriteview shadows --data ROOT --zoom Z --out OUT.png: builds the floor
// shadow managers from the data root's floors file and draws every mask the
// zoom's manager has an image for.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "houseview/FloorShadowMgr.h"
#include "houseview/SpriteCache.h"
#include "houseview/SpriteSheet.h"
#include "platform/PngFile.h"

namespace spriteview {

int RunShadows(int argc, char** argv) {
  std::string root, out;
  int zoom = 0;
  for (int i = 0; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--data") == 0) root = argv[i + 1];
    else if (std::strcmp(argv[i], "--zoom") == 0) zoom = std::atoi(argv[i + 1]);
    else if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
    else return 2;
  }
  if (root.empty() || out.empty() || zoom < 1 || zoom > 3 || argc % 2 != 0) return 2;
  tova::SpriteCache floors(root + "/GameData/floors");
  if (!floors.IsOpen()) {
    std::fprintf(stderr, "spriteview: cannot open the floors file in %s\n", root.c_str());
    return 1;
  }
  std::unique_ptr<tova::FloorShadowMgr> managers[3];
  floors.BuildFloorShadows(managers);
  tova::FloorShadowMgr& manager = *managers[3 - zoom];
  if (manager.GetBaseWidth() == 0) {
    std::fprintf(stderr, "spriteview: the floors file has no tile of zoom %d\n", zoom);
    return 1;
  }
  int32_t count = 0;
  const platform::Image sheet = tova::DrawShadowSheet(manager, count);
  std::printf("shadows zoom %d: %d masks\n", zoom, count);
  std::string error;
  if (!platform::WritePngFile(out, sheet, &error)) {
    std::fprintf(stderr, "spriteview: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace spriteview
