#include "platform/Display.h"

#include "platform/MessageQueue.h"

#include "platform/SdlLibrary.h"

#include <algorithm>

namespace platform {

std::vector<DisplayMode> SixteenBitModes(const std::vector<DisplayMode>& sizes, int32_t requestedWidth,
                                         int32_t requestedHeight) {
    std::vector<DisplayMode> out;
    auto add = [&](int32_t w, int32_t h) {
        if (w <= 0 || h <= 0) return;
        DisplayMode m{w, h, 16};
        if (std::find(out.begin(), out.end(), m) == out.end()) out.push_back(m);
    };
    for (const DisplayMode& m : sizes) add(m.width, m.height);
    add(requestedWidth, requestedHeight);
    std::sort(out.begin(), out.end(), [](const DisplayMode& a, const DisplayMode& b) {
        return a.width != b.width ? a.width > b.width : a.height > b.height;
    });
    return out;
}

HeadlessDisplay::HeadlessDisplay()
    : drivers_{DisplayDriver{{}, "headless", "display"}},
      modes_{{640, 480, 16}, {800, 600, 16}, {1024, 768, 16}} {}

std::vector<DisplayMode> HeadlessDisplay::Modes(int32_t requestedWidth, int32_t requestedHeight) const {
    std::vector<DisplayMode> sixteen;
    for (const DisplayMode& m : modes_)
        if (m.bitsPerPixel == 16) sixteen.push_back(m);
    return SixteenBitModes(sixteen, requestedWidth, requestedHeight);
}

DisplayMode HeadlessDisplay::Desktop(int32_t requestedDepth) const {
    DisplayMode m = desktop_;
    if (m.bitsPerPixel == 0) m.bitsPerPixel = requestedDepth;
    return m;
}

void HeadlessDisplay::SetDesktop(int32_t width, int32_t height, int32_t fixedDepth) {
    desktop_ = {width, height, fixedDepth};
}

void HeadlessDisplay::ChangeDepth(int32_t bitsPerPixel, MessageQueue& queue) {
    desktop_.bitsPerPixel = bitsPerPixel;
    queue.Post(kMsgDisplayChange, bitsPerPixel,
               static_cast<intptr_t>((static_cast<uint32_t>(desktop_.height) << 16) |
                                     (static_cast<uint32_t>(desktop_.width) & 0xFFFF)));
}

namespace {

class SdlDisplay : public Display {
public:
    ~SdlDisplay() override { Sdl().SDL_QuitSubSystem(SDL_INIT_VIDEO); }

    std::vector<DisplayDriver> Drivers() const override {
        const char* driver = Sdl().SDL_GetCurrentVideoDriver();
        return {DisplayDriver{{}, driver ? driver : "sdl", "display"}};
    }

    std::vector<DisplayMode> Modes(int32_t requestedWidth, int32_t requestedHeight) const override {
        std::vector<DisplayMode> sizes;
        const int count = Sdl().SDL_GetNumDisplayModes(0);
        for (int i = 0; i < count; ++i) {
            SDL_DisplayMode mode;
            if (Sdl().SDL_GetDisplayMode(0, i, &mode) == 0) sizes.push_back({mode.w, mode.h, 16});
        }
        return SixteenBitModes(sizes, requestedWidth, requestedHeight);
    }

    DisplayMode Desktop(int32_t requestedDepth) const override {
        SDL_DisplayMode mode{};
        if (Sdl().SDL_GetDesktopDisplayMode(0, &mode) != 0) return {0, 0, requestedDepth};
        return {mode.w, mode.h, requestedDepth};
    }

    // Frames live in system memory and SDL does not tell how much texture
    // memory is left: the answer is a comfortable constant.
    uint64_t VideoMemoryFree() const override { return 256ull << 20; }
};

}  // namespace

std::unique_ptr<Display> Display::CreateSdl(std::string* error) {
    if (!LoadSdl(error)) return nullptr;
    if (Sdl().SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = Sdl().SDL_GetError();
        return nullptr;
    }
    return std::make_unique<SdlDisplay>();
}

}  // namespace platform
