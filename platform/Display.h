// The display as the graphic system's start-up asks about it: the list of
// display drivers, the modes each offers, the desktop mode and how much video
// memory is free. The original ran on a driver layer with several drivers,
// exclusive modes and video memory; here there is one driver (the zero
// identity, SDL's video driver as its description), the modes SDL reports
// offered at 16 bits, and the desktop reported at the depth the game asks
// for, so windowed play at 16 bits works on a 24-bit desktop.
//
// The headless display is fully settable, so start-up decisions (depth
// mismatch, missing modes, too little video memory) can be tested.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class MessageQueue;

struct DisplayMode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
    bool operator==(const DisplayMode&) const = default;
};

struct DisplayDriver {
    std::array<uint8_t, 16> guid{};  // all zero: the primary display
    std::string description;
    std::string name;
};

// The message a depth change posts to the window's queue (bits in wParam,
// the new size in lParam as height << 16 | width).
inline constexpr uint32_t kMsgDisplayChange = 0x007E;

class Display {
public:
    virtual ~Display() = default;

    // The SDL display; nothing when SDL's video cannot start.
    static std::unique_ptr<Display> CreateSdl(std::string* error = nullptr);

    virtual std::vector<DisplayDriver> Drivers() const = 0;
    // Modes of the (only) driver at 16 bits per pixel, the requested size
    // included, without repeats, largest first.
    virtual std::vector<DisplayMode> Modes(int32_t requestedWidth, int32_t requestedHeight) const = 0;
    // The desktop's size at the depth the caller asks for (see above).
    virtual DisplayMode Desktop(int32_t requestedDepth) const = 0;
    virtual uint64_t VideoMemoryFree() const = 0;
};

class HeadlessDisplay : public Display {
public:
    HeadlessDisplay();

    std::vector<DisplayDriver> Drivers() const override { return drivers_; }
    std::vector<DisplayMode> Modes(int32_t requestedWidth, int32_t requestedHeight) const override;
    DisplayMode Desktop(int32_t requestedDepth) const override;
    uint64_t VideoMemoryFree() const override { return videoMemory_; }

    // Test controls. By default: one driver "headless", a 1024x768 desktop
    // that follows the requested depth, modes 640x480 to 1024x768 at 16 bits,
    // 64 MiB of video memory.
    void SetDrivers(std::vector<DisplayDriver> drivers) { drivers_ = std::move(drivers); }
    void SetModes(std::vector<DisplayMode> modes) { modes_ = std::move(modes); }
    // A fixed desktop depth (0 = follow the request, as the SDL display does).
    void SetDesktop(int32_t width, int32_t height, int32_t fixedDepth = 0);
    void SetVideoMemoryFree(uint64_t bytes) { videoMemory_ = bytes; }
    // The desktop changes depth: the new depth is fixed and the display-change
    // message goes to the queue.
    void ChangeDepth(int32_t bitsPerPixel, MessageQueue& queue);

private:
    std::vector<DisplayDriver> drivers_;
    std::vector<DisplayMode> modes_;
    DisplayMode desktop_{1024, 768, 0};
    uint64_t videoMemory_ = 64ull << 20;
};

// The modes at 16 bits with the requested size added, without repeats,
// largest first: what both displays report.
std::vector<DisplayMode> SixteenBitModes(const std::vector<DisplayMode>& sizes, int32_t requestedWidth,
                                         int32_t requestedHeight);

}  // namespace platform
