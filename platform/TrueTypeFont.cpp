#include "platform/TrueTypeFont.h"

#include "platform/SdlLibrary.h"

#include <filesystem>
#include <iterator>
#include <map>
#include <mutex>

#include "platform/File.h"

namespace platform {

namespace {

// SDL2_ttf counts its own initialisations; fonts keep it started.
std::mutex gTtfLock;

bool StartTtf(std::string* error) {
    std::lock_guard<std::mutex> lock(gTtfLock);
    std::string reason;
    if (!LoadTtf(&reason)) {
        if (error) *error = "cannot start the font engine: " + reason;
        return false;
    }
    if (Ttf().TTF_Init() != 0) {
        if (error) *error = std::string("cannot start the font engine: ") + Sdl().SDL_GetError();
        return false;
    }
    return true;
}

void StopTtf() {
    std::lock_guard<std::mutex> lock(gTtfLock);
    Ttf().TTF_Quit();
}

TTF_Font* Font(void* p) { return static_cast<TTF_Font*>(p); }

// Font files held in memory by open fonts, by path: another size or face of a
// file already open shares its bytes instead of reading megabytes again. A
// file changed on disk since (another size or time) is read afresh.
struct HeldFile {
    std::weak_ptr<const std::string> bytes;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written;
};
std::mutex gHeldLock;

std::shared_ptr<const std::string> ReadFontFile(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    const std::filesystem::file_time_type written = ec ? std::filesystem::file_time_type{}
                                                       : std::filesystem::last_write_time(path, ec);
    static std::map<std::string, HeldFile> held;
    std::lock_guard<std::mutex> lock(gHeldLock);
    if (!ec) {
        auto it = held.find(path);
        if (it != held.end() && it->second.size == size && it->second.written == written)
            if (auto bytes = it->second.bytes.lock()) return bytes;
    }
    auto bytes = std::make_shared<std::string>();
    {
        // File refuses folders, whose size a seek to the end does not give.
        File file;
        if (!file.Open(path, File::kRead, File::Disposition::kOpenExisting) || !file.ReadToEnd(*bytes)) bytes->clear();
    }
    // Forget the files no open font holds any more.
    for (auto it = held.begin(); it != held.end();) it = it->second.bytes.expired() ? held.erase(it) : std::next(it);
    if (!ec && !bytes->empty()) held[path] = HeldFile{bytes, size, written};
    return bytes;
}

}  // namespace

std::unique_ptr<TrueTypeFont> TrueTypeFont::Open(const std::string& path, int32_t pixels, bool bold, int index,
                                                 std::string* error) {
    if (pixels <= 0 || pixels > 512) {
        if (error) *error = "font size out of range";
        return nullptr;
    }
    if (!StartTtf(error)) return nullptr;
    // Read whole into memory: the engine reads a font file from disk a few
    // bytes per call, a seek and a read for every glyph it looks up.
    std::shared_ptr<const std::string> bytes = ReadFontFile(path);
    SDL_RWops* source = bytes->empty() ? nullptr : Sdl().SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    TTF_Font* font = source ? Ttf().TTF_OpenFontIndexRW(source, 1, pixels, index) : nullptr;
    if (!font) {
        if (error) *error = "cannot open font " + path + ": " + (source ? Sdl().SDL_GetError() : "cannot read the file");
        StopTtf();
        return nullptr;
    }
    if (bold) Ttf().TTF_SetFontStyle(font, TTF_STYLE_BOLD);
    return std::unique_ptr<TrueTypeFont>(new TrueTypeFont(font, std::move(bytes)));
}

std::string TrueTypeFont::FindFile(const std::string& fileName) {
    for (const char* root : {"/usr/share/fonts", "/usr/local/share/fonts"}) {
        std::error_code ec;
        std::filesystem::recursive_directory_iterator it(root, ec), end;
        for (; !ec && it != end; it.increment(ec))
            if (it->path().filename() == fileName) return it->path().string();
    }
    return {};
}

TrueTypeFont::~TrueTypeFont() {
    Ttf().TTF_CloseFont(Font(mFont));
    StopTtf();
}

int32_t TrueTypeFont::TextWidth(const std::string& utf8) const {
    int w = 0, h = 0;
    if (utf8.empty() || Ttf().TTF_SizeUTF8(Font(mFont), utf8.c_str(), &w, &h) != 0) return 0;
    return w;
}

int32_t TrueTypeFont::LineHeight() const { return Ttf().TTF_FontHeight(Font(mFont)); }

bool TrueTypeFont::Render(const std::string& utf8, TextCoverage& out) const {
    out = TextCoverage{};
    if (utf8.empty()) return false;
    SDL_Surface* drawn = Ttf().TTF_RenderUTF8_Blended(Font(mFont), utf8.c_str(), SDL_Color{255, 255, 255, 255});
    if (!drawn) return false;
    // Blended text comes as ARGB8888 already; a copy is made only otherwise.
    SDL_Surface* argb = drawn;
    if (drawn->format->format != SDL_PIXELFORMAT_ARGB8888) {
        argb = Sdl().SDL_ConvertSurfaceFormat(drawn, SDL_PIXELFORMAT_ARGB8888, 0);
        Sdl().SDL_FreeSurface(drawn);
        if (!argb) return false;
    }
    out.width = argb->w;
    out.height = argb->h;
    out.alpha.resize(size_t(out.width) * out.height);
    Sdl().SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch);
        for (int x = 0; x < argb->w; ++x) out.alpha[size_t(y) * out.width + x] = static_cast<uint8_t>(row[x] >> 24);
    }
    Sdl().SDL_UnlockSurface(argb);
    Sdl().SDL_FreeSurface(argb);
    return true;
}

}  // namespace platform
