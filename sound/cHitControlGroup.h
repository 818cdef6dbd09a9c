// A shared volume level (0..1024) for a set of tracks. Setting the level
// makes every active member work out its output volume again; an assignment
// to the group passes to every active member.
#pragma once

#include <set>

#include "sound/cSoundObject.h"

class cHitControlGroup : public cSoundObject {
public:
    explicit cHitControlGroup(uint32_t groupId);

    bool Init() override { return true; }
    bool Shutdown() override { return true; }
    bool Stop() override { return true; }
    bool Kill() override { return true; }
    bool SetVolume(int32_t level) override;
    bool SetPitch(int32_t) override { return true; }
    bool SetPan(int32_t) override { return true; }
    bool SetPosition(int32_t, int32_t, int32_t) override { return true; }
    bool SetSetting23(int32_t) override { return true; }
    bool SetSetting24(int32_t) override { return true; }
    bool Pause() override { return true; }
    bool Resume() override { return true; }
    bool AddUse() override { return true; }
    bool ReleaseUse() override { return true; }
    bool AddUser() override { return true; }
    bool ReleaseUser() override { return true; }
    bool SetVar(int32_t id, int32_t value, bool quiet) override;
    int32_t GetVar(int32_t) override { return 1; }

    uint32_t GroupId() const { return mGroupId; }
    int32_t Level() const { return mLevel; }
    void AddMember(uint32_t trackId) { mMembers.insert(trackId); }
    void RemoveMember(uint32_t trackId) { mMembers.erase(trackId); }
    const std::set<uint32_t>& Members() const { return mMembers; }

private:
    uint32_t mGroupId;
    int32_t mLevel = 1024;
    std::set<uint32_t> mMembers;
};
