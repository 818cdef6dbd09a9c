// The platform layer: the only code that talks to the operating system and to
// outside libraries (POSIX, SDL2, libpng, libjpeg, zstd, mpg123, sockets).
// The game was designed around Windows behaviour (paths that ignore letter
// case, moves that refuse to overwrite, pulsed events, a per-thread message
// queue, ANSI code pages); each header here gives that behaviour on Linux, in
// the units the rest of the program uses, and each facility has a headless
// backend so tests and CI run without a display or a sound card.
//
//   Path.h         separators, case folding, Win32 wildcards
//   FileSystem.h   case-insensitive names, listings, moves, copies, attributes
//   File.h         open files with the five Win32 dispositions
//   TextFile.h     text-mode reading and writing (line ends)
//   AtomicFile.h   write-to-temporary-then-rename saves
//   Registry.h     the file-backed settings store
//   Sync.h         critical sections, scoped locks, events
//   Thread.h       threads, sleeps, alertable waits, self-suspend
//   Clock.h        millisecond, tick and high-resolution clocks
//   MessageQueue.h the per-thread message queue and quit codes
//   CodePage.h     ANSI and double-byte code pages of the 20 languages
//   Cpu.h          processor identification
//   Surface.h      16-bit and 8-bit software surfaces: fills, blits, lost state
//   PngFile.h      PNG reading and writing, surfaces as pictures
//   Presenter.h    showing frames by dirty rectangles (SDL and headless)
//   Display.h      display driver, modes, desktop, video memory
//   HostWindow.h   the top-level window: input as messages, cursors, presenter
//   WindowMessages.h  message numbers, flags and virtual keys of that input
//   CursorFile.h   .cur and .ani files
//   Clipboard.h    clipboard text in the current code page
//   TextInput.h    text composition state (input methods)
//   DynamicLibrary.h  shared libraries loaded by name, entries bound by name
//   SdlLibrary.h   SDL2 and SDL2_ttf, loaded on first use (the SDL-backed files only)
//   Process.h      the process id, its program path, free space of a volume
//   Socket.h       IPv4 TCP sockets, socket pairs and a loopback listener
//   PatchFile.h    the binary-patch engine stand-in (libpatchw32.so) and its files
#pragma once
