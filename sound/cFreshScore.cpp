#include "sound/cFreshScore.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "framework/CTGFileManager.h"

namespace {

// A cursor over one line that reads numbers as "%ld" does: blanks skipped,
// an optional sign, digits; values beyond 32 bits saturate.
struct FscCursor {
    std::string_view text;
    size_t at = 0;

    void SkipBlanks() {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    }
    bool Number(int32_t& out) {
        SkipBlanks();
        size_t p = at;
        bool negative = false;
        if (p < text.size() && (text[p] == '-' || text[p] == '+')) negative = text[p++] == '-';
        if (p >= text.size() || !std::isdigit(static_cast<unsigned char>(text[p]))) return false;
        int64_t value = 0;
        for (; p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])); ++p)
            value = std::min<int64_t>(value * 10 + (text[p] - '0'), int64_t{1} << 40);
        if (negative) value = -value;
        out = static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                       std::numeric_limits<int32_t>::max()));
        at = p;
        return true;
    }
    // The next blank-free word, cut at `limit` characters (the whole word is
    // passed over either way).
    bool Word(std::string& out, size_t limit) {
        SkipBlanks();
        const size_t start = at;
        while (at < text.size() && !std::isspace(static_cast<unsigned char>(text[at]))) ++at;
        if (at == start) return false;
        out.assign(text.substr(start, std::min(at - start, limit)));
        return true;
    }
};

// The lines of a text, without their line ends.
std::vector<std::string_view> FscLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

bool IsNone(const std::string& name) {
    return name.size() == 4 && std::toupper(static_cast<unsigned char>(name[0])) == 'N' &&
           std::toupper(static_cast<unsigned char>(name[1])) == 'O' &&
           std::toupper(static_cast<unsigned char>(name[2])) == 'N' &&
           std::toupper(static_cast<unsigned char>(name[3])) == 'E';
}

}  // namespace

int32_t cFreshCell::Class() const { return std::clamp(probabilityClass, 0, 20); }

cFreshScore::~cFreshScore() = default;

bool cFreshScore::Read(const char* path) {
    CTGFile* file = CTGFileManager::Global().Open(path, false);
    if (!file) return false;
    std::string text(static_cast<size_t>(std::max(file->GetSize(), 0)), '\0');
    const bool ok = text.empty() || file->Read(text.data(), static_cast<int32_t>(text.size())) ==
                                        static_cast<int32_t>(text.size());
    CTGFileManager::Global().Close(file);
    return ok && ReadText(text);
}

bool cFreshScore::ReadText(std::string_view text) {
    for (auto& cell : mCells) cell.reset();
    const std::vector<std::string_view> lines = FscLines(text);
    if (lines.empty() || !lines[0].starts_with("version")) return false;
    FscCursor versionLine{lines[0], 7};
    if (!versionLine.Number(version)) version = 0;
    if (version != 6 && version != 7) return true;
    if (lines.size() < 3) return false;

    FscCursor headerLine{lines[2]};
    std::array<int32_t, 14> values{};
    for (int32_t& value : values)
        if (!headerLine.Number(value)) return false;
    header.volume = values[0];
    header.quantise = values[1];
    header.targetBase = values[2];
    header.busyCeiling = values[3];
    // The grid has 64 places a side, whatever the file says.
    header.rows = std::clamp(values[4], 1, kMaxSide);
    header.columns = std::clamp(values[5], 1, kMaxSide);
    header.tempo = values[6];
    header.beatsPerBar = values[7];
    header.columnRadius = values[8];
    header.rowRadius = values[9];
    header.spare1 = values[10];
    header.spare2 = values[11];
    header.columnTargetStep = values[12];
    header.rowTargetStep = values[13];

    size_t next = 4;
    for (int32_t row = 0; row < header.rows; ++row)
        for (int32_t column = 0; column < header.columns; ++column) {
            if (next >= lines.size()) return true;
            ReadCell(lines[next++], row, column);
        }
    return true;
}

void cFreshScore::ReadCell(std::string_view line, int32_t row, int32_t column) {
    auto cell = std::make_unique<cFreshCell>();
    int32_t values[18] = {};
    const int count = version == 7 ? 18 : 17;
    FscCursor cursor{line};
    for (int i = 0; i < count; ++i)
        if (!cursor.Number(values[i])) return;
    if (!cursor.Word(cell->name, kMaxName) || IsNone(cell->name)) return;
    cell->volume = values[0];
    cell->randomVolume = values[1] != 0;
    cell->across = values[2];
    cell->depth = values[3];
    cell->randomPlace = values[4] != 0;
    cell->fadeIn = values[5];
    cell->fadeOut = values[6];
    cell->value8 = values[7];
    cell->flagC = values[8] != 0;
    cell->beats = values[9];
    cell->counted = values[10] != 0;
    cell->value12 = values[11];
    cell->probabilityClass = values[12];
    cell->pitchLow = values[13];
    cell->pitchHigh = values[14];
    cell->barSync = values[15] != 0;
    cell->group = values[16];
    cell->flagF = count == 18 && values[17] != 0;
    // Conflicts: "(row,column)" groups; a place outside the grid names no cell.
    while (true) {
        const size_t open = line.find('(', cursor.at);
        if (open == std::string_view::npos) break;
        cursor.at = open + 1;
        int32_t r = 0, c = 0;
        if (!cursor.Number(r)) continue;
        cursor.SkipBlanks();
        if (cursor.at >= line.size() || line[cursor.at] != ',') continue;
        ++cursor.at;
        if (!cursor.Number(c)) continue;
        if (r >= 0 && r < header.rows && c >= 0 && c < header.columns) cell->conflicts.emplace_back(r, c);
    }
    mCells[static_cast<size_t>(row) * kMaxSide + static_cast<size_t>(column)] = std::move(cell);
}

const cFreshCell* cFreshScore::Cell(int32_t row, int32_t column) const {
    if (row < 0 || row >= kMaxSide || column < 0 || column >= kMaxSide) return nullptr;
    return mCells[static_cast<size_t>(row) * kMaxSide + static_cast<size_t>(column)].get();
}

cFreshCell* cFreshScore::Cell(int32_t row, int32_t column) {
    return const_cast<cFreshCell*>(static_cast<const cFreshScore*>(this)->Cell(row, column));
}

bool cFreshScore::SetCell(int32_t row, int32_t column, std::unique_ptr<cFreshCell> cell) {
    if (row < 0 || row >= kMaxSide || column < 0 || column >= kMaxSide) return false;
    mCells[static_cast<size_t>(row) * kMaxSide + static_cast<size_t>(column)] = std::move(cell);
    return true;
}

size_t cFreshScore::CellCount() const {
    return static_cast<size_t>(std::count_if(mCells.begin(), mCells.end(), [](const auto& c) { return c != nullptr; }));
}

std::string WriteFreshScore(const cFreshScore& score, int32_t version) {
    const cFreshScoreHeader& h = score.header;
    std::string out = "version " + std::to_string(version) + "\n";
    out += "\tvolume\tquantise\ttarget\tceiling\trows\tcolumns\ttempo\tbeats\tcolumn radius\trow radius"
           "\tspare\tspare\tcolumn step\trow step\n";
    for (int32_t v : {h.volume, h.quantise, h.targetBase, h.busyCeiling, h.rows, h.columns, h.tempo, h.beatsPerBar,
                      h.columnRadius, h.rowRadius, h.spare1, h.spare2, h.columnTargetStep, h.rowTargetStep})
        out += "\t" + std::to_string(v);
    out += "\n\tcells, row by row\n";
    const cFreshCell none{.name = "none"};
    for (int32_t row = 0; row < std::clamp(h.rows, 1, cFreshScore::kMaxSide); ++row)
        for (int32_t column = 0; column < std::clamp(h.columns, 1, cFreshScore::kMaxSide); ++column) {
            const cFreshCell* found = score.Cell(row, column);
            const cFreshCell& c = found ? *found : none;
            std::vector<int32_t> values = {c.volume,    c.randomVolume, c.across,  c.depth,
                                           c.randomPlace, c.fadeIn,     c.fadeOut, c.value8,
                                           c.flagC,     c.beats,        c.counted, c.value12,
                                           c.probabilityClass, c.pitchLow, c.pitchHigh, c.barSync,
                                           c.group};
            if (version == 7) values.push_back(c.flagF);
            for (int32_t v : values) out += "\t" + std::to_string(v);
            out += "\t" + (c.name.empty() ? std::string("none") : c.name);
            for (const auto& [r, k] : c.conflicts) out += "\t(" + std::to_string(r) + "," + std::to_string(k) + ")";
            out += "\n";
        }
    return out;
}
