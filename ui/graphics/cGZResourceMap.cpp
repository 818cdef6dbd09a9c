#include "ui/graphics/cGZResourceMap.h"

bool cGZResourceMap::Lookup(int32_t id, int32_t language, std::string& path, int32_t& rle) const {
    auto found = mEntries.find({id, language});
    if (found == mEntries.end() && language != 0) found = mEntries.find({id, 0});
    if (found == mEntries.end() || found->second.location.size() >= kPathLimit) return false;
    path = found->second.location;
    rle = found->second.rle ? 1 : 0;
    return true;
}
