#include "platform/BlitRows.h"

#include <cstddef>

#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#define TOVA_BLIT_SSE2 1
#endif

namespace platform {

namespace {

// One channel field mixed by a constant alpha, rounded to nearest:
// t / 255 with t = s x a + d x (255 - a) + 127, at most 63 x 255 + 127, is
// exactly (t + 1 + t / 256) / 256 in that range, all within 16 bits.
inline unsigned BlitRowMix(unsigned s, unsigned d, unsigned a) {
    const uint16_t t = static_cast<uint16_t>(s * a + d * (255 - a) + 127);
    return static_cast<uint16_t>(t + 1 + (t >> 8)) >> 8;
}

// Red shift and green mask: 565 = (11, 0x3F), 555 = (10, 0x1F).
template <int RedShift, unsigned GreenMask>
inline uint16_t BlitRowBlend(uint16_t s, uint16_t d, unsigned a) {
    return static_cast<uint16_t>((BlitRowMix((s >> RedShift) & 0x1F, (d >> RedShift) & 0x1F, a) << RedShift) |
                                 (BlitRowMix((s >> 5) & GreenMask, (d >> 5) & GreenMask, a) << 5) |
                                 BlitRowMix(s & 0x1F, d & 0x1F, a));
}

template <int RedShift, unsigned GreenMask>
void ScalarAlphaRow(uint16_t* dst, const uint16_t* src, int32_t n, bool mirror, bool keyed, uint16_t key,
                    unsigned alpha) {
    const ptrdiff_t step = mirror ? -1 : 1;
    for (int32_t x = 0; x < n; ++x) {
        const uint16_t v = src[x * step];
        if (keyed && v == key) continue;
        dst[x] = BlitRowBlend<RedShift, GreenMask>(v, dst[x], alpha);
    }
}

void ScalarKeyedRow(uint16_t* dst, const uint16_t* src, int32_t n, bool mirror, uint16_t key) {
    const ptrdiff_t step = mirror ? -1 : 1;
    for (int32_t x = 0; x < n; ++x) {
        const uint16_t v = src[x * step];
        if (v != key) dst[x] = v;
    }
}

const BlitRowKernels kScalarBlitRows = {&ScalarAlphaRow<11, 0x3F>, &ScalarAlphaRow<10, 0x1F>, &ScalarKeyedRow,
                                        "scalar"};

#ifdef TOVA_BLIT_SSE2

// Eight source pixels from x on: src[x..x+7], or src[-x-7..-x] reversed.
inline __m128i LoadSource8(const uint16_t* src, int32_t x, bool mirror) {
    if (!mirror) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src - x - 7));
    return _mm_shuffle_epi32(_mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0x1B), 0x1B), 0x4E);
}

// Eight channel fields mixed: the same arithmetic as BlitRowMix per lane.
inline __m128i Mix8(__m128i s, __m128i d, __m128i a, __m128i inverse, __m128i half) {
    const __m128i t = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, inverse)), half);
    const __m128i u = _mm_add_epi16(_mm_add_epi16(t, _mm_set1_epi16(1)), _mm_srli_epi16(t, 8));
    return _mm_srli_epi16(u, 8);
}

template <int RedShift, unsigned GreenMask>
void WideAlphaRow(uint16_t* dst, const uint16_t* src, int32_t n, bool mirror, bool keyed, uint16_t key,
                  unsigned alpha) {
    const __m128i a = _mm_set1_epi16(static_cast<short>(alpha));
    const __m128i inverse = _mm_set1_epi16(static_cast<short>(255 - alpha));
    const __m128i half = _mm_set1_epi16(127);
    const __m128i five = _mm_set1_epi16(0x1F);
    const __m128i green = _mm_set1_epi16(static_cast<short>(GreenMask));
    const __m128i keys = _mm_set1_epi16(static_cast<short>(key));
    int32_t x = 0;
    for (; x + 8 <= n; x += 8) {
        const __m128i s = LoadSource8(src, x, mirror);
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + x));
        const __m128i r = Mix8(_mm_and_si128(_mm_srli_epi16(s, RedShift), five), _mm_and_si128(_mm_srli_epi16(d, RedShift), five), a,
                               inverse, half);
        const __m128i g = Mix8(_mm_and_si128(_mm_srli_epi16(s, 5), green), _mm_and_si128(_mm_srli_epi16(d, 5), green),
                               a, inverse, half);
        const __m128i b = Mix8(_mm_and_si128(s, five), _mm_and_si128(d, five), a, inverse, half);
        __m128i out = _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r, RedShift), _mm_slli_epi16(g, 5)), b);
        if (keyed) {
            const __m128i skip = _mm_cmpeq_epi16(s, keys);
            out = _mm_or_si128(_mm_and_si128(skip, d), _mm_andnot_si128(skip, out));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), out);
    }
    ScalarAlphaRow<RedShift, GreenMask>(dst + x, mirror ? src - x : src + x, n - x, mirror, keyed, key, alpha);
}

void WideKeyedRow(uint16_t* dst, const uint16_t* src, int32_t n, bool mirror, uint16_t key) {
    const __m128i keys = _mm_set1_epi16(static_cast<short>(key));
    int32_t x = 0;
    for (; x + 8 <= n; x += 8) {
        const __m128i s = LoadSource8(src, x, mirror);
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + x));
        const __m128i skip = _mm_cmpeq_epi16(s, keys);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x),
                         _mm_or_si128(_mm_and_si128(skip, d), _mm_andnot_si128(skip, s)));
    }
    ScalarKeyedRow(dst + x, mirror ? src - x : src + x, n - x, mirror, key);
}

const BlitRowKernels kWideBlitRows = {&WideAlphaRow<11, 0x3F>, &WideAlphaRow<10, 0x1F>, &WideKeyedRow, "sse2"};

#endif

}  // namespace

const BlitRowKernels& ScalarBlitRows() { return kScalarBlitRows; }

const BlitRowKernels& WideBlitRows() {
#ifdef TOVA_BLIT_SSE2
    return kWideBlitRows;
#else
    return kScalarBlitRows;
#endif
}

}  // namespace platform
