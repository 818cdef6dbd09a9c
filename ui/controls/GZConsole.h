// The console line: a one-line text field of at most 255 bytes across the
// top of the screen, which the main window shows on its hot key and runs
// through the command manager on Enter.
#pragma once

#include <cstdint>

class cGZWinTextEdit2;

cGZWinTextEdit2* GZCreateConsoleEdit(int32_t width);
