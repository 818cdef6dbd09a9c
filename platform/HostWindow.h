// The program's one top-level window on the host desktop, with what comes
// with it: input turned into the Windows messages the framework was written
// against (posted to a message queue), mouse cursors, the clipboard and text
// composition, and a presenter that shows frames in it. The game and the
// disc launcher both use it.
//
// Two backends: SDL2 (a real window; scripted input is pushed as SDL events
// so it crosses the same translation as real input) and headless (nothing on
// screen; scripted input is translated the same way and posted directly).
//
// Input reaches the queue when the queue is read: Attach() makes the queue's
// Peek, HasInput and Wait pump the window first. Messages: key down/up
// (system keys while Alt is held without Ctrl) with virtual keys and a
// repeat count; characters of the current code page, one message per byte;
// mouse moves, buttons (double click on the second click), wheel; a
// non-client move when the pointer leaves; activation, close, paint, move;
// the composition messages.
#pragma once

#include "platform/Clipboard.h"
#include "platform/CursorFile.h"
#include "platform/MessageQueue.h"
#include "platform/Presenter.h"
#include "platform/Surface.h"
#include "platform/TextInput.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace platform {

class InputTranslator;

enum class WindowFrame {
    Caption,  // title bar and border
    Border,   // a thin border, no title bar (shown without decoration here)
    Popup,    // nothing around the client area
};

struct HostWindowOptions {
    std::string title;  // UTF-8
    int32_t width = 640;
    int32_t height = 480;
    WindowFrame frame = WindowFrame::Caption;
};

class HostWindow {
public:
    // A real SDL window (hidden until Show); nothing, with the reason, when
    // SDL's video cannot start or the window cannot be made.
    static std::unique_ptr<HostWindow> CreateSdl(const HostWindowOptions& options, std::string* error = nullptr);
    static std::unique_ptr<HostWindow> CreateHeadless(const HostWindowOptions& options);
    // SDL when a display is there (DISPLAY or WAYLAND_DISPLAY set, or an SDL
    // video driver named) and TOVA_HEADLESS is not set; headless otherwise.
    static std::unique_ptr<HostWindow> Create(const HostWindowOptions& options, std::string* error = nullptr);

    virtual ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    virtual bool IsHeadless() const = 0;

    virtual void SetTitle(const std::string& utf8) = 0;
    virtual void SetFrame(WindowFrame frame) = 0;
    virtual void SetClientSize(int32_t width, int32_t height) = 0;
    // Centres on the desktop, keeping the client area on screen.
    virtual void Center() = 0;
    virtual void Show(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    virtual void Raise() = 0;
    // Desktop full screen: the presenter keeps its logical size and scales.
    virtual bool SetFullScreen(bool on) = 0;
    virtual bool IsFullScreen() const = 0;
    // The client area in desktop coordinates.
    virtual Rect ClientRect() const = 0;
    // The pointer in client (logical) coordinates, and moving it there.
    virtual void CursorPosition(int32_t& x, int32_t& y) const;
    virtual void WarpCursor(int32_t x, int32_t y) = 0;
    // Keeps mouse events coming while a button is held outside the window.
    virtual void SetCapture(bool on) = 0;
    // A presenter for frames of this size and layout (565 or 555).
    virtual std::unique_ptr<Presenter> CreatePresenter(int32_t width, int32_t height, PixelLayout layout,
                                                       std::string* error = nullptr) = 0;

    // Input. Attach makes the queue pump this window whenever it is read;
    // Pump turns waiting host events into messages right away.
    void Attach(std::shared_ptr<MessageQueue> queue);
    void Detach();
    virtual void Pump() = 0;
    // The live key state (virtual keys, mouse buttons 1 and 2).
    bool IsKeyDown(uint32_t vk) const;
    virtual bool IsKeyToggled(uint32_t vk) const;

    // Scripted input, through the same translation as real input.
    virtual void SimulateKey(uint32_t vk, bool down, bool repeat = false) = 0;
    virtual void SimulateText(const std::string& utf8) = 0;
    virtual void SimulateComposition(const std::string& utf8, int32_t selectionStart, int32_t selectionLength) = 0;
    virtual void SimulateMouseMove(int32_t x, int32_t y) = 0;
    // button 1 left, 2 right; clicks 2 makes a double click.
    virtual void SimulateMouseButton(int button, bool down, int32_t x, int32_t y, int clicks = 1) = 0;
    virtual void SimulateWheel(int32_t notches) = 0;
    virtual void SimulateActivation(bool active) = 0;
    virtual void SimulateClose() = 0;

    // Cursors: handles from 1 up; 0 is the system arrow.
    using CursorHandle = uint32_t;
    CursorHandle LoadCursorFile(const std::string& path, std::string* error = nullptr);
    CursorHandle CreateCursor(AnimatedCursor cursor);
    void SetCursor(CursorHandle handle);
    void DestroyCursor(CursorHandle handle);
    // Idempotent: one show undoes any number of hides.
    void ShowCursor(bool shown);
    bool IsCursorShown() const { return cursorShown_; }
    CursorHandle CurrentCursor() const { return currentCursor_; }
    // The step of an animated cursor now shown (0 for a still one).
    size_t CurrentCursorStep() const { return cursorStep_; }
    // Switches animated cursor frames that are due; Pump calls it.
    void AnimateCursor(uint32_t nowMs);

    Clipboard& GetClipboard() { return clipboard_; }
    TextInput& GetTextInput() { return textInput_; }

protected:
    HostWindow();
    InputTranslator& Translator() { return *translator_; }
    const InputTranslator& Translator() const { return *translator_; }
    std::shared_ptr<MessageQueue> Queue() const { return queue_; }

    // Backend side of cursors.
    virtual void* MakeNativeCursor(const CursorImage& image) = 0;
    virtual void FreeNativeCursor(void* native) = 0;
    virtual void ApplyNativeCursor(void* native) = 0;  // null: the arrow
    virtual void ApplyCursorShown(bool shown) = 0;
    // Derived destructors call it while their backend still exists.
    void DestroyAllCursors();

    Clipboard clipboard_;
    TextInput textInput_;

private:
    struct CursorEntry {
        AnimatedCursor cursor;
        std::vector<void*> natives;  // one per frame
    };
    void ShowStep(size_t step, uint32_t nowMs);

    std::unique_ptr<InputTranslator> translator_;
    std::shared_ptr<MessageQueue> queue_;
    std::map<CursorHandle, CursorEntry> cursors_;
    CursorHandle nextCursor_ = 1;
    CursorHandle currentCursor_ = 0;
    size_t cursorStep_ = 0;
    uint32_t stepStartMs_ = 0;
    bool cursorShown_ = true;
};

}  // namespace platform
