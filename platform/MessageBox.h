// Message boxes of a program without a window of its own to own them: the
// SDL one when a display is there, else the text on standard error. A
// program's headless mode records them instead of calling this.
#pragma once

#include <string>

namespace platform {

// Shows a modal warning with an OK button and waits for it; UTF-8 texts.
void ShowWarningBox(const std::string& title, const std::string& text);

}  // namespace platform
