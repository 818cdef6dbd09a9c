#include "platform/SdlLibrary.h"

#include "platform/DynamicLibrary.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

// One loaded library and its entries, or the reason it could not be loaded.
template <class Entries>
struct LoadedLibrary {
    DynamicLibrary library;
    Entries entries;
    std::string error;
};

// The entry's address; after the first missing entry, nothing more is sought.
template <class Entries>
void* FindEntry(LoadedLibrary<Entries>& loaded, const char* name) {
    if (!loaded.error.empty()) return nullptr;
    void* address = loaded.library.Symbol(name);
    if (address == nullptr) loaded.error = loaded.library.Path() + " has no entry " + name;
    return address;
}

template <class Entries, class Bind>
const LoadedLibrary<Entries>* OpenLibrary(const char* name, const char* what, Bind bind) {
    // Kept for the life of the process: objects destroyed at exit (an audio
    // device, a window) still call into the library.
    auto* loaded = new LoadedLibrary<Entries>;
    if (!loaded->library.Open(name))
        loaded->error = std::string("cannot load ") + what + ": " + loaded->library.LastError();
    else
        bind(*loaded);
    return loaded;
}

// Binds one entry of the table being filled (l) to the library's entry of
// that name.
#define TOVA_SDL_BIND(name) l.entries.name = reinterpret_cast<decltype(l.entries.name)>(FindEntry(l, #name));

const LoadedLibrary<SdlEntries>& SdlLibrary() {
    static const auto* loaded =
        OpenLibrary<SdlEntries>(kSdlLibraryName, "SDL2", [](auto& l) { TOVA_SDL_ENTRIES(TOVA_SDL_BIND) });
    return *loaded;
}

const LoadedLibrary<TtfEntries>& TtfLibrary() {
    static const auto* loaded =
        OpenLibrary<TtfEntries>(kTtfLibraryName, "SDL2_ttf", [](auto& l) { TOVA_TTF_ENTRIES(TOVA_SDL_BIND) });
    return *loaded;
}

#undef TOVA_SDL_BIND

template <class Entries>
bool Report(const LoadedLibrary<Entries>& loaded, std::string* error) {
    if (loaded.error.empty()) return true;
    if (error) *error = loaded.error;
    return false;
}

template <class Entries>
const Entries& EntriesOrStop(const LoadedLibrary<Entries>& loaded) {
    if (!loaded.error.empty()) {
        std::fprintf(stderr, "%s\n", loaded.error.c_str());
        std::abort();
    }
    return loaded.entries;
}

}  // namespace

bool LoadSdl(std::string* error) { return Report(SdlLibrary(), error); }

bool LoadTtf(std::string* error) { return LoadSdl(error) && Report(TtfLibrary(), error); }

const SdlEntries& Sdl() { return EntriesOrStop(SdlLibrary()); }

const TtfEntries& Ttf() {
    EntriesOrStop(SdlLibrary());
    return EntriesOrStop(TtfLibrary());
}

}  // namespace platform
