#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "tarn/TarnInt64.h"
#include "tarn/TarnMath.h"

namespace {

void ExpectMatrixNear(const float* a, const float* b, float tolerance = 1e-5f) {
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << "element " << i;
}

TEST(TarnAngles, TurnsMeanFullCircles) {
    EXPECT_NEAR(TarnSin(0.25f), 1.0f, 1e-6f);
    EXPECT_NEAR(TarnCos(0.5f), -1.0f, 1e-6f);
    EXPECT_NEAR(TarnAtan2(1.0f, 0.0f), 0.25f, 1e-6f);
    EXPECT_NEAR(TarnTan(0.125f), 1.0f, 1e-5f);
}

TEST(TarnRotation, RotateMatchesMultiplyingByTheAxisMatrix) {
    // Rotate*(src) must equal Rotation*() times src, also in place.
    float src[9];
    TarnMatrixFromAngles(0.1f, 0.2f, 0.3f, src);
    using Builder = void (*)(float*, float);
    using Rotater = void (*)(const float*, float, float*);
    const std::pair<Builder, Rotater> axes[3] = {{TarnMatrixRotationX, TarnMatrixRotateX},
                                                 {TarnMatrixRotationY, TarnMatrixRotateY},
                                                 {TarnMatrixRotationZ, TarnMatrixRotateZ}};
    for (const auto& [build, rotate] : axes) {
        float r[9], expected[9] = {};
        build(r, 0.07f);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k) expected[i * 3 + j] += r[i * 3 + k] * src[k * 3 + j];
        float out[9], inPlace[9];
        rotate(src, 0.07f, out);
        std::copy(src, src + 9, inPlace);
        rotate(inPlace, 0.07f, inPlace);
        ExpectMatrixNear(out, expected);
        ExpectMatrixNear(inPlace, expected);
    }
}

TEST(TarnRotation, AxisAngleZeroIsIdentityWithoutReadingTheAxis) {
    float m[9];
    TarnAxisAngleMatrix(nullptr, 0.0f, m);
    ExpectMatrixNear(m, kTarnIdentityMatrix, 0);
}

TEST(TarnRotation, AxisAngleAboutEachAxisEqualsTheAxisRotation) {
    const float axes[3][3] = {{2, 0, 0}, {0, 3, 0}, {0, 0, 0.5f}};
    void (*builders[3])(float*, float) = {TarnMatrixRotationX, TarnMatrixRotationY, TarnMatrixRotationZ};
    for (int a = 0; a < 3; ++a) {
        float m[9], expected[9];
        TarnAxisAngleMatrix(axes[a], 0.15f, m);
        builders[a](expected, 0.15f);
        ExpectMatrixNear(m, expected);
    }
}

TEST(TarnAngles, IdentityGivesZeroAngles) {
    float a, b, c;
    TarnMatrixToAngles(kTarnIdentityMatrix, &a, &b, &c);
    EXPECT_EQ(a, 0.0f);
    EXPECT_EQ(b, 0.0f);
    EXPECT_EQ(c, 0.0f);
}

TEST(TarnAngles, AnglesToMatrixToAnglesRoundTrips) {
    const float cases[][3] = {{0.1f, 0.05f, 0.3f}, {0.9f, 0.2f, 0.6f}, {0.5f, 0.8f, 0.01f}, {0.25f, 0.0f, 0.75f}};
    for (const auto& angles : cases) {
        float m[9], a, b, c;
        TarnMatrixFromAngles(angles[0], angles[1], angles[2], m);
        TarnMatrixToAngles(m, &a, &b, &c);
        float back[9];
        TarnMatrixFromAngles(a, b, c, back);
        ExpectMatrixNear(back, m);
        EXPECT_GE(a, 0.0f);
        EXPECT_LT(a, 1.0f);
        EXPECT_GE(c, 0.0f);
        EXPECT_LT(c, 1.0f);
    }
    // Straight up: the second angle a quarter turn, where f is 0.
    float m[9], a, b, c;
    TarnMatrixFromAngles(0.0f, 0.25f, 0.0f, m);
    m[6] = 1.0f;  // exactly, so that f = 0 takes its own branch
    TarnMatrixToAngles(m, &a, &b, &c);
    EXPECT_NEAR(b, 0.25f, 1e-6f);
    EXPECT_EQ(c, 0.0f);
}

TEST(TarnQuaternion, MatrixQuaternionMatrixThroughEveryBranch) {
    // Positive trace; then x, y and z leading (half turns about each axis).
    float inputs[4][9];
    TarnMatrixFromAngles(0.05f, 0.1f, 0.02f, inputs[0]);
    TarnMatrixRotationX(inputs[1], 0.45f);
    TarnMatrixRotationY(inputs[2], 0.45f);
    TarnMatrixRotationZ(inputs[3], 0.45f);
    const int leading[4] = {3, 0, 1, 2};
    for (int i = 0; i < 4; ++i) {
        float q[4], back[9];
        TarnMatrixToQuaternion(inputs[i], q);
        for (int k = 0; k < 4; ++k)
            if (k != leading[i]) {
                EXPECT_LE(std::fabs(q[k]), std::fabs(q[leading[i]])) << "case " << i;
            }
        TarnQuaternionToMatrix(q, back);
        ExpectMatrixNear(back, inputs[i]);
    }
}

TEST(TarnQuaternion, ZeroAnglesGiveTheIdentityQuaternion) {
    float q[4];
    TarnAnglesToQuaternion(0, 0, 0, q);
    EXPECT_EQ(q[0], 0.0f);
    EXPECT_EQ(q[1], 0.0f);
    EXPECT_EQ(q[2], 0.0f);
    EXPECT_EQ(q[3], 1.0f);
}

TEST(TarnPacking, ScaleFactorsSitJustBelowOneTurn) {
    float a, b, c;
    TarnUnpackAngleValues(0xFFFFFFFFu, &a, &b, &c);
    EXPECT_LT(a, 1.0f);
    EXPECT_LT(b, 1.0f);
    EXPECT_LT(c, 1.0f);
    EXPECT_GT(a, 0.999f);
    EXPECT_EQ(a, 2047.0f * std::bit_cast<float>(0x39FFFFF7u));
    EXPECT_EQ(c, 1023.0f * std::bit_cast<float>(0x3A7FFFF7u));
}

TEST(TarnPacking, PackThenUnpackKeepsTheAnglesWithinOneStep) {
    const float cases[][3] = {{0.1f, 0.05f, 0.3f}, {0.7f, 0.2f, 0.95f}, {0.0f, 0.0f, 0.0f}, {0.33f, 0.15f, 0.5f}};
    for (const auto& angles : cases) {
        float m[9];
        TarnMatrixFromAngles(angles[0], angles[1], angles[2], m);
        uint32_t word = 0;
        TarnPackAngles(m, &word);
        float a, b, c;
        TarnUnpackAngleValues(word, &a, &b, &c);
        EXPECT_NEAR(a, angles[0], 1.0f / 2048);
        EXPECT_NEAR(b, angles[1], 1.0f / 2048);
        EXPECT_NEAR(c, angles[2], 1.0f / 1024);
        float back[9];
        TarnUnpackAngles(word, back);
        ExpectMatrixNear(back, m, 0.01f);
    }
}

TEST(TarnVectors, OperationsAndChaining) {
    const float a[6] = {1, 2, 3, 4, 5, 6};
    const float b[3] = {0.5f, 0.5f, 0.5f};
    float out[6];
    EXPECT_EQ(TarnVecAdd(a, b, out), a + 3);
    EXPECT_EQ(out[2], 3.5f);
    TarnVecSubBatch(2, a, b, out);
    EXPECT_EQ(out[5], 5.5f);
    TarnVecScaleBatch(2, a, 2.0f, out);
    EXPECT_EQ(out[4], 10.0f);
    const float x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    TarnVecCross(x, y, out);
    EXPECT_EQ(out[2], 1.0f);
    EXPECT_NEAR(TarnVecAngle(x, y), 0.25f, 1e-6f);
    EXPECT_NEAR(TarnVecDistance(x, y), std::sqrt(2.0f), 1e-6f);
    const float v[3] = {3, 0, 4};
    TarnVecSetLength(v, 10, out);
    EXPECT_NEAR(out[0], 6.0f, 1e-5f);
    EXPECT_NEAR(out[2], 8.0f, 1e-5f);
    float dots[2];
    TarnVecDotBatch(2, a, b, dots);
    EXPECT_EQ(dots[1], 7.5f);
    float rotated[3], m[9];
    TarnMatrixRotationZ(m, 0.25f);
    TarnVecTransform(x, m, rotated);  // x times [c s 0; -s c 0; 0 0 1] at a quarter turn: (0, 1, 0)
    EXPECT_NEAR(rotated[1], 1.0f, 1e-6f);
}

TEST(TarnVectors, ZeroVectorIsNotGuarded) {
    const float zero[3] = {0, 0, 0};
    float out[3];
    TarnVecNormalize(zero, out);
    EXPECT_TRUE(std::isnan(out[0]) || std::isinf(out[0]));
}

TEST(TarnInt64, PairArithmetic) {
    EXPECT_EQ(Int64FromInt32(-1), (TarnInt64{0xFFFFFFFFu, 0xFFFFFFFFu}));
    EXPECT_EQ(Int64FromUInt32(0xFFFFFFFFu), (TarnInt64{0xFFFFFFFFu, 0}));
    TarnInt64 remainder;
    EXPECT_EQ(UInt64DivMod({0, 1}, {3, 0}, &remainder), (TarnInt64{0x55555555u, 0}));
    EXPECT_EQ(remainder, (TarnInt64{1, 0}));
    EXPECT_EQ(Int64Add({0xFFFFFFFFu, 0}, {1, 0}), (TarnInt64{0, 1}));
    EXPECT_EQ(Int64Sub({0, 1}, {1, 0}), (TarnInt64{0xFFFFFFFFu, 0}));
    EXPECT_EQ(Int64Negate({1, 0}), Int64FromInt32(-1));
    EXPECT_EQ(TarnInt64Value(Int64MulInt32(Int64FromInt32(-3), 1000000007)), -3000000021LL);
    EXPECT_EQ(TarnInt64Value(Int32MulWide(-65536, 65536)), -4294967296LL);
    EXPECT_EQ(UInt32MulWide(0xFFFFFFFFu, 0xFFFFFFFFu), (TarnInt64{1, 0xFFFFFFFEu}));
    uint32_t small = 0;
    EXPECT_EQ(UInt64DivUInt32({10, 2}, 3, &small), 0xAAAAAAAEu);
    EXPECT_EQ(small, 0u);
    EXPECT_EQ(UInt64DivUInt32Bitwise({0, 7}, 2, &small), (TarnInt64{0x80000000u, 3}));
    EXPECT_EQ(Int64ShiftLeft({1, 0}, 40), (TarnInt64{0, 0x100}));
    EXPECT_EQ(UInt64ShiftRight({0, 0x80000000u}, 63), (TarnInt64{1, 0}));
    EXPECT_EQ(Int64ShiftRight({0, 0x80000000u}, 63), Int64FromInt32(-1));
}

TEST(TarnInt64, MulShiftIsAMultiplyByABinaryFraction) {
    // b = 2^63 is one half: (a * 2^63) >> 64 = a / 2.
    EXPECT_EQ(TarnInt64Value(Int64MulShift(Int64FromInt32(1000), {0, 0x80000000u}, 0)), 500);
    EXPECT_EQ(TarnInt64Value(Int64MulShift(Int64FromInt32(-1000), {0, 0x80000000u}, 0)), -500);
    EXPECT_EQ(TarnInt64Value(Int64MulShift(Int64FromInt32(1000), {0, 0x80000000u}, 2)), 125);
    EXPECT_EQ(TarnInt64Value(Int64MulShift(Int64FromInt32(1000), {0, 0x80000000u}, 200)), 0);
}

}  // namespace
