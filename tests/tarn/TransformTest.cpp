#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tarn/Transform.h"

namespace {

constexpr float kHalfPi = 1.5707964f;

TEST(Interpolate, NormalisedLinearTakesTheShortWay) {
    const Quaternion q{0.2f, 0.4f, 0.4f, 0.8f};
    const Quaternion minus{-0.2f, -0.4f, -0.4f, -0.8f};
    const Quaternion r = Interpolate(1, 0.3f, q, minus);
    EXPECT_NEAR(r.x, q.x, 1e-6f);
    EXPECT_NEAR(r.w, q.w, 1e-6f);
    const Quaternion zero = Interpolate(1, 0.5f, Quaternion{0, 0, 0, 0}, Quaternion{0, 0, 0, 0});
    EXPECT_EQ(zero.w, 1.0f);  // a zero length gives the identity
}

TEST(Interpolate, SphericalThresholdsAndMidpoint) {
    const Quaternion a{0, 0, 0, 1};
    const Quaternion b{0, 0, std::sin(0.5f), std::cos(0.5f)};  // one radian about z
    EXPECT_TRUE(NearlyEqual(Interpolate(2, 1.0f, a, b), a));
    EXPECT_TRUE(NearlyEqual(Interpolate(2, 0.0f, a, b), b));
    const Quaternion mid = Interpolate(2, 0.5f, a, b);
    EXPECT_NEAR(mid.z, std::sin(0.25f), 1e-6f);
    EXPECT_NEAR(mid.w, std::cos(0.25f), 1e-6f);
    const Quaternion flipped{0, 0, -b.z, -b.w};  // the same rotation: the result must not swing the long way
    const Quaternion same = Interpolate(2, 0.5f, a, flipped);
    EXPECT_NEAR(std::fabs(same.z), std::sin(0.25f), 1e-6f);
}

TEST(Interpolate, StepPicksBAtExactlyOneHalf) {
    const Quaternion a{1, 0, 0, 0}, b{0, 1, 0, 0};
    EXPECT_EQ(Interpolate(0, 0.5f, a, b).y, 1.0f);
    EXPECT_EQ(Interpolate(7, 0.51f, a, b).x, 1.0f);
}

TEST(QuaternionMath, ProductAndRotationAgree) {
    const Quaternion z90{0, 0, std::sin(kHalfPi / 2), std::cos(kHalfPi / 2)};
    const Vector3 r = Rotate({1, 0, 0}, z90);
    EXPECT_NEAR(r.x, 0.0f, 1e-6f);
    EXPECT_NEAR(r.y, 1.0f, 1e-6f);
    const Quaternion twice = Multiply(z90, z90);
    EXPECT_NEAR(twice.z, 1.0f, 1e-6f);
    EXPECT_NEAR(twice.w, 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(Length(Scale(z90, 2)), 2.0f);
}

TEST(Transforms, RotationTranslationAndProducts) {
    const Transform z = MakeRotationMatrix(2, kHalfPi);
    EXPECT_EQ(z.kind, kTransformGeneral);
    EXPECT_NEAR(z.m[0][1], 1.0f, 1e-6f);   // rows (cos, sin, 0)
    EXPECT_NEAR(z.m[1][0], -1.0f, 1e-6f);  // (-sin, cos, 0)
    EXPECT_EQ(MakeRotationMatrix(3, 1.0f).kind, kTransformIdentity);
    const Transform move = MakeTranslationTransform({10, 20, 30});
    EXPECT_EQ(move.kind, kTransformTranslation);
    const Transform both = MultiplyTransforms(z, move);
    const Vector3 p = TransformPoint3({1, 0, 0}, both);
    EXPECT_NEAR(p.x, 10.0f, 1e-5f);
    EXPECT_NEAR(p.y, 21.0f, 1e-5f);
    const Transform copy = MultiplyTransforms(kIdentityTransform, move);
    EXPECT_EQ(copy.kind, kTransformTranslation);
    EXPECT_EQ(std::memcmp(copy.m, move.m, sizeof move.m), 0);
}

TEST(Transforms, TranslationKindIgnoresTheUpperBlock) {
    Transform t = MakeTranslationTransform({1, 2, 3});
    t.m[0][0] = 5;  // ignored for kind 2
    const Vector3 p = TransformPoint3({1, 1, 1}, t);
    EXPECT_EQ(p, (Vector3{2, 3, 4}));
    const Vector4 q = TransformPoint4({1, 1, 1, 7}, t);
    EXPECT_EQ(q.w, 1.0f);
    Transform projective;
    projective.kind = kTransformGeneral;
    projective.m[2][3] = 1;  // w = z + 1
    const Vector3 divided = TransformPoint3({2, 4, 1}, projective);
    EXPECT_FLOAT_EQ(divided.x, 1.0f);
    const Vector4 undivided = TransformPoint4({2, 4, 1, 1}, projective);
    EXPECT_FLOAT_EQ(undivided.x, 2.0f);
    EXPECT_FLOAT_EQ(undivided.w, 2.0f);
}

TEST(Transforms, InvertRoundTripsAndRefusesSingularMatrices) {
    const Transform r = MultiplyTransforms(MakeRotationMatrix(0, 0.3f), MakeTranslationTransform({4, 5, 6}));
    Matrix4 inverse;
    Invert(r.m, inverse);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += r.m[i][k] * inverse[k][j];
            EXPECT_NEAR(sum, i == j ? 1.0f : 0.0f, 1e-5f);
        }
    Matrix4 singular = {{1, 2, 3, 4}, {2, 4, 6, 8}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    try {
        Invert(singular, inverse);
        FAIL() << "a singular matrix was inverted";
    } catch (const char* text) {
        EXPECT_STREQ(text, "U3DAlgebra3 error");
    }
}

TEST(Transforms, TextVectors) {
    Vector3 v;
    EXPECT_TRUE(ReadVector("pos 1.5 -2 3e1 end", v));
    EXPECT_EQ(v, (Vector3{1.5f, -2, 30}));
    EXPECT_TRUE(ReadVector("  p\t1 x 2", v));
    EXPECT_EQ(v, (Vector3{1, 0, 2}));
    EXPECT_FALSE(ReadVector("p 1 2", v));
    EXPECT_FALSE(ReadVector("", v));
}

TEST(Transforms, DefaultCamera) {
    EXPECT_EQ(kDefaultCameraPosition, (Vector3{-300, 0, 0}));
    EXPECT_EQ(kDefaultCameraDirection, (Vector3{1, 0, 0}));
    EXPECT_FLOAT_EQ(kDefaultCameraFieldOfView, 0.7853982f);
}

}  // namespace
