// A score of the outdoor ambience: a grid of up to 64 x 64 cells, each a
// sound clip with the rules a score player (cFreshPlayer) plays it by. It is
// read from a ".fsc" text file: a "version" line, a skipped line, a header
// line of 14 tab-preceded numbers, another skipped line, then one line per
// cell, row by row: its numbers, its clip name and its conflicts "(r,c)".
// A cell named "NONE" (any case) leaves its place empty.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct cFreshCell {
    int32_t volume = 1024;       // value 1, 0..1024
    bool randomVolume = false;   // flag A
    int32_t across = 512;        // value 3, 0..1024 (512 = centre)
    int32_t depth = 512;         // value 4
    bool randomPlace = false;    // flag B
    int32_t fadeIn = 0;          // value 6 (non-zero: a 2000 ms fade-in)
    int32_t fadeOut = 0;         // value 7, ms
    int32_t value8 = 0;          // stored, read by nothing
    bool flagC = false;          // stored, read by nothing
    int32_t beats = 8;           // value 10: length of a counted cell
    bool counted = true;         // flag D
    int32_t value12 = 0;         // stored, read by nothing
    int32_t probabilityClass = 0;  // value 13 (limited to 0..20 when used)
    int32_t pitchLow = 0;        // value 14, semitones
    int32_t pitchHigh = 0;       // value 15
    bool barSync = false;        // flag E
    int32_t group = 0;           // value 17 (0 = none)
    bool flagF = false;          // version 7 only; stored, read by nothing
    std::string name;
    std::vector<std::pair<int32_t, int32_t>> conflicts;  // (row, column)

    // 0..20.
    int32_t Class() const;
};

struct cFreshScoreHeader {
    int32_t volume = 1024;
    int32_t quantise = 0;
    int32_t targetBase = 0;
    int32_t busyCeiling = 4;
    int32_t rows = 4;
    int32_t columns = 4;
    int32_t tempo = 120;
    int32_t beatsPerBar = 8;
    int32_t columnRadius = 2;
    int32_t rowRadius = 2;
    int32_t spare1 = 1;  // stored, read by nothing
    int32_t spare2 = 1;
    int32_t columnTargetStep = 0;
    int32_t rowTargetStep = 0;
};

class cFreshScore {
public:
    static constexpr int32_t kMaxSide = 64;
    // Longest clip name kept; a longer one is cut.
    static constexpr size_t kMaxName = 255;

    cFreshScore() = default;
    virtual ~cFreshScore();
    cFreshScore(const cFreshScore&) = delete;
    cFreshScore& operator=(const cFreshScore&) = delete;

    // Reads through the data-file manager. False when the file cannot be
    // opened or does not begin with "version"; a version other than 6 or 7
    // reads no cells.
    bool Read(const char* path);
    bool ReadText(std::string_view text);

    // Null outside the grid or where the place is empty.
    const cFreshCell* Cell(int32_t row, int32_t column) const;
    cFreshCell* Cell(int32_t row, int32_t column);
    // Takes a cell into a place of the grid (null empties it); false outside
    // the 64 x 64 grid.
    bool SetCell(int32_t row, int32_t column, std::unique_ptr<cFreshCell> cell);
    size_t CellCount() const;

    cFreshScoreHeader header;
    int32_t version = 0;
    // Positions 0..1000 last given to a player, applied again at its start.
    int32_t rowPosition = 0;
    int32_t columnPosition = 0;

private:
    void ReadCell(std::string_view line, int32_t row, int32_t column);

    std::array<std::unique_ptr<cFreshCell>, kMaxSide * kMaxSide> mCells;
};

// The ".fsc" text of a score in version 6 or 7 (empty places are written as
// cells named "none"): what the content compiler and tests write.
std::string WriteFreshScore(const cFreshScore& score, int32_t version);
