// A track as a bank's definition made it: a track player with the template
// values of its definition (18 volume, 25 priority, 50 patch, 57
// attenuation), its program index and its control group, whose member set
// it joins once it has an id.
#pragma once

#include <string>

#include "sound/cTrackPlayer.h"

struct cTrackDefinition {
    std::string name;
    int32_t volume = 0;
    uint32_t kind = 0;
    int32_t priority = 0;
    uint32_t controlGroup = 0;
    int32_t attenuation = 0;
    uint32_t programIndex = 0;
    int32_t patchId = 0;
};

class cTrack : public cTrackPlayer {
public:
    explicit cTrack(const cTrackDefinition& definition);
    ~cTrack() override;

    void SetId(uint32_t id) override;
    // The template value (kUnset where the definition gave none).
    int32_t GetDefault(int32_t id) const { return TemplateValue(id); }
    uint32_t GetControlGroup() const { return mControlGroup; }
    const std::string& Name() const { return mName; }

protected:
    int32_t TemplateValue(int32_t id) const override;
    uint32_t ProgramIndex() const override { return mProgramIndex; }
    uint32_t ControlGroupId() const override { return mControlGroup; }

private:
    std::string mName;
    cHitVarBank mTemplate{17, 47};
    cHitVarBank mTemplate2{50, 62};
    uint32_t mProgramIndex;
    uint32_t mControlGroup;
};
