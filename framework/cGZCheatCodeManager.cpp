#include "framework/cGZCheatCodeManager.h"

#include "framework/cGZApp.h"

#include <string>

namespace {

// The only commands a restricted (the game's own) console accepts.
const char* const kAllowed[] = {
    "autonomy",     "bubble_tweak",  "draw_all_frames", "draw_floorable", "draw_routes", "edit_grass",
    "genable",      "grid",          "grow_grass",      "history",        "interests",   "log_mask",
    "map_edit",     "move_objects",  "prepare_lot",     "preview_anims",  "brondelvix",  "rotation",
    "route_balloons", "set_hour",    "vux_log",         "zaz_speed",      "sweep",       "tile_info",
    "w",            "water_tool",    "qwimb",
};

// The longest console line taken; commands are cut from it at ';'.
constexpr std::size_t kMaxLineLength = 258;

bool IsAllowed(const cRZString& name) {
    for (const char* allowed : kAllowed)
        if (name == allowed) return true;
    return false;
}

cRZString LowerName(const char* name) {
    cRZString lower(name);
    return lower.MakeLower();
}

} // namespace

cGZCheatCodeManager::cGZCheatCodeManager(bool restricted) : mbRestricted(restricted) {
    RegisterCheat("help", &Help, this, "help [command] - shows all commands, complete, or partial match");
}

cGZCheatCodeManager::cGZCheatCodeManager(cIGZApp& app) : cGZCheatCodeManager(app.RestrictsConsole()) {
    mMessageBox = [&app](const char* text, const char* caption) { app.DoMessageBox(text, caption, 0, 0); };
}

void cGZCheatCodeManager::RegisterCheat(const char* name, CheatCallback callback, void* context, const char* usage) {
    if (!name) return;
    cRZString key = LowerName(name);
    if (mbRestricted && !IsAllowed(key)) return;
    const char* usageText = usage ? usage : "<No Usage Info Registered>";
    auto found = mCommands.find(key);
    if (found == mCommands.end())
        mCommands.emplace(key, Command{callback, context, usageText});
    else if (callback)
        found->second = Command{callback, context, usageText};
}

void cGZCheatCodeManager::UnregisterCheat(const char* name) {
    if (!name) return;
    mCommands.erase(LowerName(name));
}

bool cGZCheatCodeManager::IsRegistered(const char* name) const {
    return name && mCommands.count(LowerName(name)) != 0;
}

void cGZCheatCodeManager::Show(const char* text, const char* caption) const {
    if (mMessageBox) mMessageBox(text, caption);
}

bool cGZCheatCodeManager::ExecuteCheatLine(const char* text) {
    if (!text) return false;
    std::size_t length = 0;
    while (length < kMaxLineLength && text[length] != '\0') ++length;
    const std::string line(text, length);

    bool result = false;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find(';', start);
        if (end == std::string::npos) end = line.size();
        if (end > start) {  // a leading or doubled ';' makes no command
            cCheatCommandLine command(line.substr(start, end - start).c_str());
            if (!RunCommand(command)) return false;
            result = mPrevious.GetCloseFlag();
        }
        start = end + 1;
    }
    return result;
}

bool cGZCheatCodeManager::RunCommand(cCheatCommandLine& command) {
    if (command.GetWordCount() == 0) return false;
    if (command.GetWord(0) == "!") {
        if (mPrevious.GetWordCount() == 0) {
            Show("No previous cheat!", "Sorry");
            return false;
        }
        if (command.GetWordCount() == 1)
            command.RepeatWordsOf(mPrevious);
        else
            command.TakeFirstWordOf(mPrevious);
    }
    auto found = mCommands.find(command.GetWord(0));
    if (found == mCommands.end()) {
        Show("No such cheat!", "Sorry");
        return false;
    }
    const Command& entry = found->second;
    command.SetMessage(("Usage: " + entry.usage).c_str());
    // A name registered without a callback has nothing to run: it fails.
    if (!entry.callback || !entry.callback(command, entry.context)) {
        Show(command.GetMessage().c_str(), "Cheat Error");
        return false;
    }
    mPrevious = command;
    return true;
}

const cRZString* cGZCheatCodeManager::GetUsage(const cRZString& name) const {
    auto found = mCommands.find(name);
    return found == mCommands.end() ? nullptr : &found->second.usage;
}

const cRZString* cGZCheatCodeManager::GetHelpRowName(std::size_t row) const {
    return row < mHelpRows.size() ? &mHelpRows[row] : nullptr;
}

void cGZCheatCodeManager::FillHelpList(const char* search) {
    if (mHelpView) {
        mHelpView->Show();
        mHelpView->ClearList();
    }
    mHelpRows.clear();
    std::size_t selected = 0;  // the exact match when there is one, else the first row
    for (const auto& [name, command] : mCommands) {
        if (search && name.find(search) == cRZString::npos) continue;
        if (search && name == search) selected = mHelpRows.size();
        mHelpRows.push_back(name);
        if (mHelpView) mHelpView->AddRow(name);
    }
    if (!mHelpView) return;
    if (!mHelpRows.empty())
        mHelpView->SelectRow(selected);
    else
        mHelpView->SetUsageText("Sorry, no cheats match the search string.");
}

bool cGZCheatCodeManager::Help(cCheatCommandLine& line, void* context) {
    auto* self = static_cast<cGZCheatCodeManager*>(context);
    if (!self->mHelpView) {
        line.SetMessage("The cheat help window ptr is NULL!");
        return false;
    }
    if (line.GetWordCount() == 1) {
        self->FillHelpList(nullptr);
    } else if (line.GetWordCount() == 2) {
        self->FillHelpList(line.GetWord(1).c_str());
    } else {
        line.SetMessage("Usage: help, or help [partial command], or help [command]");
        return false;
    }
    self->mHelpView->RunModal();
    line.SetCloseFlag(false);
    return true;
}
