// buildscript --lot FILE --script FILE [--save FILE] [--version N] [--size N]
//             [--data ROOT] [--money N]
//
// The lot is --size tiles a side (default 64): the house file's layers do not
// record it.
//
// Commands, one a line (# starts a comment):
//   show walls|posts|pieces LEVEL   rotate R   wallsdown LEVEL on|off
//   cutaway LEVEL X0 Y0 X1 Y1       draw LEVEL ZOOM
//   rooms [LEVEL]                   show rooms|flags|pool|water|roof LEVEL
// Build-mode events (the household starts with --money, default 20000):
//   tool ID [VALUE]   level N   hold|release shift|ctrl   key CODE   char C
//   move|down|drag|up X Y (view tiles, fractions allowed)
//   undo   redo   roof SLOPE TEXTURE   mode N (the control panel's mode)
//   price floor PATTERN AMOUNT | price pool AMOUNT | price terrain AMOUNT
//   buy GUID (from the catalogue of --data ROOT)   pick ID (the object under
//   the mouse for the next events)
// each followed by the changed cells and "money M pending P undo U redo R".
// Room detection runs once after the lot is loaded.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "gamedata/RoomManager.h"
#include "support/RecordingViewer.h"
#include "tools/buildscript/ToolReplay.h"
#include "world/LotFile.h"
#include "world/LotGrids.h"
#include "world/LotWorld.h"
#include "world/cRotatableWorld.h"
#include "world/walls/WallManager.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: buildscript --lot FILE --script FILE [--save FILE] [--version N] [--size N] [--data ROOT] "
                 "[--money N]\n");
    return 2;
}

bool ParseInt(const std::string& text, long low, long high, long& out) {
    char* end = nullptr;
    out = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && out >= low && out <= high;
}

class Script {
public:
    Script(cFixedWorld& world) : mWorld(world) { mWorld.GetWallManager().SetView(&mView); }
    ~Script() { mWorld.GetWallManager().SetView(nullptr); }

    // False with a message for a command that cannot run.
    bool Run(const std::vector<std::string>& words, std::string& error) {
        WallManager& walls = mWorld.GetWallManager();
        walls.Update();
        long level = 0, value = 0;
        const std::string& verb = words[0];
        if (verb == "show" && words.size() == 3 && ParseInt(words[2], 1, 2, level)) {
            if (words[1] == "pieces") return ShowPieces(walls, static_cast<int32_t>(level));
            if (words[1] == "walls") return ShowWalls(walls, static_cast<int32_t>(level));
            if (words[1] == "posts") return ShowPosts(walls, static_cast<int32_t>(level));
            std::string grid;
            const bool known = ShowGrid(words[1], static_cast<int32_t>(level), grid);
            std::fputs(grid.c_str(), stdout);
            if (known) return true;
        } else if (verb == "rooms" && (words.size() == 1 || (words.size() == 2 && ParseInt(words[1], 1, 2, level)))) {
            mWorld.RecomputeRooms(static_cast<int32_t>(level));
            for (int32_t l = 1; l <= 2; ++l)
                if (level == 0 || level == l) std::printf("rooms L%d: %d\n", l, mWorld.GetRoomCount(l));
            return true;
        } else if (verb == "rotate" && words.size() == 2 && ParseInt(words[1], 0, 3, value)) {
            mWorld.SetRotation(static_cast<int32_t>(value), false);
            mView.rotation = static_cast<int32_t>(value);
            return true;
        } else if (verb == "wallsdown" && words.size() == 3 && ParseInt(words[1], 1, 2, level) &&
                   (words[2] == "on" || words[2] == "off")) {
            walls.SetWallsDown(static_cast<int32_t>(level), words[2] == "on");
            return true;
        } else if (verb == "cutaway" && words.size() == 6 && ParseInt(words[1], 1, 2, level)) {
            long box[4];
            for (int i = 0; i < 4; ++i)
                if (!ParseInt(words[2 + i], 0, 63, box[i])) return Fail(error, "tile coordinates lie in 0..63");
            uint64_t set[64] = {};
            for (long y = box[1]; y <= box[3]; ++y)
                for (long x = box[0]; x <= box[2]; ++x) set[y] |= uint64_t{1} << x;
            walls.ApplyCutaway(static_cast<int32_t>(level), set);
            return true;
        } else if (verb == "draw" && words.size() == 3 && ParseInt(words[1], 1, 2, level) &&
                   ParseInt(words[2], 1, 3, value)) {
            mView.zoom = static_cast<int32_t>(value);
            mView.log.clear();
            walls.DrawLevel(static_cast<int32_t>(level), ScreenRect{-100000, -100000, 100000, 100000});
            for (const std::string& line : mView.log) std::printf("%s\n", line.c_str());
            return true;
        }
        return Fail(error, "unknown command or wrong arguments");
    }

private:
    static bool Fail(std::string& error, const char* text) {
        error = text;
        return false;
    }
    bool ShowGrid(const std::string& what, int32_t level, std::string& grid) {
        if (what == "rooms") grid = RoomsGrid(mWorld, level);
        else if (what == "flags") grid = FlagsGrid(mWorld, level);
        else if (what == "pool") grid = level == 1 ? PoolGrid(mWorld) : std::string();
        else if (what == "water") grid = level == 1 ? WaterGrid(mWorld) : std::string();
        else if (what == "roof") grid = RoofGrid(mWorld, level);
        else return false;
        return true;
    }
    static bool ShowPieces(WallManager& walls, int32_t level) {
        for (const auto& p : walls.Posts(level)) std::printf("post %d %d %d\n", p->point.x, p->point.y, p->mask);
        for (const auto& w : walls.Walls(level))
            std::printf("wall %d %d %d %d %d %zu\n", w->start.x, w->start.y, w->end.x, w->end.y, w->direction,
                        w->entries.size());
        std::printf("pieces L%d: %zu posts, %zu walls\n", level, walls.Posts(level).size(), walls.Walls(level).size());
        return true;
    }
    static bool ShowWalls(WallManager& walls, int32_t level) {
        for (const auto& w : walls.Walls(level)) {
            std::printf("wall %d %d %d %d %d rooms %d %d:", w->start.x, w->start.y, w->end.x, w->end.y, w->direction,
                        w->rooms[0], w->rooms[1]);
            for (const WallEntry& e : w->entries) std::printf(" %d/%d/%d/%d", e.flags, e.style, e.front, e.back);
            std::printf("\n");
        }
        return true;
    }
    static bool ShowPosts(WallManager& walls, int32_t level) {
        for (const auto& p : walls.Posts(level))
            std::printf("post %d %d mask %d lowered %d standing %d doors %d capped %d caps %d%d\n", p->point.x,
                        p->point.y, p->mask, p->lowered, p->standing, p->doors, p->capped, p->capExists[0] ? 1 : 0,
                        p->capExists[1] ? 1 : 0);
        return true;
    }

    cFixedWorld& mWorld;
    tova_test::RecordingViewer mView;
};

}  // namespace

int main(int argc, char** argv) {
    std::string lotPath, scriptPath, savePath, dataRoot = "./";
    long version = 53, size = 64, money = 20000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const std::string value = argv[++i];
        if (arg == "--lot") lotPath = value;
        else if (arg == "--script") scriptPath = value;
        else if (arg == "--save") savePath = value;
        else if (arg == "--version" && ParseInt(value, 1, 1000, version)) continue;
        else if (arg == "--size" && ParseInt(value, 4, 64, size)) continue;
        else if (arg == "--data") dataRoot = value;
        else if (arg == "--money" && ParseInt(value, -1000000000, 1000000000, money)) continue;
        else return Usage();
    }
    if (lotPath.empty() || scriptPath.empty()) return Usage();
    cRotatableWorld world(static_cast<int32_t>(size), ReplayWorldServices());
    if (LoadLotLayers(world, lotPath, static_cast<int32_t>(version)) != 0) {
        std::fprintf(stderr, "buildscript: cannot read the lot's layers from %s\n", lotPath.c_str());
        return 1;
    }
    std::ifstream script(scriptPath);
    if (!script) {
        std::fprintf(stderr, "buildscript: cannot read %s\n", scriptPath.c_str());
        return 1;
    }
    cLotWorld lot(world);
    tova::RoomManager rooms(tova::LotServices{&lot});
    world.SetRoomManager(&rooms);
    Script runner(world);
    world.RecomputeRooms(0);
    ToolReplay replay(world, static_cast<int32_t>(money), dataRoot);
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string command = line.substr(0, line.find('#'));
        std::istringstream in(command);
        std::vector<std::string> words;
        for (std::string word; in >> word;) words.push_back(word);
        if (words.empty()) continue;
        std::printf("> %s\n", line.c_str());
        std::string error;
        if (!(replay.Handles(words[0]) ? replay.Run(words, error) : runner.Run(words, error))) {
            std::fflush(stdout);
            std::fprintf(stderr, "buildscript: line %d: %s: %s\n", number, error.c_str(), line.c_str());
            return 2;
        }
    }
    if (!savePath.empty()) {
        std::string error;
        if (SaveLotLayers(world, savePath, static_cast<int32_t>(version), error) != 0) {
            std::fprintf(stderr, "buildscript: cannot save %s: %s\n", savePath.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}
