// libpatchw32.so: the binary-patch engine the update library loads from its
// installation folder, with the one entry it binds by name.
#include <cstdint>

#include "platform/PatchFile.h"

extern "C" int32_t RTPatchApply32(const char* commandLine, platform::PatchCallback callback, int32_t) {
  return platform::ApplyPatchCommand(commandLine, callback);
}
