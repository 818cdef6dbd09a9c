// The track interpreter: a sound object that runs a program of a loaded
// bank, one engine tick at a time. It plays notes on its patch's channel,
// waits, loops, branches on variables, picks sounds from hit lists and
// starts other tracks. Its variables: locals 1..16 (0 at start), its own
// bank 17..47, a second bank 50..62, then the engine's globals. Every error
// is reported through the engine, which stops the track; the rest of the
// engine goes on.
#pragma once

#include <string>
#include <vector>

#include "sound/cHitList.h"
#include "sound/cSoundObject.h"

class cHitControlGroup;
class cHitEngine;
class cPatch;
class cSampleChannel;

class cTrackPlayer : public cSoundObject {
public:
    static constexpr int kMaxInstructionsPerTick = 102;
    static constexpr size_t kMaxCallDepth = 256;

    explicit cTrackPlayer(uint32_t classId = kTrackPlayerClass, uint32_t kind = kPlain);
    ~cTrackPlayer() override;

    bool Init() override;
    bool Shutdown() override;
    void Tick() override;
    bool StartAndActivate(int32_t a, int32_t b, int32_t c) override;
    bool Start(int32_t a, int32_t b, int32_t c) override;
    bool Stop() override;
    bool Kill() override;
    bool SetVolume(int32_t volume) override { return SetVar(19, volume, false); }
    bool SetPitch(int32_t cents) override { return SetVar(21, cents, false); }
    bool SetPan(int32_t pan) override { return SetVar(20, pan, false); }
    bool SetPosition(int32_t x, int32_t y, int32_t z) override;
    bool SetSetting23(int32_t value) override { return SetVar(23, value, false); }
    bool SetSetting24(int32_t value) override { return SetVar(24, value, false); }
    bool Pause() override;
    bool Resume() override;
    bool AddUse() override;
    bool ReleaseUse() override;
    bool AddUser() override;
    bool ReleaseUser() override;
    bool IsRunning() override { return mbRunning; }
    bool IsPaused() override { return mbPaused; }
    bool QueryFlag() const override { return true; }
    bool SetVar(int32_t id, int32_t value, bool quiet) override;
    int32_t GetVar(int32_t id) override;
    void RefreshOutput() override;

    bool SetLocal(int32_t id, int32_t value, bool quiet);
    int32_t GetLocal(int32_t id) const;
    // Stops the channel's sound when it plays.
    bool StopChannel();
    cISoundObject* GetTarget();
    // Single step: starts the track when it is not running; executes one
    // instruction when paused, else pauses.
    bool Step();

    bool ZeroFlag() const { return mbZero; }
    bool PositiveFlag() const { return mbPositive; }
    bool NegativeFlag() const { return mbNegative; }
    uint32_t WaitUntil() const { return mWaitUntil; }
    size_t CallDepth() const { return mCallStack.size(); }
    cHitList& OwnHitList() { return mOwnList; }
    cSampleChannel* Channel() const { return mpChannel; }
    cPatch* Patch() const { return mpPatch; }
    // The channel's pitch in cents and its last output volume.
    int32_t Pitch() const;
    int32_t OutputVolume() const { return mOutputVolume; }

protected:
    // The template values a definition gave (cTrack); kUnset where none.
    virtual int32_t TemplateValue(int32_t) const { return cHitVarBank::kUnset; }
    virtual uint32_t ProgramIndex() const { return 0; }
    virtual uint32_t ControlGroupId() const { return 0; }

private:
    struct Pointer {
        const std::vector<uint8_t>* bank = nullptr;
        size_t offset = 0;
    };
    struct Abort {};

    cHitEngine* Engine() const;
    cHitControlGroup* ControlGroup() const;
    void LinkBanks();
    bool SetPatch(int32_t id);
    void ApplyPitch();
    void PlayNote(int32_t note);
    void SetFlags(int32_t value);
    void Report(const char* message);
    [[noreturn]] void Fail(const std::string& message);
    [[noreturn]] void FailOp(const char* operand);
    Pointer ProgramStart() const;
    void JumpTo(uint32_t index);
    void RepeatIn(uint32_t ticks);
    void ExecuteOne();
    void Execute(uint8_t op);
    uint8_t FetchByte();
    int32_t FetchLong();
    int32_t FetchRegister(const char* operand);
    void Write(int32_t reg, int32_t value) { SetVar(reg, value, false); }
    cHitList* CurrentList();

    cHitEngine* mpEngine = nullptr;
    cHitVarBank mLocals{1, 16, 0};
    cHitVarBank mSecond{50, 62};
    cPatch* mpPatch = nullptr;
    cSampleChannel* mpChannel = nullptr;
    uint32_t mTargetId = 0;  // 0: the track itself
    uint32_t mNoteOff = 0;
    int32_t mOutputVolume = 0;
    uint32_t mWaitUntil = 0;
    Pointer mIp;
    Pointer mLoop;
    size_t mInstructionStart = 0;
    std::vector<Pointer> mCallStack;
    cHitList mOwnList;
    uint32_t mCurrentList = 0;  // 0: its own
    bool mbRunning = false;
    bool mbPaused = false;
    bool mbZero = false;
    bool mbPositive = false;
    bool mbNegative = false;
    bool mbStopWhenFaded = false;
};
