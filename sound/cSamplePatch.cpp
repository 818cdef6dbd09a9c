#include "sound/cSamplePatch.h"

#include <cctype>

#include "sound/cGZSnd3D.h"
#include "sound/cGZSndSys.h"
#include "sound/cSampleChannel.h"

cSamplePatch::cSamplePatch(std::string path) : mPath(std::move(path)) {}

bool cSamplePatch::Init() {
    LinkDefaults();
    return true;
}

bool cSamplePatch::Shutdown() {
    mRefs = 0;
    return UnloadPatch();
}

uint32_t cSamplePatch::AddRef() {
    cSoundObject::AddRef();
    if (++mRefs == 1) LoadPatch();
    return mRefs;
}

uint32_t cSamplePatch::Release() {
    if (mRefs > 0 && --mRefs == 0) UnloadPatch();
    return cSoundObject::Release();
}

bool cSamplePatch::GetName(std::string& out) const {
    out = mPath;
    return !out.empty();
}

bool cSamplePatch::LoadPatch() {
    Init();
    if (mpSound) return true;
    cGZSndSys* sys = cGZSndSys::Current();
    if (!sys) return false;
    const int32_t stream = GetVar(38) != 0 ? 1 : 0;
    if (GetVar(26) != 0) {
        mp3DSound = sys->Create3DSound(mPath.c_str(), stream, GetVar(27) != 0);
        mp3DSound->SetMinDistance(static_cast<float>(GetVar(28)));
        mp3DSound->SetMaxDistance(static_cast<float>(GetVar(29)));
        mpSound = static_cast<cGZSnd3D*>(mp3DSound)->AsSound();
    } else {
        // ".MP" and one more character: a compressed file for the media path.
        std::string tail = mPath.size() >= 4 ? mPath.substr(mPath.size() - 4) : std::string();
        for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        mbMedia = tail.compare(0, 3, ".MP") == 0;
        mpSound = mbMedia ? sys->CreateMediaSound(mPath.c_str(), stream) : sys->CreateSound(mPath.c_str(), stream);
    }
    if (GetVar(43) != 0) AddUse();
    return mpSound != nullptr;
}

bool cSamplePatch::UnloadPatch() {
    if (mUses > 0) {
        mUses = 1;
        ReleaseUse();
    }
    // The 3D face and the sound are one object, released once.
    mp3DSound = nullptr;
    if (mpSound) mpSound->Release();
    mpSound = nullptr;
    mbMedia = false;
    return true;
}

bool cSamplePatch::AddUse() {
    if (++mUses == 1 && mpSound) return mpSound->Load();
    return true;
}

bool cSamplePatch::ReleaseUse() {
    if (mUses <= 0) return false;
    if (--mUses == 0 && mpSound) return mpSound->Unload();
    return true;
}

bool cSamplePatch::AddUser() {
    ++mUsers;
    return true;
}

bool cSamplePatch::ReleaseUser() {
    if (mUsers <= 0) return false;
    --mUsers;
    return true;
}

cSampleChannel* cSamplePatch::NewChannel() {
    auto* channel = new cSampleChannel;
    channel->AddRef();
    channel->SetPatch(this);
    return channel;
}
