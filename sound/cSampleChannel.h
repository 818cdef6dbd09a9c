// What a track plays notes on: a channel over one patch's sound (and its 3D
// sound when the patch is spatial). A note rewinds the sound and plays it
// again rather than doubling it; the pitch is an absolute frequency,
// 22050 Hz x 2^((cents - 3600) / 1200), whatever the file's own rate. The
// channel holds a reference to its patch.
#pragma once

#include <atomic>
#include <string>

#include "sound/cSoundObject.h"

class cIGZSnd;
class cIGZSnd3D;
class cPatch;

class cChannel : public cSoundObject {
public:
    cChannel() : cSoundObject(kPatchClass) {}
    virtual bool NoteOn(int32_t note) = 0;
    virtual bool NoteOff() = 0;
    virtual bool SetPatch(cPatch* patch) = 0;
};

class cSampleChannel : public cChannel {
public:
    static constexpr uint32_t kBaseRate = 22050;
    static constexpr int32_t kUnchangedPitch = 3600;

    cSampleChannel() = default;

    bool Init() override { return true; }
    bool Shutdown() override { return NoteOff(); }
    bool StartAndActivate(int32_t, int32_t, int32_t) override { return NoteOn(0); }
    bool Stop() override { return NoteOff(); }
    bool Kill() override { return NoteOff(); }
    bool SetVolume(int32_t volume) override;
    bool SetPitch(int32_t cents) override;
    bool SetPan(int32_t pan) override;
    bool SetPosition(int32_t x, int32_t y, int32_t z) override;
    bool SetSetting23(int32_t) override { return true; }
    bool SetSetting24(int32_t) override { return true; }
    bool Pause() override;
    bool Resume() override;
    bool AddUse() override;
    bool ReleaseUse() override;
    bool AddUser() override;
    bool ReleaseUser() override;
    // Whether its sound plays.
    bool IsRunning() override;
    int32_t GetVar(int32_t) override { return 0; }
    bool NoteOn(int32_t note) override;
    bool NoteOff() override;
    bool SetPatch(cPatch* patch) override;
    bool SetMinDistance(float distance);
    bool SetMaxDistance(float distance);
    void SetFilterMode(int32_t mode);
    void SetFilterValue(int32_t value);
    void SetFilterRate(int32_t rate);
    cIGZSnd* GetSound() const { return mpSound; }
    cIGZSnd3D* Get3DSound() const { return mp3DSound; }

    static uint32_t FrequencyOf(int32_t cents);

    // The note trace (event-layer command 46): each note writes the file it
    // plays to the debug output.
    static void SetNoteTrace(bool on) { gNoteTrace = on; }

protected:
    ~cSampleChannel() override;

private:
    static inline std::atomic<bool> gNoteTrace{false};

    cPatch* mpPatch = nullptr;
    cIGZSnd* mpSound = nullptr;
    cIGZSnd3D* mp3DSound = nullptr;
};
