#pragma once
// 32-bit two's-complement arithmetic that wraps instead of overflowing: the
// engine's formulas are defined on 32-bit integers, and signed overflow would
// be undefined behaviour in C++.

#include <cmath>
#include <cstdint>

namespace nelmora {

inline int32_t wrapMul(int32_t a, int32_t b) { return int32_t(uint32_t(a) * uint32_t(b)); }
inline int32_t wrapAdd(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }
inline int32_t wrapSub(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }
inline int32_t wrapNeg(int32_t a) { return int32_t(0u - uint32_t(a)); }

// Double to integer, truncating toward zero. Values beyond the 32-bit range
// saturate and NaN gives 0, where a plain conversion would be undefined.
inline int32_t truncToInt32(double d)
{
    if (std::isnan(d)) return 0;
    if (d >= 2147483647.0) return INT32_MAX;
    if (d <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(d);
}

}  // namespace nelmora
