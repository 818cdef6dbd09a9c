#include "sound/cGZSnd3D.h"

#include <algorithm>
#include <cmath>

#include "sound/cGZSnd3DListener.h"
#include "sound/cGZSndReverb.h"
#include "sound/cGZSndSys.h"

cGZSnd3D::cGZSnd3D(bool headRelative) : mbHeadRelative(headRelative) { cGZSnd::SetPriority(10); }

bool cGZSnd3D::GetPosition(float& x, float& y, float& z) {
    x = mX;
    y = mY;
    z = mZ;
    return true;
}

bool cGZSnd3D::SetPosition(float x, float y, float z) {
    mX = x;
    mY = y;
    mZ = z;
    float lx = 0, ly = 0, lz = 0;
    if (cGZSnd3DListener* listener = cGZSnd3DListener::Current()) listener->GetPosition(lx, ly, lz);
    const double dx = x - lx, dy = y - ly, dz = z - lz;
    const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double attenuation = mMaxDistance > 0 ? distance * 6000.0 / mMaxDistance : 0.0;
    mAttenuation = static_cast<int32_t>(std::min(attenuation, 1.0e9));
    // The caller's volume stays the sound's volume; the voices get less.
    return cGZSnd::SetVolume(cGZSnd::GetVolume());
}

bool cGZSnd3D::GetVelocity(float& x, float& y, float& z) {
    x = y = z = 0;
    return true;
}

bool cGZSnd3D::SetVelocity(float, float, float) { return true; }

bool cGZSnd3D::GetPositionVelocity(float& x, float& y, float& z, float& vx, float& vy, float& vz) {
    GetPosition(x, y, z);
    return GetVelocity(vx, vy, vz);
}

bool cGZSnd3D::SetPositionVelocity(float x, float y, float z, float, float, float) { return SetPosition(x, y, z); }

bool cGZSnd3D::SetDistanceScale(int32_t index) {
    static constexpr float kScale[11] = {1, 1, 10, 50, 100, 200, 500, 1000, 2000, 5000, 10000};
    index = std::clamp(index, 1, 10);
    cGZSnd3DListener* listener = cGZSnd3DListener::Current();
    const float unit = listener && listener->GetDistanceFactor() != 0 ? listener->GetDistanceFactor() : 1.0f;
    const float factor = kScale[index] / unit;
    SetMinDistance(factor);
    return SetMaxDistance(factor * 100);
}

bool cGZSnd3D::GetMinDistance(float&) { return false; }
bool cGZSnd3D::GetMaxDistance(float&) { return false; }

bool cGZSnd3D::SetMinDistance(float distance) {
    mMinDistance = distance;
    return true;
}

bool cGZSnd3D::SetMaxDistance(float distance) {
    mMaxDistance = distance;
    return true;
}

bool cGZSnd3D::SetReverbMix(int32_t level) {
    cGZSndSys* sys = cGZSndSys::Current();
    cGZSndReverb* reverb = sys ? sys->GetReverbController() : nullptr;
    return reverb && reverb->SetBufferMix(this, static_cast<float>(level) * (1.0f / 127.0f));
}
