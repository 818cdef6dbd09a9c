// The sound engine's objects: patches, tracks, channels, control groups.
// Each has a class id, an id in the engine's table, a kind (how its start
// arguments read), a reference count and its own variables 17..47.
#pragma once

#include <cstdint>
#include <string>

class cHitVarBank;

class cISoundObject {
public:
    // Class ids.
    static constexpr uint32_t kPatchClass = 0xa3cd96b7;
    static constexpr uint32_t kTrackClass = 0xa3cd96cf;
    static constexpr uint32_t kTrackPlayerClass = 0x83cd96c3;
    static constexpr uint32_t kControlGroupClass = 0xe49ec7f7;
    static constexpr uint32_t kUnregisteredId = 0xabadcafe;
    // Kinds: how the start arguments read.
    enum Kind : uint32_t { kPlain = 0, kVolumePan = 1, kPositional = 2 };

    virtual ~cISoundObject() = default;
    virtual uint32_t GetClassId() const = 0;
    virtual bool Init() = 0;
    virtual bool Shutdown() = 0;
    virtual void SetId(uint32_t id) = 0;
    virtual uint32_t GetId() const = 0;
    virtual uint32_t GetWord() const = 0;
    virtual void Tick() = 0;
    virtual void SetSource(uint32_t source) = 0;
    virtual uint32_t GetSource() const = 0;
    virtual uint32_t GetKind() const = 0;
    virtual bool StartAndActivate(int32_t a, int32_t b, int32_t c) = 0;
    virtual bool Start(int32_t a, int32_t b, int32_t c) = 0;
    // May fade.
    virtual bool Stop() = 0;
    // At once.
    virtual bool Kill() = 0;
    virtual bool NoOperation(int32_t a, int32_t b, int32_t c) = 0;
    virtual bool SetVolume(int32_t volume) = 0;
    virtual bool SetPitch(int32_t cents) = 0;
    virtual bool SetPan(int32_t pan) = 0;
    virtual bool SetPosition(int32_t x, int32_t y, int32_t z) = 0;
    virtual bool SetSetting23(int32_t value) = 0;
    virtual bool SetSetting24(int32_t value) = 0;
    virtual bool Pause() = 0;
    virtual bool Resume() = 0;
    virtual bool AddUse() = 0;
    virtual bool ReleaseUse() = 0;
    virtual bool AddUser() = 0;
    virtual bool ReleaseUser() = 0;
    virtual bool IsRunning() = 0;
    virtual bool IsPaused() = 0;
    // The first reference runs Init; the last deletes the object.
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    virtual bool QueryFlag() const = 0;
    virtual bool SetVar(int32_t id, int32_t value, bool quiet) = 0;
    virtual int32_t GetVar(int32_t id) = 0;
    virtual bool DescribeLocation(std::string& text, int32_t& line) = 0;
    virtual cHitVarBank* GetVarBank() = 0;
    // Works out the output volume again (a control group's level or the
    // ducking changed). Tracks do; other objects have nothing to redo.
    virtual void RefreshOutput() = 0;
};
