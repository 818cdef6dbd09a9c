// lotgen: a developer tool for the world's layers.
//
//   lotgen SIZE SEED FILE [VERSION]
//
// Makes a lot of SIZE tiles a side (4 to 64), generates its terrain, ground
// and grass from SEED, saves its layers into the resource file FILE as a
// house file of VERSION (default 53) would hold them, loads them from FILE
// into a fresh lot and prints one line per layer with the checksum before
// saving and after loading. Exits 1 when any pair differs, 2 on bad
// arguments or a failed save or load.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata/SimRandom.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "resfile/IFFResFile2.h"
#include "world/LotFile.h"
#include "world/World.h"

namespace {

uint32_t Checksum(const _c2DArray& layer) {
    // FNV-1a over the cell area.
    uint32_t h = 2166136261u;
    const uint8_t* p = layer.Data();
    for (size_t i = 0; i < layer.CellAreaBytes(); ++i) h = (h ^ p[i]) * 16777619u;
    return h;
}

struct Layer {
    const char* name;
    std::function<_c2DArray&(cFixedWorld&)> get;
};

bool ParseInt(const char* text, long long low, long long high, long long& out) {
    char* end = nullptr;
    out = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && out >= low && out <= high;
}

}  // namespace

int main(int argc, char** argv) {
    long long size = 0, seed = 0, version = 53;
    if (argc < 4 || argc > 5 || !ParseInt(argv[1], kMinWorldSize, kMaxWorldSize, size) ||
        !ParseInt(argv[2], 0, 0xFFFFFFFFLL, seed) || (argc == 5 && !ParseInt(argv[4], 0, 1000, version))) {
        std::fprintf(stderr, "usage: lotgen SIZE(4-64) SEED FILE [VERSION]\n");
        return 2;
    }
    const std::string path = argv[3];

    tova::SetRandomSeed(static_cast<uint32_t>(seed));
    cFixedWorld lot(static_cast<int32_t>(size));
    lot.RandomTerrain();
    lot.RandomGround(80);
    lot.GenerateGrass(static_cast<uint32_t>(seed));
    // Let the grass grow part of the way back from a mown lot.
    lot.Grass().AndAll(static_cast<int8_t>(0xF0));
    lot.GrowGrass(2);

    std::string error;
    int32_t status = SaveLotLayers(lot, path, static_cast<int32_t>(version), error);
    if (status != kResOK) {
        std::fprintf(stderr, "lotgen: saving the layers to %s failed with status %d %s\n", path.c_str(), status,
                     error.c_str());
        return 2;
    }
    cFixedWorld loaded(static_cast<int32_t>(size));
    status = LoadLotLayers(loaded, path, static_cast<int32_t>(version));
    if (status != kResOK) {
        std::fprintf(stderr, "lotgen: loading the layers from %s failed with status %d\n", path.c_str(), status);
        return 2;
    }

    std::vector<Layer> layers = {
        {"altitude", [](cFixedWorld& w) -> _c2DArray& { return w.Altitude(); }},
        {"ground", [](cFixedWorld& w) -> _c2DArray& { return w.Ground(); }},
        {"floors", [](cFixedWorld& w) -> _c2DArray& { return *w.Floors(1); }},
        {"walls", [](cFixedWorld& w) -> _c2DArray& { return *w.Walls(1); }},
        {"objects", [](cFixedWorld& w) -> _c2DArray& { return *w.Objects(1); }},
        {"flags", [](cFixedWorld& w) -> _c2DArray& { return *w.Flags(1); }},
    };
    if (version >= kLayersVersionUpperStorey) {
        layers.push_back({"floors2", [](cFixedWorld& w) -> _c2DArray& { return *w.Floors(2); }});
        layers.push_back({"walls2", [](cFixedWorld& w) -> _c2DArray& { return *w.Walls(2); }});
        layers.push_back({"objects2", [](cFixedWorld& w) -> _c2DArray& { return *w.Objects(2); }});
        layers.push_back({"flags2", [](cFixedWorld& w) -> _c2DArray& { return *w.Flags(2); }});
    }
    if (version >= kLayersVersionGrass) {
        layers.push_back({"grass", [](cFixedWorld& w) -> _c2DArray& { return w.Grass(); }});
        layers.push_back({"target grass", [](cFixedWorld& w) -> _c2DArray& { return w.TargetGrass(); }});
    }
    if (version >= kLayersVersionPool) {
        layers.push_back({"Pool", [](cFixedWorld& w) -> _c2DArray& { return *w.GetPoolLayer(); }});
    }
    if (version >= kLayersVersionWater) {
        layers.push_back({"Water", [](cFixedWorld& w) -> _c2DArray& { return *w.GetWaterLayer(); }});
    }

    std::printf("lot %lld x %lld, seed %lld, version %lld\n", size, size, seed, version);
    bool allMatch = true;
    for (const Layer& layer : layers) {
        const uint32_t before = Checksum(layer.get(lot));
        const uint32_t after = Checksum(layer.get(loaded));
        allMatch = allMatch && before == after;
        std::printf("%-13s %08x %08x %s\n", layer.name, before, after, before == after ? "same" : "DIFFERENT");
    }
    std::printf("%s\n", allMatch ? "all layers match" : "layers differ");
    return allMatch ? 0 : 1;
}
