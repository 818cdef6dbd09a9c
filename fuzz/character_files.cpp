// Arbitrary bytes as each kind of character file: the first byte picks the
// kind (character file as text or binary, mesh as binary or text, compressed
// or raw keyframes, index); for keyframes the next two bytes give the
// translation and rotation counts.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "character/BodyMesh.h"
#include "character/CharacterFile.h"
#include "character/CharacterIndexFile.h"
#include "character/CharacterObject.h"
#include "character/KeyframeFile.h"
#include "character/MeshFile.h"
#include "character/Skeleton.h"
#include "character/Skill.h"
#include "character/Suit.h"

namespace {

// Keeps nothing: every object read is released at once.
class CharacterFuzzStore : public tova::iCharacterStore {
public:
    bool StoreSkeleton(tova::Skeleton* s, const std::string&, const std::string&) override { return Drop(s); }
    bool StoreSuit(tova::Suit* s, const std::string&, const std::string&, const tova::CharacterFolders&) override {
        return Drop(s);
    }
    bool StoreSkill(tova::Skill* s, const std::string&, const std::string&, const tova::CharacterFolders&) override {
        return Drop(s);
    }

private:
    static bool Drop(tova::CharacterObject* o) {
        o->Release();
        return false;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    CharacterFuzzStore store;
    switch (data[0] % 7) {
        case 0:
        case 1:
            tova::ReadCharacterFile(bytes, data[0] % 7 == 0, "", "fuzz", nullptr, store);
            break;
        case 2:
        case 3:
            tova::ReadBodyMesh(bytes, data[0] % 7 == 3);
            break;
        case 4:
        case 5: {
            if (bytes.size() < 2) return 0;
            std::vector<Vector3> t(static_cast<uint8_t>(bytes[0]));
            std::vector<Quaternion> r(static_cast<uint8_t>(bytes[1]));
            if (data[0] % 7 == 4) {
                tova::DecodeCompressedKeyframes(bytes.substr(2), t, r);
            } else {
                tova::ReadRawKeyframes(bytes.substr(2), t, r);
            }
            break;
        }
        default: {
            tova::CharacterIndex index;
            tova::ReadCharacterIndex(bytes, index);
            break;
        }
    }
    return 0;
}
