// A suit: skins, each naming the bone it hangs on and the mesh it wears
// there. The meshes are loaded when first needed, from the suit's search
// list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "character/BodyMesh.h"
#include "character/CharacterObject.h"

namespace tova {

class PropertyList;
class Skeleton;
class Suit;

namespace chr {
class Dressing;
}  // namespace chr

class Skin {
public:
    Skin() = default;
    ~Skin();
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    Suit* suit = nullptr;
    std::string boneName;
    std::string meshName;
    int32_t flags = 0;

    PropertyList* Properties() const { return properties_; }
    void SetProperties(PropertyList* list);
    BodyMesh* Mesh() const { return mesh_.get(); }
    // Takes the mesh; a previous one is freed.
    void SetMesh(std::unique_ptr<BodyMesh> mesh);

private:
    PropertyList* properties_ = nullptr;
    std::unique_ptr<BodyMesh> mesh_;
};

class Suit : public CharacterObject {
public:
    std::string name;
    std::string sourceFile;
    // 0: the skins' render meshes join the body's render group.
    int32_t type = 0;
    std::vector<std::unique_ptr<Skin>> skins;
    std::shared_ptr<const std::vector<std::string>> searchList;
    uint32_t idleSince = 0;
    int32_t dressings = 0;

    ~Suit() override;
    PropertyList* Properties() const { return properties_; }
    void SetProperties(PropertyList* list);
    Skin* AddSkin();
    void AddDressing() { ++dressings; }
    // A dressing of this suit for the skeleton: every skin whose flags meet
    // the mask (-1 takes all) and whose bone the skeleton has, through the
    // skeleton's dressing hooks. A skin the hooks make nothing of is left
    // out.
    chr::Dressing* CreateDressing(Skeleton& skeleton, const std::string& materialOverride, int32_t mask);
    // The last dressing gone starts the idle time.
    void RemoveDressing(uint32_t now);

private:
    PropertyList* properties_ = nullptr;
};

}  // namespace tova
