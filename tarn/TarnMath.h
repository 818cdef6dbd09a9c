// Small numeric routines of the transform library: angles in turns
// (1.0 = a full circle), 3x3 row-major matrices applied to row vectors
// (x' = x*m0 + y*m3 + z*m6, ...), quaternions (x, y, z, w), angle words
// packed 11/11/10 bits, and vector operations on float triples.
//
// The routines do no checks: normalising a zero vector gives what dividing by
// zero gives. Callers keep their inputs sensible.
#pragma once

#include <cstdint>

using TarnMatrix = float[9];

inline constexpr float kTarnTwoPi = 6.2831845f;        // the float just below 2*pi
inline constexpr float kTarnInverseTwoPi = 0.15915495f;

extern const float kTarnIdentityMatrix[9];

float TarnSqrt(float x);
float TarnSin(float turns);
float TarnCos(float turns);
void TarnSinCos(float turns, float* sine, float* cosine);
float TarnTan(float turns);
float TarnAtan2(float y, float x);  // in turns

// m = a rotation about one axis.
void TarnMatrixRotationX(float* m, float turns);
void TarnMatrixRotationY(float* m, float turns);
void TarnMatrixRotationZ(float* m, float turns);
// dst = the rotation about one axis applied to src; src and dst may be one.
void TarnMatrixRotateX(const float* src, float turns, float* dst);
void TarnMatrixRotateY(const float* src, float turns, float* dst);
void TarnMatrixRotateZ(const float* src, float turns, float* dst);
// X by a, then about Y by b, then about Z by c.
void TarnMatrixFromAngles(float a, float b, float c, float* m);
// Angle exactly 0 gives the identity without reading the axis.
void TarnAxisAngleMatrix(const float* axis, float turns, float* m);
void TarnMatrixScaleRows(const float* src, const float* scale, float* dst);
void TarnMatrixTranspose(const float* src, float* dst);

void TarnQuaternionToMatrix(const float* q, float* m);
void TarnMatrixToQuaternion(const float* m, float* q);
// Each angle in [0, 1).
void TarnMatrixToAngles(const float* m, float* a, float* b, float* c);
void TarnQuaternionToAngles(const float* q, float* a, float* b, float* c);
void TarnAnglesToQuaternion(float a, float b, float c, float* q);

// One word: bits 31-21 and 20-10 the first two angles in 1/2048 turn, bits
// 9-0 the third in 1/1024 turn.
void TarnPackAngles(const float* m, uint32_t* word);
void TarnUnpackAngles(uint32_t word, float* m);
// The angles a word stands for (what TarnUnpackAngles builds its matrix from).
void TarnUnpackAngleValues(uint32_t word, float* a, float* b, float* c);

// Vectors. The single forms answer the next input element so they chain.
const float* TarnVecAdd(const float* a, const float* b, float* out);
const float* TarnVecSub(const float* a, const float* b, float* out);
void TarnVecAddBatch(int count, const float* a, const float* b, float* out);
void TarnVecSubBatch(int count, const float* a, const float* b, float* out);
void TarnVecScaleBatch(int count, const float* a, float scale, float* out);
const float* TarnVecTransform(const float* v, const float* m, float* out);
float TarnVecDot(const float* a, const float* b);
void TarnVecDotBatch(int count, const float* a, const float* b, float* out);
const float* TarnVecCross(const float* a, const float* b, float* out);
const float* TarnVecCrossNormalized(const float* a, const float* b, float* out);
float TarnVecLength(const float* v);
const float* TarnVecNormalize(const float* v, float* out);
float TarnVecDistance(const float* a, const float* b);
float TarnVecAngle(const float* a, const float* b);  // in turns
const float* TarnVecSetLength(const float* v, float length, float* out);
