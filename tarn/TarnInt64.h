// 64-bit integer arithmetic on (low, high) pairs of 32-bit words, for code
// that keeps 64-bit values as two halves. The divisions need a non-zero
// divisor; UInt64DivUInt32 also needs the quotient to fit in 32 bits.
#pragma once

#include <cstdint>

struct TarnInt64 {
    uint32_t low = 0;
    uint32_t high = 0;

    friend bool operator==(const TarnInt64&, const TarnInt64&) = default;
};

TarnInt64 Int64Add(TarnInt64 a, TarnInt64 b);
TarnInt64 Int64Sub(TarnInt64 a, TarnInt64 b);
TarnInt64 Int64Negate(TarnInt64 a);
TarnInt64 Int64FromInt32(int32_t value);
TarnInt64 Int64FromUInt32(uint32_t value);
TarnInt64 Int64MulInt32(TarnInt64 a, int32_t b);
TarnInt64 Int32MulWide(int32_t a, int32_t b);
TarnInt64 UInt32MulWide(uint32_t a, uint32_t b);
uint32_t UInt64DivUInt32(TarnInt64 a, uint32_t divisor, uint32_t* remainder);
TarnInt64 UInt64DivUInt32Bitwise(TarnInt64 a, uint32_t divisor, uint32_t* remainder);
TarnInt64 UInt64DivMod(TarnInt64 a, TarnInt64 divisor, TarnInt64* remainder);
// sign(a) * ((|a| * b) >> (64 + shift)), the product exact in 128 bits:
// a multiply by a 64-bit binary fraction. shift 0-255.
TarnInt64 Int64MulShift(TarnInt64 a, TarnInt64 b, int shift);
TarnInt64 Int64ShiftLeft(TarnInt64 a, int count);
TarnInt64 UInt64ShiftRight(TarnInt64 a, int count);
TarnInt64 Int64ShiftRight(TarnInt64 a, int count);

inline int64_t TarnInt64Value(TarnInt64 a) {
    return static_cast<int64_t>((static_cast<uint64_t>(a.high) << 32) | a.low);
}
inline TarnInt64 TarnInt64Of(uint64_t value) {
    return {static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32)};
}
