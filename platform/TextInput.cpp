#include "platform/TextInput.h"

#include "platform/CodePage.h"

#include <algorithm>

namespace platform {

void TextInput::Enable(bool on) {
    enabled_ = on;
    if (onEnable) onEnable(on);
}

void TextInput::SetArea(const Rect& area) {
    area_ = area;
    if (onArea) onArea(area);
}

TextInput::Update TextInput::SetComposition(const std::string& utf8, int32_t selectionStart,
                                            int32_t selectionLength) {
    Update update;
    if (utf8.empty()) {
        update.ended = EndComposition();
        return update;
    }
    update.started = !composing_;
    composing_ = true;
    text_.clear();
    attributes_.clear();
    // Convert one character at a time so that each byte of the result knows
    // which character (and so which clause) it came from.
    const CodePage& page = CurrentCodePage();
    int32_t index = 0;
    for (size_t i = 0; i < utf8.size(); ++index) {
        size_t length = 1;
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead >= 0xF0) length = 4;
        else if (lead >= 0xE0) length = 3;
        else if (lead >= 0xC0) length = 2;
        if (i + length > utf8.size()) length = utf8.size() - i;
        const std::string bytes = page.FromUtf8(std::string_view(utf8).substr(i, length));
        const bool selected = index >= selectionStart && index < selectionStart + selectionLength;
        text_ += bytes;
        attributes_.insert(attributes_.end(), bytes.size(), selected ? 1 : 0);
        i += length;
    }
    return update;
}

void TextInput::ShowSystemComposition(bool on) {
    systemComposition_ = on;
    if (onSystemComposition) onSystemComposition(on);
}

TextInput::CandidateChange TextInput::SetCandidates(const std::vector<std::string>& utf8, int32_t selection,
                                                    int32_t pageStart, int32_t pageSize) {
    if (utf8.empty()) return ClearCandidates();
    const CodePage& page = CurrentCodePage();
    candidates_.entries.clear();
    for (const std::string& entry : utf8) candidates_.entries.push_back(page.FromUtf8(entry));
    const auto count = static_cast<int32_t>(utf8.size());
    candidates_.selection = std::clamp(selection, 0, count - 1);
    candidates_.pageStart = std::clamp(pageStart, 0, count - 1);
    candidates_.pageSize = std::max(pageSize, 0);
    const bool opened = !hasCandidates_;
    hasCandidates_ = true;
    return opened ? kCandidatesOpened : kCandidatesChanged;
}

TextInput::CandidateChange TextInput::ClearCandidates() {
    if (!hasCandidates_) return kCandidatesNone;
    hasCandidates_ = false;
    candidates_ = Candidates{};
    return kCandidatesClosed;
}

bool TextInput::EndComposition() {
    const bool was = composing_;
    composing_ = false;
    text_.clear();
    attributes_.clear();
    return was;
}

}  // namespace platform
