#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "world/ArryResource.h"
#include "resfile/MemResFile.h"
#include "world/c2DArray.h"

namespace {

std::vector<uint8_t> Encode(const std::vector<uint8_t>& cells) {
    std::vector<uint8_t> out;
    ArryEncodeRuns(cells.data(), cells.size(), out);
    return out;
}

uint16_t Word(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

std::vector<uint8_t> Decode(const std::vector<uint8_t>& packets, size_t n, bool* ok) {
    std::vector<uint8_t> cells(n);
    size_t pos = 0;
    *ok = ArryDecodeRuns(packets.data(), packets.size(), pos, cells.data(), n);
    return cells;
}

void PutI32(std::vector<uint8_t>& b, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

}  // namespace

TEST(ArryRle, RunOfSevenStaysLiteralRunOfEightRepeats) {
    // 1, then seven 2s, then eight 3s.
    std::vector<uint8_t> cells = {1, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3};
    const auto packets = Encode(cells);
    ASSERT_EQ(Word(packets, 0), 8) << "literal of the 1 and the seven 2s";
    EXPECT_EQ(packets[2], 1);
    EXPECT_EQ(packets[9], 2);
    ASSERT_EQ(Word(packets, 10), 0x8000 | 8);
    EXPECT_EQ(packets[12], 3);
    EXPECT_EQ(packets[13], 0) << "a repeat packet is padded to an even position";
    EXPECT_EQ(packets.size(), 14u);
    bool ok = false;
    EXPECT_EQ(Decode(packets, cells.size(), &ok), cells);
    EXPECT_TRUE(ok);
}

TEST(ArryRle, OddLiteralIsPadded) {
    std::vector<uint8_t> cells = {4, 5, 6};
    const auto packets = Encode(cells);
    ASSERT_EQ(packets.size(), 6u);
    EXPECT_EQ(Word(packets, 0), 3);
    EXPECT_EQ(packets[5], 0);
}

TEST(ArryRle, LongRunsSplitAtTheCap) {
    std::vector<uint8_t> cells(2 * 32767 + 10, 0x5A);
    const auto packets = Encode(cells);
    ASSERT_EQ(packets.size(), 12u);
    EXPECT_EQ(Word(packets, 0), 0x8000 | 32767);
    EXPECT_EQ(Word(packets, 4), 0x8000 | 32767);
    EXPECT_EQ(Word(packets, 8), 0x8000 | 10);
    bool ok = false;
    EXPECT_EQ(Decode(packets, cells.size(), &ok), cells);
    EXPECT_TRUE(ok);
}

TEST(ArryRle, LongLiteralsSplitAtTheCap) {
    std::vector<uint8_t> cells(40000);
    for (size_t i = 0; i < cells.size(); ++i) cells[i] = static_cast<uint8_t>(i * 7 + (i >> 3));
    const auto packets = Encode(cells);
    EXPECT_EQ(Word(packets, 0), 32767);
    bool ok = false;
    EXPECT_EQ(Decode(packets, cells.size(), &ok), cells);
    EXPECT_TRUE(ok);
}

TEST(ArryRle, HostilePacketsAreRefused) {
    struct Case {
        const char* what;
        std::vector<uint8_t> packets;
        size_t cells;
    };
    const Case cases[] = {
        {"repeat longer than the cells", {0x10, 0x80, 7, 0}, 8},
        {"literal longer than the cells", {0x05, 0x00, 1, 2, 3, 4, 5, 0}, 4},
        {"literal past the data", {0x08, 0x00, 1, 2}, 8},
        {"repeat without its byte", {0x04, 0x80}, 4},
        {"too few packets", {0x02, 0x80, 1, 0}, 4},
        {"half a packet word", {0x02}, 4},
    };
    for (const Case& c : cases) {
        bool ok = true;
        Decode(c.packets, c.cells, &ok);
        EXPECT_FALSE(ok) << c.what;
    }
}

TEST(ArryResource, HeaderAndRoundTrip) {
    c2DArray<uint16_t> a(64);
    for (int x = 0; x < 64; ++x) a.At(x, x) = static_cast<uint16_t>(x * 300);
    for (bool compress : {false, true}) {
        const auto bytes = EncodeArryResource(a, compress);
        EXPECT_EQ(Word(bytes, 0), 0);
        EXPECT_EQ(bytes[4], 64);
        EXPECT_EQ(bytes[8], 64);
        EXPECT_EQ(bytes[12], 2);
        EXPECT_EQ(bytes[16], compress ? 1 : 0);
        if (compress) {
            EXPECT_LT(bytes.size(), 64u * 64u * 2u);
        } else {
            EXPECT_EQ(bytes.size(), 20u + 64u * 64u * 2u);
        }
        c2DArray<uint16_t> b(64);
        ASSERT_EQ(DecodeArryResource(bytes.data(), bytes.size(), b), 0);
        EXPECT_EQ(std::memcmp(a.Data(), b.Data(), a.CellAreaBytes()), 0);
    }
}

TEST(ArryResource, SaveAndLoadThroughAResourceFile) {
    MemResFile file;
    c2DArray<uint8_t> a(8, 8, "scratch-saved");
    a.At(3, 4) = 42;
    ASSERT_EQ(a.Save(file, kArryType, 17, true), 0);
    std::vector<uint8_t> stored;
    ASSERT_TRUE(file.GetStored(kArryType, 17, stored));
    EXPECT_EQ(stored, EncodeArryResource(a, true));
    MemHandle h = file.GetResource(kArryType, 17, nullptr);
    std::string label;
    file.GetLabel(h, label);
    EXPECT_EQ(label, "scratch-saved");
    file.ReleaseResource(h);
    c2DArray<uint8_t> b(8);
    ASSERT_EQ(b.Load(file, kArryType, 17), 0);
    EXPECT_EQ(b.At(3, 4), 42);
    EXPECT_EQ(b.Load(file, kArryType, 18), kResNotFound);
    file.FailNextWrite(kFlatShortWrite);
    EXPECT_EQ(a.Save(file, kArryType, 19, true), kFlatShortWrite);
    EXPECT_EQ(b.Load(file, kArryType, 19), kResNotFound) << "a failed write leaves nothing behind";
    file.SetWritable(false);
    EXPECT_EQ(a.Save(file, kArryType, 20, true), kResNotWritable);
}

TEST(ArryResource, OldRawLayout) {
    // cell size 1, 3 rows, 2 columns, reserved, 3 x 4 ignored bytes, cells.
    std::vector<uint8_t> old = {1, 0, 3, 0, 2, 0, 0, 0};
    old.insert(old.end(), 12, 0xEE);
    for (uint8_t v = 1; v <= 6; ++v) old.push_back(v);
    c2DArray<uint8_t> unsized(0);
    ASSERT_EQ(DecodeArryResource(old.data(), old.size(), unsized), 0);
    EXPECT_EQ(unsized.Rows(), 3);
    EXPECT_EQ(unsized.Columns(), 2);
    EXPECT_EQ(unsized.At(0, 0), 1);
    EXPECT_EQ(unsized.At(2, 1), 6);
    // A layer of another shape refuses it; one byte short is refused too.
    c2DArray<uint8_t> layer(64);
    EXPECT_EQ(DecodeArryResource(old.data(), old.size(), layer), kResBadData);
    c2DArray<uint8_t> again(0);
    EXPECT_EQ(DecodeArryResource(old.data(), old.size() - 1, again), kResBadData);
}

TEST(ArryResource, HostileHeadersAreRefusedAndLeaveTheLayer) {
    c2DArray<uint8_t> source(64);
    source.FillCells(3);
    const auto good = EncodeArryResource(source, true);
    struct Case {
        const char* what;
        size_t at;
        int32_t value;
    };
    const Case cases[] = {
        {"more rows than the layer", 4, 65},
        {"negative rows", 4, -64},
        {"huge columns", 8, 0x7FFFFFFF},
        {"wrong cell size", 12, 2},
        {"unknown compression", 16, 7},
    };
    for (const Case& c : cases) {
        auto bad = good;
        PutI32(bad, c.at, c.value);
        c2DArray<uint8_t> layer(64);
        layer.FillCells(9);
        EXPECT_EQ(DecodeArryResource(bad.data(), bad.size(), layer), kResBadData) << c.what;
        EXPECT_EQ(layer.At(10, 10), 9) << c.what;
    }
    c2DArray<uint8_t> layer(64);
    EXPECT_EQ(DecodeArryResource(good.data(), 10, layer), kResBadData) << "truncated header";
    EXPECT_EQ(DecodeArryResource(good.data(), good.size() - 4, layer), kResBadData) << "truncated packets";
    auto raw = EncodeArryResource(source, false);
    EXPECT_EQ(DecodeArryResource(raw.data(), raw.size() - 1, layer), kResBadData) << "short raw area";
}

// Decoding into outside cells takes only the shape's exact dimensions, fills
// every cell, and leaves the shape's own cells alone.
TEST(ArryResource, DecodesIntoOutsideCells) {
    c2DArray<uint16_t> source(64);
    for (int x = 0; x < 64; ++x) source.At(x, 63 - x) = static_cast<uint16_t>(x * 7 + 1);
    c2DArray<uint16_t> shape(64);
    shape.FillCells(5);
    for (bool compress : {false, true}) {
        const auto bytes = EncodeArryResource(source, compress);
        std::vector<uint8_t> cells(shape.CellAreaBytes(), 0xAB);
        ASSERT_EQ(DecodeArryCells(bytes.data(), bytes.size(), shape, cells.data()), 0);
        EXPECT_EQ(std::memcmp(cells.data(), source.Data(), cells.size()), 0);
        EXPECT_EQ(shape.At(0, 63), 5) << "the shape keeps its cells";
        EXPECT_EQ(DecodeArryCells(bytes.data(), bytes.size() - 2, shape, cells.data()), kResBadData);
        c2DArray<uint16_t> other(32);
        EXPECT_EQ(DecodeArryCells(bytes.data(), bytes.size(), other, cells.data()), kResBadData);
    }
    c2DArray<uint16_t> unsized(0);
    const auto bytes = EncodeArryResource(source, true);
    std::vector<uint8_t> cells(source.CellAreaBytes());
    EXPECT_EQ(DecodeArryCells(bytes.data(), bytes.size(), unsized, cells.data()), kResBadData) << "no shape to fill";
    MemResFile file;
    ASSERT_EQ(source.Save(file, kArryType, 21, true), 0);
    ASSERT_EQ(LoadArryCells(file, kArryType, 21, shape, cells.data()), 0);
    EXPECT_EQ(std::memcmp(cells.data(), source.Data(), cells.size()), 0);
    EXPECT_EQ(LoadArryCells(file, kArryType, 22, shape, cells.data()), kResNotFound);
}
