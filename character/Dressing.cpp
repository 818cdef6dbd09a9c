#include "character/Dressing.h"

#include "character/BodyMesh.h"
#include "character/Skeleton.h"
#include "character/SkinInstance.h"
#include "character/Suit.h"

namespace tova::chr {

std::unique_ptr<SkinInstance> DressingHooks::Attach(Skeleton& skeleton, Suit&, Bone&, Skin& skin,
                                                    const std::string& materialOverride) {
    if (skin.Mesh() == nullptr) return nullptr;
    return skin.Mesh()->CreateInstance(skeleton, materialOverride, nullptr);
}

void DressingHooks::Detach(Skeleton&, Suit&, Bone&, Skin&, std::unique_ptr<SkinInstance>) {}

DressingHooks& DefaultDressingHooks() {
    static DressingHooks hooks;
    return hooks;
}

Dressing::Dressing(Skeleton& skeleton, Suit& suit) : skeleton_(&skeleton), suit_(&suit) { suit.AddRef(); }

Dressing::~Dressing() {
    DressingHooks& hooks = skeleton_->dressingHooks != nullptr ? *skeleton_->dressingHooks : DefaultDressingHooks();
    while (!attachments_.empty()) {
        Attachment a = std::move(attachments_.back());
        attachments_.pop_back();
        hooks.Detach(*skeleton_, *suit_, *a.bone, *a.skin, std::move(a.instance));
    }
    suit_->RemoveDressing(skeleton_->clock);
    suit_->Release();
}

}  // namespace tova::chr
