#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cRZPalette.h"

#include "support/GoldenImage.h"

#include <gtest/gtest.h>

namespace {

cGZBuffer* Make(int32_t w, int32_t h, int32_t format = cGZBuffer::kFormat565, int32_t kind = cGZBuffer::kKindPlain) {
    auto* b = new cGZBuffer;
    b->AddRef();
    EXPECT_TRUE(b->Init(w, h, format, cGZBuffer::BitsOfFormat(format), nullptr, 0, kind));
    return b;
}

struct Ref {
    cGZBuffer* b;
    explicit Ref(cGZBuffer* buffer) : b(buffer) {}
    ~Ref() { b->Release(); }
    cGZBuffer* operator->() const { return b; }
    cGZBuffer& operator*() const { return *b; }
};

uint16_t At(cGZBuffer& b, int32_t x, int32_t y) { return b.GetSurface()->Surface()->Pixel16(x, y); }

platform::Image BufferImage(cGZBuffer& b) { return platform::ImageFromSurface(*b.GetSurface()->Surface()); }

TEST(PixelBuffer, ColourPackingTable) {
    struct Row {
        int32_t format;
        uint8_t r, g, b;
        uint32_t pixel;
    };
    const Row rows[] = {
        {5, 255, 255, 255, 0x7FFF}, {6, 255, 255, 255, 0xFFFF}, {7, 255, 255, 255, 0xFFFF}, {8, 255, 255, 255, 0xFFFF},
        {5, 255, 0, 0, 0x7C00},     {6, 255, 0, 0, 0xFC00},     {7, 255, 0, 0, 0xF800},     {8, 255, 0, 0, 0xF800},
        {5, 0, 255, 0, 0x03E0},     {6, 0, 255, 0, 0x03E0},     {7, 0, 255, 0, 0x07E0},     {8, 0, 255, 0, 0x07C0},
        {5, 0, 0, 255, 0x001F},     {6, 0, 0, 255, 0x001F},     {7, 0, 0, 255, 0x001F},     {8, 0, 0, 255, 0x003F},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(cGZBuffer::MakeColorFor(row.format, row.r, row.g, row.b), row.pixel) << row.format;
        uint8_t r, g, b;
        cGZBuffer::SplitColorFor(row.format, row.pixel, r, g, b);
        EXPECT_EQ(r, row.r & (row.format == 6 ? 0xFC : 0xF8)) << row.format;
        EXPECT_EQ(b, row.b & (row.format == 8 ? 0xFC : 0xF8)) << row.format;
    }
    Ref index(Make(4, 4, cGZBuffer::kFormatIndex8, cGZBuffer::kKindIndex));
    EXPECT_EQ(index->MakeColor(255, 255, 255), 0u);
    uint32_t pixel = 7;
    EXPECT_FALSE(index->MakeColorChecked(1, 2, 3, pixel));
    EXPECT_EQ(pixel, 7u);
}

TEST(PixelBuffer, InitSizesAndRefCounts) {
    cGZBuffer b;
    EXPECT_FALSE(b.Init(0, 10, 7, 16, nullptr, 0, 0));
    EXPECT_FALSE(b.IsInitialised());
    EXPECT_TRUE(b.Init(17, 10, 7, 16, nullptr, 0, 0));
    EXPECT_EQ(b.GetByteSize(), 400u);
    EXPECT_FALSE(b.Init(17, 10, 7, 16, nullptr, 0, 0)) << "already initialised";
    auto* counted = new cGZBuffer;
    counted->AddRef();
    EXPECT_EQ(counted->Release(), 0);

    // Format 4 takes the screen's.
    cGZBuffer unknown;
    ASSERT_TRUE(unknown.Init(4, 4, cGZBuffer::kFormat16, 16, nullptr, 0, 0));
    EXPECT_EQ(unknown.GetPixelFormat().code, cGZBuffer::kFormat565);
}

TEST(PixelBuffer, LockFlagClasses) {
    Ref b(Make(8, 8));
    EXPECT_TRUE(b->Lock(16));
    EXPECT_TRUE(b->Lock(16));
    EXPECT_TRUE(b->Unlock(16));
    EXPECT_EQ(b->GetLockFlags() & 16, 0u) << "one unlock clears the blit marker";
    EXPECT_EQ(b->GetLockDepth(), 1);
    EXPECT_EQ(b->GetBits(), nullptr);
    EXPECT_TRUE(b->Lock(4));
    EXPECT_NE(b->GetBits(), nullptr);
    EXPECT_EQ(b->GetSurface()->LockDepth(), 1);
    EXPECT_TRUE(b->Lock(1));
    EXPECT_EQ(b->GetBits(), nullptr) << "flags 1, 2, 32 give no pixel access";
    b->Unlock(1);
    b->Unlock(4);
    EXPECT_EQ(b->GetSurface()->LockDepth(), 0);
}

void Redraw(void* data, intptr_t colour) {
    auto* b = static_cast<cGZBuffer*>(data);
    b->Clear(static_cast<uint32_t>(colour));
}

TEST(PixelBuffer, LostSurfaceRestoredOnLockAndRedrawn) {
    Ref b(Make(8, 8));
    b->SetRestoreCallback(&Redraw, b.b, 0x1234);
    b->GetSurface()->Surface()->MarkLost();
    EXPECT_FALSE(b->IsValid());
    EXPECT_TRUE(b->Lock(4)) << "the lock restores and succeeds on the second attempt";
    EXPECT_EQ(b->GetBits()[0], 0x1234) << "the callback redrew";
    b->Unlock(4);
    EXPECT_TRUE(b->IsValid());
}

TEST(PixelBuffer, FillEdgeCases) {
    Ref b(Make(16, 8));
    b->Clear(0x1111);
    EXPECT_TRUE(b->FillRect(0xFFFF, {-20, 0, -2, 8}));
    EXPECT_TRUE(b->FillRect(0xFFFF, {16, 0, 30, 8}));
    EXPECT_EQ(At(*b, 0, 0), 0x1111);
    EXPECT_TRUE(b->FillRect(0xFFFF, {-5, -5, 2, 2}));
    EXPECT_EQ(At(*b, 1, 1), 0xFFFF);
    EXPECT_EQ(At(*b, 2, 1), 0x1111);
    EXPECT_FALSE(b->FillRectUnclipped(0xFFFF, {0, 0, 17, 8})) << "the surface refuses what does not fit";
    cRZRect clip{4, 4, 6, 6};
    EXPECT_TRUE(b->FillRect(0x2222, {0, 0, 16, 8}, &clip));
    EXPECT_EQ(At(*b, 5, 5), 0x2222);
    EXPECT_EQ(At(*b, 6, 6), 0x1111);
}

TEST(PixelBuffer, BlitClipsAndMovesTheSource) {
    Ref src(Make(10, 4));
    for (int x = 0; x < 10; ++x) src->FillRect(static_cast<uint32_t>(x + 1), {x, 0, x + 1, 4});
    Ref dst(Make(10, 4));
    dst->Clear(0);
    EXPECT_TRUE(dst->Blit(*src, {0, 0, 10, 4}, {-3, 0, 7, 4}));
    EXPECT_EQ(At(*dst, 0, 0), 4) << "the first 3 source columns are skipped";
    EXPECT_EQ(At(*dst, 6, 0), 10);
    EXPECT_EQ(At(*dst, 7, 0), 0);
    // Mirrored left-right: the cut comes off the source's other edge.
    dst->Clear(0);
    src->SetBlitParams(0, cGZBuffer::kBlitMirrorLeftRight);
    EXPECT_TRUE(dst->Blit(*src, {0, 0, 10, 4}, {-3, 0, 7, 4}));
    EXPECT_EQ(At(*dst, 0, 0), 7) << "what the unclipped mirrored blit shows at x = 0";
    EXPECT_EQ(At(*dst, 6, 0), 1);
    src->SetBlitParams(0, 0);
    EXPECT_FALSE(dst->BlitFast(*src, {0, 0, 10, 4}, {5, 0, 15, 4})) << "does not fit";
}

TEST(PixelBuffer, StretchBlitUsesTheMatchingSourceColumns) {
    Ref src(Make(10, 1));
    for (int x = 0; x < 10; ++x) src->FillRect(static_cast<uint32_t>(x + 1), {x, 0, x + 1, 1});
    Ref dst(Make(50, 1));
    dst->Clear(0);
    EXPECT_TRUE(dst->StretchBlit(*src, {0, 0, 10, 1}, {0, 0, 100, 1}));
    EXPECT_EQ(At(*dst, 0, 0), 1);
    EXPECT_EQ(At(*dst, 49, 0), 5) << "the source's first 5 columns fill the 50 that show";
}

TEST(PixelBuffer, TileAndFrameBlits) {
    Ref src(Make(6, 6));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) src->FillRect(static_cast<uint32_t>(y * 3 + x + 1), {x * 2, y * 2, x * 2 + 2, y * 2 + 2});
    Ref dst(Make(4, 4));
    dst->Clear(0);
    EXPECT_TRUE(dst->FrameBlit(*src, {0, 0, 2, 2}, {0, 0, 4, 4}, true));
    EXPECT_EQ(At(*dst, 0, 0), 1);
    EXPECT_EQ(At(*dst, 3, 0), 3);
    EXPECT_EQ(At(*dst, 0, 3), 7);
    EXPECT_EQ(At(*dst, 3, 3), 9) << "two cells wide and high: only the corners";
    EXPECT_TRUE(dst->TileBlit(*src, {0, 0, 0, 0}, {0, 0, 4, 4}, 1, 1)) << "an empty tile draws nothing";

    Ref big(Make(7, 1));
    big->Clear(0);
    Ref strip(Make(3, 1));
    for (int x = 0; x < 3; ++x) strip->FillRect(static_cast<uint32_t>(x + 1), {x, 0, x + 1, 1});
    EXPECT_TRUE(big->TileBlit(*strip, {0, 0, 3, 1}, {0, 0, 7, 1}, 1, 0));
    const uint16_t want[] = {3, 1, 2, 3, 1, 2, 3};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(At(*big, x, 0), want[x]) << x;
}

TEST(PixelBuffer, IndexBlitsClipToBothBuffers) {
    Ref a(Make(8, 8, cGZBuffer::kFormatIndex8, cGZBuffer::kKindIndex));
    Ref b(Make(4, 4, cGZBuffer::kFormatIndex8, cGZBuffer::kKindIndex));
    b->Clear(9);
    EXPECT_TRUE(a->Blit(*b, {0, 0, 8, 8}, {6, 6, 14, 14}));
    EXPECT_EQ(a->GetSurface()->Surface()->Pixel8(7, 7), 9);
    EXPECT_EQ(a->GetSurface()->Surface()->Pixel8(5, 5), 0);
}

TEST(PixelBuffer, Draw3DFrameClampsItsColours) {
    Ref b(Make(8, 8));
    EXPECT_TRUE(b->Draw3DFrame({0, 0, 8, 8}, 250, 10, 100, true, true));
    EXPECT_EQ(At(*b, 0, 0), cGZBuffer::MakeColorFor(7, 255, 66, 156));
    EXPECT_EQ(At(*b, 7, 7), cGZBuffer::MakeColorFor(7, 194, 0, 44));
    EXPECT_EQ(At(*b, 3, 3), cGZBuffer::MakeColorFor(7, 250, 10, 100));
}

TEST(PixelBuffer, CircleLimitsAndFloodFill) {
    Ref b(Make(16, 16));
    b->Clear(0);
    EXPECT_FALSE(b->DrawCircle(-5000, 0, 10, 0xFFFF, 2));
    EXPECT_EQ(At(*b, 0, 0), 0);
    EXPECT_TRUE(b->FloodFill(3, 3, 0)) << "seed already has the colour";
    EXPECT_FALSE(b->FloodFill(-1, 3, 5)) << "a seed outside returns";
    EXPECT_FALSE(b->BoundaryFill(3, 16, 5, 1));
}

TEST(PixelBuffer, CloneAndCopy) {
    Ref b(Make(5, 5));
    b->Clear(0x4321);
    b->SetColorKey(0x4321);
    cGZBuffer* clone = b->Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->RefCount(), 0);
    EXPECT_EQ(At(*clone, 4, 4), 0x4321) << "copied with the key switched off";
    uint32_t key, flags;
    b->GetBlitParams(key, flags);
    EXPECT_EQ(flags, static_cast<uint32_t>(cGZBuffer::kBlitColorKey));
    delete clone;
}

TEST(PixelBuffer, DepthAndIndexCompanions) {
    Ref b(Make(6, 4));
    ASSERT_TRUE(b->CreateDepthBuffer());
    ASSERT_NE(b->GetDepthBuffer(), nullptr);
    EXPECT_EQ(b->GetDepthBuffer()->GetSurface()->Surface()->Pixel16(5, 3), 0xFFFF);
    ASSERT_TRUE(b->CreateIndexBuffer());
    EXPECT_EQ(b->GetIndexBuffer()->GetPixelFormat().code, cGZBuffer::kFormatIndex8);
}

TEST(PixelBuffer, PlacementThreeNeedsVideoMemory) {
    const uint64_t before = cGZBufferSurfaceW95DX::VideoMemoryFree();
    cGZBufferSurfaceW95DX::SetVideoMemoryFree(100);
    cGZBuffer video, either;
    EXPECT_FALSE(video.Init(64, 64, 7, 16, nullptr, 3, 0));
    EXPECT_TRUE(either.Init(64, 64, 7, 16, nullptr, 1, 0));
    EXPECT_FALSE(either.IsInVideoMemory());
    cGZBufferSurfaceW95DX::SetVideoMemoryFree(before);
}

TEST(PixelBufferGolden, LinesCirclesFillsFrames) {
    Ref b(Make(96, 64));
    b->Clear(b->MakeColor(20, 20, 40));
    const uint32_t white = b->MakeColor(255, 255, 255), red = b->MakeColor(255, 40, 40), green = b->MakeColor(40, 220, 80);
    b->Lock(4);
    // Lines in every direction, widths 1 and 3, some reaching past the edges.
    for (int i = 0; i < 8; ++i) {
        const int dx[] = {20, 14, 0, -14, -20, -14, 0, 14}, dy[] = {0, 14, 20, 14, 0, -14, -20, -14};
        b->DrawLine(24, 24, 24 + dx[i], 24 + dy[i], i % 2 ? red : white, i < 4 ? 1 : 3);
    }
    b->DrawLine(-10, 60, 100, 50, green, 3);
    b->Unlock(4);
    b->Lock(512);
    b->DrawCircle(50, 4, 74, white, 3);
    b->FillCircle(80, -6, 100, red);
    b->FillCircle(60, 40, 80, green);
    b->Unlock(512);
    b->FrameRect({2, 50, 20, 62}, red, 2);
    b->Lock(4);
    b->BoundaryFill(64, 10, b->MakeColor(60, 60, 200), white);
    b->FloodFill(3, 3, b->MakeColor(90, 30, 30));
    b->Unlock(4);
    b->Draw3DFrame({40, 48, 58, 62}, 120, 120, 120, false, true);
    EXPECT_TRUE(tova_test::MatchesGolden(BufferImage(*b), "ui/golden/buffer_drawing.png"));
}

TEST(PixelBufferGolden, KeyedAndMirroredStretch) {
    Ref sprite(Make(8, 8));
    const uint32_t key = sprite->MakeColor(255, 0, 255);
    sprite->Clear(key);
    sprite->FillRect(sprite->MakeColor(255, 255, 0), {1, 1, 3, 7});
    sprite->FillRect(sprite->MakeColor(0, 200, 255), {1, 1, 7, 3});
    Ref b(Make(64, 32));
    b->Clear(b->MakeColor(30, 60, 30));
    b->StretchBlitKeyed(*sprite, {0, 0, 8, 8}, {0, 0, 24, 24}, nullptr, key, cGZBuffer::kBlitColorKey);
    b->StretchBlitKeyed(*sprite, {0, 0, 8, 8}, {24, 0, 48, 24}, nullptr, key,
                        cGZBuffer::kBlitColorKey | cGZBuffer::kBlitMirrorLeftRight);
    b->StretchBlitKeyed(*sprite, {0, 0, 8, 8}, {48, 8, 72, 32}, nullptr, key,
                        cGZBuffer::kBlitColorKey | cGZBuffer::kBlitMirrorTopBottom);
    b->BlitAlpha(*sprite, {0, 0, 8, 8}, {2, 24, 10, 32}, 128);
    EXPECT_TRUE(tova_test::MatchesGolden(BufferImage(*b), "ui/golden/buffer_stretch.png"));
}

// Tiles laid at four phases, and a nine-cell frame drawn at three sizes
// (with and without its centre).
TEST(PixelBufferGolden, TilePhasesAndFrames) {
    Ref tile(Make(6, 6));
    tile->Clear(tile->MakeColor(200, 60, 60));
    tile->FillRect(tile->MakeColor(240, 220, 80), {0, 0, 3, 3});
    tile->FillRect(tile->MakeColor(60, 90, 220), {3, 3, 6, 6});
    Ref cells(Make(9, 9));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            cells->FillRect(cells->MakeColor(static_cast<uint8_t>(60 + x * 90), static_cast<uint8_t>(60 + y * 90), 160),
                            {x * 3, y * 3, x * 3 + 3, y * 3 + 3});
    Ref b(Make(80, 48));
    b->Clear(b->MakeColor(16, 16, 16));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(b->TileBlit(*tile, {0, 0, 6, 6}, {i * 20 + 1, 1, i * 20 + 18, 18}, i, i * 2));
    EXPECT_TRUE(b->FrameBlit(*cells, {0, 0, 3, 3}, {1, 22, 25, 46}, true));
    EXPECT_TRUE(b->FrameBlit(*cells, {0, 0, 3, 3}, {28, 22, 50, 40}, false));
    EXPECT_TRUE(b->FrameBlit(*cells, {0, 0, 3, 3}, {54, 22, 60, 28}, true));
    EXPECT_TRUE(tova_test::MatchesGolden(BufferImage(*b), "ui/golden/buffer_tiles_frames.png"));
}

}  // namespace
