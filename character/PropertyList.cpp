#include "character/PropertyList.h"

namespace tova {

void PropertyList::Set(const std::string& key, const std::string& value) {
    const int i = Find(key);
    if (i >= 0) {
        pairs_[i].second = value;
    } else {
        pairs_.emplace_back(key, value);
    }
}

int PropertyList::Find(const std::string& key) const {
    for (size_t i = 0; i < pairs_.size(); ++i) {
        if (pairs_[i].first == key) return static_cast<int>(i);
    }
    return -1;
}

TimePropertyList::~TimePropertyList() {
    for (Entry& e : entries_) ReleaseCharacterData(e.list);
}

void TimePropertyList::Insert(int32_t time, PropertyList* list) {
    AddRefCharacterData(list);
    size_t i = 0;
    while (i < entries_.size() && entries_[i].time < time) ++i;
    if (i < entries_.size() && entries_[i].time == time) {
        ReleaseCharacterData(entries_[i].list);
        entries_[i].list = list;
        return;
    }
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i), Entry{time, list});
}

}  // namespace tova
