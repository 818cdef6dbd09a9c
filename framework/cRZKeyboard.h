// The keyboard as the window manager sees it: which keys (Win32 virtual-key
// numbers) are down, in the order they went down, and the modifiers they
// make (1 Shift, 2 Control, 4 Alt).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class cIGZKeyboard {
public:
    virtual void Reset() = 0;
    virtual bool IsKeyDownWith(uint32_t key, uint32_t modifiers) const = 0;
    virtual bool IsKeyDown(uint32_t key) const = 0;
    virtual bool IsKeyDownNow(uint32_t vk) const = 0;
    virtual bool IsModifierKey(uint32_t vk) const = 0;
    virtual uint32_t GetModifiers() const = 0;
    virtual bool IsToggled(uint32_t vk) const = 0;
    virtual void KeyDown(uint32_t key) = 0;
    virtual void KeyUp(uint32_t key) = 0;

protected:
    virtual ~cIGZKeyboard() = default;
};

class cRZKeyboard : public cIGZKeyboard {
public:
    enum : uint32_t { kShift = 1, kControl = 2, kAlt = 4 };
    enum : uint32_t { kVKShift = 0x10, kVKControl = 0x11, kVKMenu = 0x12 };

    cRZKeyboard() { Reset(); }
    ~cRZKeyboard() override = default;

    void Reset() override;
    bool IsKeyDownWith(uint32_t key, uint32_t modifiers) const override;
    bool IsKeyDown(uint32_t key) const override;
    // The host's live key state (not the table); false without a host window.
    bool IsKeyDownNow(uint32_t vk) const override;
    bool IsModifierKey(uint32_t vk) const override;
    uint32_t GetModifiers() const override;
    // Caps Lock and the like, from the host; false without a host window.
    bool IsToggled(uint32_t vk) const override;
    void KeyDown(uint32_t key) override;
    void KeyUp(uint32_t key) override;

    const std::vector<uint32_t>& GetKeysDown() const { return mKeysDown; }

    // The host window's live keyboard state, by virtual-key number.
    struct HostState {
        std::function<bool(uint32_t)> isDown;
        std::function<bool(uint32_t)> isToggled;
    };
    static void SetHostState(HostState state);

private:
    uint8_t mTable[256];
    std::vector<uint32_t> mKeysDown;
};
