#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "tarn/TarnClip.h"
#include "tarn/TarnPipeline.h"
#include "tarn/TarnPrint.h"

namespace {

// What the installed primitive routines were asked to draw.
struct Recorder {
    std::vector<std::string> calls;
    std::vector<std::vector<TarnScreenVertex>> fans;  // one entry per indexed-triangles call
};
Recorder* gRecorder = nullptr;

TarnScreenVertex Read(const void* p, int size = 32) {
    TarnScreenVertex v{};
    std::memcpy(&v, p, static_cast<size_t>(size));
    return v;
}

int RecordQuad(const void*, const void*, const void*, const void*) {
    gRecorder->calls.push_back("quad");
    return 1;
}
int RecordTriangle(const void*, const void*, const void*) {
    gRecorder->calls.push_back("triangle");
    return 1;
}
int RecordIndexed(int triangles, const void* base, const int* indices) {
    gRecorder->calls.push_back("indexed " + std::to_string(triangles));
    std::vector<TarnScreenVertex> fan;
    for (int i = 0; i < 3 * triangles; ++i)
        fan.push_back(Read(static_cast<const uint8_t*>(base) + indices[i] * TarnVertexSize(), TarnVertexSize()));
    gRecorder->fans.push_back(fan);
    return triangles;
}
std::vector<TarnScreenVertex> gLine;
int RecordLine(const void* a, const void* b) {
    gRecorder->calls.push_back("line");
    gLine = {Read(a), Read(b)};
    return 1;
}

class TarnClip : public ::testing::Test {
protected:
    void SetUp() override {
        TarnResetPipeline();
        gRecorder = &recorder;
        const TarnPrimitiveRoutines routines{RecordQuad, nullptr, RecordTriangle, RecordIndexed, RecordLine};
        TarnSetPrimitiveRoutines(&routines);
        // A 100 by 100 window at (0, 0); near w 1, far w 0.01.
        TarnSetClipWindow(0, 0, 100, 100, 1.0f, 0.01f);
    }
    void TearDown() override {
        TarnResetPipeline();
        gRecorder = nullptr;
    }
    Recorder recorder;
};

TarnScreenVertex V(float sx, float sy, float rhw = 0.5f, uint32_t colour = 0xFF000000u) {
    return {sx, sy, 0.5f, rhw, colour, 0, 0.25f, 0.75f, 0, 0};
}

// The list forms read 32-byte vertices: the records packed that way.
std::vector<uint8_t> Pack(std::initializer_list<TarnScreenVertex> vertices) {
    std::vector<uint8_t> bytes;
    for (const TarnScreenVertex& v : vertices) {
        const auto* p = reinterpret_cast<const uint8_t*>(&v);
        bytes.insert(bytes.end(), p, p + 32);
    }
    return bytes;
}

TEST_F(TarnClip, OutcodeTable) {
    struct Case {
        TarnScreenVertex v;
        uint8_t code;
    };
    const Case cases[] = {
        {V(50, 50), 0},
        {V(-1, 50), kTarnCodeLeft},
        {V(101, 50), kTarnCodeRight},
        {V(50, -0.5f), kTarnCodeTop},
        {V(50, 101), kTarnCodeBottom},
        {V(50, 50, 2.0f), kTarnCodeNear},
        {{50, 50, 1.0f, 0.5f, 0, 0, 0, 0, 0, 0}, kTarnCodeFar},
        // Behind the eye right of the window: near, and both side pairs flipped.
        {V(101, 50, -0.5f), static_cast<uint8_t>(kTarnCodeRight ^ 0x3D)},
        {V(-0.0f, 50), kTarnCodeLeft},  // -0.0 sorts below every non-negative value
    };
    for (const Case& c : cases) EXPECT_EQ(TarnComputeOutcode(&c.v), c.code) << c.v.sx << "," << c.v.sy;
    EXPECT_EQ(TarnComputeOutcode(&cases[7].v), kTarnCodeNear | kTarnCodeLeft | kTarnCodeTop | kTarnCodeBottom);
    const float behind[3] = {0, 0, -1};
    EXPECT_EQ(TarnComputeBehindOutcode(behind), kTarnCodeNear);
    const float xyw[3] = {200, 50, 1.5f};
    EXPECT_EQ(TarnComputeXywOutcode(xyw), kTarnCodeFar | kTarnCodeRight);
}

TEST_F(TarnClip, TrianglesAreDroppedDrawnOrClipped) {
    const std::vector<uint8_t> v = Pack({V(10, 10), V(90, 10), V(50, 90)});
    const int tri[3] = {0, 1, 2};
    uint8_t codes[3] = {0x10, 0x11, 0x30};  // AND = 0x10: dropped
    EXPECT_EQ(TarnDrawTriangles(1, v.data(), tri, codes), 0);
    EXPECT_TRUE(recorder.calls.empty());
    const uint8_t inside[3] = {0, 0, 0};
    TarnDrawTriangles(1, v.data(), tri, inside);
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"triangle"});
}

TEST_F(TarnClip, NewVerticesLieOnTheirPlanesAndTheColourFollowsTheMode) {
    struct Mode {
        int mode;
        uint32_t expected;  // the new vertex's colour halfway from 0x80402010 to 0x00C060F0
    };
    // E (inside) at x 50, F (outside) at x 150: the right edge at 100 is halfway.
    const Mode modes[] = {{0, 0x80402010u}, {2, 0xFF808080u}, {3, 0x40804080u},
                          {4, 0x40402010u}, {6, 0x40808080u}};
    for (const Mode& m : modes) {
        recorder = Recorder{};
        TarnSetClipMode(m.mode);
        TarnScreenVertex v[3] = {V(50, 40, 0.5f, 0x80402010u), V(150, 50, 0.5f, 0x00C060F0u),
                                 V(50, 60, 0.5f, 0x80402010u)};
        EXPECT_EQ(TarnDrawTriangle(&v[0], &v[1], &v[2]), 2) << "mode " << m.mode;
        ASSERT_EQ(recorder.fans.size(), 1u);
        for (const TarnScreenVertex& n : recorder.fans[0]) {
            EXPECT_LE(n.sx, 100.0f);
            EXPECT_NEAR(n.tu, 0.25f, 1e-6f);  // texture coordinates come back after the rhw round trip
        }
        // The polygon is v0, the cut of v0-v1, the cut of v1-v2, v2; the
        // fan's second vertex is the first cut, whose E is the inside v0.
        const TarnScreenVertex& cut = recorder.fans[0][1];
        EXPECT_EQ(cut.sx, 100.0f);
        EXPECT_FLOAT_EQ(cut.sy, 45.0f);
        EXPECT_EQ(cut.colour, m.expected) << std::hex << "mode " << m.mode;
        EXPECT_EQ(cut.specular, 0u);
    }
}

TEST_F(TarnClip, NearPlaneAndTwoEdgesComeOutAsAFan) {
    // One vertex too near (rhw 2), the others beyond the left and bottom edges.
    // Cut at the near plane, then the bottom and the left edge: a pentagon.
    TarnScreenVertex v[3] = {V(50, 20, 2.0f), V(-30, 50, 0.5f), V(50, 130, 0.5f)};
    const int result = TarnDrawTriangle(&v[0], &v[1], &v[2]);
    ASSERT_EQ(recorder.fans.size(), 1u);
    EXPECT_EQ(result, 3);
    EXPECT_EQ(recorder.calls[0], "indexed " + std::to_string(result));
    for (const TarnScreenVertex& n : recorder.fans[0]) {
        EXPECT_GE(n.sx, 0.0f);
        EXPECT_LE(n.sy, 100.0f);
        EXPECT_LE(n.rhw, 1.0f);
    }
    // The fan shares its first vertex.
    for (size_t k = 0; k < recorder.fans[0].size(); k += 3) EXPECT_EQ(recorder.fans[0][k].sx, recorder.fans[0][0].sx);
}

TEST_F(TarnClip, ModeFiveClipsOnlyAtTheNearPlane) {
    TarnSetClipMode(5);
    TarnScreenVertex v[3] = {V(-10, 10), V(50, 10), V(50, 90)};  // crosses only the left edge
    TarnDrawTriangle(&v[0], &v[1], &v[2]);
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"triangle"});
}

TEST_F(TarnClip, QuadsWholeOrAsClippedFans) {
    const int quad[4] = {0, 1, 2, 3};
    const uint8_t none[4] = {0, 0, 0, 0};
    TarnDrawQuads(1, Pack({V(10, 10), V(90, 10), V(90, 90), V(10, 90)}).data(), quad, none);
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"quad"});
    recorder = Recorder{};
    const uint8_t codes[4] = {0, kTarnCodeRight, kTarnCodeRight, 0};
    TarnDrawQuads(1, Pack({V(10, 10), V(150, 10), V(150, 90), V(10, 90)}).data(), quad, codes);
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0].rfind("indexed", 0), 0u);
}

TEST_F(TarnClip, UnknownModeAndMissingRoutinesAreReported) {
    std::vector<std::string> alerts;
    static std::vector<std::string>* sink;
    sink = &alerts;
    TarnPrintInitialise();
    TarnRegisterDevice(3, "capture", [](intptr_t, intptr_t line) {
        sink->push_back(reinterpret_cast<const char*>(line));
        return 1;
    });
    TarnDeviceOn(3, true);
    TarnDeviceOn(kTarnDeviceConsole, false);
    TarnSetClipMode(7);
    TarnScreenVertex v[3] = {V(-10, 10), V(50, 10), V(50, 90)};
    EXPECT_EQ(TarnDrawTriangle(&v[0], &v[1], &v[2]), -1);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0], "[TARNGRAPH] unsupported clip mode selected\n");
    TarnSetClipMode(0);
    TarnSetPrimitiveRoutines(nullptr);
    v[0].sx = 10;
    EXPECT_EQ(TarnDrawTriangle(&v[0], &v[1], &v[2]), -1);  // nothing installed: dropped, never called
    EXPECT_EQ(alerts.size(), 2u);
    TarnPrintInitialise();
}

TEST_F(TarnClip, StripsAndBatches) {
    const std::vector<uint8_t> bytes = Pack({V(10, 10), V(20, 10), V(10, 20), V(20, 20), V(10, 30)});
    const uint8_t* v = bytes.data();
    const int strip[5] = {0, 1, 2, 3, 4};
    const uint8_t codes[5] = {};
    EXPECT_EQ(TarnDrawTriangleStrip(0, v, strip, codes), 0);
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_EQ(TarnDrawTriangleStrip(3, v, strip, codes), 3);
    EXPECT_EQ(recorder.calls.size(), 3u);
    recorder = Recorder{};
    const int tris[6] = {0, 1, 2, 2, 1, 3};
    TarnDrawTriangleBatch(2, v, tris, codes);
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"indexed 2"});
    recorder = Recorder{};
    const int quads[4] = {0, 1, 3, 2};
    TarnDrawQuadBatch(1, v, quads, codes);
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"indexed 2"});
}

TEST_F(TarnClip, LinesAreClippedToTheWindow) {
    const std::vector<uint8_t> v = Pack({V(-50, 50), V(50, 50)});
    const int line[2] = {0, 1};
    uint8_t codes[2] = {kTarnCodeLeft, 0};
    TarnDrawLines(1, v.data(), line, codes);
    ASSERT_EQ(recorder.calls, std::vector<std::string>{"line"});
    EXPECT_EQ(gLine[0].sx, 0.0f);
    EXPECT_EQ(gLine[0].sy, 50.0f);
    recorder = Recorder{};
    codes[1] = kTarnCodeLeft;
    TarnDrawLines(1, v.data(), line, codes);  // both left: nothing
    EXPECT_TRUE(recorder.calls.empty());
    const std::vector<uint8_t> n = Pack({V(50, 0, 3.0f), V(50, 100, 0.5f)});
    const uint8_t nearCodes[2] = {kTarnCodeNear, 0};
    TarnDrawLines(1, n.data(), line, nearCodes);
    ASSERT_EQ(gLine.size(), 2u);
    EXPECT_EQ(gLine[0].rhw, 1.0f);
    EXPECT_NEAR(gLine[0].sy, 80.0f, 1e-4f);  // t = (3 - 1) / (3 - 0.5) = 0.8
}

TEST_F(TarnClip, ASelfCheckMismatchGoesToTheFatalReport) {
    static int reports = 0;
    reports = 0;
    TarnSetReportRoutine(kTarnReportFatal, [](const char*, va_list) {
        ++reports;
        return 0;
    });
    TarnScreenVertex v[3] = {V(-10, 10), V(50, 10), V(50, 90)};
    const void* p[3] = {&v[0], &v[1], &v[2]};
    const uint8_t wrong[3] = {kTarnCodeRight, 0, 0};
    EXPECT_EQ(TarnClipPolygon(p, wrong, kTarnCodeRight, 3), -1);
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(recorder.calls.empty());
    TarnSetReportRoutine(kTarnReportFatal, nullptr);
}

}  // namespace
