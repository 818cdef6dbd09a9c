// Plays an input script from the framework's frame step: each frame sends
// one input event to the host window (or prints), and the framework's loop,
// or a modal loop inside it, dispatches it before the next frame. The manual
// clock moves one frame (10 ms by default) per frame; a wait is that many
// frames without events. After the last step the program is asked to quit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/script/InputScript.h"

namespace platform {
class HostWindow;
}

class InputScriptPlayer {
public:
    using Action = std::function<void()>;

    InputScriptPlayer(platform::HostWindow& host, uint32_t frameMs = 10) : mHost(host), mFrameMs(frameMs) {}

    // "print NAME" calls this at the start of the frame after the events
    // before it were delivered.
    void SetPrinter(std::function<void(const std::string& name)> printer) { mPrinter = std::move(printer); }
    // An extra verb's step: the handler queues what it stands for with
    // AddEvent, AddPrint and AddFrames.
    void SetExtraHandler(std::function<void(const InputStep& step, InputScriptPlayer& player)> handler) {
        mExtra = std::move(handler);
    }

    void Add(const InputStep& step);
    // One frame that runs `event`.
    void AddEvent(Action event) { mActions.push_back({std::move(event), false}); }
    // Runs `print` at the start of the next frame, as print does.
    void AddPrint(Action print) { mActions.push_back({std::move(print), true}); }
    // `frames` frames without input.
    void AddFrames(int32_t frames);
    // A left click: move, press, release, each a frame; the point is asked
    // for when the move goes out.
    void AddClickAt(std::function<std::pair<int32_t, int32_t>()> point);

    // The frame step's hook.
    void OnFrame();
    bool Finished() const { return mbQuitting; }
    uint32_t FrameMs() const { return mFrameMs; }

private:
    struct Step {
        Action run;
        bool isPrint = false;
    };

    platform::HostWindow& mHost;
    uint32_t mFrameMs;
    std::function<void(const std::string&)> mPrinter;
    std::function<void(const InputStep&, InputScriptPlayer&)> mExtra;
    std::vector<Step> mActions;
    size_t mNext = 0;
    std::vector<Action> mPendingPrints;
    bool mbStarted = false;
    bool mbQuitting = false;
};
