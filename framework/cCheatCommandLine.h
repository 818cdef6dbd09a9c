// One console command: its words (lower-cased and as typed), the message a
// command leaves for the player, and whether the console line may close.
#pragma once

#include <cstddef>
#include <vector>

#include "framework/cRZString.h"

class cCheatCommandLine {
public:
    // The longest command text taken; the rest is cut off.
    static constexpr std::size_t kMaxLength = 255;

    cCheatCommandLine() = default;
    // Cuts the text at spaces; runs of spaces make no empty words.
    explicit cCheatCommandLine(const char* text);
    virtual ~cCheatCommandLine() = default;
    cCheatCommandLine(const cCheatCommandLine&) = default;
    cCheatCommandLine& operator=(const cCheatCommandLine&) = default;

    std::size_t GetWordCount() const { return mWords.size(); }
    // Lower case; index must be below GetWordCount().
    const cRZString& GetWord(std::size_t index) const { return mWords.at(index); }
    const cRZString& GetTypedWord(std::size_t index) const { return mTypedWords.at(index); }

    void SetMessage(const char* message) { mMessage = message; }
    const cRZString& GetMessage() const { return mMessage; }

    // Cleared by a command that wants the console line to stay open.
    void SetCloseFlag(bool close) { mbClose = close; }
    bool GetCloseFlag() const { return mbClose; }

    // The words of `other` with a fresh message and close flag: how "!"
    // repeats the previous command.
    void RepeatWordsOf(const cCheatCommandLine& other);
    // Puts the first word of `other` in place of this one's first word.
    void TakeFirstWordOf(const cCheatCommandLine& other);

private:
    std::vector<cRZString> mWords;
    std::vector<cRZString> mTypedWords;
    cRZString mMessage{"Unknown"};
    bool mbClose = true;
};
