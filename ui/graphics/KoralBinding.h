// The binding to the image codec plug-in, libkoral.so: loaded by name at run
// time (beside the program, then ../lib from it, then the library path),
// bound entry by entry, given the stream callbacks and the guarded allocator.
// Every wrapper answers 0 (null) when its entry is missing, so a missing or
// partial plug-in makes the image operations give up rather than fail hard.
#pragma once

#include <cstdint>
#include <string>

#include "platform/koral/KoralAbi.h"

namespace platform {
class DynamicLibrary;
}

// The plug-in's entries, each null when the library lacks it.
struct KoralEntries {
    int32_t (*init)() = nullptr;
    int32_t (*restore)() = nullptr;
    const char* (*about)() = nullptr;
    int32_t (*is)(void* stream) = nullptr;
    int32_t (*open)(void** context, void* stream, const char* name, int32_t mode) = nullptr;
    KoralFrame* (*info)(void* context, intptr_t frame) = nullptr;
    int32_t (*read)(void* context, const KoralFrame* frame, void* pixels, int32_t pitch) = nullptr;
    int32_t (*close)(void* context) = nullptr;
    int32_t (*wopen)(int32_t format, void** context, void* stream, const char* name, int32_t mode) = nullptr;
    int32_t (*write)(int32_t kind, void* context, const KoralImageDescription* description, const void* pixels,
                     int32_t pitch) = nullptr;
    int32_t (*wclose)(void* context) = nullptr;
    int32_t (*gopenstream)(void** context, void* stream) = nullptr;
    int32_t (*gopen)(void** context, const char* name) = nullptr;
    int32_t (*set)(int32_t value) = nullptr;
    int32_t (*get)() = nullptr;
    int32_t (*find)(const char* extension, int32_t flags) = nullptr;
    int32_t (*count)() = nullptr;
    int32_t (*freebitmap)(void* block) = nullptr;
    int32_t (*loadframe)(void* context, intptr_t frame) = nullptr;
    int32_t (*installcallbacks)(const KoralCallbacks* callbacks) = nullptr;
    int32_t (*open3)(void** context, void* stream, const char* name) = nullptr;
};

// The export name of an entry as the plug-in's table gives it: the leading
// '_' dropped and '@' turned into '_' ("_KORAL_open@16" -> "KORAL_open_16").
std::string KoralExportName(const char* tableName);

// The file the binding loads; an empty path (the default) searches for
// "libkoral.so" as above. Tests point it elsewhere.
void SetCodecLibraryPath(std::string path);

// Loads the plug-in into `library` and fills `entries` (and the "KORALabout"
// address). False, with nothing bound, when no library can be loaded.
bool BindCodecLibrary(platform::DynamicLibrary& library, KoralEntries& entries);

// Binds the plug-in, installs the callbacks and calls init; 0 when the
// library is missing or has no init entry.
int32_t KoralStartup();
// Calls restore and unloads the plug-in.
void KoralShutdown();
// KoralStartup once; later calls remember the answer until KoralShutdown.
bool EnsureImageCodecBound();

// The entries bound now (all null before KoralStartup) and "KORALabout".
const KoralEntries& BoundKoralEntries();
const char* KoralAboutText();

int32_t KoralOpen(void** context, void* stream, const char* name, int32_t mode);
KoralFrame* KoralInfo(void* context, intptr_t frame);
int32_t KoralRead(void* context, const KoralFrame* frame, void* pixels, int32_t pitch);
int32_t KoralClose(void* context);
int32_t KoralWOpen(int32_t format, void** context, void* stream, const char* name, int32_t mode);
int32_t KoralWrite(int32_t kind, void* context, const KoralImageDescription* description, const void* pixels,
                   int32_t pitch);
int32_t KoralWClose(void* context);
int32_t KoralFind(const char* extension, int32_t flags);
