#include "tarn/TarnMath.h"

#include <cmath>
#include <cstring>
#include <bit>

const float kTarnIdentityMatrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

float TarnSqrt(float x) { return std::sqrt(x); }
float TarnSin(float turns) { return std::sin(turns * kTarnTwoPi); }
float TarnCos(float turns) { return std::cos(turns * kTarnTwoPi); }

void TarnSinCos(float turns, float* sine, float* cosine) {
    *sine = TarnSin(turns);
    *cosine = TarnCos(turns);
}

float TarnTan(float turns) { return TarnSin(turns) / TarnCos(turns); }
float TarnAtan2(float y, float x) { return std::atan2(y, x) * kTarnInverseTwoPi; }

void TarnMatrixRotationX(float* m, float turns) {
    float s, c;
    TarnSinCos(turns, &s, &c);
    const float r[9] = {1, 0, 0, 0, c, s, 0, -s, c};
    std::memcpy(m, r, sizeof r);
}

void TarnMatrixRotationY(float* m, float turns) {
    float s, c;
    TarnSinCos(turns, &s, &c);
    const float r[9] = {c, 0, -s, 0, 1, 0, s, 0, c};
    std::memcpy(m, r, sizeof r);
}

void TarnMatrixRotationZ(float* m, float turns) {
    float s, c;
    TarnSinCos(turns, &s, &c);
    const float r[9] = {c, s, 0, -s, c, 0, 0, 0, 1};
    std::memcpy(m, r, sizeof r);
}

namespace {

// dst row `keep` = src row `keep`; rows p and q mix as
// p' = c*p + s*q, q' = c*q - s*p.
void MixRows(const float* src, float turns, float* dst, int p, int q, int keep) {
    float m[9];
    std::memcpy(m, src, sizeof m);  // src and dst may be the same matrix
    float s, c;
    TarnSinCos(turns, &s, &c);
    for (int k = 0; k < 3; ++k) {
        dst[p * 3 + k] = c * m[p * 3 + k] + s * m[q * 3 + k];
        dst[q * 3 + k] = c * m[q * 3 + k] - s * m[p * 3 + k];
        dst[keep * 3 + k] = m[keep * 3 + k];
    }
}

}  // namespace

void TarnMatrixRotateX(const float* src, float turns, float* dst) { MixRows(src, turns, dst, 1, 2, 0); }
// Row 0 = c*row0 - s*row2, row 2 = c*row2 + s*row0: the pair (2, 0).
void TarnMatrixRotateY(const float* src, float turns, float* dst) { MixRows(src, turns, dst, 2, 0, 1); }
void TarnMatrixRotateZ(const float* src, float turns, float* dst) { MixRows(src, turns, dst, 0, 1, 2); }

void TarnMatrixFromAngles(float a, float b, float c, float* m) {
    TarnMatrixRotationX(m, a);
    TarnMatrixRotateY(m, b, m);
    TarnMatrixRotateZ(m, c, m);
}

void TarnAxisAngleMatrix(const float* axis, float turns, float* m) {
    if (turns == 0.0f) {
        std::memcpy(m, kTarnIdentityMatrix, sizeof kTarnIdentityMatrix);
        return;
    }
    float n[3];
    TarnVecNormalize(axis, n);
    float s, c;
    TarnSinCos(turns, &s, &c);
    const float t = 1.0f - c;
    const float x = n[0], y = n[1], z = n[2];
    // Rodrigues' form, laid out for row vectors (the transpose of the
    // column-vector matrix) so that it turns the same way as RotationX/Y/Z.
    m[0] = t * x * x + c;
    m[1] = t * x * y + s * z;
    m[2] = t * x * z - s * y;
    m[3] = t * x * y - s * z;
    m[4] = t * y * y + c;
    m[5] = t * y * z + s * x;
    m[6] = t * x * z + s * y;
    m[7] = t * y * z - s * x;
    m[8] = t * z * z + c;
}

void TarnMatrixScaleRows(const float* src, const float* scale, float* dst) {
    for (int row = 0; row < 3; ++row)
        for (int k = 0; k < 3; ++k) dst[row * 3 + k] = src[row * 3 + k] * scale[row];
}

void TarnMatrixTranspose(const float* src, float* dst) {
    float m[9];
    std::memcpy(m, src, sizeof m);
    for (int row = 0; row < 3; ++row)
        for (int k = 0; k < 3; ++k) dst[row * 3 + k] = m[k * 3 + row];
}

void TarnQuaternionToMatrix(const float* q, float* m) {
    const float x = q[0], y = q[1], z = q[2], w = q[3];
    m[0] = 1 - 2 * (y * y + z * z);
    m[1] = 2 * (x * y - z * w);
    m[2] = 2 * (x * z + y * w);
    m[3] = 2 * (x * y + z * w);
    m[4] = 1 - 2 * (x * x + z * z);
    m[5] = 2 * (y * z - x * w);
    m[6] = 2 * (x * z - y * w);
    m[7] = 2 * (y * z + x * w);
    m[8] = 1 - 2 * (x * x + y * y);
}

void TarnMatrixToQuaternion(const float* m, float* q) {
    const float trace = m[0] + m[4] + m[8];
    if (trace > 0) {
        const float d = std::sqrt(trace + 1);
        const float k = 0.5f / d;
        q[3] = d / 2;
        q[0] = (m[7] - m[5]) * k;
        q[1] = (m[2] - m[6]) * k;
        q[2] = (m[3] - m[1]) * k;
    } else if (m[8] > m[0] && m[8] > m[4]) {
        const float d = std::sqrt(m[8] - (m[0] + m[4]) + 1);
        const float k = 0.5f / d;
        q[2] = d / 2;
        q[0] = (m[2] + m[6]) * k;
        q[1] = (m[5] + m[7]) * k;
        q[3] = (m[3] - m[1]) * k;
    } else if (m[4] > m[0]) {
        const float d = std::sqrt(m[4] - (m[0] + m[8]) + 1);
        const float k = 0.5f / d;
        q[1] = d / 2;
        q[0] = (m[1] + m[3]) * k;
        q[2] = (m[5] + m[7]) * k;
        q[3] = (m[2] - m[6]) * k;
    } else {
        const float d = std::sqrt(m[0] - (m[4] + m[8]) + 1);
        const float k = 0.5f / d;
        q[0] = d / 2;
        q[1] = (m[1] + m[3]) * k;
        q[2] = (m[2] + m[6]) * k;
        q[3] = (m[7] - m[5]) * k;
    }
}

namespace {
float TurnsInRange(float turns) { return turns < 0 ? turns + 1.0f : turns; }
}  // namespace

void TarnMatrixToAngles(const float* m, float* a, float* b, float* c) {
    const float e = -m[6];
    const float f = std::sqrt(std::fmax(0.0f, 1 - e * e));
    float p, q, r, u;
    if (f != 0) {
        p = m[7] / f;
        q = m[8] / f;
        r = m[3] / f;
        u = m[0] / f;
    } else {
        p = -m[5];
        q = m[4];
        r = 0;
        u = 1;
    }
    *a = TurnsInRange(-TarnAtan2(p, q));
    *b = TurnsInRange(-TarnAtan2(e, f));
    *c = TurnsInRange(-TarnAtan2(r, u));
}

void TarnQuaternionToAngles(const float* q, float* a, float* b, float* c) {
    float m[9];
    TarnQuaternionToMatrix(q, m);
    TarnMatrixToAngles(m, a, b, c);
}

void TarnAnglesToQuaternion(float a, float b, float c, float* q) {
    float s1, c1, s2, c2, s3, c3;
    TarnSinCos(a * 0.5f, &s1, &c1);
    TarnSinCos(b * 0.5f, &s2, &c2);
    TarnSinCos(c * 0.5f, &s3, &c3);
    q[0] = c1 * c2 * s3 - s1 * s2 * c3;
    q[1] = c1 * s2 * s3 + s1 * c2 * c3;
    q[2] = c1 * s2 * c3 - s1 * c2 * s3;
    q[3] = s1 * s2 * s3 + c1 * c2 * c3;
}

void TarnPackAngles(const float* m, uint32_t* word) {
    float a, b, c;
    TarnMatrixToAngles(m, &a, &b, &c);
    // A code of 2048 (or 1024) is a full turn; it wraps to 0 in its field.
    const uint32_t ca = static_cast<uint32_t>(std::lround(a * 2048.0f));
    const uint32_t cb = static_cast<uint32_t>(std::lround(b * 2048.0f));
    const uint32_t cc = static_cast<uint32_t>(std::lround(c * 1024.0f));
    *word = (ca << 21) | ((cb << 10) & 0x1FFFFFu) | (cc & 0x3FFu);
}

void TarnUnpackAngleValues(uint32_t word, float* a, float* b, float* c) {
    // A hair below 1/2048 and 1/1024, so that the largest code stays below a
    // full turn.
    const float scale11 = std::bit_cast<float>(0x39FFFFF7u);
    const float scale10 = std::bit_cast<float>(0x3A7FFFF7u);
    *a = static_cast<float>(word >> 21) * scale11;
    *b = static_cast<float>((word >> 10) & 0x7FFu) * scale11;
    *c = static_cast<float>(word & 0x3FFu) * scale10;
}

void TarnUnpackAngles(uint32_t word, float* m) {
    float a, b, c;
    TarnUnpackAngleValues(word, &a, &b, &c);
    TarnMatrixFromAngles(a, b, c, m);
}

const float* TarnVecAdd(const float* a, const float* b, float* out) {
    out[0] = a[0] + b[0];
    out[1] = a[1] + b[1];
    out[2] = a[2] + b[2];
    return a + 3;
}

const float* TarnVecSub(const float* a, const float* b, float* out) {
    out[0] = a[0] - b[0];
    out[1] = a[1] - b[1];
    out[2] = a[2] - b[2];
    return a + 3;
}

void TarnVecAddBatch(int count, const float* a, const float* b, float* out) {
    for (int i = 0; i < count; ++i) TarnVecAdd(a + 3 * i, b, out + 3 * i);
}

void TarnVecSubBatch(int count, const float* a, const float* b, float* out) {
    for (int i = 0; i < count; ++i) TarnVecSub(a + 3 * i, b, out + 3 * i);
}

void TarnVecScaleBatch(int count, const float* a, float scale, float* out) {
    for (int i = 0; i < 3 * count; ++i) out[i] = a[i] * scale;
}

const float* TarnVecTransform(const float* v, const float* m, float* out) {
    const float x = v[0], y = v[1], z = v[2];
    out[0] = x * m[0] + y * m[3] + z * m[6];
    out[1] = x * m[1] + y * m[4] + z * m[7];
    out[2] = x * m[2] + y * m[5] + z * m[8];
    return v + 3;
}

float TarnVecDot(const float* a, const float* b) { return a[2] * b[2] + (a[0] * b[0] + a[1] * b[1]); }

void TarnVecDotBatch(int count, const float* a, const float* b, float* out) {
    for (int i = 0; i < count; ++i) out[i] = TarnVecDot(a + 3 * i, b);
}

const float* TarnVecCross(const float* a, const float* b, float* out) {
    const float x = a[1] * b[2] - a[2] * b[1];
    const float y = a[2] * b[0] - a[0] * b[2];
    const float z = a[0] * b[1] - a[1] * b[0];
    out[0] = x;
    out[1] = y;
    out[2] = z;
    return a + 3;
}

const float* TarnVecCrossNormalized(const float* a, const float* b, float* out) {
    TarnVecCross(a, b, out);
    TarnVecNormalize(out, out);
    return a + 3;
}

float TarnVecLength(const float* v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

const float* TarnVecNormalize(const float* v, float* out) {
    const float inverse = 1.0f / TarnVecLength(v);
    out[0] = v[0] * inverse;
    out[1] = v[1] * inverse;
    out[2] = v[2] * inverse;
    return v + 3;
}

float TarnVecDistance(const float* a, const float* b) {
    float d[3];
    TarnVecSub(b, a, d);
    return TarnVecLength(d);
}

float TarnVecAngle(const float* a, const float* b) {
    float na[3], nb[3];
    TarnVecNormalize(a, na);
    TarnVecNormalize(b, nb);
    const float dot = std::fmax(-1.0f, std::fmin(1.0f, TarnVecDot(na, nb)));
    return std::acos(dot) * kTarnInverseTwoPi;
}

const float* TarnVecSetLength(const float* v, float length, float* out) {
    TarnVecNormalize(v, out);
    out[0] *= length;
    out[1] *= length;
    out[2] *= length;
    return v + 3;
}
