#include "character/Suit.h"

#include "character/Dressing.h"
#include "character/PropertyList.h"
#include "character/Skeleton.h"
#include "character/SkinInstance.h"

namespace tova {

Skin::~Skin() { ReleaseCharacterData(properties_); }

void Skin::SetProperties(PropertyList* list) {
    AddRefCharacterData(list);
    ReleaseCharacterData(properties_);
    properties_ = list;
}

void Skin::SetMesh(std::unique_ptr<BodyMesh> mesh) {
    mesh_ = std::move(mesh);
    if (mesh_ != nullptr) mesh_->skin = this;
}

Suit::~Suit() { ReleaseCharacterData(properties_); }

void Suit::SetProperties(PropertyList* list) {
    AddRefCharacterData(list);
    ReleaseCharacterData(properties_);
    properties_ = list;
}

Skin* Suit::AddSkin() {
    skins.push_back(std::make_unique<Skin>());
    skins.back()->suit = this;
    return skins.back().get();
}

void Suit::RemoveDressing(uint32_t now) {
    if (dressings > 0 && --dressings == 0) idleSince = now;
}

chr::Dressing* Suit::CreateDressing(Skeleton& skeleton, const std::string& materialOverride, int32_t mask) {
    auto* dressing = new chr::Dressing(skeleton, *this);
    chr::DressingHooks& hooks =
        skeleton.dressingHooks != nullptr ? *skeleton.dressingHooks : chr::DefaultDressingHooks();
    for (const auto& skin : skins) {
        if (mask != -1 && (mask & skin->flags) == 0) continue;
        Bone* bone = skeleton.FindBone(skin->boneName);
        if (bone == nullptr) continue;
        std::unique_ptr<chr::SkinInstance> instance = hooks.Attach(skeleton, *this, *bone, *skin, materialOverride);
        if (instance == nullptr) continue;
        dressing->Attachments().push_back({bone, skin.get(), std::move(instance)});
    }
    AddDressing();
    idleSince = 0;
    return dressing;
}

}  // namespace tova
