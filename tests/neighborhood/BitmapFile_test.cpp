#include "neighborhood/BitmapFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "BmpWriter.h"
#include "neighborhood/CodecImage.h"
#include "neighborhood/DirFileIterator.h"
#include "neighborhood/RectOffset.h"
#include "platform/PngFile.h"
#include "support/GoldenImage.h"
#include "support/TempFolder.h"
#include "ui/graphics/KoralImageFile.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cRZPalette.h"

namespace {

using bmp_fixture::Header;

const std::vector<uint32_t> kBmpColours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFFFFFF, 0x808080, 0xFF8000};

// An 8x6 picture: diagonal bands of the eight colours.
std::vector<uint32_t> BandIndices() {
    std::vector<uint32_t> p;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) p.push_back(static_cast<uint32_t>((x + y) % 8));
    return p;
}
std::vector<uint32_t> BandColours() {
    std::vector<uint32_t> p;
    for (uint32_t i : BandIndices()) p.push_back(kBmpColours[i]);
    return p;
}

platform::Image BmpBufferImage(cGZBuffer& b) { return platform::ImageFromSurface(*b.GetSurface()->Surface()); }

// Run-length data of the 8x6 picture using every escape: runs, an odd
// literal (padded), a move, ends of line, and an early end of picture.
std::string RleData() {
    std::string d;
    auto add = [&](std::initializer_list<int> bytes) {
        for (int b : bytes) d += static_cast<char>(b);
    };
    add({8, 1, 0, 0});                          // bottom row: red
    add({0, 3, 2, 3, 4, 0, 5, 6, 0, 0});         // literal of 3 (padded), run of 5 grey
    add({2, 7, 0, 2, 3, 1, 1, 5, 0, 0});         // run, move right 3 and down 1... then white
    add({4, 4, 4, 3, 0, 0});                     // yellow, blue
    add({0, 1});                                 // end of picture: the top row stays as made
    return d;
}

struct BmpCase {
    const char* name;
    std::string bytes;
};

std::vector<BmpCase> GoodCases() {
    Header h8{8, 6, 8, 0, kBmpColours};
    Header h24{8, 6, 24, 0, {}};
    Header rle{8, 6, 8, 1, kBmpColours};
    return {
        {"bands8_bottomup", bmp_fixture::Plain(h8, BandIndices(), false)},
        {"bands8_topdown", bmp_fixture::Plain(h8, BandIndices(), true)},
        {"bands24_bottomup", bmp_fixture::Plain(h24, BandColours(), false)},
        {"bands24_topdown", bmp_fixture::Plain(h24, BandColours(), true)},
        {"rle8_escapes", bmp_fixture::WithData(rle, RleData())},
    };
}

class BitmapGolden : public ::testing::TestWithParam<int32_t> {
protected:
    void TearDown() override { cGZBuffer::SetScreenFormat(7); }
};

TEST_P(BitmapGolden, EveryLayoutMatchesItsPicture) {
    const int32_t format = GetParam();
    cGZBuffer::SetScreenFormat(format);
    for (const BmpCase& c : GoodCases()) {
        SCOPED_TRACE(c.name);
        cGZBuffer* buffer = LoadBitmapBytes(c.bytes, 0);
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(buffer->GetPixelFormat().code, format);
        EXPECT_TRUE(tova_test::MatchesGolden(BmpBufferImage(*buffer), std::string("neighborhood/golden/") + c.name +
                                                                           (format == 5 ? "_555.png" : "_565.png")));
        buffer->Release();
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapGolden, ::testing::Values(5, 7));

TEST(BitmapFile, BothRowOrdersGiveTheSamePicture) {
    DecodedBitmap up, down;
    Header h8{8, 6, 8, 0, kBmpColours};
    ASSERT_TRUE(DecodeBitmap(bmp_fixture::Plain(h8, BandIndices(), false), up));
    ASSERT_TRUE(DecodeBitmap(bmp_fixture::Plain(h8, BandIndices(), true), down));
    EXPECT_EQ(up.indices, down.indices);
    EXPECT_EQ(up.indices[1], 1);  // top row, second pixel: not mirrored
    EXPECT_EQ(up.indices[8], 1);  // second row starts one band on
}

TEST(BitmapFile, RunLengthEscapesLandWhereTheySay) {
    DecodedBitmap b;
    Header rle{8, 6, 8, 1, kBmpColours};
    ASSERT_TRUE(DecodeBitmap(bmp_fixture::WithData(rle, RleData()), b));
    auto at = [&](int x, int yFromBottom) { return b.indices[static_cast<size_t>((5 - yFromBottom) * 8 + x)]; };
    EXPECT_EQ(at(0, 0), 1);
    EXPECT_EQ(at(7, 0), 1);
    EXPECT_EQ(at(0, 1), 2);
    EXPECT_EQ(at(2, 1), 4);
    EXPECT_EQ(at(3, 1), 6);
    EXPECT_EQ(at(7, 1), 6);
    EXPECT_EQ(at(1, 2), 7);
    EXPECT_EQ(at(2, 2), 0);  // skipped by the move
    EXPECT_EQ(at(5, 3), 5);  // after the move: right 3, down 1
    EXPECT_EQ(at(0, 4), 4);
    EXPECT_EQ(at(4, 4), 3);
    EXPECT_EQ(at(3, 5), 0);  // after the end of picture
}

TEST(BitmapFile, PaletteModeKeepsIndicesAndTheTable) {
    Header h8{8, 6, 8, 0, kBmpColours};
    cGZBuffer* buffer = LoadBitmapBytes(bmp_fixture::Plain(h8, BandIndices(), false), kBitmapModePalette);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->GetPixelFormat().code, cGZBuffer::kFormatIndex8);
    ASSERT_NE(buffer->GetPalette(), nullptr);
    uint32_t entry = 0;
    ASSERT_TRUE(buffer->GetPalette()->GetEntry(7, entry));
    EXPECT_EQ(entry, 0xFF8000u);
    ASSERT_TRUE(buffer->Lock(64));
    const auto* bits = reinterpret_cast<const uint8_t*>(buffer->GetBits());
    EXPECT_EQ(bits[buffer->GetPitch() * 2 + 3], 5);
    buffer->Unlock(64);
    buffer->Release();
    // A 24-bit picture has no indices to keep.
    EXPECT_EQ(LoadBitmapBytes(bmp_fixture::Plain(Header{8, 6, 24, 0, {}}, BandColours(), false), kBitmapModePalette),
              nullptr);
}

// Hostile and broken files are refused whole.
TEST(BitmapFile, HostileFilesAreRefused) {
    Header h8{8, 6, 8, 0, kBmpColours};
    const std::string good = bmp_fixture::Plain(h8, BandIndices(), false);
    auto patched = [&](size_t at, uint32_t value) {
        std::string s = good;
        bmp_fixture::Poke32(s, at, value);
        return s;
    };
    auto rle = [](std::initializer_list<int> bytes) {
        std::string d;
        for (int b : bytes) d += static_cast<char>(b);
        return bmp_fixture::WithData(Header{8, 6, 8, 1, kBmpColours}, d);
    };
    const std::vector<BmpCase> cases = {
        {"empty", ""},
        {"wrong magic", "XM" + good.substr(2)},
        {"truncated headers", good.substr(0, 40)},
        {"truncated pixels", good.substr(0, good.size() - 5)},
        {"zero width", patched(18, 0)},
        {"zero height", patched(22, 0)},
        {"negative width", patched(18, 0xFFFFFFF0u)},
        {"huge area", patched(18, 0x7FFFFFFF)},
        {"16M colours", patched(46, 1u << 24)},
        {"257 colours", patched(46, 257)},
        {"data offset past the end", patched(10, 0x7FFFFFF0)},
        {"data offset inside the table", patched(10, 60)},
        {"info header too big", patched(14, 0xFFFFFFF0u)},
        {"16 bits a pixel", bmp_fixture::WithData(Header{2, 2, 16, 0, {}}, std::string(8, '\0'))},
        {"rle run past the row", rle({9, 1, 0, 1})},
        {"rle literal past the row", rle({0, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0})},
        {"rle literal cut short", rle({0, 6, 1, 1})},
        {"rle move past the picture", rle({0, 2, 9, 0})},
        {"rle move below the picture", rle({0, 2, 0, 7})},
        {"rle move cut short", rle({0, 2, 1})},
        {"rle rows past the picture", rle({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1})},
        {"rle top-down", bmp_fixture::WithData(Header{8, -6, 8, 1, kBmpColours}, std::string("\x08\x01\x00\x01", 4))},
    };
    for (const BmpCase& c : cases) {
        SCOPED_TRACE(c.name);
        DecodedBitmap out;
        std::string why;
        EXPECT_FALSE(DecodeBitmap(c.bytes, out, &why));
        EXPECT_FALSE(why.empty());
        EXPECT_EQ(LoadBitmapBytes(c.bytes, 0), nullptr);
        EXPECT_EQ(LoadBitmapBytes(c.bytes, kBitmapModePalette), nullptr);
    }
}

TEST(BitmapFile, TwentyFourBitsWithoutATableIsRead) {
    // Colour count 0 at 24 bits must not be taken as 2^24 table entries.
    DecodedBitmap out;
    ASSERT_TRUE(DecodeBitmap(bmp_fixture::Plain(Header{8, 6, 24, 0, {}}, BandColours(), false), out));
    EXPECT_EQ(out.rgb[0], kBmpColours[0]);
    EXPECT_EQ(out.rgb[1], kBmpColours[1]);
}

TEST(BitmapFile, LoadsFromAFileAndMissingGivesNull) {
    tova_test::TempFolder folder;
    const std::string path = folder.path() + "/bands.bmp";
    {
        std::ofstream out(path, std::ios::binary);
        out << bmp_fixture::Plain(Header{8, 6, 24, 0, {}}, BandColours(), true);
    }
    cGZBuffer* buffer = LoadBitmapFile(path, 0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Width(), 8);
    EXPECT_EQ(buffer->Height(), 6);
    buffer->Release();
    EXPECT_EQ(LoadBitmapFile(folder.path() + "/none.bmp", 0), nullptr);
}

TEST(CodecImage, AlphaBecomesKeyMaskAndUnpremultipliedColour) {
    tova_test::TempFolder folder;
    const std::string path = folder.path() + "/alpha.png";
    platform::Image png;
    png.width = 3;
    png.height = 1;
    png.channels = 4;
    png.pixels = {255, 0, 0, 255, 0, 0, 0, 0, 64, 32, 0, 128};
    ASSERT_TRUE(platform::WritePngFile(path, png));
    CodecImage image = LoadCodecImage(path);
    ASSERT_NE(image.image, nullptr);
    ASSERT_NE(image.alphaMask, nullptr);
    ASSERT_TRUE(image.image->Lock(64));
    const uint16_t* bits = image.image->GetBits();
    EXPECT_EQ(bits[0], BitmapPixel16(7, 0xFF0000));
    EXPECT_EQ(bits[2], BitmapPixel16(7, 0x804000));  // 64 / (128/255) rounds to 128
    image.image->Unlock(64);
    ASSERT_TRUE(image.alphaMask->Lock(64));
    const auto* mask = reinterpret_cast<const uint8_t*>(image.alphaMask->GetBits());
    EXPECT_EQ(mask[0], 255);
    EXPECT_EQ(mask[1], 0);
    EXPECT_EQ(mask[2], 128);
    image.alphaMask->Unlock(64);
    image.image->Release();
    image.alphaMask->Release();
    EXPECT_EQ(LoadCodecImage(folder.path() + "/none.png").image, nullptr);
}

TEST(CodecImage, UnpremultiplyClampsAt255) {
    EXPECT_EQ(Unpremultiply(200, 100), 255);
    EXPECT_EQ(Unpremultiply(50, 100), 128);
    EXPECT_EQ(Unpremultiply(0, 0), 0);
    EXPECT_EQ(Unpremultiply(255, 255), 255);
}

TEST(DirFileIterator, FiltersByExtensionWithoutRegardToCase) {
    tova_test::TempFolder folder;
    for (const char* name : {"a.FAM", "b.fam", "c.txt", "noext"}) std::ofstream(folder.path() + "/" + name) << "x";
    std::string backslashed = folder.path();
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    auto walk = [](DirFileIterator it) {
        std::vector<std::string> names;
        for (; !it.AtEnd(); it.Next()) names.push_back(it.GetPath().substr(it.GetPath().rfind('/') + 1));
        EXPECT_TRUE(it.GetPath().empty());
        return names;
    };
    EXPECT_EQ(walk(DirFileIterator(backslashed, "fam")), (std::vector<std::string>{"a.FAM", "b.fam"}));
    EXPECT_EQ(walk(DirFileIterator(folder.path(), "")), (std::vector<std::string>{".", "..", "noext"}));
    EXPECT_EQ(walk(DirFileIterator(folder.path(), "*")).size(), 6u);
    EXPECT_TRUE(walk(DirFileIterator(folder.path() + "/missing", "*")).empty());
    DirFileIterator first(folder.path(), "txt");
    EXPECT_EQ(first.GetPath(), folder.path() + "/c.txt");
    first.Next();
    first.Next();
    EXPECT_TRUE(first.AtEnd());
}

TEST(RectOffset, MovesInPlaceAndByCopy) {
    cRZRect r{1, 2, 5, 7};
    RectOffset(r, 3, -2);
    EXPECT_EQ(r.left, 4);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 8);
    EXPECT_EQ(r.bottom, 5);
    const cRZRect c = RectOffsetCopy(r, -4, 1);
    EXPECT_EQ(c.left, 0);
    EXPECT_EQ(c.bottom, 6);
    EXPECT_EQ(r.left, 4);
}

}  // namespace
