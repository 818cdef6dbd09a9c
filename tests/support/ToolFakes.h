// Stand-ins for what the build tools reach above the world: a sound player
// that logs, a manual millisecond clock, a household purse and a shell that
// logs cursor and tool-tip changes. Tests and buildscript use them.
#pragma once

#include <string>
#include <vector>

#include "simulation/SoundPlayer.h"
#include "world/tools/ToolServices.h"

namespace tova_test {

class RecordingSoundPlayer : public tova::iSoundPlayer {
public:
    std::vector<std::string> played;
    RecordingSoundPlayer() : mPrevious(tova::GetSoundPlayer()) { tova::SetSoundPlayer(this); }
    ~RecordingSoundPlayer() override { tova::SetSoundPlayer(mPrevious); }
    void Play(const std::string& event, int32_t argument) override {
        played.push_back(event + " " + std::to_string(argument));
    }
    void StopSources(int32_t) override {}
    void ForgetObject(int32_t) override {}

private:
    tova::iSoundPlayer* mPrevious;
};

class ManualClock : public iMillisecondClock {
public:
    uint32_t now = 100000;
    uint32_t Milliseconds() const override { return now; }
};

class FakeMoney : public iHouseholdMoney {
public:
    int32_t money = 20000;
    std::vector<std::string> expenses;
    int32_t GetMoney() const override { return money; }
    int32_t AddToStatistic(int32_t category, int32_t amount) override {
        money -= amount;
        expenses.push_back(std::to_string(category) + ":" + std::to_string(amount));
        return 0;
    }
};

class FakeShell : public iBuildShell {
public:
    int32_t mode = 0;
    int32_t cursor = -1;
    int32_t mouseX = 0, mouseY = 0;
    std::string toolTip;  // empty while hidden
    int32_t toolTipX = 0, toolTipY = 0;
    bool ControlPanelFlag() const override { return false; }
    int32_t CurrentTool() const override { return -1; }
    int32_t PanelMode() const override { return mode; }
    void SetViewCursor(int32_t kind) override { cursor = kind; }
    void ShowToolTip(int32_t x, int32_t y, const std::string& text) override {
        toolTipX = x;
        toolTipY = y;
        toolTip = text;
    }
    void HideToolTip() override { toolTip.clear(); }
    bool GetMousePosition(int32_t& x, int32_t& y) const override {
        x = mouseX;
        y = mouseY;
        return true;
    }
};

}  // namespace tova_test
