#include "platform/SdlInput.h"

#include "platform/CodePage.h"
#include "platform/SdlLibrary.h"
#include "platform/WindowMessages.h"

#include <cstring>
#include <utility>

namespace platform {

namespace {

// SDL keys with a virtual key that is not a plain range.
constexpr std::pair<SDL_Keycode, uint32_t> kKeyTable[] = {
    {SDLK_BACKSPACE, 8},  {SDLK_TAB, 9},          {SDLK_RETURN, 13},     {SDLK_KP_ENTER, 13},
    {SDLK_LSHIFT, 16},    {SDLK_RSHIFT, 16},      {SDLK_LCTRL, 17},      {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},      {SDLK_RALT, 18},        {SDLK_PAUSE, 19},      {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},    {SDLK_SPACE, 32},       {SDLK_PAGEUP, 33},     {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},       {SDLK_HOME, 36},        {SDLK_LEFT, 37},       {SDLK_UP, 38},
    {SDLK_RIGHT, 39},     {SDLK_DOWN, 40},        {SDLK_INSERT, 45},     {SDLK_DELETE, 46},
    {SDLK_KP_0, 96},      {SDLK_KP_1, 97},        {SDLK_KP_2, 98},       {SDLK_KP_3, 99},
    {SDLK_KP_4, 100},     {SDLK_KP_5, 101},       {SDLK_KP_6, 102},      {SDLK_KP_7, 103},
    {SDLK_KP_8, 104},     {SDLK_KP_9, 105},       {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109}, {SDLK_KP_PERIOD, 110},  {SDLK_KP_DIVIDE, 111}, {SDLK_SEMICOLON, 186},
    {SDLK_EQUALS, 187},   {SDLK_COMMA, 188},      {SDLK_MINUS, 189},     {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191},    {SDLK_BACKQUOTE, 192},  {SDLK_LEFTBRACKET, 219}, {SDLK_BACKSLASH, 220},
    {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
};

// Composition ids of the last composition message's lParam.
constexpr intptr_t kCompositionFlags = kGcsCompStr | kGcsCompAttr;

}  // namespace

uint32_t VirtualKeyFromSdl(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<uint32_t>(112 + (key - SDLK_F1));
    for (const auto& [sdl, vk] : kKeyTable)
        if (sdl == key) return vk;
    return 0;
}

SDL_Keycode SdlKeyFromVirtualKey(uint32_t vk) {
    if (vk >= 'A' && vk <= 'Z') return static_cast<SDL_Keycode>(SDLK_a + (vk - 'A'));
    if (vk >= '0' && vk <= '9') return static_cast<SDL_Keycode>(SDLK_0 + (vk - '0'));
    if (vk >= 112 && vk <= 123) return static_cast<SDL_Keycode>(SDLK_F1 + (vk - 112));
    for (const auto& [sdl, v] : kKeyTable)
        if (v == vk) return sdl;
    return SDLK_UNKNOWN;
}

uint32_t InputTranslator::MouseFlags() const {
    uint32_t flags = 0;
    if (down_[kVkLButton]) flags |= kMkLButton;
    if (down_[kVkRButton]) flags |= kMkRButton;
    if (down_[kVkShift]) flags |= kMkShift;
    if (down_[kVkControl]) flags |= kMkControl;
    return flags;
}

void InputTranslator::Key(const SDL_KeyboardEvent& key, std::vector<QueuedMessage>& out) {
    const uint32_t vk = VirtualKeyFromSdl(key.keysym.sym);
    if (vk == 0) return;
    const bool down = key.state == SDL_PRESSED;
    const bool wasDown = down_[vk];
    if (down && !wasDown && vk == kVkCapital) toggled_[vk] = !toggled_[vk];
    down_[vk] = down;

    // Alt without Ctrl makes system keys (with Ctrl it is the AltGr shift).
    const bool alt = down_[kVkMenu] || (vk == kVkMenu && !down);
    const bool system = alt && !down_[kVkControl];
    uint32_t lParam = 1;
    if (alt) lParam |= kKeyAltDown;
    if (down) {
        if (key.repeat || wasDown) lParam |= kKeyWasDown;
        out.push_back({system ? kMsgSysKeyDown : kMsgKeyDown, static_cast<intptr_t>(vk), static_cast<intptr_t>(lParam)});
    } else {
        lParam |= kKeyWasDown | kKeyReleased;
        out.push_back({system ? kMsgSysKeyUp : kMsgKeyUp, static_cast<intptr_t>(vk), static_cast<intptr_t>(lParam)});
        return;
    }
    // Characters SDL does not send as text: the control keys, and
    // Ctrl+letter as 1-26.
    if (system) return;
    if (down_[kVkControl] && vk >= 'A' && vk <= 'Z') {
        out.push_back({kMsgChar, static_cast<intptr_t>(vk - 'A' + 1), 1});
    } else if (!down_[kVkControl] && (vk == kVkBack || vk == kVkTab || vk == kVkReturn || vk == kVkEscape)) {
        out.push_back({kMsgChar, static_cast<intptr_t>(vk), 1});
    }
}

void InputTranslator::Editing(const char* utf8, int32_t start, int32_t length, std::vector<QueuedMessage>& out) {
    if (!textInput_) return;
    const TextInput::Update update = textInput_->SetComposition(utf8, start, length);
    if (update.started) out.push_back({kMsgImeStartComposition, 0, 0});
    if (update.ended) {
        CloseCandidates(out);
        out.push_back({kMsgImeEndComposition, 0, 0});
    } else if (textInput_->IsComposing()) {
        out.push_back({kMsgImeComposition, 0, kCompositionFlags});
    }
}

void InputTranslator::CloseCandidates(std::vector<QueuedMessage>& out) {
    if (textInput_ && textInput_->ClearCandidates() == TextInput::kCandidatesClosed)
        out.push_back({kMsgImeNotify, TextInput::kCandidatesClosed, 0});
}

void InputTranslator::Text(const char* utf8, std::vector<QueuedMessage>& out) {
    CloseCandidates(out);
    if (textInput_ && textInput_->EndComposition()) out.push_back({kMsgImeEndComposition, 0, 0});
    // Alt+letter is a menu shortcut on the original platform, not typing.
    if (down_[kVkMenu] && !down_[kVkControl]) return;
    const std::string bytes = CurrentCodePage().FromUtf8(utf8);
    for (unsigned char c : bytes) out.push_back({kMsgChar, static_cast<intptr_t>(c), 1});
}

void InputTranslator::Mouse(uint32_t message, int32_t x, int32_t y, std::vector<QueuedMessage>& out) {
    mouseX_ = x;
    mouseY_ = y;
    out.push_back({message, static_cast<intptr_t>(MouseFlags()), PackPoint(x, y)});
}

std::vector<SDL_Event> TextInputEvents(std::string_view utf8) {
    std::vector<SDL_Event> events;
    constexpr size_t room = sizeof(SDL_TextInputEvent::text) - 1;  // its zero ends it
    while (!utf8.empty()) {
        size_t cut = std::min(room, utf8.size());
        // Back up to the start of the character the cut falls into; bytes that
        // are all continuations (not text) are cut where they must be.
        if (cut < utf8.size()) {
            size_t start = cut;
            while (start > 0 && (static_cast<unsigned char>(utf8[start]) & 0xc0) == 0x80) --start;
            if (start > 0) cut = start;
        }
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        std::memcpy(e.text.text, utf8.data(), cut);
        events.push_back(e);
        utf8.remove_prefix(cut);
    }
    return events;
}

SDL_Event CompositionEvent(const std::string& utf8, int32_t selectionStart, int32_t selectionLength) {
    SDL_Event e{};
    if (utf8.size() >= sizeof e.edit.text) {
        e.type = SDL_TEXTEDITING_EXT;
        e.editExt.text = Sdl().SDL_strdup(utf8.c_str());
        e.editExt.start = selectionStart;
        e.editExt.length = selectionLength;
    } else {
        e.type = SDL_TEXTEDITING;
        std::memcpy(e.edit.text, utf8.data(), utf8.size());
        e.edit.start = selectionStart;
        e.edit.length = selectionLength;
    }
    return e;
}

std::vector<QueuedMessage> InputTranslator::Translate(const SDL_Event& event) {
    std::vector<QueuedMessage> out;
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            Key(event.key, out);
            break;
        case SDL_TEXTINPUT:
            Text(event.text.text, out);
            break;
        case SDL_TEXTEDITING:
            Editing(event.edit.text, event.edit.start, event.edit.length, out);
            break;
        case SDL_TEXTEDITING_EXT:
            // The long form carries its text on the heap; the receiver frees it.
            Editing(event.editExt.text ? event.editExt.text : "", event.editExt.start, event.editExt.length, out);
            Sdl().SDL_free(event.editExt.text);
            break;
        case SDL_MOUSEMOTION:
            Mouse(kMsgMouseMove, event.motion.x, event.motion.y, out);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = event.button.state == SDL_PRESSED;
            const bool left = event.button.button == SDL_BUTTON_LEFT;
            if (!left && event.button.button != SDL_BUTTON_RIGHT) break;
            down_[left ? kVkLButton : kVkRButton] = down;
            uint32_t message;
            if (down) {
                const bool dbl = event.button.clicks >= 2 && event.button.clicks % 2 == 0;
                message = left ? (dbl ? kMsgLButtonDblClk : kMsgLButtonDown) : (dbl ? kMsgRButtonDblClk : kMsgRButtonDown);
            } else {
                message = left ? kMsgLButtonUp : kMsgRButtonUp;
            }
            Mouse(message, event.button.x, event.button.y, out);
            break;
        }
        case SDL_MOUSEWHEEL: {
            int32_t notches = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            const uint32_t delta = static_cast<uint32_t>(notches * 120) & 0xFFFF;
            out.push_back({kMsgMouseWheel, static_cast<intptr_t>((delta << 16) | MouseFlags()), PackPoint(mouseX_, mouseY_)});
            break;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    out.push_back({kMsgActivateApp, 1, 0});
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    // Keys held while the window loses the keyboard would stay
                    // down for ever: no key-up ever comes for them.
                    down_.fill(false);
                    out.push_back({kMsgActivateApp, 0, 0});
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    out.push_back({kMsgClose, 0, 0});
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    out.push_back({kMsgPaint, 0, 0});
                    break;
                case SDL_WINDOWEVENT_MOVED:
                    originX_ = event.window.data1;
                    originY_ = event.window.data2;
                    out.push_back({kMsgMove, 0, PackPoint(originX_, originY_)});
                    break;
                case SDL_WINDOWEVENT_LEAVE:
                    out.push_back({kMsgNcMouseMove, 0, PackPoint(originX_ + mouseX_, originY_ + mouseY_)});
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return out;
}

}  // namespace platform
