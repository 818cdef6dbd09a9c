// The transform product by kind, the scale and translation makers and a box
// grown by another box's moved corners.
#include <gtest/gtest.h>

#include "tarn/Transform.h"

namespace {

TEST(PostMultiply, EachKindOnEitherSide) {
    const Transform scale = MakeScaleTransform(2);
    const Transform move = MakeTranslationTransform(1, 2, 3);
    EXPECT_EQ(scale.kind, kTransformGeneral);
    EXPECT_EQ(scale.m[0][0], 2);
    EXPECT_EQ(scale.m[2][2], 2);
    EXPECT_EQ(scale.m[3][3], 1);
    EXPECT_EQ(move.kind, kTransformTranslation);
    EXPECT_EQ(move.m[3][2], 3);

    // Other is the identity: unchanged, kind kept.
    Transform t = move;
    t.PostMultiply(kIdentityTransform);
    EXPECT_EQ(t.kind, kTransformTranslation);
    EXPECT_EQ(t.m[3][0], 1);
    // This is the identity: a copy of other with its kind.
    Transform i;
    i.PostMultiply(move);
    EXPECT_EQ(i.kind, kTransformTranslation);
    EXPECT_EQ(i.m[3][1], 2);
    // Two translations: the full product, kind general.
    Transform twice = move;
    twice.PostMultiply(move);
    EXPECT_EQ(twice.kind, kTransformGeneral);
    EXPECT_EQ(twice.m[3][0], 2);
    EXPECT_EQ(twice.m[3][2], 6);
    // Scale then move: a point is scaled first, then moved.
    Transform sm = scale;
    sm.PostMultiply(move);
    const Vector3 p = TransformPoint3({1, 1, 1}, sm);
    EXPECT_EQ(p, (Vector3{3, 4, 5}));
    Transform ms = move;
    ms.PostMultiply(scale);
    EXPECT_EQ(TransformPoint3({1, 1, 1}, ms), (Vector3{4, 6, 8}));
}

TEST(BoundingBoxes, GrowByTransformedCorners) {
    BoundingBox box = BoundingBox::Empty();
    EXPECT_EQ(box.minX, 1e38f);
    EXPECT_EQ(box.maxZ, -1e38f);
    const BoundingBox unit{0, 0, 0, 1, 1, 1};
    EXPECT_TRUE(box.ExtendByTransformedBox(unit, MakeTranslationTransform(10, 0, -5)));
    EXPECT_EQ(box.minX, 10);
    EXPECT_EQ(box.maxX, 11);
    EXPECT_EQ(box.minZ, -5);
    EXPECT_EQ(box.maxZ, -4);
    // Inside already: nothing grows.
    EXPECT_FALSE(box.ExtendByTransformedBox(BoundingBox{10.25f, 0.25f, -4.75f, 10.5f, 0.5f, -4.5f}, kIdentityTransform));
    // A scale grows it on the far side only.
    EXPECT_TRUE(box.ExtendByTransformedBox(unit, MakeScaleTransform(20)));
    EXPECT_EQ(box.minX, 0);
    EXPECT_EQ(box.maxX, 20);
    EXPECT_EQ(box.maxY, 20);
    EXPECT_EQ(box.minZ, -5);
}

}  // namespace
