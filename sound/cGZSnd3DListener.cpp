#include "sound/cGZSnd3DListener.h"

#include <atomic>

#include "sound/cGZSndSys.h"

namespace {

std::atomic<cGZSnd3DListener*> gListener{nullptr};

}  // namespace

cGZSnd3DListener::cGZSnd3DListener(cGZSndSys* system) : mpSystem(system) {}

cGZSnd3DListener::~cGZSnd3DListener() {
    cGZSnd3DListener* self = this;
    gListener.compare_exchange_strong(self, nullptr);
}

cGZSnd3DListener* cGZSnd3DListener::Current() { return gListener; }
void cGZSnd3DListener::SetCurrent(cGZSnd3DListener* listener) { gListener = listener; }

uint32_t cGZSnd3DListener::AddRef() { return ++mRefCount; }

uint32_t cGZSnd3DListener::Release() {
    const uint32_t count = mRefCount == 0 ? 0 : --mRefCount;
    if (count == 0) delete this;
    return count;
}

bool cGZSnd3DListener::Init() {
    // The mixer offers no listener interface: the flag stays clear and the
    // stored values are all there is.
    mbHasListener = false;
    if (!mpSystem) return true;
    return SetDistanceUnits(mDistancePreset, mDistanceFactor);
}

bool cGZSnd3DListener::Shutdown() { return true; }

bool cGZSnd3DListener::GetPosition(float& x, float& y, float& z) const {
    x = mPosition[0];
    y = mPosition[1];
    z = mPosition[2];
    return true;
}

bool cGZSnd3DListener::SetPosition(float x, float y, float z) {
    mPosition[0] = x;
    mPosition[1] = y;
    mPosition[2] = z;
    return true;
}

bool cGZSnd3DListener::GetVelocity(float& x, float& y, float& z) const {
    x = y = z = 0;
    return true;
}

bool cGZSnd3DListener::SetVelocity(float, float, float) { return true; }

bool cGZSnd3DListener::GetOrientation(float& fx, float& fy, float& fz, float& tx, float& ty, float& tz) const {
    fx = mFront[0];
    fy = mFront[1];
    fz = mFront[2];
    tx = mTop[0];
    ty = mTop[1];
    tz = mTop[2];
    return true;
}

bool cGZSnd3DListener::SetOrientation(float fx, float fy, float fz, float tx, float ty, float tz) {
    mFront[0] = fx;
    mFront[1] = fy;
    mFront[2] = fz;
    mTop[0] = tx;
    mTop[1] = ty;
    mTop[2] = tz;
    return true;
}

bool cGZSnd3DListener::GetAll(float out[12]) const {
    GetPosition(out[0], out[1], out[2]);
    GetVelocity(out[3], out[4], out[5]);
    return GetOrientation(out[6], out[7], out[8], out[9], out[10], out[11]);
}

bool cGZSnd3DListener::SetAll(const float v[12]) {
    SetPosition(v[0], v[1], v[2]);
    return SetOrientation(v[6], v[7], v[8], v[9], v[10], v[11]);
}

float cGZSnd3DListener::GetDopplerFactor() const { return 0; }
bool cGZSnd3DListener::SetDopplerFactor(float) { return true; }
float cGZSnd3DListener::GetRolloffFactor() const { return 0; }
bool cGZSnd3DListener::SetRolloffFactor(float) { return true; }

bool cGZSnd3DListener::GetDistanceUnits(int32_t& preset, float& factor) const {
    preset = mDistancePreset;
    factor = mDistanceFactor;
    return true;
}

bool cGZSnd3DListener::SetDistanceUnits(int32_t preset, float factor) {
    // Metres per unit of the presets 1..9; any other keeps the given factor.
    static constexpr float kMetresPerUnit[10] = {0, 0.0254f, 0.3048f, 0.9144f, 1609.34f, 0.01f, 0.1f, 1.0f, 10.0f,
                                                 1000.0f};
    if (preset >= 1 && preset <= 9) factor = kMetresPerUnit[preset];
    mDistancePreset = preset;
    mDistanceFactor = factor;
    return true;
}
