// The two exports of libvekpatch.so; everything else in the library stays
// hidden (exports.map).
#include "vekpatch/PatchDLL/PatchDLL.h"
#include "vekpatch/VekPatch.h"

extern "C" int32_t VekDoUpdate(const char* name, intptr_t context, VekCallback cb) {
  return vek::DoUpdate(name, context, cb);
}

extern "C" void VekAbortUpdate(void) { vek::AbortUpdate(); }
