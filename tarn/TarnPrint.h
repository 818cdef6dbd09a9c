// The transform library's debug output: named channels and output devices
// switched by the variables PRINT_CHANNEL and PRINT_DEVICE, an 80 by 25
// text screen kept in memory, the assertion prompt and the fatal report.
//
// A variable's tokens (split at spaces and commas, "-" switches off) name the
// entry whose name shares the longest leading part with them, so "graph"
// means "graphics" and "g" the first g-entry, "general".
#pragma once

#include <cstdint>
#include <cstdarg>

enum TarnChannel : int {
    kTarnChannelAll = 0,
    kTarnChannelTarn,
    kTarnChannelAlert,
    kTarnChannelGeneral,
    kTarnChannelMemory,
    kTarnChannelConnection,
    kTarnChannelGraphics,
    kTarnChannelFile,
    kTarnChannelInput,
    kTarnChannelSystem,
    kTarnChannel3d,
    kTarnChannelFont,
    kTarnChannelCodec,
    kTarnChannelMath,
    kTarnChannelUlgl,
    kTarnChannelCapture,
};
inline constexpr int kTarnChannelSlots = 64;
inline constexpr int kTarnDeviceSlots = 8;
enum TarnDevice : int { kTarnDeviceMono = 0, kTarnDeviceConsole, kTarnDeviceDebugger };

// A device gets the channel and the formatted line (at most 255 characters).
using TarnDeviceRoutine = int (*)(intptr_t channel, intptr_t line);

// Puts the tables back to their start: everything off, then "alert" and
// "console" on and the two variables applied. The first print does this.
void TarnPrintInitialise();
void TarnPrint(int channel, const char* format, ...) __attribute__((format(printf, 2, 3)));
void TarnPrintV(int channel, const char* format, va_list args);
void TarnAlert(const char* format, ...) __attribute__((format(printf, 1, 2)));

bool TarnRegisterDevice(int slot, const char* name, TarnDeviceRoutine routine);
bool TarnRegisterChannel(int slot, const char* name);
void TarnDeviceOn(int slot, bool on);
void TarnChannelOn(int slot, bool on);
bool TarnIsDeviceOn(int slot);
bool TarnIsChannelOn(int slot);
const char* TarnChannelName(int slot);  // "" for a free slot
const char* TarnDeviceName(int slot);
intptr_t TarnCallDevice(int slot, intptr_t a, intptr_t b);

// --- the 80 by 25 text screen ---

inline constexpr int kTarnScreenBytes = 4000;
void TarnScreenPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
void TarnScreenPrintAt(int column, int row, const char* format, ...) __attribute__((format(printf, 3, 4)));
void TarnScreenWrite(const char* text);
void TarnScreenClear();
void TarnScreenSetTop(int row);
void TarnScreenSetAttribute(uint8_t attribute);
void TarnScreenSetTabWidth(int width);
void TarnScreenSelect(int selector);
void TarnScreenSetLevel(int level);  // the screen works only above 1
// Tests and tools: the cells (character, attribute) and the cursor in bytes.
const uint8_t* TarnScreenCells();
int TarnScreenCursor();
// Puts the screen back to its start state (cursor 1920, attribute 7, ...).
void TarnScreenReset();

// --- assertion and fatal report ---

enum class TarnAssertAnswer { Abort, Retry, Ignore };
// Shows the assertion text; the default writes it to stderr and answers Abort.
using TarnAssertPrompt = TarnAssertAnswer (*)(const char* caption, const char* text);
void TarnSetAssertPrompt(TarnAssertPrompt prompt);  // null restores the default
// 1 for Retry, 0 for Ignore; Abort ends the program.
int TarnAssertFailed(const char* file, int line, const char* expression);

// How the library ends the program (default: the normal exit on the main
// thread, an immediate one elsewhere). Tests put a routine that returns.
using TarnExitRoutine = void (*)(int code, bool mainThread);
void TarnSetExitRoutine(TarnExitRoutine routine);  // null restores the default

// Eight report slots; only the fatal one is used. The default fatal routine
// is the abort handler.
inline constexpr int kTarnReportSlots = 8;
inline constexpr int kTarnReportFatal = 0;
using TarnReportRoutine = int (*)(const char* format, va_list args);
void TarnSetReportRoutine(int slot, TarnReportRoutine routine);  // null restores the default
int TarnReport(int slot, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The abort handler: the message to stderr under "Abort Message", then the
// exit routine. A second abort during the first returns at once.
int TarnAbortHandler(const char* format, va_list args);
