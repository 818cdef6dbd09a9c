#include "ui/script/InputScriptPlayer.h"

#include <algorithm>
#include <memory>

#include "gamedata/FrameClock.h"
#include "platform/Clock.h"
#include "platform/HostWindow.h"
#include "platform/MessageQueue.h"

void InputScriptPlayer::AddFrames(int32_t frames) {
    for (int32_t i = 0; i < frames; ++i) AddEvent([] {});
}

void InputScriptPlayer::AddClickAt(std::function<std::pair<int32_t, int32_t>()> point) {
    auto at = std::make_shared<std::pair<int32_t, int32_t>>();
    AddEvent([this, at, point] {
        *at = point();
        mHost.SimulateMouseMove(at->first, at->second);
    });
    AddEvent([this, at] { mHost.SimulateMouseButton(1, true, at->first, at->second); });
    AddEvent([this, at] { mHost.SimulateMouseButton(1, false, at->first, at->second); });
}

void InputScriptPlayer::Add(const InputStep& s) {
    platform::HostWindow& host = mHost;
    switch (s.kind) {
        case InputStep::Move: AddEvent([&host, s] { host.SimulateMouseMove(s.x, s.y); }); break;
        case InputStep::Button:
            AddEvent([&host, s] { host.SimulateMouseButton(s.button, s.press > 0, s.x, s.y); });
            break;
        case InputStep::Click:
        case InputStep::DoubleClick:
            AddEvent([&host, s] { host.SimulateMouseMove(s.x, s.y); });
            AddEvent([&host, s] { host.SimulateMouseButton(s.button, true, s.x, s.y); });
            AddEvent([&host, s] { host.SimulateMouseButton(s.button, false, s.x, s.y); });
            if (s.kind == InputStep::DoubleClick) {
                AddEvent([&host, s] { host.SimulateMouseButton(s.button, true, s.x, s.y, 2); });
                AddEvent([&host, s] { host.SimulateMouseButton(s.button, false, s.x, s.y, 2); });
            }
            break;
        case InputStep::Wheel:
            AddEvent([&host, s] { host.SimulateMouseMove(s.x, s.y); });
            AddEvent([&host] { host.SimulateWheel(1); });
            break;
        case InputStep::Drag:
            AddEvent([&host, s] { host.SimulateMouseMove(s.x, s.y); });
            AddEvent([&host, s] { host.SimulateMouseButton(1, true, s.x, s.y); });
            for (int i = 1; i <= 8; ++i) {
                const int32_t x = s.x + (s.x1 - s.x) * i / 8, y = s.y + (s.y1 - s.y) * i / 8;
                AddEvent([&host, x, y] { host.SimulateMouseMove(x, y); });
            }
            AddEvent([&host, s] { host.SimulateMouseButton(1, false, s.x1, s.y1); });
            break;
        case InputStep::Key:
            if (s.press >= 0) AddEvent([&host, s] { host.SimulateKey(s.key, true); });
            if (s.press <= 0) AddEvent([&host, s] { host.SimulateKey(s.key, false); });
            break;
        case InputStep::Char:
        case InputStep::Commit: AddEvent([&host, s] { host.SimulateText(s.text); }); break;
        case InputStep::Compose: {
            int32_t characters = 0;
            for (unsigned char c : s.text) characters += (c & 0xC0) != 0x80;
            const int32_t cursor = std::min(s.x, characters);
            AddEvent([&host, s, cursor, characters] {
                host.SimulateComposition(s.text, cursor, characters - cursor);
            });
            break;
        }
        case InputStep::Wait:
            for (int32_t t = 0; t < s.ms; t += static_cast<int32_t>(mFrameMs)) AddEvent([] {});
            break;
        case InputStep::Activate: AddEvent([&host, s] { host.SimulateActivation(s.on); }); break;
        case InputStep::Print:
            AddPrint([this, name = s.text] {
                if (mPrinter) mPrinter(name);
            });
            break;
        case InputStep::Extra:
            if (mExtra) mExtra(s, *this);
            break;
    }
}

void InputScriptPlayer::OnFrame() {
    FrameClock::Global().TickAt(platform::TimeMs());
    if (mbStarted) platform::AdvanceManualClock(mFrameMs);
    mbStarted = true;
    for (auto& print : mPendingPrints) print();
    mPendingPrints.clear();
    while (mNext < mActions.size() && mActions[mNext].isPrint) mPendingPrints.push_back(mActions[mNext++].run);
    if (!mPendingPrints.empty()) return;
    if (mNext < mActions.size()) {
        mActions[mNext++].run();
        return;
    }
    if (!mbQuitting) platform::MessageQueue::Current()->PostQuit(0);
    mbQuitting = true;
}
