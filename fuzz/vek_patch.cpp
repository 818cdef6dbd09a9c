// The patch engine's file reader on arbitrary bytes; every target it accepts
// is applied to a small old file, with the output held to 1 MiB.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/PatchFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<platform::PatchTarget> targets;
  std::string error;
  if (!platform::ReadPatchFile(std::string_view(reinterpret_cast<const char*>(data), size), targets, error)) return 0;
  for (const platform::PatchTarget& t : targets) {
    const std::string old(static_cast<size_t>(t.oldSize < 4096 ? t.oldSize : 0), 'o');
    std::string made;
    platform::ApplyPatchFrame(old, t, made, error, 1 << 20);
  }
  return 0;
}
