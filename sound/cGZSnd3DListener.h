// The listener that positional sounds are heard from. Without 3D voices it
// has no device interface: position and orientation are kept for the
// emulated distance of cGZSnd3D, and the settings a 3D device would defer
// (velocity, Doppler, roll-off) read back as 0. Distance units are presets
// of metres per unit (1 inch .. 9 kilometre) or a factor of one's own.
#pragma once

#include <atomic>
#include <cstdint>

class cGZSndSys;

class cGZSnd3DListener {
public:
    explicit cGZSnd3DListener(cGZSndSys* system);

    // The listener that 3D sounds consult (the one GetListener made).
    static cGZSnd3DListener* Current();
    static void SetCurrent(cGZSnd3DListener* listener);

    uint32_t AddRef();
    uint32_t Release();
    bool Init();
    bool Shutdown();
    bool GetPosition(float& x, float& y, float& z) const;
    bool SetPosition(float x, float y, float z);
    bool GetVelocity(float& x, float& y, float& z) const;
    bool SetVelocity(float x, float y, float z);
    bool GetOrientation(float& fx, float& fy, float& fz, float& tx, float& ty, float& tz) const;
    bool SetOrientation(float fx, float fy, float fz, float tx, float ty, float tz);
    bool GetAll(float out[12]) const;
    // Position, velocity, front, top.
    bool SetAll(const float values[12]);
    float GetDopplerFactor() const;
    bool SetDopplerFactor(float factor);
    float GetRolloffFactor() const;
    bool SetRolloffFactor(float factor);
    bool GetDistanceUnits(int32_t& preset, float& factor) const;
    float GetDistanceFactor() const { return mDistanceFactor; }
    bool SetDistanceUnits(int32_t preset, float factor);
    bool HasListener() const { return mbHasListener; }

private:
    ~cGZSnd3DListener();

    std::atomic<uint32_t> mRefCount{0};
    cGZSndSys* mpSystem;
    int32_t mDistancePreset = 7;
    float mDistanceFactor = 1.0f;
    float mPosition[3] = {0, 0, 0};
    float mFront[3] = {0, 0, 1};
    float mTop[3] = {0, 1, 0};
    bool mbHasListener = false;  // a device listener interface: none exists
};
