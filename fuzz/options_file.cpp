// Reads arbitrary bytes as "options.iff" and, as the record inside it, at
// every version the record knows. Whatever is read must leave settings in
// their ranges, and a record that was read must write back and read again
// to the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzScratch.h"
#include "shell/cOptionsMgr.h"

namespace {

void CheckOptionsRanges(const tova::cOptionsMgr& o) {
    for (int32_t which = 0; which < 3; ++which)
        if (o.GetVolume(which) < 0 || o.GetVolume(which) > tova::cOptionsMgr::kMaxVolumeStep) std::abort();
    if (o.GetTerrainDetail() < 0 || o.GetTerrainDetail() > 2 || o.GetCharacterDetail() < 0 ||
        o.GetCharacterDetail() > 2)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tova::cOptionsMgr fromFile;
    fromFile.Load(fuzz::WriteInput("options.iff", data, size), true, {});
    CheckOptionsRanges(fromFile);

    for (uint8_t version = 0; version <= 5; ++version) {
        std::vector<uint8_t> record = {version, 0};
        record.insert(record.end(), data, data + size);
        tova::cOptionsMgr o;
        if (!o.FromBytes(record)) continue;
        CheckOptionsRanges(o);
        std::vector<uint8_t> written = o.ToBytes();
        tova::cOptionsMgr again;
        if (!again.FromBytes(written) || again.ToBytes() != written) std::abort();
    }
    return 0;
}
