#include "character/Suit.h"

#include "character/PropertyList.h"

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

}  // namespace tova
