#include "tarn/TarnInt64.h"

namespace {

uint64_t U(TarnInt64 a) { return (static_cast<uint64_t>(a.high) << 32) | a.low; }

__extension__ typedef unsigned __int128 Unsigned128;

}  // namespace

TarnInt64 Int64Add(TarnInt64 a, TarnInt64 b) { return TarnInt64Of(U(a) + U(b)); }
TarnInt64 Int64Sub(TarnInt64 a, TarnInt64 b) { return TarnInt64Of(U(a) - U(b)); }
TarnInt64 Int64Negate(TarnInt64 a) { return TarnInt64Of(0 - U(a)); }
TarnInt64 Int64FromInt32(int32_t value) { return TarnInt64Of(static_cast<uint64_t>(static_cast<int64_t>(value))); }
TarnInt64 Int64FromUInt32(uint32_t value) { return {value, 0}; }

TarnInt64 Int64MulInt32(TarnInt64 a, int32_t b) {
    // The low 64 bits of the product are the same signed or unsigned.
    return TarnInt64Of(U(a) * static_cast<uint64_t>(static_cast<int64_t>(b)));
}

TarnInt64 Int32MulWide(int32_t a, int32_t b) {
    return TarnInt64Of(static_cast<uint64_t>(static_cast<int64_t>(a) * static_cast<int64_t>(b)));
}

TarnInt64 UInt32MulWide(uint32_t a, uint32_t b) { return TarnInt64Of(static_cast<uint64_t>(a) * b); }

uint32_t UInt64DivUInt32(TarnInt64 a, uint32_t divisor, uint32_t* remainder) {
    const uint64_t value = U(a);
    if (remainder != nullptr) *remainder = static_cast<uint32_t>(value % divisor);
    return static_cast<uint32_t>(value / divisor);
}

TarnInt64 UInt64DivUInt32Bitwise(TarnInt64 a, uint32_t divisor, uint32_t* remainder) {
    const uint64_t value = U(a);
    if (remainder != nullptr) *remainder = static_cast<uint32_t>(value % divisor);
    return TarnInt64Of(value / divisor);
}

TarnInt64 UInt64DivMod(TarnInt64 a, TarnInt64 divisor, TarnInt64* remainder) {
    const uint64_t value = U(a), d = U(divisor);
    if (remainder != nullptr) *remainder = TarnInt64Of(value % d);
    return TarnInt64Of(value / d);
}

TarnInt64 Int64MulShift(TarnInt64 a, TarnInt64 b, int shift) {
    const int64_t signedA = TarnInt64Value(a);
    const bool negative = signedA < 0;
    const uint64_t magnitude = negative ? 0 - U(a) : U(a);
    const Unsigned128 product = static_cast<Unsigned128>(magnitude) * U(b);
    const int total = 64 + (shift & 0xFF);
    const uint64_t result = total >= 128 ? 0 : static_cast<uint64_t>(product >> total);
    return TarnInt64Of(negative ? 0 - result : result);
}

TarnInt64 Int64ShiftLeft(TarnInt64 a, int count) { return TarnInt64Of(U(a) << (count & 63)); }
TarnInt64 UInt64ShiftRight(TarnInt64 a, int count) { return TarnInt64Of(U(a) >> (count & 63)); }
TarnInt64 Int64ShiftRight(TarnInt64 a, int count) {
    return TarnInt64Of(static_cast<uint64_t>(TarnInt64Value(a) >> (count & 63)));
}
