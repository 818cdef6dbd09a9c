// A page of uidemo: a backdrop holding named windows. Every command that
// reaches the page is reported as "command CODE NAME"; a script's print asks
// the page to describe one of its windows.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "ui/cGZWin.h"

class cIGZFont;

class UiDemoPage : public cGZWin {
public:
    using Report = std::function<void(const std::string&)>;

    explicit UiDemoPage(Report report, std::string dataRoot = "")
        : mReport(std::move(report)), mDataRoot(std::move(dataRoot)) {}

    // Adds the named windows (after the page is in the tree); false with the
    // reason in `error` when something the page needs is missing.
    virtual bool Build(std::string& error) = 0;
    // What "print NAME" shows after "state NAME ": the window's screen
    // area unless the page knows better.
    virtual std::string Describe(const cGZWin& window) const;

    const std::map<std::string, cGZWin*>& Named() const { return mNamed; }
    std::string NameOf(const cGZWin* window) const;

    bool Draw(bool force) override;
    bool OnCommand(intptr_t code, intptr_t source) override;

protected:
    // The strip of that file in UIGraphics/Controls of the data root, with
    // one reference for the caller, or null with the reason in `error`.
    cGZBuffer* LoadStrip(const std::string& name, std::string& error) const;
    // The control manager's strips (kinds 0-4, the message-box frame 5 and
    // the pie menu's centre 15), its label font and its caption colours.
    bool LoadControlStrips(cIGZFont* font, std::string& error);

    Report mReport;
    std::string mDataRoot;
    std::map<std::string, cGZWin*> mNamed;
};
