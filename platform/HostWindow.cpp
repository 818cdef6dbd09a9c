#include "platform/HostWindow.h"

#include "platform/Clock.h"
#include "platform/SdlInput.h"
#include "platform/SdlLibrary.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace platform {

HostWindow::HostWindow() : translator_(std::make_unique<InputTranslator>(&textInput_)) {}

HostWindow::~HostWindow() { Detach(); }

std::unique_ptr<HostWindow> HostWindow::Create(const HostWindowOptions& options, std::string* error) {
    const char* headless = std::getenv("TOVA_HEADLESS");
    const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("SDL_VIDEODRIVER");
    if ((headless && *headless && std::strcmp(headless, "0") != 0) || !display) return CreateHeadless(options);
    return CreateSdl(options, error);
}

void HostWindow::CursorPosition(int32_t& x, int32_t& y) const {
    x = translator_->MouseX();
    y = translator_->MouseY();
}

void HostWindow::Attach(std::shared_ptr<MessageQueue> queue) {
    Detach();
    queue_ = std::move(queue);
    if (queue_) queue_->SetInputSource([this] { Pump(); });
}

void HostWindow::Detach() {
    if (queue_) queue_->SetInputSource(nullptr);
    queue_.reset();
}

bool HostWindow::IsKeyDown(uint32_t vk) const { return translator_->IsKeyDown(vk); }

bool HostWindow::IsKeyToggled(uint32_t vk) const { return translator_->IsToggled(vk); }

HostWindow::CursorHandle HostWindow::LoadCursorFile(const std::string& path, std::string* error) {
    auto cursor = LoadCursorPath(path, error);
    if (!cursor) return 0;
    return CreateCursor(std::move(*cursor));
}

HostWindow::CursorHandle HostWindow::CreateCursor(AnimatedCursor cursor) {
    if (cursor.frames.empty() || cursor.steps.empty()) return 0;
    CursorEntry entry;
    // A frame the system cannot make into a cursor (a video driver without
    // cursors) shows the arrow instead; the handle stays good.
    for (const CursorImage& frame : cursor.frames) entry.natives.push_back(MakeNativeCursor(frame));
    entry.cursor = std::move(cursor);
    const CursorHandle handle = nextCursor_++;
    cursors_.emplace(handle, std::move(entry));
    return handle;
}

void HostWindow::ShowStep(size_t step, uint32_t nowMs) {
    cursorStep_ = step;
    stepStartMs_ = nowMs;
    auto it = cursors_.find(currentCursor_);
    if (it == cursors_.end()) {
        ApplyNativeCursor(nullptr);
        return;
    }
    ApplyNativeCursor(it->second.natives[it->second.cursor.steps[step].frame]);
}

void HostWindow::SetCursor(CursorHandle handle) {
    if (!cursors_.count(handle)) handle = 0;
    if (handle == currentCursor_) return;
    currentCursor_ = handle;
    ShowStep(0, TimeMs());
}

void HostWindow::DestroyCursor(CursorHandle handle) {
    auto it = cursors_.find(handle);
    if (it == cursors_.end()) return;
    if (currentCursor_ == handle) {
        currentCursor_ = 0;
        ShowStep(0, TimeMs());
    }
    for (void* native : it->second.natives) FreeNativeCursor(native);
    cursors_.erase(it);
}

void HostWindow::DestroyAllCursors() {
    currentCursor_ = 0;
    for (auto& [handle, entry] : cursors_)
        for (void* native : entry.natives) FreeNativeCursor(native);
    cursors_.clear();
}

void HostWindow::ShowCursor(bool shown) {
    if (shown == cursorShown_) return;
    cursorShown_ = shown;
    ApplyCursorShown(shown);
}

void HostWindow::AnimateCursor(uint32_t nowMs) {
    auto it = cursors_.find(currentCursor_);
    if (it == cursors_.end() || it->second.cursor.steps.size() < 2) return;
    const auto& steps = it->second.cursor.steps;
    // Jiffies are sixtieths of a second; a zero rate still moves on.
    const uint32_t due = std::max<uint32_t>(1, steps[cursorStep_].jiffies * 1000 / 60);
    if (nowMs - stepStartMs_ >= due) ShowStep((cursorStep_ + 1) % steps.size(), nowMs);
}

namespace {

class HeadlessHostWindow : public HostWindow {
public:
    explicit HeadlessHostWindow(const HostWindowOptions& options)
        : title_(options.title), width_(options.width), height_(options.height) {}
    ~HeadlessHostWindow() override { DestroyAllCursors(); }

    bool IsHeadless() const override { return true; }
    void SetTitle(const std::string& utf8) override { title_ = utf8; }
    void SetFrame(WindowFrame) override {}
    void SetClientSize(int32_t width, int32_t height) override {
        width_ = width;
        height_ = height;
    }
    void Center() override {}
    void Show(bool visible) override { visible_ = visible; }
    bool IsVisible() const override { return visible_; }
    void Raise() override {}
    bool SetFullScreen(bool on) override {
        fullScreen_ = on;
        return true;
    }
    bool IsFullScreen() const override { return fullScreen_; }
    Rect ClientRect() const override { return {0, 0, width_, height_}; }
    void WarpCursor(int32_t x, int32_t y) override { SimulateMouseMove(x, y); }
    void SetCapture(bool) override {}
    std::unique_ptr<Presenter> CreatePresenter(int32_t width, int32_t height, PixelLayout layout,
                                               std::string* error) override {
        auto presenter = HeadlessPresenter::Create(width, height, layout);
        if (!presenter && error) *error = "no presenter for that size or layout";
        return presenter;
    }

    // Scripted events are translated at once.
    void Pump() override { AnimateCursor(TimeMs()); }

    void SimulateKey(uint32_t vk, bool down, bool repeat) override {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.sym = SdlKeyFromVirtualKey(vk);
        Feed(e);
    }
    void SimulateText(const std::string& utf8) override {
        for (const SDL_Event& e : TextInputEvents(utf8)) Feed(e);
    }
    void SimulateComposition(const std::string& utf8, int32_t start, int32_t length) override {
        // Long text takes the extended event, as the system sends it.
        Feed(CompositionEvent(utf8, start, length));
    }
    void SimulateMouseMove(int32_t x, int32_t y) override {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        Feed(e);
    }
    void SimulateMouseButton(int button, bool down, int32_t x, int32_t y, int clicks) override {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = static_cast<uint8_t>(button == 2 ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT);
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = static_cast<uint8_t>(clicks);
        e.button.x = x;
        e.button.y = y;
        Feed(e);
    }
    void SimulateWheel(int32_t notches) override {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = notches;
        Feed(e);
    }
    void SimulateActivation(bool active) override { Window(active ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST); }
    void SimulateClose() override { Window(SDL_WINDOWEVENT_CLOSE); }

protected:
    // Headless cursors need no native object; a non-null token marks them.
    void* MakeNativeCursor(const CursorImage&) override { return this; }
    void FreeNativeCursor(void*) override {}
    void ApplyNativeCursor(void*) override {}
    void ApplyCursorShown(bool) override {}

private:
    void Window(SDL_WindowEventID id) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = static_cast<uint8_t>(id);
        Feed(e);
    }
    void Feed(const SDL_Event& e) {
        auto queue = Queue();
        for (const QueuedMessage& m : Translator().Translate(e))
            if (queue) queue->Post(m.message, m.wParam, m.lParam);
    }

    std::string title_;
    int32_t width_, height_;
    bool visible_ = false;
    bool fullScreen_ = false;
};

}  // namespace

std::unique_ptr<HostWindow> HostWindow::CreateHeadless(const HostWindowOptions& options) {
    return std::make_unique<HeadlessHostWindow>(options);
}

}  // namespace platform
