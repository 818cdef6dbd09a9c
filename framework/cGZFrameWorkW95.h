// The framework object that is built: the common framework plus the graphic
// system and the font service it owns, the main loop over the main thread's
// message queue, the immediate exit and the last-resort fatal-error path.
#pragma once

#include <functional>
#include <memory>

#include "framework/cGZFrameWork.h"

class cGZFrameWorkW95 : public cGZFrameWork {
public:
    cGZFrameWorkW95();
    ~cGZFrameWorkW95() override;

    cIGZSystemService* GetFontSystem() override { return mpFontSystem.get(); }
    cIGZWinMgr* GetWindowManager() override { return RZGetFrameWorkProviders().windowManager; }
    cIGZGraphicSystem* GetGraphicSystem() override { return mpGraphics.get(); }
    // Holds drawing, marks the program as shutting down, destroys the main
    // window, waits, shows "??? Unknown Exception" and ends the process with -1.
    void HandleFatalException() override;
    // Returns the display to normal and ends the process at once, without the
    // program's exit handlers.
    void Exit(int exitCode) override;
    bool Init() override;
    void Shutdown() override;
    // The main loop: until a quit it does not ignore, offers each message to
    // the application and then to the dispatcher; runs an idle step whenever
    // the queue is empty. Stores the quit's code as the exit code.
    void Run() override;

    cIGZFrameWorkGraphics& GetGraphicsObject() { return *mpGraphics; }
    // Where messages the application did not consume go (the main window's
    // procedure, once there is one).
    void SetMessageDispatcher(std::function<void(const platform::QueuedMessage&)> dispatcher) {
        mDispatcher = std::move(dispatcher);
    }
    // Hands a message to the dispatcher, as the main loop does (the window
    // manager's modal loops dispatch through it too).
    void DispatchMessage(const platform::QueuedMessage& message) {
        if (mDispatcher) mDispatcher(message);
    }
    void SetFatalExceptionDelay(uint32_t milliseconds) { mnFatalDelayMs = milliseconds; }

private:
    std::unique_ptr<cIGZFrameWorkGraphics> mpGraphics;
    std::unique_ptr<cIGZSystemService> mpFontSystem;
    std::function<void(const platform::QueuedMessage&)> mDispatcher;
    uint32_t mnFatalDelayMs = 2000;
};
