// Text composition (input methods). The host window turns the system's
// composition events into the three composition messages (start, update,
// end); the window that draws the composition reads the current text and its
// attributes here, in the current code page: one attribute byte per text
// byte, 1 on the clause being converted, 0 elsewhere. It also keeps the
// input method's candidate list when the backend has one to give, and the
// switch that lets the system show its own composition display.
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

    // The system's own composition display (and candidate window). Off by
    // default: the program draws both itself. The setting holds headless too.
    void ShowSystemComposition(bool on);
    bool ShowsSystemComposition() const { return systemComposition_; }

    // The input method's candidate list, entries in the current code page.
    struct Candidates {
        std::vector<std::string> entries;
        int32_t selection = 0;
        int32_t pageStart = 0;
        int32_t pageSize = 0;
    };
    // What a change of the list means to the windows: the notification codes
    // of the candidate messages.
    enum CandidateChange : int32_t { kCandidatesNone = 0, kCandidatesOpened = 3, kCandidatesClosed = 4,
                                     kCandidatesChanged = 5 };
    // Fed by a backend that knows the list: entries in UTF-8. An empty list
    // closes it.
    CandidateChange SetCandidates(const std::vector<std::string>& utf8, int32_t selection, int32_t pageStart,
                                  int32_t pageSize);
    CandidateChange ClearCandidates();
    bool HasCandidates() const { return hasCandidates_; }
    const Candidates& GetCandidates() const { return candidates_; }

    // Backend hooks (set by the SDL host window).
    std::function<void(bool)> onEnable;
    std::function<void(const Rect&)> onArea;
    std::function<void(bool)> onSystemComposition;

private:
    bool enabled_ = false;
    bool composing_ = false;
    bool systemComposition_ = false;
    bool hasCandidates_ = false;
    Candidates candidates_;
    Rect area_{};
    std::string text_;
    std::vector<uint8_t> attributes_;
};

}  // namespace platform
