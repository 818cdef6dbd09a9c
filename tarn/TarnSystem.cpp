#include "tarn/TarnSystem.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <vector>

#include "platform/Clock.h"
#include "platform/PageMemory.h"
#include "platform/Sync.h"
#include "platform/Thread.h"

// --- copy and fill ---

namespace {

template <typename T>
void Store(uint8_t* p, T value) {
    std::memcpy(p, &value, sizeof value);
}

// Integer copy: align the destination to 4, then 32-byte blocks of 4-byte
// moves, 8-byte steps and the tail.
void IntegerCopy(uint8_t* d, const uint8_t* s, size_t n) {
    while (n > 0 && (reinterpret_cast<uintptr_t>(d) & 3) != 0) {
        *d++ = *s++;
        --n;
    }
    for (; n >= 32; n -= 32, d += 32, s += 32) std::memcpy(d, s, 32);
    for (; n >= 8; n -= 8, d += 8, s += 8) std::memcpy(d, s, 8);
    if (n >= 4) {
        std::memcpy(d, s, 4);
        d += 4, s += 4, n -= 4;
    }
    if (n >= 2) {
        std::memcpy(d, s, 2);
        d += 2, s += 2, n -= 2;
    }
    if (n == 1) *d = *s;
}

void IntegerFill(uint8_t* d, uint32_t value, size_t n) {
    if (n >= 1 && (reinterpret_cast<uintptr_t>(d) & 1) != 0) {
        Store<uint8_t>(d, static_cast<uint8_t>(value));
        d += 1, n -= 1;
    }
    if (n >= 2 && (reinterpret_cast<uintptr_t>(d) & 2) != 0) {
        Store<uint16_t>(d, static_cast<uint16_t>(value));
        d += 2, n -= 2;
    }
    const uint64_t pair = (static_cast<uint64_t>(value) << 32) | value;
    for (; n >= 32; n -= 32, d += 32)
        for (int k = 0; k < 4; ++k) Store<uint64_t>(d + 8 * k, pair);
    for (; n >= 8; n -= 8, d += 8) Store<uint64_t>(d, pair);
    if (n >= 4) Store<uint32_t>(d, value), d += 4, n -= 4;
    if (n >= 2) Store<uint16_t>(d, static_cast<uint16_t>(value)), d += 2, n -= 2;
    if (n == 1) Store<uint8_t>(d, static_cast<uint8_t>(value));
}

}  // namespace

void TarnCopy(void* destination, const void* source, size_t bytes) {
    // Only the integer form is built: the switches above select it.
    static_assert(!kTarnFeatures.sse && !kTarnFeatures.mmx);
    IntegerCopy(static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source), bytes);
}

void TarnFill(void* destination, uint32_t value, size_t bytes) {
    IntegerFill(static_cast<uint8_t*>(destination), value, bytes);
}

// --- pages ---

namespace {
std::mutex gPageMutex;
std::map<void*, size_t>& PageBlocks() {
    static std::map<void*, size_t> blocks;  // what TarnPageFree must release
    return blocks;
}
}  // namespace

void* TarnPageAlloc(size_t* size) {
    if (size == nullptr) return nullptr;
    const size_t page = platform::PageSize();
    const size_t rounded = std::max<size_t>(1, (*size + page - 1) / page) * page;
    void* block = platform::AllocatePages(rounded);
    if (block == nullptr) return nullptr;
    *size = rounded;
    std::lock_guard<std::mutex> lock(gPageMutex);
    PageBlocks()[block] = rounded;
    return block;
}

void TarnPageFree(void* block) {
    size_t bytes = 0;
    {
        std::lock_guard<std::mutex> lock(gPageMutex);
        auto found = PageBlocks().find(block);
        if (found == PageBlocks().end()) return;
        bytes = found->second;
        PageBlocks().erase(found);
    }
    platform::FreePages(block, bytes);
}

// --- priorities ---

namespace {
constexpr int kSystemPriorities[7] = {-15, -2, -1, 0, 1, 2, 15};
}

int TarnPriorityToSystem(int level) { return level >= -3 && level <= 3 ? kSystemPriorities[level + 3] : 0; }

int TarnPriorityFromSystem(int systemPriority) {
    for (int i = 0; i < 7; ++i)
        if (kSystemPriorities[i] == systemPriority) return i - 3;
    return 0;
}

// --- sleeps ---

namespace {
std::atomic<void (*)(uint32_t)> gSleepRoutine{nullptr};
constexpr uint32_t kConfiguredTicksPerSecond = 0;  // nothing in the program changes it
std::atomic<uint32_t> gLastError{0};
}  // namespace

uint32_t TarnTicksPerSecond() { return kConfiguredTicksPerSecond == 0 ? 100 : kConfiguredTicksPerSecond; }

void TarnSleep(uint32_t milliseconds) {
    if (auto routine = gSleepRoutine.load()) {
        routine(milliseconds);
        return;
    }
    platform::Thread::AlertableSleep(milliseconds);
}

void TarnSleepTicks(uint32_t ticks) {
    TarnSleep(static_cast<uint32_t>(uint64_t{ticks} * 1000 / TarnTicksPerSecond()));
}

void TarnSetSleepRoutine(void (*routine)(uint32_t)) { gSleepRoutine = routine; }

// --- threads ---

namespace {

struct ThreadSlot {
    uint32_t serial;  // 0 = free
    uint32_t threadId;
    platform::Thread* handle;
};

// The table, its lock and the condition that a thread left it.
struct ThreadTable {
    std::mutex mutex;
    std::condition_variable gone;
    ThreadSlot* slots = nullptr;
    int count = 0;
    uint32_t nextSerial = 1;
    uint32_t mainThreadId = 0;
};

ThreadTable& Table() {
    static ThreadTable* table = [] {
        auto* t = new ThreadTable;  // lives for the whole program
        size_t bytes = 100 * sizeof(ThreadSlot);
        t->slots = static_cast<ThreadSlot*>(TarnPageAlloc(&bytes));
        t->count = t->slots != nullptr ? static_cast<int>(bytes / sizeof(ThreadSlot)) : 0;
        t->mainThreadId = platform::Thread::CurrentId();
        return t;
    }();
    return *table;
}

std::mutex gCreateMutex;  // the global lock of thread creation

struct StartRecord {
    std::atomic<bool> launched{false};
    std::atomic<platform::Thread*> handle{nullptr};  // cleared when the thread has taken the record
    TarnRunnable* object = nullptr;
    TarnThreadRoutine routine = nullptr;
    void* user = nullptr;
    TarnThreadRecord* record = nullptr;
};

void Unregister(uint32_t serial, int slot) {
    ThreadTable& table = Table();
    platform::Thread* handle = nullptr;
    {
        std::lock_guard<std::mutex> lock(table.mutex);
        if (slot < 0 || slot >= table.count || table.slots[slot].serial != serial) return;
        handle = table.slots[slot].handle;
        table.slots[slot] = ThreadSlot{0, 0, nullptr};
    }
    table.gone.notify_all();
    delete handle;  // on its own thread this detaches
}

int ThreadEntry(StartRecord* start) {
    while (!start->launched.load()) platform::Thread::AlertableSleep(1);
    TarnRunnable* object = start->object;
    TarnThreadRoutine routine = start->routine;
    void* user = start->user;
    TarnThreadRecord* record = start->record;
    record->threadId = platform::Thread::CurrentId();
    {
        ThreadTable& table = Table();
        std::lock_guard<std::mutex> lock(table.mutex);
        table.slots[record->slot].threadId = record->threadId;
    }
    const uint32_t serial = record->serial;
    const int slot = record->slot;
    start->handle = nullptr;  // the creator may return now; start is gone after this
    int result = 0;
    try {
        result = object != nullptr ? object->Run(*record) : routine(user);
    } catch (const platform::ThreadExit&) {
        Unregister(serial, slot);
        throw;
    }
    Unregister(serial, slot);
    return result;
}

TarnThreadHandle CreateThread(TarnRunnable* object, TarnThreadRoutine routine, void* user, uint32_t stackSize,
                              int priority, TarnThreadRecord* record) {
    if (record == nullptr || (object == nullptr && routine == nullptr)) return nullptr;
    std::lock_guard<std::mutex> create(gCreateMutex);
    ThreadTable& table = Table();
    auto* thread = new platform::Thread;
    int slot = -1;
    uint32_t serial = 0;
    {
        std::lock_guard<std::mutex> lock(table.mutex);
        for (int i = 0; i < table.count; ++i)
            if (table.slots[i].serial == 0) {
                slot = i;
                break;
            }
        if (slot >= 0) {
            serial = table.nextSerial++;
            table.slots[slot] = ThreadSlot{serial, 0, thread};
        }
    }
    if (slot < 0) {
        delete thread;
        return nullptr;
    }
    StartRecord start;
    start.handle = thread;
    start.object = object;
    start.routine = routine;
    start.user = user;
    start.record = record;
    record->handle = thread;
    record->stackSize = stackSize;
    record->priority = priority;
    record->serial = serial;
    record->slot = slot;
    if (!thread->Start([&start] { return ThreadEntry(&start); })) {
        std::lock_guard<std::mutex> lock(table.mutex);
        table.slots[slot] = ThreadSlot{0, 0, nullptr};
        *record = TarnThreadRecord{};
        delete thread;
        return nullptr;
    }
    thread->SetPriority(static_cast<platform::ThreadPriority>(TarnPriorityFromSystem(TarnPriorityToSystem(priority)) + 3));
    start.launched = true;
    while (start.handle.load() != nullptr) platform::Thread::AlertableSleep(1);
    return thread;
}

bool SlotHolds(const TarnThreadRecord* record) {
    ThreadTable& table = Table();
    return record->slot >= 0 && record->slot < table.count && record->serial != 0 &&
           table.slots[record->slot].serial == record->serial;
}

}  // namespace

TarnThreadHandle TarnThreadCreate(TarnRunnable* object, uint32_t stackSize, int priority, TarnThreadRecord* record) {
    return CreateThread(object, nullptr, nullptr, stackSize, priority, record);
}

TarnThreadHandle TarnThreadCreateRoutine(TarnThreadRoutine routine, void* user, uint32_t stackSize, int priority,
                                         TarnThreadRecord* record) {
    return CreateThread(nullptr, routine, user, stackSize, priority, record);
}

bool TarnThreadTerminate(TarnThreadRecord* record) {
    if (record == kTarnCurrentThread || (record != nullptr && record->threadId == platform::Thread::CurrentId()))
        TarnThreadExit();
    return false;
}

void TarnThreadExit() {
    ThreadTable& table = Table();
    const uint32_t id = platform::Thread::CurrentId();
    uint32_t serial = 0;
    int slot = -1;
    {
        std::lock_guard<std::mutex> lock(table.mutex);
        for (int i = 0; i < table.count; ++i)
            if (table.slots[i].serial != 0 && table.slots[i].threadId == id) {
                serial = table.slots[i].serial;
                slot = i;
            }
    }
    if (slot >= 0) Unregister(serial, slot);
    platform::Thread::ExitCurrent(0);
}

bool TarnThreadIsGone(const TarnThreadRecord* record) {
    ThreadTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    return !SlotHolds(record);
}

bool TarnThreadJoin(const TarnThreadRecord* record, uint32_t ticks) {
    ThreadTable& table = Table();
    std::unique_lock<std::mutex> lock(table.mutex);
    const auto isGone = [&] { return !SlotHolds(record); };
    if (ticks != 0) {
        const uint64_t ms = uint64_t{ticks} * 1000 / TarnTicksPerSecond();
        return table.gone.wait_for(lock, std::chrono::milliseconds(ms), isGone);
    }
    // The configured step is 0 ms; waiting at least 1 ms a time keeps the
    // joining thread from spinning.
    const uint64_t step = std::max<uint64_t>(1, uint64_t{TarnTicksPerSecond() / 100} * 1000 / TarnTicksPerSecond());
    while (!table.gone.wait_for(lock, std::chrono::milliseconds(step), isGone)) {
    }
    return true;
}

bool TarnIsThread(const TarnThreadRecord* record) {
    if (record == kTarnCurrentThread) return true;
    const uint32_t id = platform::Thread::CurrentId();
    if (record == nullptr) return id == Table().mainThreadId;
    return record->threadId == id;
}

int TarnThreadSlotCount() { return Table().count; }

// --- events ---

namespace {
platform::Event* AsEvent(TarnEventHandle event) { return static_cast<platform::Event*>(event); }
}  // namespace

TarnEventHandle TarnEventCreate() { return new platform::Event(false); }
TarnEventHandle TarnEventCreateManual() { return new platform::Event(true); }
void TarnEventSet(TarnEventHandle event) { AsEvent(event)->Set(); }
void TarnEventReset(TarnEventHandle event) { AsEvent(event)->Reset(); }
void TarnEventPulse(TarnEventHandle event) { AsEvent(event)->Pulse(); }
void TarnEventClose(TarnEventHandle event) { delete AsEvent(event); }

void TarnEventSignalAndClose(TarnEventHandle event) {
    AsEvent(event)->Set();
    delete AsEvent(event);
}

TarnEventHandle TarnWaitAny(int count, const TarnEventHandle* events, uint32_t milliseconds) {
    if (count <= 0 || events == nullptr) return nullptr;
    // The platform waits on one event at a time: try each, then wait a
    // millisecond on the first, until one is signalled or the time is up.
    const uint32_t start = platform::TimeMs();
    for (;;) {
        for (int i = 0; i < count; ++i)
            if (events[i] != nullptr && AsEvent(events[i])->Wait(0)) return events[i];
        if (milliseconds != kTarnWaitForever && platform::TimeMs() - start >= milliseconds) return nullptr;
        if (events[0] != nullptr && AsEvent(events[0])->Wait(1)) return events[0];
    }
}

void TarnEventWait(TarnEventHandle event) { AsEvent(event)->Wait(platform::kWaitForever); }

bool TarnEventWaitTicks(TarnEventHandle event, uint32_t ticks) {
    const uint64_t ms = uint64_t{ticks} * 1000 / TarnTicksPerSecond();
    return AsEvent(event)->Wait(static_cast<uint32_t>(std::min<uint64_t>(ms, platform::kWaitForever - 1)));
}

// --- locks ---

struct TarnLock {
    uint32_t marker;
    TarnLock* next;
    alignas(platform::CriticalSection) unsigned char section[sizeof(platform::CriticalSection)];

    platform::CriticalSection& Section() { return *std::launder(reinterpret_cast<platform::CriticalSection*>(section)); }
};

namespace {
struct LockPool {
    std::mutex mutex;
    TarnLock* free = nullptr;
    int nodesPerRefill = 32;
};
LockPool& Pool() {
    static LockPool* pool = new LockPool;  // nodes outlive every static destructor
    return *pool;
}
}  // namespace

TarnLock* TarnLockCreate() {
    LockPool& pool = Pool();
    TarnLock* node = nullptr;
    {
        std::lock_guard<std::mutex> lock(pool.mutex);
        if (pool.free == nullptr) {
            size_t bytes = static_cast<size_t>(pool.nodesPerRefill) * sizeof(TarnLock);
            auto* block = static_cast<TarnLock*>(TarnPageAlloc(&bytes));
            if (block == nullptr) return nullptr;
            const int fitted = static_cast<int>(bytes / sizeof(TarnLock));
            for (int i = 0; i < fitted; ++i) {
                block[i].marker = kTarnFreeLockMarker;
                block[i].next = i + 1 < fitted ? &block[i + 1] : nullptr;
            }
            pool.free = block;
            pool.nodesPerRefill = fitted;
        }
        node = pool.free;
        pool.free = node->next;
    }
    node->marker = 0;
    node->next = nullptr;
    new (node->section) platform::CriticalSection;
    return node;
}

void TarnLockDestroy(TarnLock* lock) {
    if (lock == nullptr || lock->marker == kTarnFreeLockMarker) return;
    lock->Section().~CriticalSection();
    LockPool& pool = Pool();
    std::lock_guard<std::mutex> guard(pool.mutex);
    lock->marker = kTarnFreeLockMarker;
    lock->next = pool.free;
    pool.free = lock;
}

void TarnLockEnter(TarnLock* lock) { lock->Section().Enter(); }
void TarnLockLeave(TarnLock* lock) { lock->Section().Leave(); }
uint32_t TarnLockMarker(const TarnLock* lock) { return lock->marker; }

int TarnLockNodesPerRefill() {
    std::lock_guard<std::mutex> guard(Pool().mutex);
    return Pool().nodesPerRefill;
}

// --- error codes ---

uint32_t TarnErrorText(char* buffer) {
    const uint32_t code = gLastError.load();
    std::snprintf(buffer, 64, "[%5d] sorry, not implemented", static_cast<int>(code & 0xFFFF));
    return code;
}

void TarnSetLastError(uint32_t code) { gLastError = code; }
