// The vertex pipeline: module-wide state filled by setters, then one call,
// TarnTransformVertices, that rotates, translates, projects, saves, codes
// and replicates a whole batch with strides. Each setter answers the old
// value.
//
// The routine pair for a set of flags is validated once and cached. The
// cache is keyed on the requested flags and on which of the needed pointers
// are present, so a translation set after a call that ran without one is
// used; replacing one non-null pointer by another reuses the cache.
#pragma once

#include <cstdint>

enum : uint32_t {
    kTarnIndexed = 0x1,
    kTarnRotate = 0x2,
    kTarnTranslate = 0x4,
    kTarnProject = 0x8,
    kTarnSave = 0x10,  // camera-space copies; only with kTarnProject
    kTarnOutcodes = 0x10000,
    kTarnReplicate = 0x20000,
    kTarnForceX87 = 0x10000000,  // accepted; one portable path serves every entry
};

const float* TarnSetTranslation(const float* translation);  // 3 floats
const float* TarnSetMatrix(const float* matrix);            // 9 floats, row-major
uint8_t* TarnSetClipCodes(uint8_t* codes);
int TarnSetInputStride(int bytes);
int TarnSetOutputStride(int bytes);
const int* TarnSetRepeatCounts(const int* counts);
void* TarnSetRepeatTarget(void* target);
uint8_t* TarnSetRepeatCodes(uint8_t* codes);
const int* TarnSetIndices(const int* indices);
float* TarnSetSaveTarget(float* target);

// Answers the flags that ran (missing inputs clear the bits that need them),
// or 0 when count <= 0 or input or output is null.
uint32_t TarnTransformVertices(uint32_t flags, int count, const void* input, void* output);

// hfov and vfov are half-angles in turns, kept within 1/360..89/360; a width
// or height of 0 counts as 1. Also sets the clip window.
void TarnSetProjection(int x, int y, int width, int height, float nearZ, float farZ, float hfov, float vfov);
void TarnSetProjectionAspect(int x, int y, int width, int height, float nearZ, float farZ, float hfov);
void TarnProjectPoint(const float* point, float* sx, float* sy, float* sz, float* rhw, uint8_t* code);
void TarnUnprojectPoint(float sx, float sy, float* out);
void TarnRotateVertices(int count, const void* input, const float* matrix, void* output);
void TarnRotateTranslateVertices(int count, const void* input, const float* matrix, const float* translation,
                                 void* output, int outputStride);

struct TarnProjection {
    float nearZ = 1.0001f;
    float depthScale = 0.00004f;
    float xScale = 319.5f;
    float yScale = 319.5f;
    float centreX = 319.5f;
    float centreY = 239.5f;
    bool changed = true;
};
const TarnProjection& TarnGetProjection();
// Back to the start state (defaults, no pointers, default projection and
// clip window). For tests and tools.
void TarnResetPipeline();
// Whether the last call reused the cached routines (for tests).
bool TarnLastCallReusedCache();

// The rotating kernels: the best the processor runs (four vertices a step
// where it has SSE2), chosen at start, or the scalar reference loops.
enum class TarnKernelChoice { kBest, kScalar };
void TarnChooseKernels(TarnKernelChoice choice);
const char* TarnKernelSetName();
