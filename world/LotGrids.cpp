#include "world/LotGrids.h"

#include <cstdio>
#include <functional>

#include "world/cFixedWorld.h"

namespace {

std::string Grid(int32_t rows, int32_t columns, const std::function<std::string(int32_t row, int32_t column)>& cell) {
    std::string out;
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            if (c) out += ' ';
            out += cell(r, c);
        }
        out += '\n';
    }
    return out;
}

std::string Format(const char* format, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string LinkGrid(cFixedWorld& world, const c2DArray<uint8_t>& layer) {
    const int32_t n = world.GetSize();
    return Grid(n, n, [&](int32_t y, int32_t x) -> std::string {
        const uint8_t v = layer.At(x, y);
        if (v == kNoPool) return "..";
        if (v == kPoolMark) return "mk";
        return Format("%02d", v);
    });
}

}  // namespace

std::string RoomsGrid(cFixedWorld& world, int32_t level) {
    const c2DArray<uint16_t>* rooms = world.Rooms(level);
    if (!rooms) return {};
    const int32_t n = world.GetSize();
    return Grid(n, n, [&](int32_t y, int32_t x) -> std::string {
        const uint16_t v = rooms->At(x, y);
        if (v == 0xFFFB) return "  sp";
        if (v > 0xFFFB) return "   -";
        return Format("%4d", v);
    });
}

std::string FlagsGrid(cFixedWorld& world, int32_t level) {
    const c2DArray<uint8_t>* flags = world.Flags(level);
    if (!flags) return {};
    const int32_t n = world.GetSize();
    return Grid(n, n, [&](int32_t y, int32_t x) { return Format("%02x", flags->At(x, y)); });
}

std::string PoolGrid(cFixedWorld& world) { return LinkGrid(world, *world.GetPoolLayer()); }
std::string WaterGrid(cFixedWorld& world) { return LinkGrid(world, *world.GetWaterLayer()); }

std::string RoofGrid(cFixedWorld& world, int32_t level) {
    cRoofLayer* roof = world.GetRoofLayer(level);
    if (!roof) return {};
    const int32_t n = 2 * world.GetSize();
    return Grid(n, n, [&](int32_t i, int32_t j) -> std::string {
        const cRoofTile& c = roof->At(i, j);
        if (c.bits & kRoofBlocked) return "###";
        if (!(c.bits & kRoofOn)) return "...";
        std::string s;
        s += c.height < 36 ? "0123456789abcdefghijklmnopqrstuvwxyz"[c.height] : '+';
        s += (c.bits & kRoofSloped) ? 's' : 'f';
        s += "0123456789abcdef"[cRoofLayer::GetShapeCode(c)];
        return s;
    });
}
