// A patch names one sound file and owns the framework sound made from it:
// a 3D sound when its variable 26 (spatial) is set, a media sound when the
// path ends in ".MP" and one more character (".mp3"), else a plain sound.
// Its settings are variables of its own bank: 44 loop, 38 stream, 43
// preload, 26 spatial, 27 the 3D sound's head-relative flag, 28 / 29 the 3D
// minimum / maximum distance. The first reference loads the patch, the last
// unloads it; uses load and unload the sound's data.
#pragma once

#include <string>

#include "sound/cSoundObject.h"

class cIGZSnd;
class cIGZSnd3D;
class cSampleChannel;

class cPatch : public cSoundObject {
public:
    cPatch() : cSoundObject(kPatchClass) {}
    virtual bool GetName(std::string& out) const = 0;
    virtual cIGZSnd* GetSound() const = 0;
    virtual cIGZSnd3D* Get3DSound() const = 0;
    // A new channel with one reference.
    virtual cSampleChannel* NewChannel() = 0;
    virtual bool LoadPatch() = 0;
    virtual bool UnloadPatch() = 0;
};

class cSamplePatch : public cPatch {
public:
    explicit cSamplePatch(std::string path);

    bool Init() override;
    bool Shutdown() override;
    // Nothing attaches another object to a patch: these do nothing.
    bool SetVolume(int32_t) override { return true; }
    bool SetPitch(int32_t) override { return true; }
    bool SetPan(int32_t) override { return true; }
    bool SetPosition(int32_t, int32_t, int32_t) override { return true; }
    bool SetSetting23(int32_t) override { return true; }
    bool SetSetting24(int32_t) override { return true; }
    bool Stop() override { return true; }
    bool Kill() override { return true; }
    bool Pause() override { return true; }
    bool Resume() override { return true; }
    bool AddUse() override;
    bool ReleaseUse() override;
    bool AddUser() override;
    bool ReleaseUser() override;
    uint32_t AddRef() override;
    uint32_t Release() override;
    bool GetName(std::string& out) const override;
    cIGZSnd* GetSound() const override { return mpSound; }
    cIGZSnd3D* Get3DSound() const override { return mp3DSound; }
    cSampleChannel* NewChannel() override;
    bool LoadPatch() override;
    bool UnloadPatch() override;

    bool IsMediaSound() const { return mbMedia; }
    int32_t UseCount() const { return mUses; }
    int32_t UserCount() const { return mUsers; }

private:
    std::string mPath;
    cIGZSnd* mpSound = nullptr;
    cIGZSnd3D* mp3DSound = nullptr;
    bool mbMedia = false;
    int32_t mUses = 0;
    int32_t mUsers = 0;
    uint32_t mRefs = 0;
};
