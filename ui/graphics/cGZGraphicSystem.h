// The framework service that owns the display (service id 1000000). The
// settings are process-wide and set before the service exists: the
// requested mode, windowed or not, the screen buffer's options and the
// configured display driver. The base keeps the state, the screen rectangle
// and the drawing-hold count; cGZGraphicSystemW95 does the work.
#pragma once

#include <array>
#include <cstdint>

#include "framework/cGZFrameWorkNeighbours.h"
#include "framework/cRZRect.h"
#include "ui/graphics/cIGZWinGraphics.h"

class cGZFrameWorkW95;

class cGZGraphicSystem : public cIGZFrameWorkGraphics, public cIGZWinGraphics {
public:
    enum State : int32_t { kRunning = 0, kNotStarted = 1, kShuttingDown = 2 };

    struct Settings {
        int32_t width = 640;
        int32_t height = 480;
        int32_t bits = 16;
        bool windowed = true;
        bool keepSystemCopy = false;
        uint32_t textureReserve = 0x20000;
        uint32_t bufferCount = 1;
        uint8_t screenSetting = 1;
        std::array<uint8_t, 32> driverIdentity{};
        bool systemMemoryOnly = false;
    };
    static Settings& GetSettings();
    static void SetRequestedMode(int32_t width, int32_t height, int32_t bits);
    static void SetKeepSystemCopy(bool on);
    static void SetWindowed(bool on);
    static void SetTextureReserve(uint32_t bytes);
    static void SetDriverIdentity(const uint8_t identity[32]);
    static void SetSystemMemoryOnly(bool on);

    cGZGraphicSystem();

    // cIGZSystemService
    int32_t GetServiceID() const override { return kGZGraphicSystemServiceID; }
    void SetRunning(bool) override {}
    bool Init() override { return true; }
    bool OnTick(uint32_t) override { return true; }

    int HoldDrawing() override { return ++mnHoldCount; }
    int ReleaseDrawing() override { return --mnHoldCount; }
    int32_t GetHoldCount() const { return mnHoldCount; }
    int32_t GetState() const { return mnState; }
    const cRZRect& GetScreenRect() const { return mScreenRect; }
    void SetFramework(cGZFrameWorkW95* framework) { mpFramework = framework; }
    cGZFrameWorkW95* GetFramework() const { return mpFramework; }

protected:
    int32_t mnState = kNotStarted;
    cRZRect mScreenRect{};
    int32_t mnHoldCount = 0;
    cGZFrameWorkW95* mpFramework = nullptr;
};
