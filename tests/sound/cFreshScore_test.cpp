#include "sound/cFreshScore.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/ScratchDir.h"

namespace {

std::unique_ptr<cFreshCell> NamedCell(const std::string& name) {
    auto cell = std::make_unique<cFreshCell>();
    cell->name = name;
    return cell;
}

// A 2 x 3 score with a cell of every kind of value, an empty place and a
// conflict.
void FillSmallScore(cFreshScore& score) {
    score.header.rows = 2;
    score.header.columns = 3;
    score.header.volume = 900;
    score.header.quantise = 1;
    score.header.tempo = 90;
    score.header.spare1 = 17;
    score.header.rowTargetStep = -3;
    auto a = NamedCell("birds.wav");
    a->volume = 700;
    a->randomVolume = true;
    a->across = 1024;
    a->depth = 0;
    a->fadeIn = 1;
    a->fadeOut = 1500;
    a->beats = 4;
    a->counted = false;
    a->probabilityClass = 20;
    a->pitchLow = -2;
    a->pitchHigh = 2;
    a->barSync = true;
    a->group = 3;
    a->flagF = true;
    a->conflicts = {{1, 2}, {0, 1}};
    score.SetCell(0, 0, std::move(a));
    score.SetCell(0, 2, NamedCell("wind.wav"));
    score.SetCell(1, 0, NamedCell("crickets.wav"));
    score.SetCell(1, 2, NamedCell("dog.wav"));
}

}  // namespace

TEST(FreshScore, WrittenVersionsSevenAndSixReadBack) {
    cFreshScore written;
    FillSmallScore(written);
    for (int32_t version : {7, 6}) {
        cFreshScore read;
        ASSERT_TRUE(read.ReadText(WriteFreshScore(written, version))) << version;
        EXPECT_EQ(read.version, version);
        EXPECT_EQ(read.header.rows, 2);
        EXPECT_EQ(read.header.columns, 3);
        EXPECT_EQ(read.header.volume, 900);
        EXPECT_EQ(read.header.quantise, 1);
        EXPECT_EQ(read.header.tempo, 90);
        EXPECT_EQ(read.header.spare1, 17);
        EXPECT_EQ(read.header.rowTargetStep, -3);
        EXPECT_EQ(read.CellCount(), 4u);
        // "none" leaves the place empty.
        EXPECT_EQ(read.Cell(0, 1), nullptr);
        EXPECT_EQ(read.Cell(1, 1), nullptr);
        const cFreshCell* a = read.Cell(0, 0);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->name, "birds.wav");
        EXPECT_EQ(a->volume, 700);
        EXPECT_TRUE(a->randomVolume);
        EXPECT_EQ(a->across, 1024);
        EXPECT_EQ(a->depth, 0);
        EXPECT_EQ(a->fadeOut, 1500);
        EXPECT_EQ(a->beats, 4);
        EXPECT_FALSE(a->counted);
        EXPECT_EQ(a->Class(), 20);
        EXPECT_EQ(a->pitchLow, -2);
        EXPECT_EQ(a->pitchHigh, 2);
        EXPECT_TRUE(a->barSync);
        EXPECT_EQ(a->group, 3);
        // Version 6 has no flag F.
        EXPECT_EQ(a->flagF, version == 7);
        EXPECT_EQ(a->conflicts, (std::vector<std::pair<int32_t, int32_t>>{{1, 2}, {0, 1}}));
        EXPECT_EQ(read.Cell(1, 2)->name, "dog.wav");
    }
}

TEST(FreshScore, ReadsThroughTheDataFileManagerAndRefusesWhatIsNoScore) {
    tova_test::ScratchDir dir;
    cFreshScore written;
    FillSmallScore(written);
    std::ofstream(dir / "a.fsc") << WriteFreshScore(written, 7);
    cFreshScore score;
    ASSERT_TRUE(score.Read((dir / "a.fsc").string().c_str()));
    EXPECT_EQ(score.CellCount(), 4u);
    EXPECT_FALSE(score.Read((dir / "missing.fsc").string().c_str()));

    struct Case {
        const char* text;
        bool read;
        int32_t version;
    };
    for (const Case& c : {Case{"", false, 0}, Case{"verse 7\n", false, 0}, Case{"version 7\n", false, 7},
                          Case{"version 7\nx\n\t1\t2\t3\n", false, 7}}) {
        cFreshScore s;
        EXPECT_EQ(s.ReadText(c.text), c.read) << c.text;
        EXPECT_EQ(s.version, c.version) << c.text;
        EXPECT_EQ(s.CellCount(), 0u) << c.text;
    }
}

TEST(FreshScore, OtherVersionsGiveNoCells) {
    cFreshScore written;
    FillSmallScore(written);
    std::string text = WriteFreshScore(written, 7);
    for (const char* version : {"version 5", "version 8", "version"}) {
        text.replace(0, text.find('\n'), version);
        cFreshScore score;
        EXPECT_TRUE(score.ReadText(text)) << version;
        EXPECT_EQ(score.CellCount(), 0u) << version;
    }
}

TEST(FreshScore, HostileHeadersAreClampedToTheGridAndConflictsOutsideItDropped) {
    struct Case {
        int32_t rows, columns, wantRows, wantColumns;
    };
    for (const Case c : {Case{0, 3, 1, 3}, Case{65, 2, 64, 2}, Case{-1, -1, 1, 1}, Case{2000000000, 64, 64, 64}}) {
        std::string text = "version 7\n\n";
        for (int32_t v : {1024, 0, 0, 4, c.rows, c.columns, 120, 8, 2, 2, 1, 1, 0, 0}) text += "\t" + std::to_string(v);
        text += "\n\n";
        // More cell lines than any grid holds: the reader stops at the grid.
        for (int i = 0; i < 70 * 70; ++i)
            text += "\t1024\t0\t512\t512\t0\t0\t0\t0\t0\t8\t1\t0\t10\t0\t0\t0\t0\t0\tc.wav\t(0,0)\t(64,0)\t(-1,2)\t(0,64)\n";
        cFreshScore score;
        ASSERT_TRUE(score.ReadText(text)) << c.rows;
        EXPECT_EQ(score.header.rows, c.wantRows) << c.rows;
        EXPECT_EQ(score.header.columns, c.wantColumns) << c.rows;
        EXPECT_EQ(score.CellCount(), size_t(c.wantRows) * size_t(c.wantColumns)) << c.rows;
        EXPECT_EQ(score.Cell(0, 0)->conflicts, (std::vector<std::pair<int32_t, int32_t>>{{0, 0}})) << c.rows;
        EXPECT_EQ(score.Cell(-1, 0), nullptr);
        EXPECT_EQ(score.Cell(64, 0), nullptr);
    }
}

TEST(FreshScore, LongNamesAreCutAndBrokenLinesLeaveTheirPlaceEmpty) {
    cFreshScore written;
    written.header.rows = 1;
    written.header.columns = 3;
    written.SetCell(0, 0, NamedCell(std::string(5000, 'n') + "(0,1)"));
    written.SetCell(0, 2, NamedCell("NoNe"));
    std::string text = WriteFreshScore(written, 7);
    // The middle place's line loses its numbers; a huge value saturates.
    const size_t second = text.find("\tnone");
    text.replace(text.rfind('\n', second) + 1, second - text.rfind('\n', second) - 1, "\t1\t2\tx");
    text.replace(text.find("\t1024\t0\t512"), 5, "\t99999999999999999999");
    cFreshScore score;
    ASSERT_TRUE(score.ReadText(text));
    const cFreshCell* cell = score.Cell(0, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->name, std::string(cFreshScore::kMaxName, 'n'));
    EXPECT_EQ(cell->volume, INT32_MAX);
    // What follows the cut name is not read as a conflict of it: the word
    // is passed over whole.
    EXPECT_TRUE(cell->conflicts.empty());
    EXPECT_EQ(score.Cell(0, 1), nullptr);
    EXPECT_EQ(score.Cell(0, 2), nullptr);
    EXPECT_EQ(score.CellCount(), 1u);
}

TEST(FreshScore, CarriageReturnsAndMissingLinesAreHarmless) {
    cFreshScore written;
    FillSmallScore(written);
    std::string text = WriteFreshScore(written, 6);
    std::string crlf;
    for (char ch : text) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    cFreshScore score;
    ASSERT_TRUE(score.ReadText(crlf));
    EXPECT_EQ(score.CellCount(), 4u);
    EXPECT_EQ(score.Cell(0, 2)->name, "wind.wav");
    // Cut after the first cell line: the rest of the grid stays empty.
    size_t end = 0;
    for (int i = 0; i < 5; ++i) end = text.find('\n', end) + 1;
    ASSERT_TRUE(score.ReadText(text.substr(0, end)));
    EXPECT_EQ(score.CellCount(), 1u);
}
