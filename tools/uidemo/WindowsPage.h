// The "windows" page of uidemo: a backdrop holding named windows side by
// side, each showing one behaviour of the window framework. Clicks on a
// named window send its command to the page, which reports every command
// that reaches it.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "ui/cGZWin.h"

class WindowsPage : public cGZWin {
public:
    using Report = std::function<void(const std::string&)>;

    explicit WindowsPage(Report report) : mReport(std::move(report)) {}

    // Adds the named windows (after the page is in the tree).
    void Build();
    const std::map<std::string, cGZWin*>& Named() const { return mNamed; }
    std::string NameOf(const cGZWin* window) const;

    bool Draw(bool force) override;
    bool OnCommand(intptr_t code, intptr_t source) override;

private:
    Report mReport;
    std::map<std::string, cGZWin*> mNamed;
};
