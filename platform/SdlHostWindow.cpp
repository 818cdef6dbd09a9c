// The SDL2 backend of the host window and its presenter.
#include "platform/Clock.h"
#include "platform/HostWindow.h"
#include "platform/SdlInput.h"

#include "platform/SdlLibrary.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

Uint32 SdlFormat(PixelLayout layout) {
    return layout == PixelLayout::Rgb555 ? SDL_PIXELFORMAT_RGB555 : SDL_PIXELFORMAT_RGB565;
}

class SdlPresenter : public Presenter {
public:
    SdlPresenter(SDL_Renderer* renderer, SDL_Texture* texture, int32_t width, int32_t height, PixelLayout layout)
        : Presenter(width, height, layout), renderer_(renderer), texture_(texture) {}
    ~SdlPresenter() override {
        Sdl().SDL_DestroyTexture(texture_);
        Sdl().SDL_DestroyRenderer(renderer_);
    }

    bool Present(const Surface& frame, const std::vector<Rect>& rects) override {
        if (!Fits(frame)) return false;
        for (const Rect& r : ClipAll(rects, Width(), Height())) {
            const SDL_Rect area{r.left, r.top, r.Width(), r.Height()};
            const uint8_t* first = frame.Pixels() + static_cast<size_t>(r.top) * frame.PitchBytes() +
                                   static_cast<size_t>(r.left) * 2;
            if (Sdl().SDL_UpdateTexture(texture_, &area, first, frame.PitchBytes()) != 0) return false;
        }
        if (!DrawChanged(rects)) return false;
        Sdl().SDL_RenderPresent(renderer_);
        return true;
    }

    // Draws the texture again and reads it back before any present, while
    // the back buffer is still defined.
    std::unique_ptr<Surface> Grab() const override {
        if (!Draw()) return nullptr;
        int outW = 0, outH = 0;
        if (Sdl().SDL_GetRendererOutputSize(renderer_, &outW, &outH) != 0 || outW <= 0 || outH <= 0) return nullptr;
        auto full = Surface::Create(outW, outH, Layout());
        if (!full || Sdl().SDL_RenderReadPixels(renderer_, nullptr, SdlFormat(Layout()), full->Pixels(), full->PitchBytes()) != 0)
            return nullptr;
        if (outW == Width() && outH == Height()) return full;
        // Scaled output: the logical picture is centred and scaled by the
        // same factor both ways; sample it back at the logical size.
        SDL_Rect viewport;
        float sx = 1, sy = 1;
        Sdl().SDL_RenderGetViewport(renderer_, &viewport);
        Sdl().SDL_RenderGetScale(renderer_, &sx, &sy);
        auto logical = Surface::Create(Width(), Height(), Layout());
        for (int32_t y = 0; y < Height(); ++y)
            for (int32_t x = 0; x < Width(); ++x) {
                const int32_t fx = std::clamp(static_cast<int32_t>((viewport.x + x + 0.5f) * sx), 0, outW - 1);
                const int32_t fy = std::clamp(static_cast<int32_t>((viewport.y + y + 0.5f) * sy), 0, outH - 1);
                logical->SetPixel(x, y, full->Pixel16(fx, fy));
            }
        return logical;
    }

private:
    // The software renderer keeps its back buffer (the window surface)
    // between presents, so at the logical size only the listed rectangles
    // need copying; anything else redraws the whole picture.
    bool DrawChanged(const std::vector<Rect>& rects) {
        SDL_RendererInfo info;
        int outW = 0, outH = 0;
        const bool software = Sdl().SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE);
        const bool unscaled = Sdl().SDL_GetRendererOutputSize(renderer_, &outW, &outH) == 0 && outW == Width() &&
                              outH == Height();
        if (!software || !unscaled || !drawnWhole_) {
            drawnWhole_ = software && unscaled;
            return Draw();
        }
        for (const Rect& r : ClipAll(rects, Width(), Height())) {
            const SDL_Rect area{r.left, r.top, r.Width(), r.Height()};
            if (Sdl().SDL_RenderCopy(renderer_, texture_, &area, &area) != 0) return false;
        }
        return true;
    }

    bool Draw() const {
        Sdl().SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        Sdl().SDL_RenderClear(renderer_);
        return Sdl().SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) == 0;
    }

    SDL_Renderer* renderer_;
    SDL_Texture* texture_;
    bool drawnWhole_ = false;
};

class SdlHostWindow : public HostWindow {
public:
    SdlHostWindow(SDL_Window* window) : window_(window) {
        Sdl().SDL_DisableScreenSaver();
        clipboard_.readUtf8 = []() -> std::optional<std::string> {
            if (!Sdl().SDL_HasClipboardText()) return std::nullopt;
            char* text = Sdl().SDL_GetClipboardText();
            if (!text) return std::nullopt;
            std::string out(text);
            Sdl().SDL_free(text);
            return out;
        };
        clipboard_.writeUtf8 = [](const std::string& utf8) { return Sdl().SDL_SetClipboardText(utf8.c_str()) == 0; };
        textInput_.onEnable = [](bool on) { on ? Sdl().SDL_StartTextInput() : Sdl().SDL_StopTextInput(); };
        textInput_.onArea = [](const Rect& r) {
            SDL_Rect area{r.left, r.top, r.Width(), r.Height()};
            Sdl().SDL_SetTextInputRect(&area);
        };
        // Long compositions arrive whole (SDL cuts the plain editing event at
        // 32 bytes).
        Sdl().SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
        // The system's composition display: its native window where the input
        // method has one, its own in-place editing otherwise. The input method
        // reads both hints when text input starts again.
        textInput_.onSystemComposition = [](bool on) {
            Sdl().SDL_SetHint(SDL_HINT_IME_SHOW_UI, on ? "1" : "0");
            Sdl().SDL_SetHint(SDL_HINT_IME_INTERNAL_EDITING, on ? "1" : "0");
            if (Sdl().SDL_IsTextInputActive()) {
                Sdl().SDL_StopTextInput();
                Sdl().SDL_StartTextInput();
            }
        };
        // Typing arrives only while text input is on; the game always reads
        // characters, so it starts on.
        Sdl().SDL_StartTextInput();
        UpdateOrigin();
    }

    ~SdlHostWindow() override {
        Detach();
        DestroyAllCursors();
        Sdl().SDL_SetCursor(Sdl().SDL_GetDefaultCursor());
        Sdl().SDL_DestroyWindow(window_);
        Sdl().SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool IsHeadless() const override { return false; }
    void SetTitle(const std::string& utf8) override { Sdl().SDL_SetWindowTitle(window_, utf8.c_str()); }
    void SetFrame(WindowFrame frame) override {
        Sdl().SDL_SetWindowBordered(window_, frame == WindowFrame::Caption ? SDL_TRUE : SDL_FALSE);
    }
    void SetClientSize(int32_t width, int32_t height) override { Sdl().SDL_SetWindowSize(window_, width, height); }
    void Center() override {
        Sdl().SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        int x = 0, y = 0;
        Sdl().SDL_GetWindowPosition(window_, &x, &y);
        if (x < 0 || y < 0) Sdl().SDL_SetWindowPosition(window_, std::max(x, 0), std::max(y, 0));
        UpdateOrigin();
    }
    void Show(bool visible) override {
        if (visible) {
            Sdl().SDL_ShowWindow(window_);
            Sdl().SDL_RaiseWindow(window_);
        } else {
            Sdl().SDL_HideWindow(window_);
        }
    }
    bool IsVisible() const override { return (Sdl().SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0; }
    void Raise() override { Sdl().SDL_RaiseWindow(window_); }
    bool SetFullScreen(bool on) override {
        return Sdl().SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0;
    }
    bool IsFullScreen() const override {
        return (Sdl().SDL_GetWindowFlags(window_) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)) != 0;
    }
    Rect ClientRect() const override {
        int x = 0, y = 0, w = 0, h = 0;
        Sdl().SDL_GetWindowPosition(window_, &x, &y);
        Sdl().SDL_GetWindowSize(window_, &w, &h);
        return {x, y, x + w, y + h};
    }
    void WarpCursor(int32_t x, int32_t y) override {
        int wx = x, wy = y;
        if (renderer_) Sdl().SDL_RenderLogicalToWindow(renderer_, static_cast<float>(x), static_cast<float>(y), &wx, &wy);
        Sdl().SDL_WarpMouseInWindow(window_, wx, wy);
    }
    void SetCapture(bool on) override { Sdl().SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE); }

    std::unique_ptr<Presenter> CreatePresenter(int32_t width, int32_t height, PixelLayout layout,
                                               std::string* error) override {
        if (!IsColorLayout(layout) || width <= 0 || height <= 0) {
            if (error) *error = "no presenter for that size or layout";
            return nullptr;
        }
        Sdl().SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        SDL_Renderer* renderer = Sdl().SDL_CreateRenderer(window_, -1, 0);
        if (!renderer) {
            if (error) *error = Sdl().SDL_GetError();
            return nullptr;
        }
        Sdl().SDL_RenderSetLogicalSize(renderer, width, height);
        SDL_Texture* texture = Sdl().SDL_CreateTexture(renderer, SdlFormat(layout), SDL_TEXTUREACCESS_STREAMING, width, height);
        if (!texture) {
            if (error) *error = Sdl().SDL_GetError();
            Sdl().SDL_DestroyRenderer(renderer);
            return nullptr;
        }
        renderer_ = renderer;
        return std::make_unique<SdlPresenter>(renderer, texture, width, height, layout);
    }

    void Pump() override {
        Sdl().SDL_PumpEvents();
        SDL_Event event;
        auto queue = Queue();
        while (Sdl().SDL_PollEvent(&event)) {
            if (event.type == SDL_WINDOWEVENT && event.window.windowID != Sdl().SDL_GetWindowID(window_)) continue;
            for (const QueuedMessage& m : Translator().Translate(event))
                if (queue) queue->Post(m.message, m.wParam, m.lParam);
        }
        AnimateCursor(TimeMs());
    }

    bool IsKeyToggled(uint32_t vk) const override {
        const SDL_Keymod mod = Sdl().SDL_GetModState();
        if (vk == kVkCapitalLock) return (mod & KMOD_CAPS) != 0;
        if (vk == kVkNumLock) return (mod & KMOD_NUM) != 0;
        return HostWindow::IsKeyToggled(vk);
    }

    void SimulateKey(uint32_t vk, bool down, bool repeat) override {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = Sdl().SDL_GetWindowID(window_);
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.sym = SdlKeyFromVirtualKey(vk);
        e.key.keysym.scancode = Sdl().SDL_GetScancodeFromKey(e.key.keysym.sym);
        Sdl().SDL_PushEvent(&e);
    }
    void SimulateText(const std::string& utf8) override {
        for (SDL_Event e : TextInputEvents(utf8)) {
            e.text.windowID = Sdl().SDL_GetWindowID(window_);
            Sdl().SDL_PushEvent(&e);
        }
    }
    void SimulateComposition(const std::string& utf8, int32_t start, int32_t length) override {
        SDL_Event e = CompositionEvent(utf8, start, length);
        const Uint32 id = Sdl().SDL_GetWindowID(window_);
        (e.type == SDL_TEXTEDITING_EXT ? e.editExt.windowID : e.edit.windowID) = id;
        // A refused event's long text is still ours to free.
        if (Sdl().SDL_PushEvent(&e) != 1 && e.type == SDL_TEXTEDITING_EXT) Sdl().SDL_free(e.editExt.text);
    }
    void SimulateMouseMove(int32_t x, int32_t y) override {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = Sdl().SDL_GetWindowID(window_);
        e.motion.x = x;
        e.motion.y = y;
        Sdl().SDL_PushEvent(&e);
    }
    void SimulateMouseButton(int button, bool down, int32_t x, int32_t y, int clicks) override {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = Sdl().SDL_GetWindowID(window_);
        e.button.button = static_cast<uint8_t>(button == 2 ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT);
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = static_cast<uint8_t>(clicks);
        e.button.x = x;
        e.button.y = y;
        Sdl().SDL_PushEvent(&e);
    }
    void SimulateWheel(int32_t notches) override {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.windowID = Sdl().SDL_GetWindowID(window_);
        e.wheel.y = notches;
        Sdl().SDL_PushEvent(&e);
    }
    void SimulateActivation(bool active) override {
        Window(active ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
    }
    void SimulateClose() override { Window(SDL_WINDOWEVENT_CLOSE); }

protected:
    void* MakeNativeCursor(const CursorImage& image) override {
        SDL_Surface* surface = Sdl().SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 32, SDL_PIXELFORMAT_ARGB8888);
        if (!surface) return nullptr;
        for (int32_t y = 0; y < image.height; ++y)
            std::memcpy(static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
                        &image.argb[static_cast<size_t>(y) * image.width], static_cast<size_t>(image.width) * 4);
        SDL_Cursor* cursor = Sdl().SDL_CreateColorCursor(surface, image.hotX, image.hotY);
        Sdl().SDL_FreeSurface(surface);
        return cursor;
    }
    void FreeNativeCursor(void* native) override {
        if (native) Sdl().SDL_FreeCursor(static_cast<SDL_Cursor*>(native));
    }
    void ApplyNativeCursor(void* native) override {
        Sdl().SDL_SetCursor(native ? static_cast<SDL_Cursor*>(native) : Sdl().SDL_GetDefaultCursor());
    }
    void ApplyCursorShown(bool shown) override { Sdl().SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

private:
    static constexpr uint32_t kVkCapitalLock = 20;
    static constexpr uint32_t kVkNumLock = 144;

    void UpdateOrigin() {
        int x = 0, y = 0;
        Sdl().SDL_GetWindowPosition(window_, &x, &y);
        Translator().SetClientOrigin(x, y);
    }
    void Window(SDL_WindowEventID id) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = Sdl().SDL_GetWindowID(window_);
        e.window.event = static_cast<uint8_t>(id);
        Sdl().SDL_PushEvent(&e);
    }

    SDL_Window* window_;
    SDL_Renderer* renderer_ = nullptr;
};

}  // namespace

std::unique_ptr<HostWindow> HostWindow::CreateSdl(const HostWindowOptions& options, std::string* error) {
    if (!LoadSdl(error)) return nullptr;
    if (Sdl().SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = Sdl().SDL_GetError();
        return nullptr;
    }
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (options.frame != WindowFrame::Caption) flags |= SDL_WINDOW_BORDERLESS;
    SDL_Window* window = Sdl().SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          options.width, options.height, flags);
    if (!window) {
        if (error) *error = Sdl().SDL_GetError();
        Sdl().SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    return std::make_unique<SdlHostWindow>(window);
}

}  // namespace platform
