#include "platform/Clipboard.h"

#include "platform/CodePage.h"

namespace platform {

std::optional<std::string> Clipboard::GetText() const {
    if (!readUtf8) return local_;
    std::optional<std::string> utf8 = readUtf8();
    if (!utf8) return std::nullopt;
    return CurrentCodePage().FromUtf8(*utf8);
}

bool Clipboard::SetText(const std::string& codePageText) {
    if (!writeUtf8) {
        local_ = codePageText;
        return true;
    }
    return writeUtf8(CurrentCodePage().ToUtf8(codePageText));
}

}  // namespace platform
