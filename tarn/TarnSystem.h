// The portable layer under the transform library: block copy and fill,
// whole-page memory, threads, events and locks. Only the library itself uses
// them (copies for vertex replication, pages for its tables), but they are
// complete services over platform/.
#pragma once

#include <cstddef>
#include <cstdint>

// Processor-feature switches, fixed when the library is built; nothing reads
// the processor. With these values the integer copy and fill run.
struct TarnFeatureSwitches {
    bool floatingPointUnit;
    bool mmx;
    bool sse;
    bool amd3DNow;
    bool copyWithFloatingPointUnit;
};
inline constexpr TarnFeatureSwitches kTarnFeatures{true, false, false, false, false};

// Regions must not overlap. The fill stores the 32-bit value in 4- and 8-byte
// pieces and its low 16 or 8 bits in the alignment and tail pieces.
void TarnCopy(void* destination, const void* source, size_t bytes);
void TarnFill(void* destination, uint32_t value, size_t bytes);

// Whole pages: *size is rounded up to pages and written back. Null when the
// system refuses.
void* TarnPageAlloc(size_t* size);
void TarnPageFree(void* block);

// --- threads ---

// Library priorities -3..3 and the system's scale (-15, -2, -1, 0, 1, 2, 15);
// other values read as 0.
int TarnPriorityToSystem(int level);
int TarnPriorityFromSystem(int systemPriority);

struct TarnThreadRecord;

// A thread body that is an object: Run gets the caller's record.
class TarnRunnable {
public:
    virtual ~TarnRunnable() = default;
    virtual int Run(TarnThreadRecord& record) = 0;
};

using TarnThreadRoutine = int (*)(void* user);
using TarnThreadHandle = void*;  // opaque; null when creation failed

// Owned by the caller; filled when the thread starts.
struct TarnThreadRecord {
    TarnThreadHandle handle = nullptr;
    uint32_t stackSize = 0;   // kept for the caller; threads get the system default
    int priority = 0;
    uint32_t reserved = 0;
    uint32_t threadId = 0;
    uint32_t serial = 0;
    int slot = -1;
};

// Stands for "the calling thread" in Terminate and for "always" in IsThread.
inline TarnThreadRecord* const kTarnCurrentThread = reinterpret_cast<TarnThreadRecord*>(intptr_t{-1});

TarnThreadHandle TarnThreadCreate(TarnRunnable* object, uint32_t stackSize, int priority, TarnThreadRecord* record);
TarnThreadHandle TarnThreadCreateRoutine(TarnThreadRoutine routine, void* user, uint32_t stackSize, int priority,
                                         TarnThreadRecord* record);
// Only the calling thread (kTarnCurrentThread or its own record) can be ended:
// stopping another thread mid-way is not safe here and answers false.
bool TarnThreadTerminate(TarnThreadRecord* record);
[[noreturn]] void TarnThreadExit();
bool TarnThreadIsGone(const TarnThreadRecord* record);
// ticks 0: wait until the thread is gone, in steps of at least 1 ms; else one
// wait of that many ticks. True when the thread is gone.
bool TarnThreadJoin(const TarnThreadRecord* record, uint32_t ticks);
// Null asks about the main thread (the first to use the library).
bool TarnIsThread(const TarnThreadRecord* record);
int TarnThreadSlotCount();  // slots of the thread table, 0 before first use

// --- sleeps ---

uint32_t TarnTicksPerSecond();  // 100 while the configuration says 0
void TarnSleep(uint32_t milliseconds);
void TarnSleepTicks(uint32_t ticks);
// Tests: every TarnSleep goes to `routine` instead (null restores the real one).
void TarnSetSleepRoutine(void (*routine)(uint32_t milliseconds));

// --- events ---

using TarnEventHandle = void*;
inline constexpr uint32_t kTarnWaitForever = 0xFFFFFFFFu;

TarnEventHandle TarnEventCreate();        // automatic reset, clear
TarnEventHandle TarnEventCreateManual();  // manual reset, clear
void TarnEventSet(TarnEventHandle event);
void TarnEventReset(TarnEventHandle event);
void TarnEventPulse(TarnEventHandle event);
void TarnEventClose(TarnEventHandle event);
void TarnEventSignalAndClose(TarnEventHandle event);
// The signalled handle, or null on time-out.
TarnEventHandle TarnWaitAny(int count, const TarnEventHandle* events, uint32_t milliseconds);
void TarnEventWait(TarnEventHandle event);
bool TarnEventWaitTicks(TarnEventHandle event, uint32_t ticks);

// --- locks (recursive) from a pool of page-allocated nodes ---

struct TarnLock;
TarnLock* TarnLockCreate();  // null when no pages can be had
void TarnLockDestroy(TarnLock* lock);
void TarnLockEnter(TarnLock* lock);
void TarnLockLeave(TarnLock* lock);
inline constexpr uint32_t kTarnFreeLockMarker = 0x46524545;  // "FREE"
uint32_t TarnLockMarker(const TarnLock* lock);               // for tests of the pool
int TarnLockNodesPerRefill();

// --- error codes ---

// Writes "[%5d] sorry, not implemented" with the low 16 bits of the last
// error code (the buffer holds at least 64 bytes) and answers that code.
uint32_t TarnErrorText(char* buffer);
void TarnSetLastError(uint32_t code);
