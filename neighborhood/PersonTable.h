// The people of the neighbourhood by index: one entry per neighbour, in
// neighbour-id order, each holding the person's GUID (never a pointer to its
// definition, which is unloaded when a person is deleted or the object folder
// is emptied). The screens name people by these indices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tova {
class Neighborhood;
}

struct PersonEntry {
    int32_t guid = 0;
    int16_t neighborId = 0;
    std::string name;
};

class PersonTable {
public:
    // Fills the table from the neighbourhood's neighbours.
    void Build(const tova::Neighborhood& hood);
    // Build again after people were made or deleted.
    void RefreshPersonTable(const tova::Neighborhood& hood) { Build(hood); }
    void Clear() { mEntries.clear(); }
    void Shutdown() { Clear(); }

    int32_t Count() const { return static_cast<int32_t>(mEntries.size()); }
    // -1 when no entry has the GUID.
    int32_t IndexOfGuid(int32_t guid) const;
    // 0 for an index outside the table.
    int32_t GuidAt(int32_t index) const;
    const PersonEntry* EntryAt(int32_t index) const;

private:
    std::vector<PersonEntry> mEntries;
};
