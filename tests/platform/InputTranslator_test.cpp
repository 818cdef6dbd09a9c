#include "platform/CodePage.h"
#include "platform/SdlInput.h"
#include "platform/WindowMessages.h"

#include <gtest/gtest.h>

#include <cstring>

namespace platform {
namespace {

SDL_Event Key(SDL_Keycode sym, bool down, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event Text(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
    return e;
}

SDL_Event Button(uint8_t button, bool down, int x, int y, int clicks = 1) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = static_cast<uint8_t>(clicks);
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event WindowEvent(SDL_WindowEventID id, int a = 0, int b = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = static_cast<uint8_t>(id);
    e.window.data1 = a;
    e.window.data2 = b;
    return e;
}

struct CodePageScope {
    explicit CodePageScope(int page) { SetCurrentCodePage(page); }
    ~CodePageScope() { SetCurrentCodePage(1252); }
};

TEST(InputTranslator, KeyTable) {
    const std::pair<SDL_Keycode, uint32_t> cases[] = {
        {SDLK_a, 65},          {SDLK_z, 90},         {SDLK_0, 48},          {SDLK_9, 57},
        {SDLK_KP_0, 96},       {SDLK_KP_9, 105},     {SDLK_F1, 112},        {SDLK_F12, 123},
        {SDLK_BACKSPACE, 8},   {SDLK_TAB, 9},        {SDLK_RETURN, 13},     {SDLK_LSHIFT, 16},
        {SDLK_RCTRL, 17},      {SDLK_LALT, 18},      {SDLK_CAPSLOCK, 20},   {SDLK_ESCAPE, 27},
        {SDLK_SPACE, 32},      {SDLK_PAGEUP, 33},    {SDLK_PAGEDOWN, 34},   {SDLK_END, 35},
        {SDLK_HOME, 36},       {SDLK_LEFT, 37},      {SDLK_UP, 38},         {SDLK_RIGHT, 39},
        {SDLK_DOWN, 40},       {SDLK_INSERT, 45},    {SDLK_DELETE, 46},     {SDLK_SEMICOLON, 186},
        {SDLK_EQUALS, 187},    {SDLK_COMMA, 188},    {SDLK_MINUS, 189},     {SDLK_PERIOD, 190},
        {SDLK_SLASH, 191},     {SDLK_BACKQUOTE, 192}, {SDLK_LEFTBRACKET, 219}, {SDLK_BACKSLASH, 220},
        {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
    };
    for (const auto& [sym, vk] : cases) {
        EXPECT_EQ(VirtualKeyFromSdl(sym), vk) << SDL_GetKeyName(sym);
        EXPECT_EQ(VirtualKeyFromSdl(SdlKeyFromVirtualKey(vk)), vk);
    }
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_AUDIOPLAY), 0u);
}

TEST(InputTranslator, KeyDownUpCarryRepeatAndTransitionBits) {
    InputTranslator t;
    auto down = t.Translate(Key(SDLK_x, true));
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].message, kMsgKeyDown);
    EXPECT_EQ(down[0].wParam, 'X');
    EXPECT_EQ(down[0].lParam, 1);
    auto again = t.Translate(Key(SDLK_x, true, true));
    EXPECT_EQ(again[0].lParam, 1 | static_cast<intptr_t>(kKeyWasDown));
    EXPECT_TRUE(t.IsKeyDown('X'));
    auto up = t.Translate(Key(SDLK_x, false));
    EXPECT_EQ(up[0].message, kMsgKeyUp);
    EXPECT_EQ(static_cast<uint32_t>(up[0].lParam), 1u | kKeyWasDown | kKeyReleased);
    EXPECT_FALSE(t.IsKeyDown('X'));
}

TEST(InputTranslator, CtrlLetterGivesControlCharacter) {
    InputTranslator t;
    t.Translate(Key(SDLK_LCTRL, true));
    auto c = t.Translate(Key(SDLK_c, true));
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].message, kMsgKeyDown);
    EXPECT_EQ(c[1].message, kMsgChar);
    EXPECT_EQ(c[1].wParam, 3);
    EXPECT_EQ(c[1].lParam, 1);
}

TEST(InputTranslator, ControlKeysGiveTheirCharacters) {
    InputTranslator t;
    for (auto [sym, ch] : {std::pair{SDLK_BACKSPACE, 8}, {SDLK_TAB, 9}, {SDLK_RETURN, 13}, {SDLK_ESCAPE, 27}}) {
        auto out = t.Translate(Key(sym, true));
        ASSERT_EQ(out.size(), 2u);
        EXPECT_EQ(out[1].message, kMsgChar);
        EXPECT_EQ(out[1].wParam, ch);
        t.Translate(Key(sym, false));
    }
}

TEST(InputTranslator, AltMakesSystemKeys) {
    InputTranslator t;
    auto alt = t.Translate(Key(SDLK_LALT, true));
    EXPECT_EQ(alt[0].message, kMsgSysKeyDown);
    auto f4 = t.Translate(Key(SDLK_F4, true));
    ASSERT_EQ(f4.size(), 1u);
    EXPECT_EQ(f4[0].message, kMsgSysKeyDown);
    EXPECT_EQ(f4[0].wParam, 115);
    EXPECT_TRUE(static_cast<uint32_t>(f4[0].lParam) & kKeyAltDown);
    EXPECT_EQ(t.Translate(Key(SDLK_F4, false))[0].message, kMsgSysKeyUp);
    EXPECT_TRUE(t.Translate(Text("f")).empty()) << "Alt+letter types nothing";
    EXPECT_EQ(t.Translate(Key(SDLK_LALT, false))[0].message, kMsgSysKeyUp);
    EXPECT_EQ(t.Translate(Key(SDLK_F4, true))[0].message, kMsgKeyDown);
}

TEST(InputTranslator, TextBecomesCodePageBytes) {
    InputTranslator t;
    {
        CodePageScope page(1252);
        auto e = t.Translate(Text("\xC3\xA9"));  // é
        ASSERT_EQ(e.size(), 1u);
        EXPECT_EQ(e[0].message, kMsgChar);
        EXPECT_EQ(e[0].wParam, 0xE9);
    }
    {
        CodePageScope page(932);
        auto a = t.Translate(Text("\xE3\x81\x82"));  // hiragana a: 0x82 0xA0
        ASSERT_EQ(a.size(), 2u);
        EXPECT_EQ(a[0].wParam, 0x82);
        EXPECT_EQ(a[1].wParam, 0xA0);
    }
}

TEST(InputTranslator, MouseButtonsFlagsAndDoubleClick) {
    InputTranslator t;
    t.Translate(Key(SDLK_LSHIFT, true));
    auto down = t.Translate(Button(SDL_BUTTON_LEFT, true, 10, 20));
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].message, kMsgLButtonDown);
    EXPECT_EQ(down[0].wParam, static_cast<intptr_t>(kMkLButton | kMkShift));
    EXPECT_EQ(PointX(down[0].lParam), 10);
    EXPECT_EQ(PointY(down[0].lParam), 20);
    auto up = t.Translate(Button(SDL_BUTTON_LEFT, false, 10, 20));
    EXPECT_EQ(up[0].message, kMsgLButtonUp);
    EXPECT_EQ(up[0].wParam, static_cast<intptr_t>(kMkShift));
    EXPECT_EQ(t.Translate(Button(SDL_BUTTON_LEFT, true, 10, 20, 2))[0].message, kMsgLButtonDblClk);
    EXPECT_EQ(t.Translate(Button(SDL_BUTTON_LEFT, true, 10, 20, 3))[0].message, kMsgLButtonDown);
    EXPECT_EQ(t.Translate(Button(SDL_BUTTON_RIGHT, true, 1, 2, 4))[0].message, kMsgRButtonDblClk);
    EXPECT_TRUE(t.Translate(Button(SDL_BUTTON_MIDDLE, true, 1, 2)).empty());

    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = -1;
    auto w = t.Translate(wheel);
    EXPECT_EQ(w[0].message, kMsgMouseWheel);
    EXPECT_EQ(static_cast<int16_t>((w[0].wParam >> 16) & 0xFFFF), -120);
}

TEST(InputTranslator, NegativePositionsKeepTheirSign) {
    InputTranslator t;
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.x = -5;
    move.motion.y = 300;
    auto m = t.Translate(move);
    EXPECT_EQ(PointX(m[0].lParam), -5);
    EXPECT_EQ(PointY(m[0].lParam), 300);
}

TEST(InputTranslator, WindowEvents) {
    InputTranslator t;
    EXPECT_EQ(t.Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED))[0].message, kMsgActivateApp);
    t.Translate(Key(SDLK_LSHIFT, true));
    auto lost = t.Translate(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(lost[0].message, kMsgActivateApp);
    EXPECT_EQ(lost[0].wParam, 0);
    EXPECT_FALSE(t.IsKeyDown(kVkShift)) << "keys held when focus goes are released";
    EXPECT_EQ(t.Translate(WindowEvent(SDL_WINDOWEVENT_CLOSE))[0].message, kMsgClose);
    EXPECT_EQ(t.Translate(WindowEvent(SDL_WINDOWEVENT_EXPOSED))[0].message, kMsgPaint);
    auto moved = t.Translate(WindowEvent(SDL_WINDOWEVENT_MOVED, 100, 50));
    EXPECT_EQ(moved[0].message, kMsgMove);
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.x = 7;
    move.motion.y = 8;
    t.Translate(move);
    auto leave = t.Translate(WindowEvent(SDL_WINDOWEVENT_LEAVE));
    EXPECT_EQ(leave[0].message, kMsgNcMouseMove);
    EXPECT_EQ(PointX(leave[0].lParam), 107) << "desktop coordinates";
    EXPECT_EQ(PointY(leave[0].lParam), 58);
}

TEST(InputTranslator, CompositionMarksTheSelectedClause) {
    CodePageScope page(932);
    TextInput input;
    InputTranslator t(&input);
    SDL_Event edit{};
    edit.type = SDL_TEXTEDITING;
    std::strcpy(edit.edit.text, "a\xE3\x81\x82" "b");  // a, hiragana a, b
    edit.edit.start = 1;
    edit.edit.length = 1;
    auto out = t.Translate(edit);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].message, kMsgImeStartComposition);
    EXPECT_EQ(out[1].message, kMsgImeComposition);
    EXPECT_EQ(out[1].lParam, static_cast<intptr_t>(kGcsCompStr | kGcsCompAttr));
    EXPECT_EQ(input.Text(), "a\x82\xA0" "b");
    EXPECT_EQ(input.Attributes(), (std::vector<uint8_t>{0, 1, 1, 0}));

    auto committed = t.Translate(Text("\xE3\x81\x82"));
    ASSERT_EQ(committed.size(), 3u);
    EXPECT_EQ(committed[0].message, kMsgImeEndComposition);
    EXPECT_EQ(committed[1].message, kMsgChar);
    EXPECT_FALSE(input.IsComposing());

    t.Translate(edit);
    SDL_Event cleared{};
    cleared.type = SDL_TEXTEDITING;
    auto end = t.Translate(cleared);
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(end[0].message, kMsgImeEndComposition);
}

// Whether every character of the text is complete.
bool WholeUtf8Characters(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t width = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (width == 0 || i + width > text.size()) return false;
        for (size_t k = 1; k < width; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += width;
    }
    return true;
}

TEST(InputTranslator, LongTextIsCutIntoEventsOfWholeCharacters) {
    const std::string hiragana = "\xE3\x81\x82";         // 3 bytes
    const std::string emoji = "\xF0\x9F\x98\x80";       // 4 bytes
    struct Case {
        const char* what;
        std::string text;
        size_t events;
    };
    std::string kana, mixed;
    for (int i = 0; i < 30; ++i) kana += hiragana;
    for (int i = 0; i < 20; ++i) mixed += "a\xC3\xA9" + emoji;  // 1 + 2 + 4 bytes
    const Case cases[] = {
        {"100 letters", std::string(100, 'x'), 4},
        {"31 letters fill one event", std::string(31, 'y'), 1},
        {"30 kana (90 bytes)", kana, 3},
        {"mixed widths", mixed, 0},
        {"nothing", "", 0},
    };
    for (const Case& c : cases) {
        const std::vector<SDL_Event> events = TextInputEvents(c.text);
        if (c.events != 0 || c.text.empty()) EXPECT_EQ(events.size(), c.events) << c.what;
        std::string joined;
        for (const SDL_Event& e : events) {
            EXPECT_EQ(e.type, SDL_TEXTINPUT) << c.what;
            const size_t size = strnlen(e.text.text, sizeof e.text.text);
            ASSERT_LT(size, sizeof e.text.text) << c.what;  // terminated
            ASSERT_GT(size, 0u) << c.what;
            // Each event starts on a character and ends on one.
            const std::string piece(e.text.text, size);
            EXPECT_TRUE(WholeUtf8Characters(piece)) << c.what;
            joined += piece;
        }
        EXPECT_EQ(joined, c.text) << c.what;
    }
}

TEST(InputTranslator, ALongCompositionArrivesWholeAndItsTextIsFreed) {
    CodePageScope page(932);
    TextInput input;
    InputTranslator t(&input);
    std::string text;
    for (int i = 0; i < 40; ++i) text += "\xE3\x81\x82";  // 120 bytes, past the short event's 32
    SDL_Event edit{};
    edit.type = SDL_TEXTEDITING_EXT;
    edit.editExt.text = SDL_strdup(text.c_str());  // the translator frees it (the leak check sees it)
    edit.editExt.start = 39;
    edit.editExt.length = 1;
    auto out = t.Translate(edit);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].message, kMsgImeComposition);
    ASSERT_EQ(input.Text().size(), 80u);  // two bytes a character in 932
    EXPECT_EQ(input.Attributes()[77], 0);
    EXPECT_EQ(input.Attributes()[78], 1);
    EXPECT_EQ(input.Attributes()[79], 1);
}

TEST(InputTranslator, CandidateListsInTheCodePageCloseWithTheComposition) {
    CodePageScope page(932);
    TextInput input;
    EXPECT_EQ(input.ClearCandidates(), TextInput::kCandidatesNone);
    EXPECT_EQ(input.SetCandidates({"\xE6\x97\xA5", "b", "c"}, 7, -2, 9), TextInput::kCandidatesOpened);
    ASSERT_TRUE(input.HasCandidates());
    EXPECT_EQ(input.GetCandidates().entries, (std::vector<std::string>{"\x93\xFA", "b", "c"}));
    EXPECT_EQ(input.GetCandidates().selection, 2);  // kept inside the list
    EXPECT_EQ(input.GetCandidates().pageStart, 0);
    EXPECT_EQ(input.GetCandidates().pageSize, 9);
    EXPECT_EQ(input.SetCandidates({"x"}, 0, 0, 0), TextInput::kCandidatesChanged);
    EXPECT_EQ(input.SetCandidates({}, 0, 0, 0), TextInput::kCandidatesClosed);
    EXPECT_FALSE(input.HasCandidates());

    // A committed text closes an open list before the composition ends.
    InputTranslator t(&input);
    SDL_Event edit{};
    edit.type = SDL_TEXTEDITING;
    std::strcpy(edit.edit.text, "\xE3\x81\x82");
    t.Translate(edit);
    input.SetCandidates({"a", "b"}, 0, 0, 0);
    auto committed = t.Translate(Text("\xE3\x81\x82"));
    ASSERT_GE(committed.size(), 2u);
    EXPECT_EQ(committed[0].message, kMsgImeNotify);
    EXPECT_EQ(committed[0].wParam, TextInput::kCandidatesClosed);
    EXPECT_EQ(committed[1].message, kMsgImeEndComposition);
    EXPECT_FALSE(input.HasCandidates());
}

TEST(InputTranslator, TheSystemCompositionDisplayIsASwitchTheBackendHears) {
    TextInput input;
    std::vector<bool> heard;
    input.onSystemComposition = [&](bool on) { heard.push_back(on); };
    EXPECT_FALSE(input.ShowsSystemComposition());
    input.ShowSystemComposition(true);
    EXPECT_TRUE(input.ShowsSystemComposition());
    input.ShowSystemComposition(false);
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
}

TEST(InputTranslator, ACommittedWordIsFourCharacterMessagesInCodePage932) {
    CodePageScope page(932);
    TextInput input;
    InputTranslator t(&input);
    SDL_Event edit{};
    edit.type = SDL_TEXTEDITING;
    std::strcpy(edit.edit.text, "\xE3\x81\xAB\xE3\x81\xBB\xE3\x82\x93");  // nihon in kana
    t.Translate(edit);
    const auto out = t.Translate(Text("\xE6\x97\xA5\xE6\x9C\xAC"));  // the word, in kanji
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[0].message, kMsgImeEndComposition);
    const intptr_t bytes[] = {0x93, 0xFA, 0x96, 0x7B};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(out[static_cast<size_t>(i) + 1].message, kMsgChar);
        EXPECT_EQ(out[static_cast<size_t>(i) + 1].wParam, bytes[i]);
    }
}

}  // namespace
}  // namespace platform
