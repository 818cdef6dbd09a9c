#include "neighborhood/PersonTable.h"

#include "gamedata/Neighborhood.h"

void PersonTable::Build(const tova::Neighborhood& hood) {
    mEntries.clear();
    for (int32_t id = hood.GetNextNeighborIndex(0); id != 0; id = hood.GetNextNeighborIndex(id)) {
        const tova::Neighbor* n = hood.GetNeighbor(id);
        if (n == nullptr) continue;
        mEntries.push_back({n->guid, n->id, n->name.c_str()});
    }
}

int32_t PersonTable::IndexOfGuid(int32_t guid) const {
    for (size_t i = 0; i < mEntries.size(); ++i)
        if (mEntries[i].guid == guid) return static_cast<int32_t>(i);
    return -1;
}

int32_t PersonTable::GuidAt(int32_t index) const {
    const PersonEntry* e = EntryAt(index);
    return e ? e->guid : 0;
}

const PersonEntry* PersonTable::EntryAt(int32_t index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return &mEntries[static_cast<size_t>(index)];
}
