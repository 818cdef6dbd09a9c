#include "framework/cCheatCommandLine.h"

cCheatCommandLine::cCheatCommandLine(const char* text) {
    if (!text) return;
    std::size_t length = 0;
    while (length < kMaxLength && text[length] != '\0') ++length;
    std::size_t i = 0;
    while (i < length) {
        while (i < length && text[i] == ' ') ++i;
        std::size_t start = i;
        while (i < length && text[i] != ' ') ++i;
        if (i == start) break;
        mTypedWords.emplace_back(text + start, i - start);
        cRZString lower(text + start, i - start);
        mWords.push_back(lower.MakeLower());
    }
}

void cCheatCommandLine::RepeatWordsOf(const cCheatCommandLine& other) {
    mWords = other.mWords;
    mTypedWords = other.mTypedWords;
    mMessage = "Unknown";
    mbClose = true;
}

void cCheatCommandLine::TakeFirstWordOf(const cCheatCommandLine& other) {
    if (other.mWords.empty() || mWords.empty()) return;
    mWords.front() = other.mWords.front();
    mTypedWords.front() = other.mTypedWords.front();
}
