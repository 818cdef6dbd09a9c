// Score players on the offline sound service with manual clocks: a score is
// written with the project's writer into the test's folder (with its clips
// as short 22050 Hz waves) and loaded into a seeded player; an observer
// records every change of a cell.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "SoundFixture.h"
#include "sound/cFreshDriver.h"
#include "sound/cFreshPlayer.h"
#include "sound/cFreshScore.h"

namespace sound_test {

class RecordingObserver : public cIFreshObserver {
public:
    bool MayPlay(const std::string& path) override { return path.find("refused") == std::string::npos; }
    void ClipStarted(const std::string& path, int32_t row, int32_t column) override { Add("start", path, row, column); }
    void ClipFinishing(const std::string& path, int32_t row, int32_t column) override {
        Add("finish", path, row, column);
    }
    void ClipStopped(const std::string& path, int32_t row, int32_t column) override { Add("stop", path, row, column); }
    size_t Count(const std::string& kind) const {
        size_t n = 0;
        for (const std::string& line : lines) n += line.starts_with(kind + " ");
        return n;
    }

    std::vector<std::string> lines;

private:
    void Add(const char* kind, const std::string& path, int32_t row, int32_t column) {
        const std::string name = path.substr(path.find_last_of("/\\") + 1);
        lines.push_back(std::string(kind) + " " + std::to_string(row) + " " + std::to_string(column) + " " + name);
    }
};

class FreshTest : public SoundTest {
protected:
    ~FreshTest() override {
        if (player) player->Release();
    }

    static std::unique_ptr<cFreshCell> Cell(const std::string& name, int32_t cls, int32_t group = 0) {
        auto cell = std::make_unique<cFreshCell>();
        cell->name = name;
        cell->probabilityClass = cls;
        cell->group = group;
        return cell;
    }

    // Writes the score and a clip for each cell (refused or missing clips
    // excepted), then loads it into a new player with the seed.
    cFreshPlayer* Load(cFreshScore& score, uint32_t seed = 1, double clipSeconds = 0.3) {
        for (int32_t r = 0; r < score.header.rows; ++r)
            for (int32_t c = 0; c < score.header.columns; ++c)
                if (const cFreshCell* cell = score.Cell(r, c); cell && !cell->name.starts_with("missing"))
                    WriteWav(cell->name, platform::PcmFormat::Make(1, 22050, 16),
                             Tone(uint32_t(22050 * clipSeconds), 1, 22050));
        std::ofstream((dir / "score.fsc").string()) << WriteFreshScore(score, 7);
        if (player) player->Release();
        player = new cFreshPlayer(seed);
        EXPECT_TRUE(player->Load((dir / "score.fsc").string(), &driver, &observer));
        return player;
    }

    cFreshDriver driver{service.get(), &callbacks};
    RecordingObserver observer;
    cFreshPlayer* player = nullptr;
};

}  // namespace sound_test
