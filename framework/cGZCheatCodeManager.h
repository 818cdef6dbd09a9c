// The console's command registry and interpreter. Parts of the program
// register commands by name; console lines and command files are handed over
// whole, cut at ';' and run one command after the other.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <vector>

#include "framework/cCheatCommandLine.h"
#include "framework/cRZString.h"

class cIGZApp;

// A command: reads the line's words, may set its message and close flag, and
// answers false when it failed.
using CheatCallback = bool (*)(cCheatCommandLine& line, void* context);

// What the help command needs from its window (the window itself belongs
// with the window framework): a list of rows, a usage text field and a modal
// run over the main window.
class cIGZCheatHelpView {
public:
    virtual void Show() = 0;
    virtual void ClearList() = 0;
    virtual void AddRow(const cRZString& name) = 0;
    virtual void SelectRow(std::size_t row) = 0;
    virtual void SetUsageText(const cRZString& text) = 0;
    virtual void RunModal() = 0;

protected:
    virtual ~cIGZCheatHelpView() = default;
};

class cGZCheatCodeManager {
public:
    // Shows a message with a caption; in the game the application's message box.
    using MessageBox = std::function<void(const char* text, const char* caption)>;

    explicit cGZCheatCodeManager(bool restricted);
    // As the main window makes it: restricted when the application says so,
    // messages shown in the application's message box.
    explicit cGZCheatCodeManager(cIGZApp& app);
    virtual ~cGZCheatCodeManager() = default;
    cGZCheatCodeManager(const cGZCheatCodeManager&) = delete;
    cGZCheatCodeManager& operator=(const cGZCheatCodeManager&) = delete;

    void SetMessageBox(MessageBox messageBox) { mMessageBox = std::move(messageBox); }

    // Names are lower-cased. A restricted manager takes only allow-listed
    // names. A known name with a null callback is left as it is.
    void RegisterCheat(const char* name, CheatCallback callback, void* context, const char* usage);
    void UnregisterCheat(const char* name);
    bool IsRegistered(const char* name) const;

    // Runs a line of ';'-separated commands; answers the close flag of the
    // last command that ran, false when one failed or none ran.
    bool ExecuteCheatLine(const char* text);

    // The help window, once created; null takes it away again.
    void SetHelpView(cIGZCheatHelpView* view) { mHelpView = view; }
    // Fills the help list with the commands whose names contain `search`
    // (every command for null) and selects a row.
    void FillHelpList(const char* search);
    // The command shown in a row of the help list, and its usage text.
    const cRZString* GetHelpRowName(std::size_t row) const;
    const cRZString* GetUsage(const cRZString& name) const;

private:
    struct Command {
        CheatCallback callback;
        void* context;
        cRZString usage;
    };
    static bool Help(cCheatCommandLine& line, void* context);
    void Show(const char* text, const char* caption) const;
    // Runs one command; false stops the line.
    bool RunCommand(cCheatCommandLine& command);

    std::map<cRZString, Command> mCommands;
    cCheatCommandLine mPrevious;
    cIGZCheatHelpView* mHelpView = nullptr;
    bool mbRestricted;
    MessageBox mMessageBox;
    std::vector<cRZString> mHelpRows;
};
