// The math kit the character renderer and the 3D views share: vectors,
// quaternions with interpolation, the 4x4 transform with a kind tag, point
// transforms, rotation matrices about an axis, the inverse of a 4x4 matrix
// and the text form of vectors. Matrices are rows used with row vectors: a
// point is multiplied from the left and the fourth row holds the
// translation. Angles here are radians (Tarn's own routines use turns).
#pragma once

#include <string_view>

struct Vector3 {
    float x = 0, y = 0, z = 0;
    friend bool operator==(const Vector3&, const Vector3&) = default;
};

struct Vector4 {
    float x = 0, y = 0, z = 0, w = 0;
};

struct Quaternion {
    float x = 0, y = 0, z = 0, w = 1;
};

enum TransformKind : int { kTransformGeneral = 0, kTransformIdentity = 1, kTransformTranslation = 2 };

struct Transform {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    int kind = kTransformIdentity;

    // this x other. An identity on either side costs nothing (this identity
    // takes other's kind); any other product is general, even of two
    // translations.
    void PostMultiply(const Transform& other);
};

struct BoundingBox {
    float minX = 0, minY = 0, minZ = 0;
    float maxX = 0, maxY = 0, maxZ = 0;

    // The box that any point grows: minimum 1e38, maximum -1e38.
    static BoundingBox Empty();
    // Grows this box to take each of the other box's eight corners, moved
    // by the transform; true when some corner grew it.
    bool ExtendByTransformedBox(const BoundingBox& other, const Transform& transform);
};

extern const Transform kIdentityTransform;
// Every viewport's default camera: position, direction and field of view.
extern const Vector3 kDefaultCameraPosition;   // (-300, 0, 0)
extern const Vector3 kDefaultCameraDirection;  // (1, 0, 0)
extern const float kDefaultCameraFieldOfView;  // pi / 4

// Quaternion interpolation; w is the weight of a. Mode 1 normalised linear,
// 2 spherical, anything else a step (a when w > 0.5, else b).
Quaternion Interpolate(int mode, float w, const Quaternion& a, const Quaternion& b);
Quaternion Multiply(const Quaternion& a, const Quaternion& b);  // Hamilton product
Vector3 Rotate(const Vector3& v, const Quaternion& q);          // q v q*
// v at length 1; a zero vector stays zero rather than becoming NaNs.
Vector3 Normalised(const Vector3& v);
Quaternion Add(const Quaternion& a, const Quaternion& b);
Quaternion Scale(const Quaternion& q, float s);
float Dot(const Quaternion& a, const Quaternion& b);
float LengthSquared(const Quaternion& q);
float Length(const Quaternion& q);
bool NearlyEqual(const Quaternion& a, const Quaternion& b);  // each component within 1e-6

// axis 0 x, 1 y, 2 z; any other axis gives the identity. Kind 0.
Transform MakeRotationMatrix(int axis, float radians);
Transform MakeTranslationTransform(const Vector3& v);
Transform MakeTranslationTransform(float x, float y, float z);
// The identity with its three diagonal terms times s. Kind 0.
Transform MakeScaleTransform(float s);
// a then b (a x b); when either is the identity, a copy of the other.
Transform MultiplyTransforms(const Transform& a, const Transform& b);
Vector3 TransformPoint3(const Vector3& point, const Transform& transform);
Vector4 TransformPoint4(const Vector4& point, const Transform& transform);

// Gauss-Jordan with the largest pivot of each column; a singular matrix
// throws the C string "U3DAlgebra3 error", which callers catch.
using Matrix4 = float[4][4];
void Invert(const Matrix4& matrix, Matrix4& inverse);
inline constexpr const char* kInvertError = "U3DAlgebra3 error";

// Five blank-separated tokens of which the 2nd to 4th are x, y and z (read
// like "%f": a token that is no number reads as 0). False with fewer than
// four tokens.
bool ReadVector(std::string_view text, Vector3& out);
