#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tarn/TarnClip.h"
#include "tarn/TarnMath.h"
#include "tarn/TarnPipeline.h"

namespace {

class TarnPipeline : public ::testing::Test {
protected:
    void SetUp() override { TarnResetPipeline(); }
    void TearDown() override { TarnResetPipeline(); }
};

struct Out4 {
    float v[8];
};

TEST_F(TarnPipeline, DefaultProjectionOfOneOneTwo) {
    const float point[3] = {1, 1, 2};
    float sx, sy, sz, rhw;
    uint8_t code = 0xFF;
    TarnProjectPoint(point, &sx, &sy, &sz, &rhw, &code);
    EXPECT_FLOAT_EQ(sx, 479.25f);
    EXPECT_FLOAT_EQ(sy, 79.75f);
    EXPECT_FLOAT_EQ(rhw, 0.5f);
    EXPECT_NEAR(sz, (2 - 1.0001f) * 0.00004f, 1e-9f);
    EXPECT_EQ(code, 0);
}

TEST_F(TarnPipeline, ZeroDepthProjectsWithRhw10000) {
    const float point[3] = {0, 0, 0};
    float rhw = 0;
    TarnProjectPoint(point, nullptr, nullptr, nullptr, &rhw, nullptr);
    EXPECT_EQ(rhw, 10000.0f);
}

TEST_F(TarnPipeline, ProjectionClampsSizesAndAngles) {
    struct Case {
        int width, height;
        float hfov, vfov;
        float xScale, yScale;
    };
    const float lowCot = std::cos(6.2831845f / 360) / std::sin(6.2831845f / 360);
    const float highCot = std::cos(6.2831845f * 89 / 360) / std::sin(6.2831845f * 89 / 360);
    const Case cases[] = {
        {0, 0, 0.125f, 0.125f, 0.0f, 0.0f},                       // width and height 0 use 1
        {641, 481, 0.0f, 0.5f, 640 * lowCot / 2, 480 * highCot / 2},  // angles clamped
        {641, 481, 0.125f, 0.125f, 320.0f, 240.0f},
    };
    for (const Case& c : cases) {
        TarnSetProjection(0, 0, c.width, c.height, 1.0f, 101.0f, c.hfov, c.vfov);
        EXPECT_NEAR(TarnGetProjection().xScale, c.xScale, 1e-2f);
        EXPECT_NEAR(TarnGetProjection().yScale, c.yScale, 1e-2f);
    }
    EXPECT_FLOAT_EQ(TarnGetProjection().depthScale, 0.01f);
    EXPECT_FLOAT_EQ(TarnGetProjection().centreX, 319.5f);
    EXPECT_FLOAT_EQ(TarnGetClipWindow().right, 641.0f);
    EXPECT_FLOAT_EQ(TarnGetClipWindow().nearW, 1.0f);
    float out[3];
    TarnUnprojectPoint(319.5f + 320.0f, 239.5f, out);
    EXPECT_FLOAT_EQ(out[0], 1.0f);
    EXPECT_FLOAT_EQ(out[1], 0.0f);
    EXPECT_FLOAT_EQ(out[2], 1.0f);
}

TEST_F(TarnPipeline, AspectDerivesTheVerticalAngle) {
    TarnSetProjectionAspect(0, 0, 640, 480, 1.0f, 100.0f, 0.125f);
    // tan(vfov) = 480/640 * tan(hfov), so yScale = 479 / (2 * 0.75).
    EXPECT_NEAR(TarnGetProjection().yScale, 479.0f / 1.5f, 1e-2f);
}

TEST_F(TarnPipeline, SecondCallReusesTheCacheUnlessAPointerWasCleared) {
    const float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const float m2[9] = {2, 0, 0, 0, 2, 0, 0, 0, 2};
    const float in[3] = {1, 2, 3};
    float out[8];
    TarnSetMatrix(m);
    TarnTransformVertices(kTarnRotate, 1, in, out);
    EXPECT_FALSE(TarnLastCallReusedCache());
    TarnTransformVertices(kTarnRotate, 1, in, out);
    EXPECT_TRUE(TarnLastCallReusedCache());
    TarnSetMatrix(m2);  // another non-null pointer: still the cache, with the new values
    TarnTransformVertices(kTarnRotate, 1, in, out);
    EXPECT_TRUE(TarnLastCallReusedCache());
    EXPECT_EQ(out[2], 6.0f);
    TarnSetOutputStride(0);  // a zero stride forces validation, which restores 32
    TarnTransformVertices(kTarnRotate, 1, in, out);
    EXPECT_FALSE(TarnLastCallReusedCache());
    TarnSetMatrix(nullptr);
    EXPECT_EQ(TarnTransformVertices(kTarnRotate, 1, in, out), 0u);
    EXPECT_FALSE(TarnLastCallReusedCache());
}

TEST_F(TarnPipeline, TranslationSetAfterACallWithoutOneIsUsed) {
    const float in[3] = {1, 2, 3};
    const float t[3] = {10, 20, 30};
    float out[8] = {};
    EXPECT_EQ(TarnTransformVertices(kTarnTranslate, 1, in, out), 0u);  // nothing to translate with
    TarnSetTranslation(t);
    EXPECT_EQ(TarnTransformVertices(kTarnTranslate, 1, in, out), uint32_t{kTarnTranslate});
    EXPECT_EQ(out[0], 11.0f);
    EXPECT_EQ(out[2], 33.0f);
}

TEST_F(TarnPipeline, FlagsThatNeedMissingInputsAreDropped) {
    const float in[3] = {1, 2, 3};
    float out[8] = {};
    const int counts[1] = {2};
    const int indices[1] = {0};
    float target[16];
    TarnSetRepeatCounts(counts);
    TarnSetRepeatTarget(target);
    TarnSetIndices(indices);
    EXPECT_EQ(TarnTransformVertices(0x20001, 1, in, out), 0x1u);  // indexed and replicate: no replication
    EXPECT_EQ(TarnTransformVertices(0x10, 1, in, out), 0u);      // saving without a target or projection
    float save[3];
    TarnSetSaveTarget(save);
    EXPECT_EQ(TarnTransformVertices(0x10, 1, in, out), 0x10u);  // transforms nothing, still answers
    EXPECT_EQ(TarnTransformVertices(kTarnRotate, 0, in, out), 0u);
    EXPECT_EQ(TarnTransformVertices(kTarnRotate, 1, nullptr, out), 0u);
    EXPECT_EQ(TarnTransformVertices(kTarnForceX87 | kTarnProject, 1, in, out), uint32_t{kTarnForceX87 | kTarnProject});
}

// The per-vertex reference: the formulas written out for one vertex.
void Reference(uint32_t flags, const float* p, const float* m, const float* t, float* out, float* save) {
    float x = p[0], y = p[1], z = p[2];
    if (flags & kTarnRotate) {
        const float rx = x * m[0] + y * m[3] + z * m[6], ry = x * m[1] + y * m[4] + z * m[7],
                    rz = x * m[2] + y * m[5] + z * m[8];
        x = rx, y = ry, z = rz;
    }
    if (flags & kTarnTranslate) x += t[0], y += t[1], z += t[2];
    if (flags & kTarnProject) {
        const TarnProjection& pr = TarnGetProjection();
        const float rhw = 1.0f / z;
        out[0] = x * pr.xScale * rhw + pr.centreX;
        out[1] = pr.centreY - y * pr.yScale * rhw;
        out[2] = (z - pr.nearZ) * pr.depthScale;
        out[3] = rhw;
        if (flags & kTarnSave) save[0] = x, save[1] = y, save[2] = z;
    } else if (flags & (kTarnRotate | kTarnTranslate)) {
        out[0] = x, out[1] = y, out[2] = z;
    }
}

TEST_F(TarnPipeline, EveryEntryMatchesTheReferenceDirectAndIndexed) {
    constexpr int kCount = 7;
    constexpr int kGuard = 4;
    constexpr float kGuardValue = -12345.0f;
    float m[9];
    TarnMatrixFromAngles(0.1f, 0.2f, 0.3f, m);
    const float t[3] = {0.5f, -1.0f, 12.0f};
    // Input records of 20 bytes (5 floats): the pipeline reads only 3.
    std::vector<float> input(kCount * 5);
    for (int i = 0; i < kCount * 5; ++i) input[i] = 0.3f * static_cast<float>(i % 11) - 1.0f;
    const int indices[4] = {5, 1, 6, 3};
    TarnSetMatrix(m);
    TarnSetTranslation(t);
    TarnSetInputStride(20);
    TarnSetIndices(indices);
    for (uint32_t entry = 0; entry < 32; ++entry) {
        std::vector<float> out(kGuard + kCount * 8 + kGuard, kGuardValue);
        std::vector<float> save(kGuard + kCount * 3 + kGuard, kGuardValue);
        TarnSetSaveTarget(save.data() + kGuard);
        const bool indexed = entry & 1;
        const int count = indexed ? 4 : kCount;
        const uint32_t ran = TarnTransformVertices(entry, count, input.data(), out.data() + kGuard);
        EXPECT_EQ(ran, entry) << entry;
        std::vector<float> expectedOut(out.size(), kGuardValue), expectedSave(save.size(), kGuardValue);
        const uint32_t effective = (entry & kTarnSave) && !(entry & kTarnProject) ? entry & ~uint32_t{kTarnSave} : entry;
        for (int i = 0; i < count; ++i) {
            const int at = indexed ? indices[i] : i;
            float record[4];
            float saved[3];
            std::memcpy(record, &expectedOut[kGuard + at * 8], sizeof record);
            Reference(effective, &input[at * 5], m, t, record, saved);
            const int written = (effective & kTarnProject) ? 4 : (effective & (kTarnRotate | kTarnTranslate)) ? 3 : 0;
            std::memcpy(&expectedOut[kGuard + at * 8], record, sizeof(float) * written);
            if ((effective & kTarnSave) && (effective & kTarnProject))
                std::memcpy(&expectedSave[kGuard + (indexed ? at : i) * 3], saved, sizeof saved);
        }
        for (size_t k = 0; k < out.size(); ++k)
            EXPECT_NEAR(out[k], expectedOut[k], 1e-4f * std::max(1.0f, std::fabs(expectedOut[k])))
                << "entry " << entry << " float " << k;
        for (size_t k = 0; k < save.size(); ++k)
            EXPECT_NEAR(save[k], expectedSave[k], 1e-5f) << "entry " << entry << " saved " << k;
    }
}

TEST_F(TarnPipeline, OutcodesAndReplication) {
    const float in[6] = {0, 0, 2, 1000, 0, 2};  // the second lands right of the window
    float out[16];
    uint8_t codes[2] = {0xAA, 0xAA};
    const int repeats[2] = {2, 1};
    float target[3 * 8 + 4];
    std::fill(std::begin(target), std::end(target), -1.0f);
    uint8_t repeatCodes[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    TarnSetClipCodes(codes);
    TarnSetRepeatCounts(repeats);
    TarnSetRepeatTarget(target);
    TarnSetRepeatCodes(repeatCodes);
    const uint32_t flags = kTarnProject | kTarnOutcodes | kTarnReplicate;
    EXPECT_EQ(TarnTransformVertices(flags, 2, in, out), flags);
    EXPECT_EQ(codes[0], 0);
    EXPECT_EQ(codes[1], kTarnCodeRight);
    EXPECT_EQ(target[0], out[0]);
    EXPECT_EQ(target[8], out[0]);   // second copy, one output stride on
    EXPECT_EQ(target[16], out[8]);  // then the second vertex
    EXPECT_EQ(target[4], -1.0f);    // only the first 16 bytes are copied
    EXPECT_EQ(repeatCodes[0], 0);
    EXPECT_EQ(repeatCodes[1], 0);
    EXPECT_EQ(repeatCodes[2], kTarnCodeRight);
    EXPECT_EQ(repeatCodes[3], 0xEE);
}

TEST_F(TarnPipeline, IndexedOutcodesLandAtTheIndex) {
    const float in[9] = {0, 0, 2, -5000, 0, 2, 0, 0, 2};
    float out[24];
    uint8_t codes[3] = {0xAA, 0xAA, 0xAA};
    const int indices[1] = {1};
    TarnSetClipCodes(codes);
    TarnSetIndices(indices);
    TarnTransformVertices(kTarnIndexed | kTarnProject | kTarnOutcodes, 1, in, out);
    EXPECT_EQ(codes[0], 0xAA);
    EXPECT_EQ(codes[1], kTarnCodeLeft);
    EXPECT_EQ(codes[2], 0xAA);
}

TEST_F(TarnPipeline, HelpersRestoreTheState) {
    float m[9];
    TarnMatrixRotationZ(m, 0.25f);
    const float t[3] = {1, 2, 3};
    const float in[6] = {1, 0, 0, 0, 1, 0};
    float out[12];
    TarnRotateVertices(2, in, m, out);
    EXPECT_NEAR(out[1], 1.0f, 1e-6f);
    EXPECT_NEAR(out[3], -1.0f, 1e-6f);  // packed 12 bytes apart
    float wide[16];
    TarnRotateTranslateVertices(2, in, m, t, wide, 32);
    EXPECT_NEAR(wide[8], 0.0f, 1e-6f);
    EXPECT_NEAR(wide[9], 2.0f, 1e-6f);
    EXPECT_EQ(TarnSetMatrix(nullptr), nullptr);
    EXPECT_EQ(TarnSetTranslation(nullptr), nullptr);
    EXPECT_EQ(TarnSetOutputStride(32), 32);
}

}  // namespace
