// The input script language of the scripted programs (uidemo, the game's
// headless mode): one input event or request per line. Each line becomes a
// step; a bad line is reported with its number. A program adds verbs of its
// own, which become Extra steps carrying the verb and its words.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct InputStep {
    enum Kind {
        Move, Button, Click, DoubleClick, Wheel, Drag, Key, Char, Wait, Activate, Print, Compose, Commit, Extra,
    };
    Kind kind = Move;
    int line = 0;
    int32_t x = 0, y = 0, x1 = 0, y1 = 0;
    int button = 1;         // 1 left, 2 right
    int press = 0;          // 1 down, -1 up, 0 both
    uint32_t key = 0;       // virtual key
    int32_t ms = 0;
    bool on = true;
    std::string text;       // char, compose and commit text (UTF-8), print name, extra verb
    std::vector<std::string> words;  // an extra verb's words
};

// A program's own verbs: each checks its words and answers an error
// message, or "" when the line is good.
using InputScriptVerbs = std::map<std::string, std::function<std::string(const std::vector<std::string>& words)>>;

// The virtual key of a key name (letters, digits, named keys, f1-f12 or a
// number); 0 when unknown.
uint32_t InputKeyOfName(const std::string& name);

// Parses the script; false with "script:LINE: MESSAGE" in `error`.
bool ParseInputScript(const std::string& text, std::vector<InputStep>& steps, std::string& error,
                      const InputScriptVerbs& extraVerbs = {});
