// The update library's library-wide side: its start (language texts, the
// patch engine), the one update run at a time on a worker thread, the
// reports made outside a client connection, and the two exports of
// VekPatch.h. Tests drive the same code linked in, with an engine of their own.
#pragma once

#include <cstdint>

#include "vekpatch/PatchDLL/ClientConn.h"
#include "vekpatch/VekPatch.h"

namespace vek {

// What the exports VekDoUpdate and VekAbortUpdate do (VekPatch.h).
int32_t DoUpdate(const char* name, intptr_t context, VekCallback cb);
void AbortUpdate();

// The library-level call of the host: 1 or the answer to 13; any other answer
// forgets the callback and raises 0x10000015, as does a missing callback.
int ReportToCaller(intptr_t context, int32_t code, intptr_t data, int32_t value);

// The patch engine used by runs started from now on, in place of the one the
// start loads from the installation folder (tests).
void SetPatchEngineForTest(PatchApplyFn engine);

// Stops a run, waits for its thread and forgets the start, so the next call
// starts afresh (tests; what an unload does).
void ShutdownLibrary();

}  // namespace vek
