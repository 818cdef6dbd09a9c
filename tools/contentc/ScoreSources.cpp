#include "tools/contentc/ScoreSources.h"

#include <filesystem>

#include "platform/AtomicFile.h"
#include "tools/contentc/KeywordLines.h"

namespace {

bool ScoreFlag(std::istringstream& words, bool& out) {
    int32_t v = 0;
    if (!(words >> v) || (v != 0 && v != 1)) return false;
    out = v != 0;
    return true;
}

// The settings after a cell's name.
bool ScoreCellSettings(std::istringstream& words, cFreshCell& cell, int32_t rows, int32_t columns) {
    std::string key;
    while (words >> key) {
        bool ok = true;
        if (key == "volume")
            ok = static_cast<bool>(words >> cell.volume) && cell.volume >= 0 && cell.volume <= 1024;
        else if (key == "randomvolume")
            ok = ScoreFlag(words, cell.randomVolume);
        else if (key == "place")
            ok = static_cast<bool>(words >> cell.across >> cell.depth) && cell.across >= 0 && cell.across <= 1024 &&
                 cell.depth >= 0 && cell.depth <= 1024;
        else if (key == "randomplace")
            ok = ScoreFlag(words, cell.randomPlace);
        else if (key == "fadein") {
            bool fade = false;
            ok = ScoreFlag(words, fade);
            cell.fadeIn = fade;
        } else if (key == "fadeout")
            ok = static_cast<bool>(words >> cell.fadeOut) && cell.fadeOut >= 0;
        else if (key == "beats")
            ok = static_cast<bool>(words >> cell.beats) && cell.beats > 0;
        else if (key == "counted")
            ok = ScoreFlag(words, cell.counted);
        else if (key == "class")
            ok = static_cast<bool>(words >> cell.probabilityClass) && cell.probabilityClass >= 0 &&
                 cell.probabilityClass <= 20;
        else if (key == "pitch")
            ok = static_cast<bool>(words >> cell.pitchLow >> cell.pitchHigh) && cell.pitchLow <= cell.pitchHigh;
        else if (key == "barsync")
            ok = ScoreFlag(words, cell.barSync);
        else if (key == "group")
            ok = static_cast<bool>(words >> cell.group) && cell.group >= 0;
        else if (key == "conflict") {
            int32_t r = -1, c = -1;
            ok = static_cast<bool>(words >> r >> c) && r >= 0 && r < rows && c >= 0 && c < columns;
            cell.conflicts.emplace_back(r, c);
        } else
            ok = false;
        if (!ok) return false;
    }
    return true;
}

}  // namespace

bool ParseScoreSource(const std::string& name, const std::string& text, ScoreDescription& out, std::string& error) {
    int number = 0;
    cFreshScoreHeader& h = out.score->header;
    bool cells = false;
    const bool read = ForEachKeywordLine(name, text, number, error, [&](const std::string& key, std::istringstream& words) {
        bool ok = true;
        const auto side = [&](int32_t& v) {
            // The grid's size is fixed before the first cell names a place in it.
            return !cells && static_cast<bool>(words >> v) && v >= 1 && v <= cFreshScore::kMaxSide;
        };
        if (key == "file")
            ok = static_cast<bool>(words >> out.file) && out.file.find('/') == std::string::npos &&
                 out.file.ends_with(".fsc");
        else if (key == "folder")
            ok = static_cast<bool>(words >> out.folder) && out.folder.find("..") == std::string::npos &&
                 out.folder[0] != '/';
        else if (key == "version")
            ok = static_cast<bool>(words >> out.version) && (out.version == 6 || out.version == 7);
        else if (key == "volume")
            ok = static_cast<bool>(words >> h.volume) && h.volume >= 0 && h.volume <= 1024;
        else if (key == "quantise")
            ok = static_cast<bool>(words >> h.quantise) && (h.quantise == 0 || h.quantise == 1);
        else if (key == "target")
            ok = static_cast<bool>(words >> h.targetBase) && h.targetBase >= 0;
        else if (key == "ceiling")
            ok = static_cast<bool>(words >> h.busyCeiling) && h.busyCeiling >= 0;
        else if (key == "rows")
            ok = side(h.rows);
        else if (key == "columns")
            ok = side(h.columns);
        else if (key == "tempo")
            ok = static_cast<bool>(words >> h.tempo) && h.tempo >= 0;
        else if (key == "beats")
            ok = static_cast<bool>(words >> h.beatsPerBar) && h.beatsPerBar >= 1;
        else if (key == "radius")
            ok = static_cast<bool>(words >> h.rowRadius >> h.columnRadius) && h.rowRadius >= 0 && h.columnRadius >= 0;
        else if (key == "steps")
            ok = static_cast<bool>(words >> h.columnTargetStep >> h.rowTargetStep);
        else if (key == "cell") {
            cells = true;
            int32_t r = -1, c = -1;
            auto cell = std::make_unique<cFreshCell>();
            ok = static_cast<bool>(words >> r >> c >> cell->name) && r >= 0 && r < h.rows && c >= 0 &&
                 c < h.columns && cell->name.size() <= cFreshScore::kMaxName &&
                 ScoreCellSettings(words, *cell, h.rows, h.columns);
            if (ok) out.score->SetCell(r, c, std::move(cell));
        } else
            return KeywordResult::kUnknown;
        return ok ? KeywordResult::kTaken : KeywordResult::kBadValue;
    });
    if (!read) return false;
    if (out.file.empty()) {
        error = name + ":" + std::to_string(number) + ": no 'file' line";
        return false;
    }
    return true;
}

bool WriteScoreSource(const ScoreDescription& score, const std::string& root, std::string& error) {
    const std::filesystem::path folder = std::filesystem::path(root) / score.folder;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string text = WriteFreshScore(*score.score, score.version);
    platform::AtomicFile file(folder / score.file);
    if (!file.Begin() || !file.Write(text.data(), text.size()) || !file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}
