#include "tarn/TarnPrint.h"
#include "tarn/TarnPipeline.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/Thread.h"

namespace {

struct ChannelSlot {
    char name[16];
    uint32_t flags;  // bit 0 on, bit 1 in the library group
};

struct DeviceSlot {
    char name[16];
    TarnDeviceRoutine routine;
    uint32_t flags;  // bit 0 on
};

constexpr const char* kBuiltInChannels[16] = {"all",  "tarn",  "alert", "general", "memory", "connection",
                                              "graphics", "file", "input", "system", "3d", "font",
                                              "codec", "math", "ulgl", "capture"};

int MonoDevice(intptr_t, intptr_t line) {
    TarnScreenWrite(reinterpret_cast<const char*>(line));
    return 1;
}

int ConsoleDevice(intptr_t, intptr_t line) {
    std::fputs(reinterpret_cast<const char*>(line), stdout);
    std::fflush(stdout);
    return 1;
}

// There is no debugger channel here; the debugger's text goes to stderr.
int DebuggerDevice(intptr_t, intptr_t line) {
    std::fputs(reinterpret_cast<const char*>(line), stderr);
    return 1;
}

struct PrintTables {
    bool ready = false;
    ChannelSlot channels[kTarnChannelSlots]{};
    DeviceSlot devices[kTarnDeviceSlots]{};
};

PrintTables& Tables() {
    static PrintTables tables;
    return tables;
}

void CopyName(char (&dst)[16], const char* name) {
    std::snprintf(dst, sizeof dst, "%s", name != nullptr ? name : "");
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The entry sharing the longest leading part with the token; the first wins
// a tie; -1 when no entry shares a character.
template <typename Slot, int N>
int BestMatch(const Slot (&slots)[N], const std::string& token) {
    int best = -1;
    size_t bestLength = 0;
    for (int i = 0; i < N; ++i) {
        const char* name = slots[i].name;
        size_t length = 0;
        while (length < token.size() && name[length] != '\0' && Lower(name[length]) == token[length]) ++length;
        if (length > bestLength) {
            best = i;
            bestLength = length;
        }
    }
    return best;
}

template <typename Apply>
void ApplyVariable(const char* variable, Apply apply) {
    const char* raw = std::getenv(variable);
    if (raw == nullptr) return;
    std::string value(raw, strnlen(raw, 255));
    for (char& c : value) c = Lower(c);
    size_t at = 0;
    while (at < value.size()) {
        const size_t end = value.find_first_of(" ,", at);
        std::string token = value.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? value.size() : end + 1;
        if (token.empty()) continue;
        bool on = true;
        if (token[0] == '-') {
            on = false;
            token.erase(0, 1);
        }
        if (!token.empty()) apply(token, on);
    }
}

void SetChannelBit(ChannelSlot& slot, bool on) { slot.flags = on ? (slot.flags | 1u) : (slot.flags & ~1u); }

void ApplyChannelVariable() {
    PrintTables& t = Tables();
    ApplyVariable("PRINT_CHANNEL", [&](const std::string& token, bool on) {
        const int entry = BestMatch(t.channels, token);
        if (entry < 0) return;
        for (int i = 0; i < kTarnChannelSlots; ++i) {
            const bool chosen = entry == kTarnChannelAll || (entry == kTarnChannelTarn && (t.channels[i].flags & 2u)) ||
                                i == entry;
            if (chosen) SetChannelBit(t.channels[i], on);
        }
    });
}

void ApplyDeviceVariable() {
    PrintTables& t = Tables();
    ApplyVariable("PRINT_DEVICE", [&](const std::string& token, bool on) {
        const int entry = BestMatch(t.devices, token);
        if (entry >= 0) t.devices[entry].flags = on ? 1u : 0u;
    });
}

void EnsureReady() {
    if (!Tables().ready) TarnPrintInitialise();
}

void Deliver(int channel, const char* line) {
    PrintTables& t = Tables();
    for (DeviceSlot& device : t.devices)
        if ((device.flags & 1u) && device.routine != nullptr)
            device.routine(channel, reinterpret_cast<intptr_t>(line));
}

}  // namespace

void TarnPrintInitialise() {
    PrintTables& t = Tables();
    t = PrintTables{};
    t.ready = true;
    for (int i = 0; i < 16; ++i) {
        CopyName(t.channels[i].name, kBuiltInChannels[i]);
        t.channels[i].flags = 2u;
    }
    CopyName(t.devices[kTarnDeviceMono].name, "mono");
    t.devices[kTarnDeviceMono].routine = MonoDevice;
    CopyName(t.devices[kTarnDeviceConsole].name, "console");
    t.devices[kTarnDeviceConsole].routine = ConsoleDevice;
    CopyName(t.devices[kTarnDeviceDebugger].name, "debugger");
    t.devices[kTarnDeviceDebugger].routine = DebuggerDevice;
    t.channels[kTarnChannelAlert].flags |= 1u;
    ApplyChannelVariable();
    t.devices[kTarnDeviceConsole].flags = 1u;
    ApplyDeviceVariable();
    // Which vertex kernels this processor runs, for whoever listens.
    TarnPrint(kTarnChannelSystem, "tarn: %s vertex kernels\n", TarnKernelSetName());
}

void TarnPrintV(int channel, const char* format, va_list args) {
    EnsureReady();
    if (channel < 0 || channel >= kTarnChannelSlots || !(Tables().channels[channel].flags & 1u)) return;
    char line[256];
    std::vsnprintf(line, sizeof line, format, args);  // a longer text is cut at 255 characters
    Deliver(channel, line);
}

void TarnPrint(int channel, const char* format, ...) {
    va_list args;
    va_start(args, format);
    TarnPrintV(channel, format, args);
    va_end(args);
}

void TarnAlert(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    TarnPrint(kTarnChannelAlert, "%s", text);  // a '%' in the text stays a '%'
}

bool TarnRegisterDevice(int slot, const char* name, TarnDeviceRoutine routine) {
    EnsureReady();
    if (slot < 3 || slot >= kTarnDeviceSlots) return false;
    DeviceSlot& device = Tables().devices[slot];
    CopyName(device.name, name);
    device.routine = routine;
    ApplyDeviceVariable();
    return true;
}

bool TarnRegisterChannel(int slot, const char* name) {
    EnsureReady();
    if (slot < 16 || slot >= kTarnChannelSlots) return false;
    CopyName(Tables().channels[slot].name, name);
    ApplyChannelVariable();
    return true;
}

void TarnDeviceOn(int slot, bool on) {
    EnsureReady();
    if (slot >= 0 && slot < kTarnDeviceSlots) Tables().devices[slot].flags = on ? 1u : 0u;
}

void TarnChannelOn(int slot, bool on) {
    EnsureReady();
    if (slot >= 0 && slot < kTarnChannelSlots) SetChannelBit(Tables().channels[slot], on);
}

bool TarnIsDeviceOn(int slot) {
    EnsureReady();
    return slot >= 0 && slot < kTarnDeviceSlots && (Tables().devices[slot].flags & 1u);
}

bool TarnIsChannelOn(int slot) {
    EnsureReady();
    return slot >= 0 && slot < kTarnChannelSlots && (Tables().channels[slot].flags & 1u);
}

const char* TarnChannelName(int slot) {
    EnsureReady();
    return slot >= 0 && slot < kTarnChannelSlots ? Tables().channels[slot].name : "";
}

const char* TarnDeviceName(int slot) {
    EnsureReady();
    return slot >= 0 && slot < kTarnDeviceSlots ? Tables().devices[slot].name : "";
}

intptr_t TarnCallDevice(int slot, intptr_t a, intptr_t b) {
    EnsureReady();
    if (slot < 0 || slot >= kTarnDeviceSlots || Tables().devices[slot].routine == nullptr) return 0;
    return Tables().devices[slot].routine(a, b);
}

// --- the text screen ---

namespace {

struct Screen {
    std::recursive_mutex mutex;
    uint8_t cells[kTarnScreenBytes];
    int cursor = 1920;
    uint8_t attribute = 0x07;
    int tabWidth = 8;
    int top = 0;
    int level = 2;
    int selector = 0;
    bool attributeNext = false;

    Screen() { std::memset(cells, 0, sizeof cells); }
};

Screen& TheScreen() {
    static Screen screen;
    return screen;
}

void ClearCells(Screen& s, int from, int to) {
    for (int at = from; at < to; at += 2) {
        s.cells[at] = ' ';
        s.cells[at + 1] = s.attribute;
    }
}

void PutByte(Screen& s, uint8_t c) {
    if (s.attributeNext) {
        s.attribute = c;
        s.attributeNext = false;
        return;
    }
    switch (c) {
        case 8:
            if (s.cursor >= 2) s.cursor -= 2;
            return;
        case 9:
            if (s.tabWidth >= 2) {
                const int column = (s.cursor % 160) / 2;
                const int next = (column / s.tabWidth + 1) * s.tabWidth;
                s.cursor = s.cursor - s.cursor % 160 + 2 * std::min(next, 79);
            }
            return;
        case 10:
            s.cursor = (s.cursor / 160 + 1) * 160;
            break;
        case 11:
            s.cursor = s.top * 160;
            return;
        case 12:
            ClearCells(s, 0, kTarnScreenBytes);
            s.cursor = s.top * 160;
            return;
        case 14:
            s.attributeNext = true;
            return;
        default:
            if (c < 32) return;
            s.cells[s.cursor] = c;
            s.cells[s.cursor + 1] = s.attribute;
            s.cursor += 2;
            break;
    }
    if (s.cursor >= kTarnScreenBytes) {
        const int from = s.top * 160;
        std::memmove(s.cells + from, s.cells + from + 160, static_cast<size_t>(kTarnScreenBytes - from - 160));
        ClearCells(s, kTarnScreenBytes - 160, kTarnScreenBytes);
        s.cursor = kTarnScreenBytes - 160;
    }
}

void ScreenPrintV(int column, int row, const char* format, va_list args) {
    Screen& s = TheScreen();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    if (s.level <= 1) return;
    if (column >= 0 && column <= 79 && row >= 0 && row <= 24) s.cursor = row * 160 + column * 2;
    char line[256];
    std::vsnprintf(line, sizeof line, format, args);
    for (const char* p = line; *p != '\0'; ++p) PutByte(s, static_cast<uint8_t>(*p));
}

}  // namespace

void TarnScreenPrint(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ScreenPrintV(-1, -1, format, args);
    va_end(args);
}

void TarnScreenPrintAt(int column, int row, const char* format, ...) {
    va_list args;
    va_start(args, format);
    ScreenPrintV(column, row, format, args);
    va_end(args);
}

void TarnScreenWrite(const char* text) { TarnScreenPrint("%s", text); }

void TarnScreenClear() {
    Screen& s = TheScreen();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    if (s.level > 1) PutByte(s, 12);
}

void TarnScreenSetTop(int row) {
    Screen& s = TheScreen();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    if (row >= 0 && row <= 24) s.top = row;
}

void TarnScreenSetAttribute(uint8_t attribute) {
    Screen& s = TheScreen();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    s.attribute = attribute;
}

void TarnScreenSetTabWidth(int width) {
    Screen& s = TheScreen();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    if (width > 0) s.tabWidth = width;
}

// The cells live in memory whichever adapter is selected.
void TarnScreenSelect(int selector) {
    Screen& s = TheScreen();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    s.selector = selector;
}

void TarnScreenSetLevel(int level) {
    Screen& s = TheScreen();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    s.level = level;
}

const uint8_t* TarnScreenCells() { return TheScreen().cells; }
int TarnScreenCursor() { return TheScreen().cursor; }

void TarnScreenReset() {
    Screen& s = TheScreen();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    std::memset(s.cells, 0, sizeof s.cells);
    s.cursor = 1920;
    s.attribute = 0x07;
    s.tabWidth = 8;
    s.top = 0;
    s.level = 2;
    s.selector = 0;
    s.attributeNext = false;
}

// --- assertion and fatal report ---

namespace {

const uint32_t gMainThreadId = platform::Thread::CurrentId();  // set before main runs

TarnAssertAnswer DefaultPrompt(const char* caption, const char* text) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return TarnAssertAnswer::Abort;
}

void DefaultExit(int code, bool mainThread) {
    if (mainThread) std::exit(code);
    std::_Exit(code);
}

TarnAssertPrompt gPrompt = DefaultPrompt;
TarnExitRoutine gExit = DefaultExit;
TarnReportRoutine gReports[kTarnReportSlots] = {TarnAbortHandler};
std::atomic<bool> gAborting{false};

void EndProgram(int code) { gExit(code, platform::Thread::CurrentId() == gMainThreadId); }

}  // namespace

void TarnSetAssertPrompt(TarnAssertPrompt prompt) { gPrompt = prompt != nullptr ? prompt : DefaultPrompt; }
void TarnSetExitRoutine(TarnExitRoutine routine) { gExit = routine != nullptr ? routine : DefaultExit; }

int TarnAssertFailed(const char* file, int line, const char* expression) {
    TarnPrint(kTarnChannelAlert, "%s(%d) : Assertion Failed: %s\n", file, line, expression);
    char text[1024];
    std::snprintf(text, sizeof text,
                  "Assertion Failed!\n\nFile:\t%s\nLine:\t%d\n\n\n%s is FALSE\n\n\n(Press Retry to debug the application)",
                  file, line, expression);
    switch (gPrompt("TARN Library", text)) {
        case TarnAssertAnswer::Retry: return 1;
        case TarnAssertAnswer::Ignore: return 0;
        case TarnAssertAnswer::Abort: break;
    }
    EndProgram(3);
    return 0;
}

void TarnSetReportRoutine(int slot, TarnReportRoutine routine) {
    if (slot < 0 || slot >= kTarnReportSlots) return;
    gReports[slot] = routine != nullptr ? routine : (slot == kTarnReportFatal ? TarnAbortHandler : nullptr);
}

int TarnReport(int slot, const char* format, ...) {
    if (slot < 0 || slot >= kTarnReportSlots || gReports[slot] == nullptr) return 0;
    va_list args;
    va_start(args, format);
    const int result = gReports[slot](format, args);
    va_end(args);
    return result;
}

int TarnAbortHandler(const char* format, va_list args) {
    bool expected = false;
    if (!gAborting.compare_exchange_strong(expected, true)) return 0;
    char message[1024] = "";
    if (format != nullptr) std::vsnprintf(message, sizeof message, format, args);
    std::fprintf(stderr, "Abort Message: %s\n", message);
    EndProgram(3);
    gAborting = false;  // only reached when the exit routine returns (tests)
    return 0;
}
