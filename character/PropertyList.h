// Free-form data of the character objects: ordered key/value pairs, and
// property lists placed at times (the events of a motion).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "character/CharacterObject.h"

namespace tova {

class PropertyList : public CharacterObject {
public:
    // Replaces the value of the pair with exactly that key, else appends.
    void Set(const std::string& key, const std::string& value);
    // The first pair with the key, or -1.
    int Find(const std::string& key) const;
    int Count() const { return static_cast<int>(pairs_.size()); }
    const std::string& Key(int i) const { return pairs_[i].first; }
    const std::string& Value(int i) const { return pairs_[i].second; }

private:
    std::vector<std::pair<std::string, std::string>> pairs_;
};

class TimePropertyList : public CharacterObject {
public:
    struct Entry {
        int32_t time = 0;
        PropertyList* list = nullptr;
    };

    ~TimePropertyList() override;
    // Retains the list; an entry of equal time has its list replaced.
    void Insert(int32_t time, PropertyList* list);
    int Count() const { return static_cast<int>(entries_.size()); }
    const Entry& At(int i) const { return entries_[i]; }

private:
    std::vector<Entry> entries_;
};

// A position in a time property list; each step answers whether it is
// still within the list.
struct TimePropertyCursor {
    const TimePropertyList* list = nullptr;
    int index = 0;

    bool Valid() const { return list != nullptr && index >= 0 && index < list->Count(); }
    bool Next() { ++index; return Valid(); }
    bool Previous() { --index; return Valid(); }
    bool First() { index = 0; return Valid(); }
    bool Last() { index = list != nullptr ? list->Count() - 1 : -1; return Valid(); }
};

}  // namespace tova
