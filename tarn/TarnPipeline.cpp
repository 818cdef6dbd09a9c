#include "tarn/TarnPipeline.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define TARN_KERNELS_SSE2 1
#endif

#include "platform/Cpu.h"
#include "tarn/TarnClip.h"
#include "tarn/TarnMath.h"
#include "tarn/TarnSystem.h"

namespace {

struct PipelineState {
    const float* translation = nullptr;
    const float* matrix = nullptr;
    uint8_t* clipCodes = nullptr;
    int inputStride = 12;
    int outputStride = 32;
    const int* repeatCounts = nullptr;
    void* repeatTarget = nullptr;
    uint8_t* repeatCodes = nullptr;
    const int* indices = nullptr;
    float* saveTarget = nullptr;
};

using TransformRoutine = void (*)(const PipelineState&, const TarnProjection&, int, const uint8_t*, uint8_t*);
using PostRoutine = void (*)(const PipelineState&, int, uint8_t*);

struct Cache {
    bool valid = false;
    uint32_t requested = 0;
    uint32_t present = 0;  // which needed pointers were there
    uint32_t effective = 0;
    TransformRoutine transform = nullptr;
    PostRoutine post = nullptr;
};

PipelineState gState;
TarnProjection gProjection;
Cache gCache;
bool gLastReused = false;

inline void Load3(const uint8_t* p, float& x, float& y, float& z) {
    float v[3];
    std::memcpy(v, p, sizeof v);
    x = v[0], y = v[1], z = v[2];
}

inline void Store3(uint8_t* p, float x, float y, float z) {
    const float v[3] = {x, y, z};
    std::memcpy(p, v, sizeof v);
}

inline void Store4(uint8_t* p, float a, float b, float c, float d) {
    const float v[4] = {a, b, c, d};
    std::memcpy(p, v, sizeof v);
}

// One loop for every transform entry; the switches are compile-time, so each
// table entry is a straight loop of its own.
template <bool Indexed, bool Rotate, bool Translate, bool Project, bool Save>
void TransformLoop(const PipelineState& s, const TarnProjection& p, int count, const uint8_t* in, uint8_t* out) {
    const size_t inStride = static_cast<size_t>(s.inputStride);
    const size_t outStride = static_cast<size_t>(s.outputStride);
    float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    if constexpr (Rotate) std::memcpy(m, s.matrix, sizeof m);
    float t[3] = {0, 0, 0};
    if constexpr (Translate) std::memcpy(t, s.translation, sizeof t);
    const int* indices = s.indices;
    float* save = s.saveTarget;
    for (int i = 0; i < count; ++i) {
        const size_t at = Indexed ? static_cast<size_t>(indices[i]) : static_cast<size_t>(i);
        float x, y, z;
        Load3(in + at * inStride, x, y, z);
        if constexpr (Rotate) {
            const float rx = x * m[0] + y * m[3] + z * m[6];
            const float ry = x * m[1] + y * m[4] + z * m[7];
            const float rz = x * m[2] + y * m[5] + z * m[8];
            x = rx, y = ry, z = rz;
        }
        if constexpr (Translate) {
            x += t[0];
            y += t[1];
            z += t[2];
        }
        uint8_t* o = out + at * outStride;
        if constexpr (Project) {
            // A depth of exactly +0.0 would divide by zero: it projects with
            // the largest rhw the screen uses.
            const float rhw = std::bit_cast<uint32_t>(z) == 0 ? 10000.0f : 1.0f / z;
            Store4(o, x * p.xScale * rhw + p.centreX, p.centreY - y * p.yScale * rhw, (z - p.nearZ) * p.depthScale,
                   rhw);
            if constexpr (Save) Store3(reinterpret_cast<uint8_t*>(save + 3 * at), x, y, z);
        } else {
            Store3(o, x, y, z);
        }
    }
}

template <int F>
constexpr TransformRoutine RoutineFor() {
    constexpr bool indexed = F & 1, rotate = F & 2, translate = F & 4, project = F & 8;
    constexpr bool save = (F & 16) && project;  // saving needs projecting
    if constexpr (!rotate && !translate && !project) {
        return nullptr;
    } else {
        return &TransformLoop<indexed, rotate, translate, project, save>;
    }
}

template <int... F>
constexpr auto MakeTable(std::integer_sequence<int, F...>) {
    return std::array<TransformRoutine, sizeof...(F)>{RoutineFor<F>()...};
}

constexpr auto kTransformTable = MakeTable(std::make_integer_sequence<int, 32>{});

#ifdef TARN_KERNELS_SSE2

// The rotating kernels four vertices a step: the same operations in the same
// order as TransformLoop, lane by lane, so the results are the same bits.
template <bool Translate, bool Project>
void TransformSse2(const PipelineState& s, const TarnProjection& p, int count, const uint8_t* in, uint8_t* out) {
    const size_t inStride = static_cast<size_t>(s.inputStride);
    const size_t outStride = static_cast<size_t>(s.outputStride);
    __m128 m[9];
    for (int k = 0; k < 9; ++k) m[k] = _mm_set1_ps(s.matrix[k]);
    __m128 t[3] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
    if constexpr (Translate)
        for (int k = 0; k < 3; ++k) t[k] = _mm_set1_ps(s.translation[k]);
    const __m128 xScale = _mm_set1_ps(p.xScale), yScale = _mm_set1_ps(p.yScale);
    const __m128 centreX = _mm_set1_ps(p.centreX), centreY = _mm_set1_ps(p.centreY);
    const __m128 nearZ = _mm_set1_ps(p.nearZ), depthScale = _mm_set1_ps(p.depthScale);
    const __m128 one = _mm_set1_ps(1.0f), zeroRhw = _mm_set1_ps(10000.0f);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128 x, y, z;
        if (inStride == 12) {
            // Four packed vertices are three loads: x0 y0 z0 x1 | y1 z1 x2 y2 | z2 x3 y3 z3.
            const float* f = reinterpret_cast<const float*>(in + static_cast<size_t>(i) * 12);
            const __m128 a = _mm_loadu_ps(f), b = _mm_loadu_ps(f + 4), c = _mm_loadu_ps(f + 8);
            x = _mm_shuffle_ps(a, _mm_shuffle_ps(b, c, _MM_SHUFFLE(1, 1, 2, 2)), _MM_SHUFFLE(2, 0, 3, 0));
            y = _mm_shuffle_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(0, 0, 1, 1)), _mm_shuffle_ps(b, c, _MM_SHUFFLE(2, 2, 3, 3)),
                               _MM_SHUFFLE(2, 0, 2, 0));
            z = _mm_shuffle_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(1, 1, 2, 2)), _mm_shuffle_ps(c, c, _MM_SHUFFLE(3, 3, 0, 0)),
                               _MM_SHUFFLE(2, 0, 2, 0));
        } else {
            float v[4][3];
            for (int k = 0; k < 4; ++k) Load3(in + static_cast<size_t>(i + k) * inStride, v[k][0], v[k][1], v[k][2]);
            x = _mm_setr_ps(v[0][0], v[1][0], v[2][0], v[3][0]);
            y = _mm_setr_ps(v[0][1], v[1][1], v[2][1], v[3][1]);
            z = _mm_setr_ps(v[0][2], v[1][2], v[2][2], v[3][2]);
        }
        __m128 rx = _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, m[0]), _mm_mul_ps(y, m[3])), _mm_mul_ps(z, m[6]));
        __m128 ry = _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, m[1]), _mm_mul_ps(y, m[4])), _mm_mul_ps(z, m[7]));
        __m128 rz = _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, m[2]), _mm_mul_ps(y, m[5])), _mm_mul_ps(z, m[8]));
        if constexpr (Translate) {
            rx = _mm_add_ps(rx, t[0]);
            ry = _mm_add_ps(ry, t[1]);
            rz = _mm_add_ps(rz, t[2]);
        }
        __m128 c0 = rx, c1 = ry, c2 = rz, c3 = _mm_setzero_ps();
        if constexpr (Project) {
            const __m128 zero = _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_castps_si128(rz), _mm_setzero_si128()));
            const __m128 rhw = _mm_or_ps(_mm_and_ps(zero, zeroRhw), _mm_andnot_ps(zero, _mm_div_ps(one, rz)));
            c0 = _mm_add_ps(_mm_mul_ps(_mm_mul_ps(rx, xScale), rhw), centreX);
            c1 = _mm_sub_ps(centreY, _mm_mul_ps(_mm_mul_ps(ry, yScale), rhw));
            c2 = _mm_mul_ps(_mm_sub_ps(rz, nearZ), depthScale);
            c3 = rhw;
        }
        _MM_TRANSPOSE4_PS(c0, c1, c2, c3);
        const __m128 rows[4] = {c0, c1, c2, c3};
        for (int k = 0; k < 4; ++k) {
            uint8_t* o = out + static_cast<size_t>(i + k) * outStride;
            if constexpr (Project) {
                _mm_storeu_ps(reinterpret_cast<float*>(o), rows[k]);
            } else {
                float lanes[4];
                _mm_storeu_ps(lanes, rows[k]);
                std::memcpy(o, lanes, 12);
            }
        }
    }
    if (i < count)
        TransformLoop<false, true, Translate, Project, false>(s, p, count - i, in + static_cast<size_t>(i) * inStride,
                                                              out + static_cast<size_t>(i) * outStride);
}

// The plain table with the direct rotating entries (2, 6, 10, 14 and their
// saving-free twins 18, 22) taken by the four-wide kernels.
constexpr std::array<TransformRoutine, 32> MakeSse2Table() {
    std::array<TransformRoutine, 32> table = kTransformTable;
    table[2] = table[18] = &TransformSse2<false, false>;
    table[6] = table[22] = &TransformSse2<true, false>;
    table[10] = &TransformSse2<false, true>;
    table[14] = &TransformSse2<true, true>;
    return table;
}
constexpr std::array<TransformRoutine, 32> kSse2TransformTable = MakeSse2Table();

#endif

// The kernel set in use: chosen once from the processor's features.
struct KernelSet {
    const std::array<TransformRoutine, 32>* table;
    const char* name;
};

KernelSet ChooseKernels(TarnKernelChoice choice) {
#ifdef TARN_KERNELS_SSE2
    constexpr uint32_t kSse2Feature = 1u << 26;
    if (choice != TarnKernelChoice::kScalar && (platform::Cpu().features & kSse2Feature) != 0)
        return {&kSse2TransformTable, "sse2"};
#else
    (void)choice;
#endif
    return {&kTransformTable, "scalar"};
}

KernelSet& Kernels() {
    static KernelSet set = ChooseKernels(TarnKernelChoice::kBest);
    return set;
}

void Outcodes(const PipelineState& s, int count, uint8_t* out, bool indexed) {
    const size_t stride = static_cast<size_t>(s.outputStride);
    for (int i = 0; i < count; ++i) {
        const size_t at = indexed ? static_cast<size_t>(s.indices[i]) : static_cast<size_t>(i);
        s.clipCodes[at] = TarnComputeOutcode(out + at * stride);
    }
}

void Replicate(const PipelineState& s, int count, uint8_t* out, bool withCodes) {
    const size_t stride = static_cast<size_t>(s.outputStride);
    auto* target = static_cast<uint8_t*>(s.repeatTarget);
    uint8_t* codes = s.repeatCodes;
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < s.repeatCounts[i]; ++k) {
            TarnCopy(target, out + static_cast<size_t>(i) * stride, 16);
            target += stride;
            if (withCodes) *codes++ = s.clipCodes[i];
        }
    }
}

void PostCodesDirect(const PipelineState& s, int count, uint8_t* out) { Outcodes(s, count, out, false); }
void PostCodesIndexed(const PipelineState& s, int count, uint8_t* out) { Outcodes(s, count, out, true); }
void PostReplicate(const PipelineState& s, int count, uint8_t* out) { Replicate(s, count, out, false); }
void PostCodesReplicate(const PipelineState& s, int count, uint8_t* out) {
    Outcodes(s, count, out, false);
    Replicate(s, count, out, true);
}

constexpr PostRoutine kPostTable[8] = {nullptr, nullptr, PostCodesDirect, PostCodesIndexed,
                                       PostReplicate, nullptr, PostCodesReplicate, nullptr};

uint32_t PresentPointers() {
    const PipelineState& s = gState;
    return (s.translation != nullptr ? 1u : 0u) | (s.matrix != nullptr ? 2u : 0u) |
           (s.clipCodes != nullptr ? 4u : 0u) | (s.repeatCounts != nullptr ? 8u : 0u) |
           (s.repeatTarget != nullptr ? 16u : 0u) | (s.repeatCodes != nullptr ? 32u : 0u) |
           (s.indices != nullptr ? 64u : 0u) | (s.saveTarget != nullptr ? 128u : 0u);
}

void Validate(uint32_t requested) {
    PipelineState& s = gState;
    uint32_t flags = requested;
    if (s.translation == nullptr) flags &= ~uint32_t{kTarnTranslate};
    if (s.matrix == nullptr) flags &= ~uint32_t{kTarnRotate};
    if (s.clipCodes == nullptr) flags &= ~uint32_t{kTarnOutcodes};
    if (s.inputStride == 0) s.inputStride = 12;
    if (s.outputStride == 0) s.outputStride = 32;
    if ((flags & kTarnReplicate) &&
        (s.repeatCounts == nullptr || s.repeatTarget == nullptr || (flags & kTarnIndexed) ||
         ((flags & kTarnOutcodes) && s.repeatCodes == nullptr)))
        flags &= ~uint32_t{kTarnReplicate};
    if (s.indices == nullptr) flags &= ~uint32_t{kTarnIndexed};
    // Saving without a target would write through null: it is dropped too.
    if (s.saveTarget == nullptr) flags &= ~uint32_t{kTarnSave};
    gCache.valid = true;
    gCache.requested = requested;
    gCache.present = PresentPointers();
    gCache.effective = flags;
    gCache.transform = (*Kernels().table)[flags & 31];
    gCache.post = (flags & (kTarnOutcodes | kTarnReplicate)) ? kPostTable[((flags >> 15) & 7) | (flags & 1)] : nullptr;
}

template <typename T>
T Exchange(T& slot, T value, bool invalidateWhenEmpty) {
    T old = slot;
    slot = value;
    if (invalidateWhenEmpty && !value) gCache.valid = false;
    return old;
}

}  // namespace

const float* TarnSetTranslation(const float* translation) { return Exchange(gState.translation, translation, true); }
const float* TarnSetMatrix(const float* matrix) { return Exchange(gState.matrix, matrix, true); }
uint8_t* TarnSetClipCodes(uint8_t* codes) { return Exchange(gState.clipCodes, codes, true); }
int TarnSetInputStride(int bytes) { return Exchange(gState.inputStride, bytes, true); }
int TarnSetOutputStride(int bytes) { return Exchange(gState.outputStride, bytes, true); }
const int* TarnSetRepeatCounts(const int* counts) { return Exchange(gState.repeatCounts, counts, true); }
void* TarnSetRepeatTarget(void* target) { return Exchange(gState.repeatTarget, target, true); }
uint8_t* TarnSetRepeatCodes(uint8_t* codes) { return Exchange(gState.repeatCodes, codes, true); }
const int* TarnSetIndices(const int* indices) { return Exchange(gState.indices, indices, true); }
float* TarnSetSaveTarget(float* target) { return Exchange(gState.saveTarget, target, true); }

uint32_t TarnTransformVertices(uint32_t flags, int count, const void* input, void* output) {
    gLastReused = gCache.valid && gCache.requested == flags && gCache.present == PresentPointers();
    if (!gLastReused) Validate(flags);
    if (count <= 0 || input == nullptr || output == nullptr) return 0;
    auto* out = static_cast<uint8_t*>(output);
    if (gCache.transform != nullptr)
        gCache.transform(gState, gProjection, count, static_cast<const uint8_t*>(input), out);
    if (gCache.post != nullptr) gCache.post(gState, count, out);
    return gCache.effective;
}

void TarnSetProjection(int x, int y, int width, int height, float nearZ, float farZ, float hfov, float vfov) {
    if (width == 0) width = 1;
    if (height == 0) height = 1;
    const float lowest = 1.0f / 360.0f, highest = 89.0f / 360.0f;
    hfov = std::clamp(hfov, lowest, highest);
    vfov = std::clamp(vfov, lowest, highest);
    gProjection.nearZ = nearZ;
    gProjection.depthScale = 1.0f / (farZ - nearZ);
    gProjection.xScale = static_cast<float>(width - 1) * TarnCos(hfov) / (2.0f * TarnSin(hfov));
    gProjection.yScale = static_cast<float>(height - 1) * TarnCos(vfov) / (2.0f * TarnSin(vfov));
    gProjection.centreX = static_cast<float>(x + (width >> 1)) - 0.5f;
    gProjection.centreY = static_cast<float>(y + (height >> 1)) - 0.5f;
    gProjection.changed = true;
    TarnSetClipWindow(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                      static_cast<float>(height), 1.0f / nearZ, 1.0f / farZ);
}

void TarnSetProjectionAspect(int x, int y, int width, int height, float nearZ, float farZ, float hfov) {
    const float vfov = TarnAtan2(static_cast<float>(height) * TarnSin(hfov), static_cast<float>(width) * TarnCos(hfov));
    TarnSetProjection(x, y, width, height, nearZ, farZ, hfov, vfov);
}

void TarnProjectPoint(const float* point, float* sx, float* sy, float* sz, float* rhw, uint8_t* code) {
    float record[8] = {};
    uint32_t flags = kTarnProject;
    uint8_t* savedCodes = nullptr;
    if (code != nullptr) {
        savedCodes = TarnSetClipCodes(code);
        flags |= kTarnOutcodes;
    }
    TarnTransformVertices(flags, 1, point, record);
    if (code != nullptr) TarnSetClipCodes(savedCodes);
    if (sx != nullptr) *sx = record[0];
    if (sy != nullptr) *sy = record[1];
    if (sz != nullptr) *sz = record[2];
    if (rhw != nullptr) *rhw = record[3];
}

void TarnUnprojectPoint(float sx, float sy, float* out) {
    out[0] = (sx - gProjection.centreX) / gProjection.xScale;
    out[1] = (gProjection.centreY - sy) / gProjection.yScale;
    out[2] = 1.0f;
}

void TarnRotateVertices(int count, const void* input, const float* matrix, void* output) {
    const float* oldMatrix = TarnSetMatrix(matrix);
    const int oldStride = TarnSetOutputStride(12);
    TarnTransformVertices(kTarnRotate, count, input, output);
    TarnSetMatrix(oldMatrix);
    TarnSetOutputStride(oldStride);
}

void TarnRotateTranslateVertices(int count, const void* input, const float* matrix, const float* translation,
                                 void* output, int outputStride) {
    const float* oldMatrix = TarnSetMatrix(matrix);
    const float* oldTranslation = TarnSetTranslation(translation);
    const int oldStride = TarnSetOutputStride(outputStride);
    TarnTransformVertices(kTarnRotate | kTarnTranslate, count, input, output);
    TarnSetMatrix(oldMatrix);
    TarnSetTranslation(oldTranslation);
    TarnSetOutputStride(oldStride);
}

const TarnProjection& TarnGetProjection() { return gProjection; }

void TarnResetPipeline() {
    gState = PipelineState{};
    gProjection = TarnProjection{};
    gCache = Cache{};
    gLastReused = false;
    TarnResetClipState();
}

bool TarnLastCallReusedCache() { return gLastReused; }

const char* TarnKernelSetName() { return Kernels().name; }

void TarnChooseKernels(TarnKernelChoice choice) {
    Kernels() = ChooseKernels(choice);
    gCache.valid = false;
}
