#include "sound/cTrackPlayer.h"

#include <algorithm>
#include <cstdlib>

#include "sound/cHitControlGroup.h"
#include "sound/cHitEngine.h"
#include "sound/cSampleChannel.h"
#include "sound/cSamplePatch.h"
#include "sound/cTrackOpcodes.h"

cTrackPlayer::cTrackPlayer(uint32_t classId, uint32_t kind) : cSoundObject(classId, kind) {
    mpEngine = cHitEngine::Current();
    LinkBanks();
}

cTrackPlayer::~cTrackPlayer() {
    // Out of the engine's walk and ducking, while that engine is still up.
    if (mpEngine && mpEngine == cHitEngine::Current()) {
        mpEngine->Deactivate(this);
        if (mpEngine->IsRunning()) mpEngine->SetDucking(this, 0);
    }
    if (mpChannel) {
        mpChannel->Shutdown();
        mpChannel->Release();
    }
    if (mpPatch) mpPatch->Release();
}

cHitEngine* cTrackPlayer::Engine() const { return mpEngine; }

void cTrackPlayer::LinkBanks() {
    LinkDefaults();
    if (mpEngine) mSecond.SetFallback(&mpEngine->SystemDefaults());
    mLocals.SetSuccessor(&mBank);
    mBank.SetSuccessor(&mSecond);
    mSecond.SetSuccessor(mpEngine ? &mpEngine->GlobalChain() : nullptr);
}

bool cTrackPlayer::Init() {
    LinkBanks();
    mTargetId = 0;
    return true;
}

bool cTrackPlayer::Shutdown() {
    Kill();
    mLocals.Fill(0);
    mBank.Fill(cHitVarBank::kUnset);
    mSecond.Fill(cHitVarBank::kUnset);
    return true;
}

cHitControlGroup* cTrackPlayer::ControlGroup() const {
    const uint32_t id = ControlGroupId();
    return id && mpEngine ? mpEngine->GetControlGroup(id) : nullptr;
}

cISoundObject* cTrackPlayer::GetTarget() {
    if (mTargetId == 0 || !mpEngine) return this;
    cISoundObject* target = mpEngine->GetObject(mTargetId);
    return target ? target : this;
}

// --- variables -------------------------------------------------------------

bool cTrackPlayer::SetVar(int32_t id, int32_t value, bool quiet) {
    cISoundObject* target = GetTarget();
    if (target != this && id != 53) {
        SetFlags(value);
        return target->SetVar(id, value, quiet);
    }
    return SetLocal(id, value, quiet);
}

int32_t cTrackPlayer::GetVar(int32_t id) {
    cISoundObject* target = GetTarget();
    return target != this ? target->GetVar(id) : GetLocal(id);
}

int32_t cTrackPlayer::GetLocal(int32_t id) const {
    if (id < 1 || id > 127) return 0;
    return mLocals.Get(id);
}

void cTrackPlayer::SetFlags(int32_t value) {
    mbZero = value == 0;
    mbPositive = value > 0;
    mbNegative = value < 0;
}

bool cTrackPlayer::SetLocal(int32_t id, int32_t value, bool quiet) {
    SetFlags(value);
    if (id < 1 || id > 127) return false;
    const bool stored = mLocals.Set(id, value);
    if (quiet) return stored;
    switch (id) {
        case 18: case 19: case 20: case 27: case 30: case 31: case 32: case 56: case 57:
            RefreshOutput();
            break;
        case 21:
            ApplyPitch();
            break;
        case 28:
        case 29:
            if (GetLocal(26) && mpChannel) {
                if (id == 28)
                    mpChannel->SetMinDistance(static_cast<float>(value));
                else
                    mpChannel->SetMaxDistance(static_cast<float>(value));
            }
            break;
        case 33:
            if (mpChannel) mpChannel->SetFilterMode(value);
            break;
        case 34:
            if (mpChannel) mpChannel->SetFilterValue(value);
            break;
        case 35:
            if (mpChannel) mpChannel->SetFilterRate(value);
            break;
        case 45:
            if (!mbRunning) mLocals.Set(45, 0);
            break;
        case 50:
            if (SetPatch(value)) {
                RefreshOutput();
                ApplyPitch();
            }
            break;
        case 53:
            mTargetId = value < 0 ? 0 : static_cast<uint32_t>(value);
            break;
        case 123:
            if (mpEngine) mpEngine->SetDucking(this, value);
            break;
        default:
            break;
    }
    return stored;
}

// --- patch, channel and output ---------------------------------------------

bool cTrackPlayer::SetPatch(int32_t id) {
    if (mpChannel) {
        mpChannel->NoteOff();
        mpChannel->Shutdown();
        mpChannel->Release();
        mpChannel = nullptr;
    }
    if (mpPatch) {
        mpPatch->Release();
        mpPatch = nullptr;
    }
    mLocals.Set(50, id);
    if (id == 0 || !mpEngine) return id == 0;
    cISoundObject* object = mpEngine->GetObject(static_cast<uint32_t>(id));
    if (!object) return false;
    auto* patch = dynamic_cast<cPatch*>(object);
    if (!patch || object->GetClassId() != kPatchClass) {
        Report("Bad Patch ID");
        return false;
    }
    patch->AddRef();
    mpPatch = patch;
    mpChannel = patch->NewChannel();
    RefreshOutput();
    ApplyPitch();
    mLocals.Set(26, patch->GetVar(26));
    return true;
}

void cTrackPlayer::RefreshOutput() {
    if (!mpChannel) return;
    if (GetLocal(26))
        mpChannel->SetPosition(GetLocal(30), GetLocal(31), GetLocal(32));
    else
        mpChannel->SetPan(GetLocal(20));
    int64_t volume = GetLocal(19);
    if (cHitControlGroup* group = ControlGroup(); group && group->Level() != 1024)
        volume = volume * group->Level() / 1024;
    const int64_t master = GetLocal(18);
    const int32_t ducking = GetLocal(123);
    const int64_t output = ducking != 0 && GetLocal(25) < ducking ? master * volume / 2048 : master * volume / 1024;
    mOutputVolume = static_cast<int32_t>(std::clamp<int64_t>(output, INT32_MIN, INT32_MAX));
    mpChannel->SetVolume(mOutputVolume);
}

int32_t cTrackPlayer::Pitch() const { return GetLocal(21) + (mpPatch ? mpPatch->GetVar(21) : 3600) - 3600; }

void cTrackPlayer::ApplyPitch() {
    if (!mpChannel || !mpPatch) return;
    mpChannel->SetPitch(Pitch());
}

void cTrackPlayer::PlayNote(int32_t note) {
    if (!mpChannel) Fail("Attempt to play note with no channel");
    if (!mpPatch) Fail("Attempt to play note with no patch");
    mpChannel->NoteOn(note);
    if (mpPatch->GetVar(38)) {
        RefreshOutput();
        ApplyPitch();
    }
    if (mpEngine) mpEngine->NotePlayed(this, GetLocal(50), Pitch(), mOutputVolume);
}

bool cTrackPlayer::SetPosition(int32_t x, int32_t y, int32_t z) {
    SetVar(30, x, true);
    SetVar(31, y, true);
    return SetVar(32, z, false);
}

bool cTrackPlayer::StopChannel() {
    if (mpChannel && mpChannel->IsRunning()) return mpChannel->NoteOff();
    return true;
}

bool cTrackPlayer::AddUse() { return !mpPatch || mpPatch->AddUse(); }
bool cTrackPlayer::ReleaseUse() { return !mpPatch || mpPatch->ReleaseUse(); }
bool cTrackPlayer::AddUser() { return !mpPatch || mpPatch->AddUser(); }
bool cTrackPlayer::ReleaseUser() { return !mpPatch || mpPatch->ReleaseUser(); }

// --- life cycle ------------------------------------------------------------

cTrackPlayer::Pointer cTrackPlayer::ProgramStart() const {
    Pointer start;
    if (mpEngine) start.bank = mpEngine->GetTrackBank(ProgramIndex(), &start.offset);
    return start;
}

bool cTrackPlayer::Start(int32_t a, int32_t b, int32_t c) {
    if (cHitControlGroup* group = ControlGroup(); group && group->Level() == 0) return false;
    mbStopWhenFaded = false;
    mLocals.Set(45, 0);
    mTargetId = 0;
    mLocals.Set(1, a);
    mLocals.Set(2, b);
    mLocals.Set(3, c);
    if (mbRunning && mbPaused) return Resume();
    if (mbRunning && GetLocal(55) == 0) return true;
    mBank.Fill(cHitVarBank::kUnset);
    mSecond.Fill(cHitVarBank::kUnset);
    for (int32_t id = 17; id <= 62; ++id)
        if (const int32_t value = TemplateValue(id); value != cHitVarBank::kUnset) mLocals.Set(id, value);
    if (GetKind() == kVolumePan) {
        mLocals.Set(19, a);
        mLocals.Set(20, b);
    } else if (GetKind() == kPositional) {
        mLocals.Set(19, b);
        mLocals.Set(20, c);
        SetSource(static_cast<uint32_t>(a));
    }
    SetPatch(GetLocal(50));
    RefreshOutput();
    ApplyPitch();
    mIp = mLoop = ProgramStart();
    mCallStack.clear();
    mOwnList.Clear();
    mCurrentList = 0;
    mWaitUntil = mpEngine ? mpEngine->Now() : 0;
    mLocals.Set(46, 1);
    mbRunning = true;
    return Pause();
}

bool cTrackPlayer::StartAndActivate(int32_t a, int32_t b, int32_t c) {
    Start(a, b, c);
    return Resume();
}

bool cTrackPlayer::Resume() {
    mbPaused = false;
    if (mbRunning) {
        if (mpChannel) mpChannel->Resume();
        mWaitUntil = mpEngine ? mpEngine->Now() : 0;
        if (mpEngine) mpEngine->Activate(this);
    }
    return true;
}

bool cTrackPlayer::Pause() {
    mbPaused = true;
    if (mbRunning) {
        if (mpChannel) mpChannel->Pause();
        if (mpEngine) mpEngine->Deactivate(this);
    }
    return true;
}

bool cTrackPlayer::Stop() {
    if (!mbRunning) return true;
    if (mpChannel && mpChannel->IsRunning()) {
        // Fade the volume out, then kill; no more instructions meanwhile.
        mLocals.Set(40, 0);
        mLocals.Set(41, 19);
        mLocals.Set(42, 100);
        mLocals.Set(45, 1);
        mbStopWhenFaded = true;
        mWaitUntil = 0;
        return true;
    }
    return Kill();
}

bool cTrackPlayer::Kill() {
    mbRunning = false;
    if (mpChannel) mpChannel->NoteOff();
    SetPatch(0);
    mbStopWhenFaded = false;
    mLocals.Set(45, 0);
    mLocals.Set(46, 0);
    mTargetId = 0;
    mIp = ProgramStart();
    mWaitUntil = 0;
    mNoteOff = 0;
    mCallStack.clear();
    if (mpEngine) {
        mpEngine->Deactivate(this);
        mpEngine->SetDucking(this, 0);
    }
    return true;
}

bool cTrackPlayer::Step() {
    if (!mbRunning) return Start(0, 0, 0);
    if (!mbPaused) return Pause();
    ExecuteOne();
    return true;
}

// --- the tick --------------------------------------------------------------

void cTrackPlayer::Tick() {
    if (!mbRunning || mbPaused || !mpEngine) return;
    if (GetLocal(45)) {
        const int32_t target = GetLocal(40);
        const int32_t faded = GetLocal(41);
        int32_t step = GetLocal(42);
        int64_t value = GetLocal(faded);
        bool ends = step == 0;
        if ((value < target) == (step < 1)) step = -step;
        value += step;
        if ((step > 0 && value >= target) || (step < 0 && value <= target)) {
            value = target;
            ends = true;
        }
        SetLocal(faded, static_cast<int32_t>(value), false);
        if (ends) mLocals.Set(45, 0);
    }
    if (mbStopWhenFaded && !GetLocal(45)) {
        Kill();
        mbStopWhenFaded = false;
        return;
    }
    const uint32_t now = mpEngine->Now();
    if (static_cast<int32_t>(now) < 0) {
        Report("Timer wrapped around while at breakpoint");
        return;
    }
    int executed = 0;
    while (mbRunning && !mbPaused && mWaitUntil != 0 && mWaitUntil <= now) {
        if (static_cast<int32_t>(mWaitUntil) < 0) {
            Report("Instruction time wrapped around while at breakpoint");
            break;
        }
        ExecuteOne();
        if (++executed >= kMaxInstructionsPerTick && mbRunning && mWaitUntil != 0 && mWaitUntil <= now) {
            Report("Too many instructions executed without wait (infinite loop?)");
            break;
        }
    }
    if (mNoteOff != 0 && mNoteOff <= mpEngine->Now()) {
        if (mpChannel) mpChannel->NoteOff();
        mNoteOff = 0;
    }
}

void cTrackPlayer::Report(const char* message) {
    if (mpEngine)
        mpEngine->ReportError(this, message);
    else
        Kill();
}

void cTrackPlayer::Fail(const std::string& message) {
    Report(message.c_str());
    throw Abort{};
}

void cTrackPlayer::FailOp(const char* operand) {
    std::string text = "TRACK ERROR: kTrackCmd";
    text += operand;
    Fail(text);
}

void cTrackPlayer::ExecuteOne() {
    try {
        mInstructionStart = mIp.offset;
        const uint8_t op = FetchByte();
        Execute(op);
    } catch (const Abort&) {
        // Reported already; the track has stopped.
    } catch (...) {
        Report("Unknown exception while executing instruction");
    }
}

uint8_t cTrackPlayer::FetchByte() {
    if (!mIp.bank || mIp.offset >= mIp.bank->size()) Fail("Illegal Instruction");
    return (*mIp.bank)[mIp.offset++];
}

int32_t cTrackPlayer::FetchLong() {
    if (!mIp.bank || mIp.bank->size() - std::min(mIp.offset, mIp.bank->size()) < 4) Fail("Illegal Instruction");
    const uint8_t* p = mIp.bank->data() + mIp.offset;
    mIp.offset += 4;
    const uint32_t value = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    if (value > 65535) Report("Funny long value");
    return static_cast<int32_t>(value);
}

int32_t cTrackPlayer::FetchRegister(const char* operand) {
    uint8_t reg = FetchByte();
    // The report stops the track: nothing of the instruction runs on.
    if (reg & 0x80) Fail("Illegal Register Id");
    if (reg == 0) FailOp(operand);
    return reg;
}

void cTrackPlayer::JumpTo(uint32_t index) {
    Pointer target;
    target.bank = mpEngine ? mpEngine->GetTrackBank(index, &target.offset) : nullptr;
    if (!target.bank) Fail("TRACK ERROR: jump to an unset program " + std::to_string(index));
    mIp = target;
}

void cTrackPlayer::RepeatIn(uint32_t ticks) {
    mIp.offset = mInstructionStart;
    mWaitUntil = mpEngine->Now() + ticks;
}

cHitList* cTrackPlayer::CurrentList() {
    if (mCurrentList == 0) return &mOwnList;
    cHitList* list = mpEngine->GetHitList(mCurrentList);
    if (!list) Fail("Undefined Hit List");
    return list;
}
