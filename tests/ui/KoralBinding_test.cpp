#include "ui/graphics/KoralBinding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "ui/graphics/GuardedAlloc.h"
#include "ui/graphics/KoralImageFile.h"
#include "ui/graphics/KoralStreams.h"
#include "ui/graphics/Rle8Bitmap.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cGZBufferBMPProxy.h"

namespace {

const std::string kLibDir = std::string(TOVA_BIN_DIR) + "/../lib/";

// Binds the plug-in at `path` (empty: the usual search) for one test.
struct Bound {
    // Starts from nothing bound, whatever an earlier test in this process left.
    explicit Bound(const std::string& path) {
        KoralShutdown();
        SetCodecLibraryPath(path);
    }
    ~Bound() {
        KoralShutdown();
        SetCodecLibraryPath("");
    }
};

std::vector<uint32_t> Pattern(int32_t w, int32_t h, bool withAlpha) {
    std::vector<uint32_t> p(static_cast<size_t>(w * h));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t a = withAlpha ? static_cast<uint32_t>((x * 37 + y * 11) & 0xFF) : 0xFF;
            p[static_cast<size_t>(y * w + x)] = a << 24 | static_cast<uint32_t>(x * 255 / w) << 16 |
                                                static_cast<uint32_t>(y * 255 / h) << 8 |
                                                static_cast<uint32_t>((x + y) * 3 & 0xFF);
        }
    return p;
}

// A bitmap file of the given header fields, palette (0x00RRGGBB) and pixel
// bytes, with a 40-byte information header.
std::string Bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression, const std::vector<uint32_t>& palette,
                const std::string& pixels, const std::string& masks = "") {
    std::string f = "BM";
    auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) f += static_cast<char>(v >> (8 * i)); };
    auto u16 = [&](uint32_t v) { f += static_cast<char>(v); f += static_cast<char>(v >> 8); };
    const uint32_t offset = static_cast<uint32_t>(54 + masks.size() + palette.size() * 4);
    u32(offset + static_cast<uint32_t>(pixels.size())); u32(0); u32(offset);
    u32(40); u32(static_cast<uint32_t>(width)); u32(static_cast<uint32_t>(height)); u16(1); u16(bits);
    u32(compression); u32(static_cast<uint32_t>(pixels.size())); u32(0); u32(0);
    u32(static_cast<uint32_t>(palette.size())); u32(0);
    f += masks;
    for (uint32_t c : palette) u32(c);
    return f + pixels;
}

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

std::string BigEndian(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// A well-formed PNG header claiming a picture of width x height, with a
// scrap of image data: the size alone must refuse it.
std::string PngClaiming(uint32_t width, uint32_t height) {
    auto chunk = [](const std::string& type, const std::string& data) {
        return BigEndian(static_cast<uint32_t>(data.size())) + type + data + BigEndian(Crc32(type + data));
    };
    const std::string header = BigEndian(width) + BigEndian(height) + std::string("\x08\x06\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", std::string("\x78\x9c\x03\x00", 4)) +
           chunk("IEND", "");
}

TEST(KoralBinding, ExportNamesDropTheUnderscoreAndTurnTheAt) {
    EXPECT_EQ(KoralExportName("_KORAL_init@0"), "KORAL_init_0");
    EXPECT_EQ(KoralExportName("_KORAL_open@16"), "KORAL_open_16");
    EXPECT_EQ(KoralExportName("_KORAL_open@12"), "KORAL_open_12");
    EXPECT_EQ(KoralExportName("_KORAL_installcallbacks@4"), "KORAL_installcallbacks_4");
}

TEST(KoralBinding, MissingLibraryMakesEverythingAnswerZero) {
    Bound bound("/nonexistent/libkoral.so");
    EXPECT_EQ(KoralStartup(), 0);
    EXPECT_FALSE(EnsureImageCodecBound());
    void* context = reinterpret_cast<void*>(1);
    EXPECT_EQ(KoralFind("png", 0), 0);
    EXPECT_EQ(KoralOpen(&context, nullptr, "a.png", 1), 0);
    EXPECT_EQ(KoralInfo(context, 0), nullptr);
    EXPECT_EQ(KoralRead(context, nullptr, nullptr, 4), 0);
    EXPECT_EQ(KoralClose(context), 0);
    EXPECT_EQ(KoralWOpen(1, &context, nullptr, "a.png", 1), 0);
    EXPECT_EQ(KoralWrite(8, context, nullptr, nullptr, 4), 0);
    EXPECT_EQ(KoralWClose(context), 0);
    KoralImage image;
    std::string error;
    EXPECT_FALSE(ReadCodecImage("a.png", image, &error));
    EXPECT_EQ(error, "cannot bind the image codec");
}

TEST(KoralBinding, PartialLibraryBindsWhatItHasAndOpenFallsBack) {
    tova_test::TempFolder dir;
    const std::string png = dir / "a.png";
    const std::vector<uint32_t> pixels = Pattern(5, 3, true);
    {
        Bound full("");
        ASSERT_TRUE(WriteCodecImage(png, 5, 3, pixels.data()));
    }
    Bound bound(kLibDir + "libkoral_partial.so");
    EXPECT_EQ(KoralStartup(), 1);
    const KoralEntries& e = BoundKoralEntries();
    EXPECT_EQ(e.open, nullptr);
    EXPECT_NE(e.open3, nullptr);
    EXPECT_EQ(e.wopen, nullptr);
    EXPECT_EQ(e.restore, nullptr);
    EXPECT_EQ(KoralAboutText(), nullptr);

    KoralImage image;
    ASSERT_TRUE(ReadCodecImage(png, image)) << "read through the 3-argument open";
    EXPECT_EQ(image.pixels, pixels);
    std::string error;
    EXPECT_FALSE(WriteCodecImage(dir / "b.png", 5, 3, pixels.data(), &error));
    EXPECT_EQ(error, "cannot start writing " + dir / "b.png");
    void* context = nullptr;
    EXPECT_EQ(KoralWrite(8, context, nullptr, pixels.data(), 20), 0);
    EXPECT_EQ(KoralWClose(context), 0);
}

TEST(KoralBinding, FullLibraryIsFoundBesideTheProgramsLibraries) {
    Bound bound("");
    EXPECT_EQ(KoralStartup(), 1);
    EXPECT_NE(KoralAboutText(), nullptr);
    EXPECT_EQ(KoralFind("png", 0), kKoralFormatPng);
    EXPECT_EQ(KoralFind("JPEG", 0), kKoralFormatJpeg);
    EXPECT_EQ(KoralFind("bmp", 0), kKoralFormatBmp);
    EXPECT_EQ(KoralFind("tga", 0), 0);
    EXPECT_EQ(KoralFind("", 0), 0);
    EXPECT_EQ(BoundKoralEntries().count(), 1);
}

TEST(KoralImageFile, ExtensionIsCutAndNeverTakenFromAFolder) {
    EXPECT_EQ(ImageFileExtension("a/b.c/picture.PNG"), "PNG");
    EXPECT_EQ(ImageFileExtension("a/b.c/picture"), "");
    EXPECT_EQ(ImageFileExtension("noext"), "");
    EXPECT_EQ(ImageFileExtension("x." + std::string(40, 'q')), std::string(32, 'q'));
}

struct RoundTrip : testing::Test {
    Bound bound{""};
    tova_test::TempFolder dir;
    int32_t liveBefore = GallocLiveCount();
    void TearDown() override { EXPECT_EQ(GallocLiveCount(), liveBefore); }
};

TEST_F(RoundTrip, PngKeepsEveryPixelWithAndWithoutAlpha) {
    for (bool alpha : {false, true}) {
        const std::vector<uint32_t> pixels = Pattern(37, 23, alpha);
        const std::string name = dir / (alpha ? "alpha.png" : "opaque.png");
        std::string error;
        ASSERT_TRUE(WriteCodecImage(name, 37, 23, pixels.data(), &error)) << error;
        KoralImage image;
        ASSERT_TRUE(ReadCodecImage(name, image, &error)) << error;
        EXPECT_EQ(image.width, 37);
        EXPECT_EQ(image.height, 23);
        EXPECT_EQ(image.bits, alpha ? 32 : 24);
        EXPECT_EQ(image.pixels, pixels);
    }
}

TEST_F(RoundTrip, Bmp24KeepsEveryPixel) {
    const std::vector<uint32_t> pixels = Pattern(13, 7, false);  // odd width: padded rows
    const std::string name = dir / "a.bmp";
    ASSERT_TRUE(WriteCodecImage(name, 13, 7, pixels.data()));
    const std::string file = dir.Read("a.bmp");
    ASSERT_GE(file.size(), 54u);
    EXPECT_EQ(file[28], 24) << "written as 24-bit";
    KoralImage image;
    ASSERT_TRUE(ReadCodecImage(name, image));
    EXPECT_EQ(image.pixels, pixels);
}

TEST_F(RoundTrip, JpegStaysCloseAndTakesTheQualityGiven) {
    std::vector<uint32_t> pixels(64 * 48);  // smooth: what the format keeps well
    for (uint32_t y = 0; y < 48; ++y)
        for (uint32_t x = 0; x < 64; ++x) pixels[y * 64 + x] = 0xFF000000u | x * 4 << 16 | y * 5 << 8 | (x + y) * 2;
    ASSERT_TRUE(WriteCodecImage(dir / "a.jpg", 64, 48, pixels.data()));
    ASSERT_TRUE(WriteCodecImage(dir / "low.jpeg", 64, 48, pixels.data(), nullptr, 10));
    EXPECT_LT(dir.Read("low.jpeg").size(), dir.Read("a.jpg").size()) << "quality 10 is smaller than the default 90";
    KoralImage image;
    ASSERT_TRUE(ReadCodecImage(dir / "a.jpg", image));
    ASSERT_EQ(image.width, 64);
    ASSERT_EQ(image.height, 48);
    double total = 0;
    int worst = 0;
    for (size_t i = 0; i < pixels.size(); ++i)
        for (int shift : {0, 8, 16}) {
            const int d = std::abs(static_cast<int>(pixels[i] >> shift & 0xFF) - static_cast<int>(image.pixels[i] >> shift & 0xFF));
            total += d;
            worst = std::max(worst, d);
        }
    EXPECT_LT(total / (pixels.size() * 3.0), 3.0);
    EXPECT_LT(worst, 24);
    for (uint32_t p : image.pixels) ASSERT_EQ(p >> 24, 0xFFu);
}

TEST_F(RoundTrip, RunLengthBitmapsDecodeAsTheBitmapProxyDoes) {
    Rle8Picture p;
    p.width = 7;
    p.height = 5;
    p.palette = {0x000000, 0xFF0000, 0xFF00FF, 0x0000FF, 0xFF00FF, 0x10A0C0};
    p.indices = {1, 1, 1, 1, 3, 3, 5,  0, 1, 3, 0, 1, 3, 5,  4, 4, 1, 3, 1, 2, 2,
                 3, 1, 0, 0, 0, 1, 5,  5, 5, 5, 5, 5, 5, 5};
    const std::string bytes = WriteRle8Bitmap(p);
    dir.Write("rle.bmp", bytes);
    KoralImage image;
    ASSERT_TRUE(ReadCodecImage(dir / "rle.bmp", image));
    ASSERT_EQ(image.width, 7);
    ASSERT_EQ(image.height, 5);
    EXPECT_EQ(image.bits, 8);

    cGZBufferBMPProxy proxy("rle.bmp");
    ASSERT_TRUE(proxy.LoadBytes(bytes));
    cGZBuffer drawn;
    ASSERT_TRUE(drawn.Init(7, 5, cGZBuffer::kFormat565, 16, nullptr, 0, cGZBuffer::kKindPlain));
    drawn.Clear(0);
    ASSERT_TRUE(proxy.DrawTo(drawn, 0, 0, {0, 0, 7, 5}));
    ASSERT_TRUE(drawn.Lock(64));
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 7; ++x) {
            const uint8_t index = p.indices[static_cast<size_t>(y * 7 + x)];
            const uint32_t c = image.pixels[static_cast<size_t>(y * 7 + x)];
            EXPECT_EQ(c, 0xFF000000u | p.palette[index]) << x << "," << y;
            const uint32_t expected = index == proxy.TransparentIndex()
                                          ? 0u
                                          : drawn.MakeColor(static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                                            static_cast<uint8_t>(c));
            EXPECT_EQ(drawn.GetBits()[y * (drawn.GetPitch() / 2) + x], expected) << x << "," << y;
        }
    drawn.Unlock(64);
}

// A small run-length file written by hand: a delta, an odd literal and an
// index past the palette (left transparent, as the proxy leaves it).
TEST_F(RoundTrip, RunLengthDeltaLiteralAndIndexPastThePalette) {
    const char data[] = {2, 0,  0, 2, 0, 1,  0, 3, 1, 7, 0, 0,  0, 1};
    const std::string f = Bmp(4, 2, 8, 1, {0xFF0000, 0x0000FF}, std::string(data, sizeof data));  // 0 red, 1 blue
    dir.Write("hand.bmp", f);
    KoralImage image;
    ASSERT_TRUE(ReadCodecImage(dir / "hand.bmp", image));
    // Bottom row: red, red, then a delta of (0, 1) to x 2 of the top row.
    EXPECT_EQ(image.pixels[4], 0xFFFF0000u);
    EXPECT_EQ(image.pixels[5], 0xFFFF0000u);
    EXPECT_EQ(image.pixels[6], 0u);
    EXPECT_EQ(image.pixels[7], 0u);
    // Top row: two untouched, then the literal {1, 7, 0}: blue, 7 (past the
    // palette) left untouched, and the third clipped at the edge.
    EXPECT_EQ(image.pixels[0], 0u);
    EXPECT_EQ(image.pixels[1], 0u);
    EXPECT_EQ(image.pixels[2], 0xFF0000FFu);
    EXPECT_EQ(image.pixels[3], 0u);
}

TEST_F(RoundTrip, BmpDepthsRunLength4AndTopDownRows) {
    const uint32_t K = 0xFF000000u, R = 0xFFFF0000u, G = 0xFF00FF00u, B = 0xFF0000FFu;
    auto bytes = [](std::initializer_list<int> v) { std::string s; for (int b : v) s += static_cast<char>(b); return s; };
    struct Case {
        const char* name;
        std::string file;
        std::vector<uint32_t> want;  // rows top first
    };
    const std::vector<uint32_t> rgb = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    const Case cases[] = {
        // Rows bottom first, each padded to 4 bytes.
        {"one.bmp", Bmp(3, 2, 1, 0, {0x000000, 0xFF0000}, bytes({0xA0, 0, 0, 0, 0x40, 0, 0, 0})), {K, R, K, R, K, R}},
        {"four.bmp", Bmp(3, 2, 4, 0, rgb, bytes({0x12, 0x30, 0, 0, 0x32, 0x10, 0, 0})), {B, G, R, R, G, B}},
        {"top32.bmp", Bmp(2, -2, 32, 0, {}, bytes({0, 0, 255, 9, 0, 255, 0, 9, 255, 0, 0, 9, 0, 0, 0, 9})), {R, G, B, K}},
        {"fields32.bmp",
         Bmp(2, 1, 32, 3, {}, bytes({0x1F, 0, 0, 0, 0, 0xF8, 0, 0}), bytes({0, 0xF8, 0, 0, 0xE0, 7, 0, 0, 0x1F, 0, 0, 0})),
         {B, R}},
        // Run-length 4: a run alternating 1 and 2, then a 3-pixel literal.
        {"rle4.bmp", Bmp(7, 1, 4, 2, rgb, bytes({4, 0x12, 0, 3, 0x31, 0x20, 0, 1})), {R, G, R, G, B, R, G}},
    };
    for (const Case& c : cases) {
        dir.Write(c.name, c.file);
        KoralImage image;
        std::string error;
        ASSERT_TRUE(ReadCodecImage(dir / c.name, image, &error)) << c.name << ": " << error;
        EXPECT_EQ(image.pixels, c.want) << c.name;
    }
}

TEST_F(RoundTrip, HostileFilesFailCleanly) {
    std::vector<uint32_t> pixels = Pattern(16, 16, false);
    ASSERT_TRUE(WriteCodecImage(dir / "good.png", 16, 16, pixels.data()));
    ASSERT_TRUE(WriteCodecImage(dir / "good.jpg", 16, 16, pixels.data()));
    ASSERT_TRUE(WriteCodecImage(dir / "good.bmp", 16, 16, pixels.data()));
    struct Case {
        std::string name;
        std::string bytes;
    };
    std::vector<Case> cases;
    for (const char* ext : {"png", "jpg", "bmp"}) {
        const std::string good = dir.Read(std::string("good.") + ext);
        cases.push_back({std::string("half.") + ext, good.substr(0, good.size() / 2)});
        cases.push_back({std::string("head.") + ext, good.substr(0, 20)});
        cases.push_back({std::string("empty.") + ext, ""});
    }
    {
        std::string bad = dir.Read("good.png");
        bad[bad.size() - 20] ^= 0x55;  // inside the last chunks: their check fails
        cases.push_back({"badchunk.png", bad});
        std::string huge = dir.Read("good.bmp");
        huge[18] = huge[19] = huge[20] = 0;
        huge[21] = 0x40;  // width 2^30
        cases.push_back({"huge.bmp", huge});
        std::string wide = dir.Read("good.bmp");
        wide[18] = 0x01;
        wide[19] = 0x40;  // width 16385
        wide[20] = wide[21] = 0;
        cases.push_back({"wide.bmp", wide});
        std::string offset = dir.Read("good.bmp");
        offset[10] = offset[11] = offset[12] = static_cast<char>(0xFF);
        cases.push_back({"offset.bmp", offset});
        cases.push_back({"text.png", "not a picture at all"});
        cases.push_back({"tall.png", PngClaiming(1, 16385)});
        cases.push_back({"vast.png", PngClaiming(16384, 16384)});  // 1 GB of pixels
    }
    for (const Case& c : cases) {
        dir.Write(c.name, c.bytes);
        KoralImage image;
        std::string error;
        EXPECT_FALSE(ReadCodecImage(dir / c.name, image, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
}

}  // namespace
