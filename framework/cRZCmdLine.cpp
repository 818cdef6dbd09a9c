#include "framework/cRZCmdLine.h"

#include <atomic>
#include <cstring>

namespace {

std::atomic<bool> gRestricted{false};

// Every switch the game reads: the start-up's, the language switches, the
// options' "factory" and the developer switches.
const char* const kAllowedSwitches[] = {
    "nosound",      "ngh",           "factory",        "skip_intro",         "software_intro",
    "no_thread_init", "show_init_progress", "lUKEnglish", "lFrench",         "lGerman",
    "lItalian",     "lSpanish",      "lDutch",         "lSwedish",           "lPortuguese",
    "lJapanese",    "lPolish",       "lSimplifiedChinese", "lTraditionalChinese", "lThai",
    "lKorean",      "lUSEnglish",    "r1024x768",      "nodx6",              "w",
    "skip_verify",  "testmusic",     "debug_objects",  "lDanish",            "lNorwegian",
    "lFinnish",     "lHebrew",       "lRussian",       "memlog",             "memdiffNT",
    "enable_sound_trycatch", "nostacktrace", "3dhardware", "non_us_locale",  "soundguys",
    "dumpassets",   "reportassets",  "demo",           "rebuild_catalog",    "house",
    "file",         "cht",           "movie",
};
static_assert(sizeof(kAllowedSwitches) / sizeof(kAllowedSwitches[0]) == 48);

bool IsAllowedSwitch(const char* name) {
    for (const char* allowed : kAllowedSwitches)
        if (std::strcmp(allowed, name) == 0) return true;
    return false;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// An argument that begins and ends with a double quote loses both.
cRZString Unquote(const std::string& piece) {
    std::string arg = piece;
    if (!arg.empty() && arg.front() == '"' && arg.back() == '"') {
        arg.pop_back();
        if (!arg.empty()) arg.erase(0, 1);
    }
    return cRZString(arg);
}

}  // namespace

cRZCmdLine::cRZCmdLine(const char* text) : mText(text ? text : "") {
    std::string line = mText;
    while (!line.empty() && line.back() == ' ') line.pop_back();
    size_t lead = line.find_first_not_of(' ');
    line.erase(0, lead == std::string::npos ? line.size() : lead);
    if (line.empty()) return;

    size_t start = 0;
    int quotes = 0;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == '"') ++quotes;
        if ((c == ' ' || c == '\t' || c == '\n') && quotes % 2 == 0) {
            mArguments.push_back(Unquote(line.substr(start, i - start)));
            ++i;
            while (i < line.size() && line[i] == ' ') ++i;
            start = i;
            quotes = 0;
            continue;
        }
        ++i;
    }
    if (start < line.size()) mArguments.push_back(Unquote(line.substr(start)));
}

cRZString cRZCmdLine::GetArgument(int i) const {
    if (i < 0 || i >= GetCount()) return cRZString();
    return mArguments[static_cast<size_t>(i)];
}

const char* cRZCmdLine::GetArgumentText(int i) const {
    if (i < 0 || i >= GetCount()) return "";
    return mArguments[static_cast<size_t>(i)].c_str();
}

int cRZCmdLine::FindArgument(const char* text) const {
    if (!text) return -1;
    for (int i = 0; i < GetCount(); ++i)
        if (mArguments[static_cast<size_t>(i)] == text) return i;
    return -1;
}

bool cRZCmdLine::FindSwitch(const char* name, cRZString* value, bool strip) const {
    if (!name) return false;
    if (gRestricted && !IsAllowedSwitch(name)) return false;
    const size_t nameLength = std::strlen(name);
    for (const cRZString& arg : mArguments) {
        if (arg.size() < 2 || arg[0] != '-') continue;
        if (!value) {
            if (arg.compare(1, std::string::npos, name) == 0) return true;
            continue;
        }
        size_t colon = arg.find(':', 1);
        if (colon == std::string::npos) continue;
        if (colon - 1 != nameLength || arg.compare(1, nameLength, name) != 0) continue;
        std::string text = arg.substr(colon + 1);
        if (strip && !text.empty() && IsQuote(text.front()) && IsQuote(text.back())) {
            // A lone quote is both the opening and the closing one.
            text = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string();
        }
        *value = cRZString(text);
        return true;
    }
    return false;
}

void cRZCmdLine::SetSwitchRestriction(bool on) { gRestricted = on; }
bool cRZCmdLine::GetSwitchRestriction() { return gRestricted; }
