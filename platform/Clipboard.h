// The system clipboard as plain text in the current code page. The SDL
// clipboard speaks UTF-8; characters the page cannot hold become '?'. The
// headless clipboard is a string inside the process.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform {

class Clipboard {
public:
    // Nothing when the clipboard holds no text (or cannot be read).
    std::optional<std::string> GetText() const;
    bool SetText(const std::string& codePageText);

    // Backend hooks in UTF-8 (set by the SDL host window); without them the
    // text stays in this object.
    std::function<std::optional<std::string>()> readUtf8;
    std::function<bool(const std::string&)> writeUtf8;

private:
    std::optional<std::string> local_;
};

}  // namespace platform
