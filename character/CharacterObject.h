// The reference count that skeletons, suits, skills and the two property
// list kinds share: whoever keeps one retains it, and the last release
// destroys it. A new object starts with one reference, its creator's.
#pragma once

#include <cstdint>

namespace tova {

class CharacterObject {
public:
    CharacterObject() = default;
    CharacterObject(const CharacterObject&) = delete;
    CharacterObject& operator=(const CharacterObject&) = delete;

    int32_t RefCount() const { return refs_; }
    void AddRef() { ++refs_; }
    // Drops one reference; true when that was the last and the object is gone.
    bool Release() {
        if (--refs_ == 0) {
            delete this;
            return true;
        }
        return false;
    }

protected:
    virtual ~CharacterObject() = default;

private:
    int32_t refs_ = 1;
};

// Retains any of the counted objects; null is allowed.
inline void AddRefCharacterData(CharacterObject* object) {
    if (object != nullptr) object->AddRef();
}
// Releases a held object and clears the pointer.
template <class T>
void ReleaseCharacterData(T*& object) {
    if (object != nullptr) object->Release();
    object = nullptr;
}

}  // namespace tova
