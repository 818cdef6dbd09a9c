// Terrain, ground and grass filled by rule: flat or random terrain for a new
// lot, a random ground pattern, and grass made as fractal noise that then
// grows toward its target.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "gamedata/SimRandom.h"
#include "world/cFixedWorld.h"

namespace {

int8_t ClampGrass(int32_t v) { return static_cast<int8_t>(std::clamp(v, -128, 127)); }

// Every cell becomes the integer average of itself and its side neighbours
// inside the array, all taken from the cells before the step.
template <class Get, class Set>
void SmoothStep(int32_t rows, int32_t columns, Get get, Set set) {
    std::vector<int32_t> old(static_cast<size_t>(rows) * static_cast<size_t>(columns));
    for (int32_t x = 0; x < rows; ++x)
        for (int32_t y = 0; y < columns; ++y) old[static_cast<size_t>(x * columns + y)] = get(x, y);
    for (int32_t x = 0; x < rows; ++x) {
        for (int32_t y = 0; y < columns; ++y) {
            int32_t sum = old[static_cast<size_t>(x * columns + y)];
            int32_t count = 1;
            static constexpr int kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const auto& s : kSteps) {
                const int32_t nx = x + s[0], ny = y + s[1];
                if (nx < 0 || ny < 0 || nx >= rows || ny >= columns) continue;
                sum += old[static_cast<size_t>(nx * columns + ny)];
                ++count;
            }
            set(x, y, sum / count);
        }
    }
}

constexpr int32_t kMaxRelaxPasses = 4096;

}  // namespace

void cFixedWorld::SynchroniseCorners() {
    c2DArray<AltitudeCell>& a = *mAltitude;
    for (int32_t x = 0; x < a.Rows(); ++x)
        for (int32_t y = 0; y < a.Columns(); ++y) SetCornerHeight(x, y, a.At(x, y).corner[1]);
}

void cFixedWorld::FlattenTerrain() {
    mAltitude->FillCells(AltitudeCell{{0, 10, 0, 0}});
    SynchroniseCorners();
}

void cFixedWorld::RandomHills(int32_t base, int32_t percent, int32_t step) {
    c2DArray<AltitudeCell>& a = *mAltitude;
    const int32_t rows = a.Rows(), columns = a.Columns();
    const int32_t count = percent * columns * rows / 100;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t x = 1 + static_cast<int32_t>(tova::NextRandom() % static_cast<uint32_t>(rows - 1));
        const int32_t y = 1 + static_cast<int32_t>(tova::NextRandom() % static_cast<uint32_t>(columns - 1));
        a.At(x, y).corner[1] = static_cast<uint8_t>(base + static_cast<int32_t>(tova::NextRandom() % static_cast<uint32_t>(base)));
    }
    // Relax until no neighbour differs by more than the step; only pairs
    // inside the array are compared.
    for (int32_t pass = 0; pass < kMaxRelaxPasses; ++pass) {
        bool changed = false;
        for (int32_t x = 0; x < rows; ++x) {
            for (int32_t y = 0; y < columns; ++y) {
                const int32_t h = a.At(x, y).corner[1];
                auto relax = [&](int32_t nx, int32_t ny) {
                    if (nx >= rows || ny >= columns) return;
                    uint8_t& n = a.At(nx, ny).corner[1];
                    if (n > h + step) {
                        n = static_cast<uint8_t>(h + step);
                        changed = true;
                    } else if (n < h - step) {
                        n = static_cast<uint8_t>(h - step);
                        changed = true;
                    }
                };
                relax(x + 1, y);
                relax(x, y + 1);
            }
        }
        if (!changed) break;
    }
}

void cFixedWorld::RandomTerrain() {
    c2DArray<AltitudeCell>& a = *mAltitude;
    a.FillCells(AltitudeCell{{0, 10, 0, 0}});
    RandomHills(60, 20, 5);
    const int32_t pits = a.Rows() * a.Columns() / 100;
    for (int32_t i = 0; i < pits; ++i) {
        const int32_t x = static_cast<int32_t>(tova::NextRandom() % static_cast<uint32_t>(a.Rows()));
        const int32_t y = static_cast<int32_t>(tova::NextRandom() % static_cast<uint32_t>(a.Columns()));
        a.At(x, y) = AltitudeCell{{0, 0, 0, 0}};
    }
    SmoothStep(
        a.Rows(), a.Columns(), [&](int32_t x, int32_t y) { return static_cast<int32_t>(a.At(x, y).corner[1]); },
        [&](int32_t x, int32_t y, int32_t v) { a.At(x, y).corner[1] = static_cast<uint8_t>(v); });
    for (int32_t x = 0; x < a.Rows(); ++x) {
        for (int32_t y = 0; y < a.Columns(); ++y) {
            if (a.At(x, y).corner[1] > 30) a.At(x, y) = AltitudeCell{{0, 30, 0, 0}};
        }
    }
    SynchroniseCorners();
}

void cFixedWorld::RandomGround(int32_t percent) {
    c2DArray<uint8_t>& g = *mGround;
    g.FillCells(10);
    const int32_t count = percent * g.Rows() * g.Columns() / 100;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t x = static_cast<int32_t>(tova::NextRandom() % static_cast<uint32_t>(g.Rows()));
        const int32_t y = static_cast<int32_t>(tova::NextRandom() % static_cast<uint32_t>(g.Columns()));
        g.At(x, y) = 40;
    }
    for (int i = 0; i < 3; ++i) {
        SmoothStep(
            g.Rows(), g.Columns(), [&](int32_t x, int32_t y) { return static_cast<int32_t>(g.At(x, y)); },
            [&](int32_t x, int32_t y, int32_t v) { g.At(x, y) = static_cast<uint8_t>(v); });
    }
    for (int32_t x = 0; x < g.Rows(); ++x)
        for (int32_t y = 0; y < g.Columns(); ++y) g.At(x, y) = std::min<uint8_t>(g.At(x, y), 4);
}

void cFixedWorld::GenerateGrass(uint32_t seed) {
    if (seed == 0) seed = kDefaultGrassSeed;
    const uint32_t oldSeed = tova::GetRandomSeed();
    tova::SetRandomSeed(seed);
    c2DArray<int8_t>& g = *mGrass;
    const int32_t rows = g.Rows(), columns = g.Columns();
    for (int32_t x = 0; x < rows; x += 16) {
        for (int32_t y = 0; y < columns; y += 16) {
            g.At(x, y) = ClampGrass(-32 + static_cast<int32_t>(tova::NextRandom() % 160));
        }
    }
    static constexpr int32_t kSteps[4] = {8, 4, 2, 1};
    static constexpr int32_t kRanges[4] = {80, 40, 20, 10};
    for (int i = 0; i < 4; ++i) {
        const int32_t a = kSteps[i], range = kRanges[i];
        auto at = [&](int32_t x, int32_t y) { return static_cast<int32_t>(*g.WrapAt(x, y)); };
        for (int32_t x = 0; x < rows; x += a) {
            for (int32_t y = 0; y < columns; y += a) {
                const bool rowEven = x % (2 * a) == 0;
                const bool columnEven = y % (2 * a) == 0;
                if (rowEven && columnEven) continue;
                int32_t v;
                if (rowEven) {
                    v = (at(x, y - a) + at(x, y + a)) / 2;
                } else if (columnEven) {
                    v = (at(x - a, y) + at(x + a, y)) / 2;
                } else {
                    v = (at(x - a, y - a) + at(x - a, y + a) + at(x + a, y - a) + at(x + a, y + a)) / 4;
                }
                v += static_cast<int32_t>(tova::NextRandom() % static_cast<uint32_t>(range)) - range / 2;
                g.At(x, y) = ClampGrass(v);
            }
        }
    }
    tova::SetRandomSeed(oldSeed);
    mTargetGrass->CopyFrom(g);
}

void cFixedWorld::GrowGrass(int32_t step) {
    c2DArray<int8_t>& g = *mGrass;
    const c2DArray<int8_t>& t = *mTargetGrass;
    for (int32_t x = 1; x < mSize - 1; ++x) {
        for (int32_t y = 1; y < mSize - 1; ++y) {
            const int32_t target = t.At(x, y);
            if (g.At(x, y) >= target) continue;
            bool settledNeighbour = false;
            for (int d = 4; d < 8 && !settledNeighbour; ++d) {
                const int32_t nx = x + DirectionOffsets[d].dx, ny = y + DirectionOffsets[d].dy;
                settledNeighbour = g.At(nx, ny) == t.At(nx, ny);
            }
            if (!settledNeighbour) continue;
            // 64-bit: the step may come from the console and be any number.
            const int64_t grown = std::min<int64_t>(target, g.At(x, y) + int64_t{step} * 4);
            g.At(x, y) = ClampGrass(static_cast<int32_t>(std::max<int64_t>(grown, INT32_MIN)));
        }
    }
}
