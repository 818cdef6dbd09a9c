#include "ui/graphics/KoralBinding.h"

#include <mutex>
#include <optional>
#include <utility>

#include "platform/DynamicLibrary.h"
#include "platform/Path.h"
#include "platform/Process.h"
#include "ui/graphics/GuardedAlloc.h"
#include "ui/graphics/KoralStreams.h"

namespace {

constexpr const char* kLibraryName = "libkoral.so";

struct Binding {
    std::mutex lock;
    std::string path;  // empty: search
    platform::DynamicLibrary library;
    KoralEntries entries;
    const char* about = nullptr;
    std::optional<bool> bound;  // the remembered answer of EnsureImageCodecBound
};

Binding& BindingState() {
    static Binding binding;
    return binding;
}

const KoralCallbacks kCallbacks = {KoralStreamOpen,  KoralStreamCreate, KoralStreamClose, KoralStreamRead,
                                   KoralStreamWrite, KoralStreamSeek,   KoralStreamSize,  KoralStreamTell,
                                   galloc,           gfree};

template <class Fn>
void Bind(platform::DynamicLibrary& library, Fn& slot, const char* tableName) {
    slot = library.Function<Fn>(KoralExportName(tableName).c_str());
}

}  // namespace

std::string KoralExportName(const char* tableName) {
    std::string name = tableName;
    if (!name.empty() && name.front() == '_') name.erase(0, 1);
    for (char& c : name)
        if (c == '@') c = '_';
    return name;
}

void SetCodecLibraryPath(std::string path) {
    Binding& binding = BindingState();
    std::lock_guard guard(binding.lock);
    binding.path = std::move(path);
}

bool BindCodecLibrary(platform::DynamicLibrary& library, KoralEntries& entries) {
    entries = KoralEntries{};
    std::string path;
    {
        Binding& binding = BindingState();
        std::lock_guard guard(binding.lock);
        path = binding.path;
    }
    bool opened = false;
    if (!path.empty()) {
        opened = library.Open(path);
    } else {
        const std::string folder(platform::ParentOf(platform::ExecutablePath()));
        opened = (!folder.empty() && (library.Open(folder + "/" + kLibraryName) ||
                                      library.Open(folder + "/../lib/" + kLibraryName))) ||
                 library.Open(kLibraryName);
    }
    if (!opened) return false;
    Bind(library, entries.init, "_KORAL_init@0");
    Bind(library, entries.restore, "_KORAL_restore@0");
    Bind(library, entries.about, "_KORAL_about@0");
    Bind(library, entries.is, "_KORAL_is@4");
    Bind(library, entries.open, "_KORAL_open@16");
    Bind(library, entries.info, "_KORAL_info@8");
    Bind(library, entries.read, "_KORAL_read@16");
    Bind(library, entries.close, "_KORAL_close@4");
    Bind(library, entries.wopen, "_KORAL_wopen@16");
    Bind(library, entries.write, "_KORAL_write@16");
    Bind(library, entries.wclose, "_KORAL_wclose@4");
    Bind(library, entries.gopenstream, "_KORAL_gopenstream@8");
    Bind(library, entries.gopen, "_KORAL_gopen@8");
    Bind(library, entries.set, "_KORAL_set@4");
    Bind(library, entries.get, "_KORAL_get@0");
    Bind(library, entries.find, "_KORAL_find@8");
    Bind(library, entries.count, "_KORAL_count@0");
    Bind(library, entries.freebitmap, "_KORAL_freebitmap@4");
    Bind(library, entries.loadframe, "_KORAL_loadframe@8");
    Bind(library, entries.installcallbacks, "_KORAL_installcallbacks@4");
    Bind(library, entries.open3, "_KORAL_open@12");
    return true;
}

int32_t KoralStartup() {
    Binding& binding = BindingState();
    platform::DynamicLibrary library;
    KoralEntries entries;
    if (!BindCodecLibrary(library, entries)) return 0;
    const char* about = static_cast<const char*>(library.Symbol("KORALabout"));
    {
        std::lock_guard guard(binding.lock);
        binding.library = std::move(library);
        binding.entries = entries;
        binding.about = about;
    }
    if (entries.installcallbacks) entries.installcallbacks(&kCallbacks);
    return entries.init ? entries.init() : 0;
}

void KoralShutdown() {
    Binding& binding = BindingState();
    KoralEntries entries;
    {
        std::lock_guard guard(binding.lock);
        entries = binding.entries;
    }
    if (entries.restore) entries.restore();
    std::lock_guard guard(binding.lock);
    binding.entries = KoralEntries{};
    binding.about = nullptr;
    binding.library.Close();
    binding.bound.reset();
}

bool EnsureImageCodecBound() {
    Binding& binding = BindingState();
    {
        std::lock_guard guard(binding.lock);
        if (binding.bound) return *binding.bound;
    }
    const bool ok = KoralStartup() != 0;
    std::lock_guard guard(binding.lock);
    binding.bound = ok;
    return ok;
}

const KoralEntries& BoundKoralEntries() { return BindingState().entries; }

const char* KoralAboutText() { return BindingState().about; }

int32_t KoralOpen(void** context, void* stream, const char* name, int32_t mode) {
    const KoralEntries& e = BoundKoralEntries();
    if (e.open) return e.open(context, stream, name, mode);
    if (e.open3) return e.open3(context, stream, name);
    return 0;
}

KoralFrame* KoralInfo(void* context, intptr_t frame) {
    const KoralEntries& e = BoundKoralEntries();
    return e.info ? e.info(context, frame) : nullptr;
}

int32_t KoralRead(void* context, const KoralFrame* frame, void* pixels, int32_t pitch) {
    const KoralEntries& e = BoundKoralEntries();
    return e.read ? e.read(context, frame, pixels, pitch) : 0;
}

int32_t KoralClose(void* context) {
    const KoralEntries& e = BoundKoralEntries();
    return e.close ? e.close(context) : 0;
}

int32_t KoralWOpen(int32_t format, void** context, void* stream, const char* name, int32_t mode) {
    const KoralEntries& e = BoundKoralEntries();
    return e.wopen ? e.wopen(format, context, stream, name, mode) : 0;
}

int32_t KoralWrite(int32_t kind, void* context, const KoralImageDescription* description, const void* pixels,
                   int32_t pitch) {
    const KoralEntries& e = BoundKoralEntries();
    return e.write ? e.write(kind, context, description, pixels, pitch) : 0;
}

int32_t KoralWClose(void* context) {
    const KoralEntries& e = BoundKoralEntries();
    return e.wclose ? e.wclose(context) : 0;
}

int32_t KoralFind(const char* extension, int32_t flags) {
    const KoralEntries& e = BoundKoralEntries();
    return e.find ? e.find(extension, flags) : 0;
}
