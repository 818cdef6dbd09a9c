// A suit worn by one skeleton: each skin of the suit hung on the bone of
// its name, with the instance that deforms the skin's mesh. Counted: the
// skeleton holds one reference; the last release takes the skins down,
// last first, and lets go of the suit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "character/CharacterObject.h"

namespace tova {

class Bone;
class Skeleton;
class Skin;
class Suit;

namespace chr {

class SkinInstance;

// How a skin becomes an instance and how it is taken down. The base makes
// an instance from a mesh the skin already holds, with no render mesh.
class DressingHooks {
public:
    virtual ~DressingHooks() = default;
    virtual std::unique_ptr<SkinInstance> Attach(Skeleton& skeleton, Suit& suit, Bone& bone, Skin& skin,
                                                 const std::string& materialOverride);
    virtual void Detach(Skeleton& skeleton, Suit& suit, Bone& bone, Skin& skin,
                        std::unique_ptr<SkinInstance> instance);
};
DressingHooks& DefaultDressingHooks();

class Dressing : public CharacterObject {
public:
    struct Attachment {
        Bone* bone = nullptr;
        Skin* skin = nullptr;
        std::unique_ptr<SkinInstance> instance;
    };

    // Retains the suit.
    Dressing(Skeleton& skeleton, Suit& suit);

    Skeleton& GetSkeleton() const { return *skeleton_; }
    Suit& GetSuit() const { return *suit_; }
    std::vector<Attachment>& Attachments() { return attachments_; }
    const std::vector<Attachment>& Attachments() const { return attachments_; }

protected:
    ~Dressing() override;

private:
    Skeleton* skeleton_;
    Suit* suit_;
    std::vector<Attachment> attachments_;
};

}  // namespace chr
}  // namespace tova
