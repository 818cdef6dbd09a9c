// Text composition (input methods). The host window turns the system's
// composition events into the three composition messages (start, update,
// end); the window that draws the composition reads the current text and its
// attributes here, in the current code page: one attribute byte per text
// byte, 1 on the clause being converted, 0 elsewhere.
#pragma once

#include "platform/Surface.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

class TextInput {
public:
    // Starts and stops composition at the system (no effect headless).
    void Enable(bool on);
    bool IsEnabled() const { return enabled_; }
    // Where the system may put its own composition windows, client coordinates.
    void SetArea(const Rect& area);
    const Rect& Area() const { return area_; }

    bool IsComposing() const { return composing_; }
    const std::string& Text() const { return text_; }
    const std::vector<uint8_t>& Attributes() const { return attributes_; }

    // Fed by the host window: the composition in UTF-8 with the selected
    // clause as a character range. Returns the messages' meaning: whether a
    // composition started, and whether it is now empty (ended).
    struct Update {
        bool started = false;
        bool ended = false;
    };
    Update SetComposition(const std::string& utf8, int32_t selectionStart, int32_t selectionLength);
    // A committed text ends any composition; true when one was running.
    bool EndComposition();

    // Backend hooks (set by the SDL host window).
    std::function<void(bool)> onEnable;
    std::function<void(const Rect&)> onArea;

private:
    bool enabled_ = false;
    bool composing_ = false;
    Rect area_{};
    std::string text_;
    std::vector<uint8_t> attributes_;
};

}  // namespace platform
