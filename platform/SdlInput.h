// Translation of SDL events into the Windows messages the framework reads.
// Internal to the platform layer (and its tests): it speaks SDL's types.
// Both host window backends feed it, the headless one with events it builds
// itself, so scripted input takes the real translation path.
#pragma once

#include "platform/MessageQueue.h"
#include "platform/TextInput.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The Windows virtual key of an SDL key (0 when it has none), and the SDL key
// that gives a virtual key (SDLK_UNKNOWN when none).
uint32_t VirtualKeyFromSdl(SDL_Keycode key);
SDL_Keycode SdlKeyFromVirtualKey(uint32_t vk);

// A typed text as the system delivers it: as many text events as it needs,
// each holding whole characters only, so that no character (and so no
// double-byte character of the code page it becomes) is split between two.
std::vector<SDL_Event> TextInputEvents(std::string_view utf8);
// A composition as one event: the long form when it does not fit the short
// one (its text is the receiver's to free).
SDL_Event CompositionEvent(const std::string& utf8, int32_t selectionStart, int32_t selectionLength);

class InputTranslator {
public:
    explicit InputTranslator(TextInput* textInput = nullptr) : textInput_(textInput) {}

    // The messages one event makes, in order (possibly none).
    std::vector<QueuedMessage> Translate(const SDL_Event& event);

    // Where the client area starts on the desktop (for the non-client move).
    void SetClientOrigin(int32_t x, int32_t y) { originX_ = x; originY_ = y; }
    bool IsKeyDown(uint32_t vk) const { return vk < 256 && down_[vk]; }
    bool IsToggled(uint32_t vk) const { return vk < 256 && toggled_[vk]; }
    int32_t MouseX() const { return mouseX_; }
    int32_t MouseY() const { return mouseY_; }

private:
    uint32_t MouseFlags() const;
    void Key(const SDL_KeyboardEvent& key, std::vector<QueuedMessage>& out);
    void Text(const char* utf8, std::vector<QueuedMessage>& out);
    void Editing(const char* utf8, int32_t start, int32_t length, std::vector<QueuedMessage>& out);
    // A list the input method showed goes with its composition.
    void CloseCandidates(std::vector<QueuedMessage>& out);
    void Mouse(uint32_t message, int32_t x, int32_t y, std::vector<QueuedMessage>& out);

    TextInput* textInput_;
    std::array<bool, 256> down_{};
    std::array<bool, 256> toggled_{};
    int32_t mouseX_ = 0, mouseY_ = 0;
    int32_t originX_ = 0, originY_ = 0;
};

}  // namespace platform
