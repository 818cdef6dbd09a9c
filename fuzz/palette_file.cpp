// Arbitrary bytes as the game's palette file (an 8-bit bitmap's colours or
// raw triples), loaded as the default palette is and shaded.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzScratch.h"
#include "houseview/PalWrap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 16)) return 0;
  const std::string path = fuzz::WriteInput("GlobalCLUT.pal", data, size);
  tova::PalWrap palette;
  if (palette.LoadFromFile(path, size > 0 && (data[0] & 1))) {
    palette.BuildTables();
    palette.GetShadedTable(0.75f);
  }
  return 0;
}
