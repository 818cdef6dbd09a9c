// The program's command line split into arguments, with switch lookup
// ("-name" or "-name:value"). While the switch restriction is on (the game
// turns it on first thing), only the switch names the game knows can be
// asked for.
#pragma once

#include <vector>

#include "framework/cRZString.h"

class cRZCmdLine {
public:
    cRZCmdLine() = default;
    explicit cRZCmdLine(const char* text);
    cRZCmdLine(const cRZCmdLine&) = default;
    cRZCmdLine& operator=(const cRZCmdLine&) = default;
    virtual ~cRZCmdLine() = default;

    // The i-th argument; empty outside the range.
    virtual cRZString GetArgument(int i) const;
    virtual const char* GetArgumentText(int i) const;
    virtual int GetCount() const { return static_cast<int>(mArguments.size()); }
    // Index of the first argument equal to the text (case-sensitive), -1 if none.
    virtual int FindArgument(const char* text) const;

    // Without value: true when "-name" is given (not "-name:..."). With
    // value: true when "-name:..." is given; value receives the text after
    // ':', with one pair of enclosing quotes (' or ") removed when strip.
    bool FindSwitch(const char* name, cRZString* value, bool strip) const;

    const cRZString& GetText() const { return mText; }

    static void SetSwitchRestriction(bool on);
    static bool GetSwitchRestriction();

private:
    std::vector<cRZString> mArguments;
    cRZString mText;
};
