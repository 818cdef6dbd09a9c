// Room detection on a full 64 by 64 lot of small walled rooms with floors on
// both storeys and some diagonals, against a plain 4-connected labelling of
// the same tiles with the walls as cuts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "gamedata/RoomManager.h"
#include "world/LotWorld.h"
#include "world/cFixedWorld.h"

namespace {

constexpr int kSize = 64;

void AddSide(cFixedWorld& world, int x, int y, int level, int32_t side) {
    const TileLocation tile = TileLocation::At(x, y, level);
    WallInfo info = world.GetWallInfo(tile);
    info.flags |= side;
    info.style[WallSideIndex(side)] = 1;
    world.SetWallInfo(tile, info);
}

// Rooms of 4 by 4 tiles on both storeys; every third room cut by a diagonal.
void BuildLot(cFixedWorld& world) {
    for (int level = 1; level <= 2; ++level) {
        for (int x = 0; x < kSize; ++x) {
            for (int y = 0; y < kSize; ++y) {
                world.Floors(level)->At(x, y) = 2;
                if (x % 4 == 0 && x > 0) AddSide(world, x, y, level, kWallSide1);
                if (y % 4 == 0 && y > 0) AddSide(world, x, y, level, kWallSide2);
            }
        }
        int room = 0;
        for (int x = 0; x + 3 < kSize; x += 4) {
            for (int y = 0; y + 3 < kSize; y += 4, ++room) {
                if (room % 3 != 0) continue;
                for (int i = 0; i < 4; ++i) {
                    const TileLocation tile = TileLocation::At(x + i, y + i, level);
                    WallInfo info = world.GetWallInfo(tile);
                    info.flags |= kWallDiag32;
                    info.style[WallSideIndex(kWallDiag32)] = 1;
                    world.SetWallInfo(tile, info);
                }
            }
        }
    }
}

void BM_RoomDetectionFullLot(benchmark::State& state) {
    cFixedWorld world(kSize);
    cLotWorld lot(world);
    tova::RoomManager rooms(tova::LotServices{&lot});
    world.SetRoomManager(&rooms);
    BuildLot(world);
    for (auto _ : state) {
        benchmark::DoNotOptimize(world.RecomputeRooms(0));
    }
    state.counters["rooms"] = world.GetRoomCount(1) + world.GetRoomCount(2);
}
BENCHMARK(BM_RoomDetectionFullLot)->Unit(benchmark::kMicrosecond);

void BM_RoomLabelBaseline(benchmark::State& state) {
    cFixedWorld world(kSize);
    BuildLot(world);
    std::vector<int> label(kSize * kSize);
    std::vector<int> stack;
    const int dx[4] = {0, 0, -1, 1}, dy[4] = {-1, 1, 0, 0};
    const int32_t cut[4] = {kWallSide2, kWallSide8, kWallSide1, kWallSide4};
    int regions = 0;
    for (auto _ : state) {
        for (int level = 1; level <= 2; ++level) {
            const WallLayer& walls = *world.Walls(level);
            std::fill(label.begin(), label.end(), -1);
            regions = 0;
            for (int start = 0; start < kSize * kSize; ++start) {
                if (label[start] >= 0) continue;
                label[start] = regions;
                stack.push_back(start);
                while (!stack.empty()) {
                    const int t = stack.back();
                    stack.pop_back();
                    const int x = t / kSize, y = t % kSize;
                    for (int d = 0; d < 4; ++d) {
                        const int nx = x + dx[d], ny = y + dy[d];
                        if (nx < 0 || ny < 0 || nx >= kSize || ny >= kSize) continue;
                        if (walls.At(x, y).mask & cut[d]) continue;
                        const int n = nx * kSize + ny;
                        if (label[n] >= 0) continue;
                        label[n] = regions;
                        stack.push_back(n);
                    }
                }
                ++regions;
            }
        }
        benchmark::DoNotOptimize(label.data());
    }
    state.counters["regions"] = regions;
}
BENCHMARK(BM_RoomLabelBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
