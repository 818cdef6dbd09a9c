// Loads arbitrary bytes as one of the world's layer resources: the first byte
// picks the layer (from 0xF0 up it also asks for room detection), the rest is
// that layer's 'Arry' resource, placed in a house file whose other layers are
// sound. The load must refuse what does not fit and never read or write
// outside the layers.
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// The house file with every layer sound, made once: each load reads the
// target layer's entry from the input instead of its stored bytes. Building a
// fresh file of fourteen copied layers per input cost more than the load.
class InputLayerFile : public MemResFile {
public:
    InputLayerFile() {
        for (const Stored& s : SoundLayers())
            AddStored(kArryType, s.id, s.bytes.data(), static_cast<int32_t>(s.bytes.size()));
    }
    void Feed(int16_t target, const uint8_t* data, size_t size) {
        mTarget = target;
        mData = data;
        mSize = size;
    }
    // A load reads each entry again only once the last load released it.
    bool AllReleased() const {
        const ResGroup* group = GetMap().FindGroup(kArryType);
        for (const auto& entry : group->entries)
            if (entry->handle) return false;
        return true;
    }

protected:
    int ReadData(const ResGroup& group, const ResEntry& entry, MemHandle& out) override {
        if (group.type != kArryType || entry.id != mTarget) return MemResFile::ReadData(group, entry, out);
        out = NewMemHandle(static_cast<int32_t>(mSize));
        if (!out) return kResOutOfMemory;
        if (mSize > 0) std::memcpy(GetMemHandleData(out), mData, mSize);
        return 0;
    }

private:
    int16_t mTarget = -1;
    const uint8_t* mData = nullptr;
    size_t mSize = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // Layers are stored at the largest size whatever the lot's; a small lot
    // loads the same bytes, and the whole-lot walks after the load cost a
    // sixteenth of a large one's.
    static cFixedWorld world(kLot);
    const int16_t target = kLayerIds[data[0] % (sizeof(kLayerIds) / sizeof(kLayerIds[0]))];
    static InputLayerFile file;
    file.Feed(target, data + 1, size - 1);
    world.LoadLayers(file, kVersion);
    if (!file.AllReleased()) __builtin_trap();
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
