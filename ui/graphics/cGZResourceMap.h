// The resource location map: which file below the interface-graphics folder
// holds the picture of a resource id, per language (0 = every language), and
// whether it is a run-length bitmap. Filled from the ".RT" scripts at start-up
// and only read afterwards.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

class cGZResourceMap {
public:
    // Locations this long or longer do not fit the 260-byte path buffers of
    // the callers: a lookup of one fails.
    static constexpr size_t kPathLimit = 260;

    struct Entry {
        std::string location;
        bool rle = false;
    };

    // Stores the entry, replacing an earlier one of the same id and language.
    void Set(int32_t id, int32_t language, Entry entry) { mEntries[{id, language}] = std::move(entry); }
    // (id, language), else (id, 0) when the language is not 0: the location
    // and the RLE flag. False when absent or too long for a path.
    bool Lookup(int32_t id, int32_t language, std::string& path, int32_t& rle) const;
    size_t Size() const { return mEntries.size(); }
    void Clear() { mEntries.clear(); }

private:
    std::map<std::pair<int32_t, int32_t>, Entry> mEntries;
};
