#include "tools/contentc/LotSources.h"

#include <cstdlib>
#include <memory>
#include <sstream>
#include <vector>

#include "platform/FileSystem.h"
#include "tools/contentc/HouseSources.h"
#include "world/LotFile.h"
#include "world/cFixedWorld.h"
#include "world/undo/WallUndoable.h"

namespace {

constexpr int32_t kHouseFileVersion = 53;

bool ToInt(const std::string& text, long& out) {
    char* end = nullptr;
    out = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0';
}

void SetSide(cFixedWorld& world, int32_t x, int32_t y, int32_t side, int32_t style, int32_t paper) {
    const TileLocation tile = TileLocation::At(x, y, 1);
    WallInfo info = world.GetWallInfo(tile);
    info.flags |= side;
    info.style[WallSideIndex(side)] = style;
    info.SetPattern(side, 0, paper);
    world.SetWallInfo(tile, info);
}

// A wall along a grid line between two points; false when it is neither
// horizontal nor vertical or leaves the grid.
bool AddRun(cFixedWorld& world, long x0, long y0, long x1, long y1, int32_t style, int32_t paper) {
    const int32_t n = world.GetSize();
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    if (x0 < 0 || y0 < 0 || x1 > n || y1 > n || (x0 != x1 && y0 != y1) || (x0 == x1 && y0 == y1)) return false;
    if (y0 == y1) {
        for (long x = x0; x < x1; ++x) {
            if (x >= n) return false;
            if (y0 < n) SetSide(world, x, y0, kWallSide2, style, paper);
            else SetSide(world, x, y0 - 1, kWallSide8, style, paper);
        }
    } else {
        for (long y = y0; y < y1; ++y) {
            if (y >= n) return false;
            if (x0 < n) SetSide(world, x0, y, kWallSide1, style, paper);
            else SetSide(world, x0 - 1, y, kWallSide4, style, paper);
        }
    }
    return true;
}

bool AddDiagonalRun(cFixedWorld& world, long x0, long y0, long x1, long y1, int32_t style, int32_t paper) {
    const int32_t n = world.GetSize();
    const long dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 || std::labs(dx) != std::labs(dy)) return false;
    if (x0 < 0 || y0 < 0 || x1 < 0 || y1 < 0 || x0 > n || y0 > n || x1 > n || y1 > n) return false;
    const long sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
    const int32_t diagonal = sx == sy ? kWallDiag32 : kWallDiag16;
    for (long i = 0; i < std::labs(dx); ++i) {
        const long px = x0 + i * sx, py = y0 + i * sy;
        const TileLocation tile = TileLocation::At(std::min(px, px + sx), std::min(py, py + sy), 1);
        WallInfo info = world.GetWallInfo(tile);
        info.flags |= diagonal;
        info.style[WallSideIndex(diagonal)] = style;
        for (int32_t kind : DiagonalFaceKinds(diagonal)) info.SetPattern(diagonal, kind, paper);
        world.SetWallInfo(tile, info);
    }
    return true;
}

}  // namespace

bool CompileLot(const std::string& name, const std::string& text, const std::string& root, std::string& error) {
    std::istringstream in(text);
    std::string line, output;
    int number = 0;
    std::unique_ptr<cFixedWorld> world;
    LotExtras extras;
    auto fail = [&](const std::string& message) {
        error = name + ":" + std::to_string(number) + ": " + message;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        const std::string& verb = w[0];
        if (verb == "lot" && w.size() == 2) {
            output = w[1];
            continue;
        }
        std::string extraError;
        if (ParseLotExtra(verb, w, line, number, extras, extraError)) {
            if (!extraError.empty()) return fail(extraError);
            continue;
        }
        std::vector<long> v;
        for (size_t i = 1; i < w.size(); ++i) {
            long value = 0;
            if (!ToInt(w[i], value)) return fail("not a number: " + w[i]);
            v.push_back(value);
        }
        if (verb == "size") {
            if (world) return fail("the size is given once");
            if (v.size() != 1 || v[0] < kMinWorldSize || v[0] > kMaxWorldSize) return fail("size takes 4 to 64");
            world = std::make_unique<cFixedWorld>(static_cast<int32_t>(v[0]));
            continue;
        }
        if (!world) return fail("the size comes before " + verb);
        const int32_t n = world->GetSize();
        auto tileRect = [&](size_t count) {
            return v.size() >= count && v[0] >= 0 && v[1] >= 0 && v[2] >= v[0] && v[3] >= v[1] && v[2] < n && v[3] < n;
        };
        if (verb == "ground" && v.size() == 1 && v[0] >= 0 && v[0] <= 255) {
            for (int32_t x = 0; x <= n; ++x)
                for (int32_t y = 0; y <= n; ++y) world->SetCornerHeight(x, y, static_cast<uint8_t>(v[0]));
        } else if (verb == "margin" && v.size() == 1 && v[0] >= 1 && v[0] * 2 < n) {
            const int32_t m = static_cast<int32_t>(v[0]) - 1;
            world->MarkOutsideArea(m, m, m, m);
        } else if ((verb == "wall" || verb == "box" || verb == "diagonal") && v.size() == 6 && v[4] >= 0 &&
                   v[4] <= 255 && v[5] >= 0 && v[5] <= 255) {
            const int32_t style = static_cast<int32_t>(v[4]), paper = static_cast<int32_t>(v[5]);
            bool ok = false;
            if (verb == "wall") {
                ok = AddRun(*world, v[0], v[1], v[2], v[3], style, paper);
            } else if (verb == "diagonal") {
                ok = AddDiagonalRun(*world, v[0], v[1], v[2], v[3], style, paper);
            } else {
                ok = v[0] < v[2] && v[1] < v[3] && AddRun(*world, v[0], v[1], v[2], v[1], style, paper) &&
                     AddRun(*world, v[0], v[3], v[2], v[3], style, paper) &&
                     AddRun(*world, v[0], v[1], v[0], v[3], style, paper) &&
                     AddRun(*world, v[2], v[1], v[2], v[3], style, paper);
            }
            if (!ok) return fail("the " + verb + " does not lie on the lot's grid lines");
        } else if (verb == "floor" && (v.size() == 5 || v.size() == 6) && tileRect(5) && v[4] >= 0 && v[4] <= 255) {
            const long level = v.size() == 6 ? v[5] : 1;
            if (level != 1 && level != 2) return fail("floors lie on level 1 or 2");
            for (long x = v[0]; x <= v[2]; ++x)
                for (long y = v[1]; y <= v[3]; ++y) world->Floors(static_cast<int32_t>(level))->At(x, y) = static_cast<uint8_t>(v[4]);
        } else if ((verb == "pool" || verb == "water") && v.size() == 4 && tileRect(4)) {
            const TileRect rect{TileLocation::At(v[0], v[1], 1), static_cast<int32_t>(v[2] + 1), static_cast<int32_t>(v[3] + 1)};
            if (verb == "pool") world->GetPoolLayer()->AddPoolRect(rect);
            else world->GetWaterLayer()->AddWaterRect(rect);
        } else {
            return fail("unknown statement or wrong values: " + line);
        }
    }
    if (!world) return fail("a lot needs its size");
    if (output.empty()) return fail("a lot needs its output name ('lot PATH')");
    // Written as the wall tool leaves its walls, so the first edit on the
    // lot rewrites only what it draws.
    SettleWallFaces(*world, 1);
    const std::string path = root + "/" + output;
    const size_t slash = path.find_last_of('/');
    platform::CreateDirectories(path.substr(0, slash));
    if (extras.Any()) return WriteWholeLot(name, *world, extras, root, path, error);
    std::string saveError;
    if (SaveLotLayers(*world, path, kHouseFileVersion, saveError) != 0) {
        error = name + ": cannot write " + path + (saveError.empty() ? "" : ": " + saveError);
        return false;
    }
    return true;
}
