#include "ui/script/InputScript.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

namespace {

bool InputScriptToInt(const std::string& word, int32_t& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (*end != '\0' || v < -100000 || v > 100000) return false;
    value = static_cast<int32_t>(v);
    return true;
}

std::string InputScriptLower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

uint32_t InputKeyOfName(const std::string& raw) {
    const std::string name = InputScriptLower(raw);
    static const std::map<std::string, uint32_t> named = {
        {"enter", 13}, {"esc", 27}, {"tab", 9}, {"space", 32}, {"backspace", 8}, {"delete", 46},
        {"insert", 45}, {"home", 36}, {"end", 35}, {"pageup", 33}, {"pagedown", 34}, {"left", 37},
        {"right", 39}, {"up", 38}, {"down", 40}, {"shift", 16}, {"ctrl", 17}, {"alt", 18},
    };
    if (auto it = named.find(name); it != named.end()) return it->second;
    if (name.size() == 1 && std::isalpha(static_cast<unsigned char>(name[0]))) return static_cast<uint32_t>(name[0] - 'a' + 'A');
    if (name.size() == 1 && std::isdigit(static_cast<unsigned char>(name[0]))) return static_cast<uint32_t>(name[0]);
    int32_t n = 0;
    if (name.size() >= 2 && name[0] == 'f' && InputScriptToInt(name.substr(1), n) && n >= 1 && n <= 12) return 111 + n;
    if (InputScriptToInt(name, n) && n > 0 && n < 256) return static_cast<uint32_t>(n);
    return 0;
}

bool ParseInputScript(const std::string& text, std::vector<InputStep>& steps, std::string& error,
                      const InputScriptVerbs& extraVerbs) {
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    auto fail = [&](const std::string& message) {
        error = "script:" + std::to_string(number) + ": " + message;
        return false;
    };
    while (std::getline(in, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::istringstream words(raw);
        std::string verb;
        if (!(words >> verb) || verb[0] == '#') continue;
        std::vector<std::string> args;
        for (std::string w; words >> w;) args.push_back(w);
        InputStep step;
        step.line = number;
        auto points = [&](size_t count, size_t from) {
            int32_t* out[4] = {&step.x, &step.y, &step.x1, &step.y1};
            if (args.size() != from + count) return false;
            for (size_t i = 0; i < count; ++i)
                if (!InputScriptToInt(args[from + i], *out[i])) return false;
            return true;
        };
        if (verb == "move" || verb == "click" || verb == "rclick" || verb == "dblclick" || verb == "wheel") {
            if (!points(2, 0)) return fail("expected X Y");
            step.kind = verb == "move" ? InputStep::Move
                        : verb == "wheel" ? InputStep::Wheel
                        : verb == "dblclick" ? InputStep::DoubleClick
                                             : InputStep::Click;
            step.button = verb == "rclick" ? 2 : 1;
        } else if (verb == "down" || verb == "up") {
            if (args.empty() || (args[0] != "left" && args[0] != "right") || !points(2, 1))
                return fail("expected left|right X Y");
            step.kind = InputStep::Button;
            step.button = args[0] == "left" ? 1 : 2;
            step.press = verb == "down" ? 1 : -1;
        } else if (verb == "drag") {
            if (!points(4, 0)) return fail("expected X0 Y0 X1 Y1");
            step.kind = InputStep::Drag;
        } else if (verb == "key") {
            if (args.empty() || args.size() > 2) return fail("expected a key name and down|up");
            step.kind = InputStep::Key;
            step.key = InputKeyOfName(args[0]);
            if (!step.key) return fail("unknown key '" + args[0] + "'");
            if (args.size() == 2) {
                if (args[1] != "down" && args[1] != "up") return fail("expected down or up");
                step.press = args[1] == "down" ? 1 : -1;
            }
        } else if (verb == "hold" || verb == "release") {
            if (args.size() != 1 || (args[0] != "shift" && args[0] != "ctrl" && args[0] != "alt"))
                return fail("expected shift, ctrl or alt");
            step.kind = InputStep::Key;
            step.key = InputKeyOfName(args[0]);
            step.press = verb == "hold" ? 1 : -1;
        } else if (verb == "char") {
            const size_t at = raw.find("char") + 4;
            step.kind = InputStep::Char;
            step.text = at < raw.size() ? raw.substr(raw.find_first_not_of(" \t", at) == std::string::npos
                                                         ? raw.size()
                                                         : raw.find_first_not_of(" \t", at))
                                        : "";
            if (step.text.empty()) return fail("expected text");
        } else if (verb == "wait") {
            if (args.size() != 1 || !InputScriptToInt(args[0], step.ms) || step.ms < 0) return fail("expected MS");
            step.kind = InputStep::Wait;
        } else if (verb == "activate") {
            if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) return fail("expected on or off");
            step.kind = InputStep::Activate;
            step.on = args[0] == "on";
        } else if (verb == "compose" || verb == "commit") {
            // compose TEXT [CURSOR]: the clause from CURSOR (characters) to
            // the end is the one being converted. commit TEXT: the result.
            if (args.empty() || args.size() > (verb == "compose" ? 2u : 1u)) return fail("expected TEXT");
            step.kind = verb == "compose" ? InputStep::Compose : InputStep::Commit;
            step.text = args[0];
            if (args.size() == 2 && (!InputScriptToInt(args[1], step.x) || step.x < 0)) return fail("expected a cursor");
        } else if (verb == "print") {
            if (args.size() != 1) return fail("expected a window name");
            step.kind = InputStep::Print;
            step.text = args[0];
        } else if (auto extra = extraVerbs.find(verb); extra != extraVerbs.end()) {
            const std::string message = extra->second(args);
            if (!message.empty()) return fail(message);
            step.kind = InputStep::Extra;
            step.text = verb;
            step.words = args;
        } else {
            return fail("unknown command '" + verb + "'");
        }
        steps.push_back(step);
    }
    return true;
}
