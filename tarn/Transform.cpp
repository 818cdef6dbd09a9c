#include "tarn/Transform.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

const Transform kIdentityTransform{};
const Vector3 kDefaultCameraPosition{-300, 0, 0};
const Vector3 kDefaultCameraDirection{1, 0, 0};
const float kDefaultCameraFieldOfView = 0.7853982f;

Quaternion Add(const Quaternion& a, const Quaternion& b) { return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w}; }
Quaternion Scale(const Quaternion& q, float s) { return {q.x * s, q.y * s, q.z * s, q.w * s}; }
float Dot(const Quaternion& a, const Quaternion& b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }
float LengthSquared(const Quaternion& q) { return Dot(q, q); }
float Length(const Quaternion& q) { return std::sqrt(LengthSquared(q)); }

bool NearlyEqual(const Quaternion& a, const Quaternion& b) {
    return std::fabs(a.x - b.x) <= 1e-6f && std::fabs(a.y - b.y) <= 1e-6f && std::fabs(a.z - b.z) <= 1e-6f &&
           std::fabs(a.w - b.w) <= 1e-6f;
}

Vector3 Normalised(const Vector3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0f)) return v;
    return {v.x / length, v.y / length, v.z / length};
}

namespace {
Quaternion Normalised(const Quaternion& q) {
    const float length = Length(q);
    return length == 0 ? Quaternion{} : Scale(q, 1.0f / length);
}
}  // namespace

Quaternion Interpolate(int mode, float w, const Quaternion& a, const Quaternion& b) {
    if (mode == 1) {
        // The shorter way round: with a negative dot product b counts negated.
        float d = 1 - w;
        if (Dot(a, b) < 0) d = -d;
        return Normalised(Add(Scale(a, w), Scale(b, d)));
    }
    if (mode == 2) {
        if (std::fabs(w - 1) <= 1e-6f || NearlyEqual(a, b)) return a;
        if (std::fabs(w) <= 1e-6f) return b;
        double c = Dot(a, b);
        double sign = 1;
        if (c < 0) {
            c = -c;
            sign = -1;
        }
        double wa, wb;
        if (1 - c < 1e-6) {
            wa = w;
            wb = 1 - w;
        } else {
            const double t = std::acos(c);
            wa = std::sin(w * t) / std::sin(t);
            wb = std::sin(t - w * t) / std::sin(t);
        }
        wb *= sign;
        const Quaternion r{static_cast<float>(a.x * wa + b.x * wb), static_cast<float>(a.y * wa + b.y * wb),
                           static_cast<float>(a.z * wa + b.z * wb), static_cast<float>(a.w * wa + b.w * wb)};
        return Normalised(r);
    }
    return w > 0.5f ? a : b;
}

Quaternion Multiply(const Quaternion& a, const Quaternion& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Vector3 Rotate(const Vector3& v, const Quaternion& q) {
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    return {(w * w + x * x - y * y - z * z) * v.x + 2 * (x * y - w * z) * v.y + 2 * (x * z + w * y) * v.z,
            2 * (x * y + w * z) * v.x + (w * w - x * x + y * y - z * z) * v.y + 2 * (y * z - w * x) * v.z,
            2 * (x * z - w * y) * v.x + 2 * (y * z + w * x) * v.y + (w * w - x * x - y * y + z * z) * v.z};
}

Transform MakeRotationMatrix(int axis, float radians) {
    if (axis < 0 || axis > 2) return kIdentityTransform;
    const float c = std::cos(radians), s = std::sin(radians);
    Transform t;
    t.kind = kTransformGeneral;
    const int p = axis == 0 ? 1 : 0, q = axis == 2 ? 1 : 2;  // the two turning axes
    if (axis == 1) {
        // About y the rows are (c, 0, -s) and (s, 0, c).
        t.m[0][0] = c, t.m[0][2] = -s, t.m[2][0] = s, t.m[2][2] = c;
    } else {
        t.m[p][p] = c, t.m[p][q] = s, t.m[q][p] = -s, t.m[q][q] = c;
    }
    return t;
}

Transform MakeTranslationTransform(const Vector3& v) {
    Transform t;
    t.m[3][0] = v.x, t.m[3][1] = v.y, t.m[3][2] = v.z;
    t.kind = kTransformTranslation;
    return t;
}

Transform MakeTranslationTransform(float x, float y, float z) { return MakeTranslationTransform(Vector3{x, y, z}); }

Transform MakeScaleTransform(float s) {
    Transform t;
    for (int i = 0; i < 3; ++i) t.m[i][i] = s;
    t.kind = kTransformGeneral;
    return t;
}

void Transform::PostMultiply(const Transform& other) {
    if (other.kind == kTransformIdentity) return;
    if (kind == kTransformIdentity) {
        *this = other;
        return;
    }
    *this = MultiplyTransforms(*this, other);
    kind = kTransformGeneral;
}

BoundingBox BoundingBox::Empty() {
    constexpr float kFar = 1e38f;
    return {kFar, kFar, kFar, -kFar, -kFar, -kFar};
}

bool BoundingBox::ExtendByTransformedBox(const BoundingBox& other, const Transform& transform) {
    bool grew = false;
    for (int corner = 0; corner < 8; ++corner) {
        const Vector3 p{(corner & 1) ? other.maxX : other.minX, (corner & 2) ? other.maxY : other.minY,
                        (corner & 4) ? other.maxZ : other.minZ};
        const Vector3 q = TransformPoint3(p, transform);
        const auto grow = [&](float v, float& lo, float& hi) {
            if (v < lo) lo = v, grew = true;
            if (v > hi) hi = v, grew = true;
        };
        grow(q.x, minX, maxX);
        grow(q.y, minY, maxY);
        grow(q.z, minZ, maxZ);
    }
    return grew;
}

Transform MultiplyTransforms(const Transform& a, const Transform& b) {
    if (a.kind == kTransformIdentity) return b;
    if (b.kind == kTransformIdentity) return a;
    Transform r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    r.kind = a.kind == kTransformTranslation && b.kind == kTransformTranslation ? kTransformTranslation
                                                                                : kTransformGeneral;
    return r;
}

Vector3 TransformPoint3(const Vector3& p, const Transform& t) {
    if (t.kind == kTransformIdentity) return p;
    if (t.kind == kTransformTranslation) return {p.x + t.m[3][0], p.y + t.m[3][1], p.z + t.m[3][2]};
    const auto& m = t.m;
    const float x = p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0];
    const float y = p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1];
    const float z = p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2];
    const float w = p.x * m[0][3] + p.y * m[1][3] + p.z * m[2][3] + m[3][3];
    return {x / w, y / w, z / w};
}

Vector4 TransformPoint4(const Vector4& p, const Transform& t) {
    if (t.kind == kTransformIdentity) return p;
    if (t.kind == kTransformTranslation) return {p.x + t.m[3][0], p.y + t.m[3][1], p.z + t.m[3][2], 1.0f};
    const auto& m = t.m;
    const float in[4] = {p.x, p.y, p.z, p.w};
    float out[4];
    for (int j = 0; j < 4; ++j) out[j] = in[0] * m[0][j] + in[1] * m[1][j] + in[2] * m[2][j] + in[3] * m[3][j];
    return {out[0], out[1], out[2], out[3]};
}

void Invert(const Matrix4& matrix, Matrix4& inverse) {
    double a[4][8];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a[i][j] = matrix[i][j];
            a[i][j + 4] = i == j ? 1.0 : 0.0;
        }
    for (int column = 0; column < 4; ++column) {
        int pivot = column;
        for (int row = column + 1; row < 4; ++row)
            if (std::fabs(a[row][column]) > std::fabs(a[pivot][column])) pivot = row;
        if (a[pivot][column] == 0.0) throw kInvertError;
        if (pivot != column) std::swap(a[pivot], a[column]);
        const double scale = 1.0 / a[column][column];
        for (double& value : a[column]) value *= scale;
        for (int row = 0; row < 4; ++row) {
            if (row == column) continue;
            const double factor = a[row][column];
            for (int j = 0; j < 8; ++j) a[row][j] -= factor * a[column][j];
        }
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) inverse[i][j] = static_cast<float>(a[i][j + 4]);
}

bool ReadVector(std::string_view text, Vector3& out) {
    std::vector<std::string> tokens;
    size_t at = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
    while (at < text.size() && tokens.size() < 5) {
        while (at < text.size() && blank(text[at])) ++at;
        const size_t start = at;
        while (at < text.size() && !blank(text[at])) ++at;
        if (at > start) tokens.emplace_back(text.substr(start, at - start));
    }
    if (tokens.size() < 4) return false;
    float values[3];
    for (int i = 0; i < 3; ++i) {
        float value = 0;
        if (std::sscanf(tokens[static_cast<size_t>(i) + 1].c_str(), "%f", &value) != 1) value = 0;
        values[i] = value;
    }
    out = {values[0], values[1], values[2]};
    return true;
}
