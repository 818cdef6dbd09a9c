// Loads arbitrary bytes as one of the world's layer resources: the first byte
// picks the layer (from 0xF0 up it also asks for room detection), the rest is
// that layer's 'Arry' resource, placed in a house file whose other layers are
// sound. The load must refuse what does not fit and never read or write
// outside the layers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resfile/MemResFile.h"
#include "world/World.h"

namespace {

constexpr int16_t kLayerIds[] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 101, 102, 103, 108};
constexpr int32_t kVersion = 53;
constexpr int32_t kLot = 16;

struct Stored {
    int16_t id;
    std::vector<uint8_t> bytes;
};

const std::vector<Stored>& SoundLayers() {
    static const std::vector<Stored> layers = [] {
        cFixedWorld world(kLot);
        MemResFile file;
        world.SaveLayers(file, kVersion);
        std::vector<Stored> out;
        for (int16_t id : kLayerIds) {
            Stored s{id, {}};
            file.GetStored(kArryType, id, s.bytes);
            out.push_back(std::move(s));
        }
        return out;
    }();
    return layers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // Layers are stored at the largest size whatever the lot's; a small lot
    // loads the same bytes, and the whole-lot walks after the load cost a
    // sixteenth of a large one's.
    static cFixedWorld world(kLot);
    const int16_t target = kLayerIds[data[0] % (sizeof(kLayerIds) / sizeof(kLayerIds[0]))];
    MemResFile file;
    for (const Stored& s : SoundLayers()) {
        if (s.id == target) {
            file.AddStored(kArryType, s.id, data + 1, static_cast<int32_t>(size - 1));
        } else {
            file.AddStored(kArryType, s.id, s.bytes.data(), static_cast<int32_t>(s.bytes.size()));
        }
    }
    world.LoadLayers(file, kVersion);
    // Whatever was accepted must be usable.
    bool built = false;
    world.ComputeValue(built);
    world.GetWallInfo(TileLocation::At(kLot - 1, kLot - 1, 2));
    // Rooms, the outside and support, and roofs over whatever walls came in.
    // A full recomputation costs far more than a load, so only inputs whose
    // first byte asks for it pay for one.
    if (data[0] >= 0xF0) world.RecomputeRooms(0);
    world.GetPoolLayer()->GetOverlapMask(TileLocation::At(kLot - 1, 0, 1), 1);
    return 0;
}
