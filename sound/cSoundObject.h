// The common part of every sound object: the class id, the id, the kind,
// the reference count, the source (the game object a positional sound
// belongs to) and the object's own variables 17..47, which fall back to the
// engine's system defaults.
#pragma once

#include <atomic>

#include "sound/cHitVarBank.h"
#include "sound/cISoundObject.h"

class cSoundObject : public cISoundObject {
public:
    explicit cSoundObject(uint32_t classId, uint32_t kind = kPlain);

    uint32_t GetClassId() const override { return mClassId; }
    void SetId(uint32_t id) override { mId = id; }
    uint32_t GetId() const override { return mId; }
    uint32_t GetWord() const override { return mWord; }
    void Tick() override {}
    void SetSource(uint32_t source) override { mSource = source; }
    uint32_t GetSource() const override { return mSource; }
    uint32_t GetKind() const override { return mKind; }
    bool StartAndActivate(int32_t, int32_t, int32_t) override { return false; }
    bool Start(int32_t, int32_t, int32_t) override { return false; }
    bool NoOperation(int32_t, int32_t, int32_t) override { return true; }
    bool IsRunning() override { return false; }
    bool IsPaused() override { return false; }
    uint32_t AddRef() override;
    uint32_t Release() override;
    bool QueryFlag() const override { return false; }
    bool SetVar(int32_t id, int32_t value, bool quiet) override;
    int32_t GetVar(int32_t id) override;
    bool DescribeLocation(std::string&, int32_t&) override { return false; }
    cHitVarBank* GetVarBank() override { return &mBank; }
    void RefreshOutput() override {}

    uint32_t RefCount() const { return mRefCount; }

protected:
    // The own bank falls back to the engine's system defaults (when an
    // engine is up).
    void LinkDefaults();
    void SetKind(uint32_t kind) { mKind = kind; }

    cHitVarBank mBank{17, 47};

private:
    uint32_t mClassId;
    uint32_t mId = kUnregisteredId;
    uint32_t mKind;
    uint32_t mWord = 0;
    uint32_t mSource = 0;
    std::atomic<uint32_t> mRefCount{0};
};
