#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

// log2 and exp2 without library calls or branches, so that loops over arrays
// of them vectorise. Both agree with std::log2 / std::exp2 to within 2 ulp
// (the tests check this densely over the whole ranges the compressor uses).
namespace base2
{
inline std::uint32_t bitsOf (float x) noexcept
{
    std::uint32_t b;
    std::memcpy (&b, &x, sizeof b);
    return b;
}

inline float floatOf (std::uint32_t b) noexcept
{
    float x;
    std::memcpy (&x, &b, sizeof x);
    return x;
}

// For positive normal x (and +inf, which gives 128: callers clamp far below).
inline float log2 (float x) noexcept
{
    // Split x = 2^e * m with m in [sqrt(1/2), sqrt(2)), so that m - 1 is small
    // on both sides of 1 and the series converges quickly.
    constexpr std::uint32_t sqrtHalfBits = 0x3f3504f3u;
    const std::uint32_t shifted = bitsOf (x) + (0x3f800000u - sqrtHalfBits);
    const float e = (float) ((std::int32_t) (shifted >> 23) - 127);
    const float f = floatOf ((shifted & 0x007fffffu) + sqrtHalfBits) - 1.0f;

    // ln(1 + f) = f - f^2/2 + f^3 P(f).
    const float z = f * f;
    float p = 7.0376836292e-2f;
    p = p * f - 1.1514610310e-1f;
    p = p * f + 1.1676998740e-1f;
    p = p * f - 1.2420140846e-1f;
    p = p * f + 1.4249322787e-1f;
    p = p * f - 1.6668057665e-1f;
    p = p * f + 2.0000714765e-1f;
    p = p * f - 2.4999993993e-1f;
    p = p * f + 3.3333331174e-1f;
    const float y = f * z * p - 0.5f * z;

    // Times log2(e) as 1 + 0.4427 so the large terms f and y stay unrounded.
    constexpr float log2eMinusOne = 0.44269504088896340736f;
    return (((y * log2eMinusOne + f * log2eMinusOne) + y) + f) + e;
}

// For x in [-151, 128]. Loops that vectorise clamp their inputs in a pass of
// their own: with the clamp inlined here the compiler splits the loop into
// constant cases and no longer vectorises it.
inline float exp2InRange (float x) noexcept
{
    // Round to nearest by pushing the fraction out of the mantissa.
    constexpr float roundingShift = 12582912.0f; // 1.5 * 2^23
    const float n = (x + roundingShift) - roundingShift;
    const float r = x - n; // exact, in [-1/2, 1/2]

    float p = 1.535336188319500e-4f;
    p = p * r + 1.339887440266574e-3f;
    p = p * r + 9.618437357674640e-3f;
    p = p * r + 5.550332471162809e-2f;
    p = p * r + 2.402264791363012e-1f;
    p = p * r + 6.931472028550421e-1f;
    p = p * r + 1.0f;

    // 2^n in two normal halves, so that results down in the subnormal range
    // are rounded once, as the library rounds them.
    const auto total = (std::int32_t) n;
    const std::int32_t half = total / 2;
    const float firstScale = floatOf ((std::uint32_t) (half + 127) << 23);
    const float secondScale = floatOf ((std::uint32_t) (total - half + 127) << 23);
    return (p * firstScale) * secondScale;
}

// The range where exp2InRange is exact to the library: outside it the result
// is 0 or +inf anyway. NaN goes to the bottom.
inline float clampForExp2 (float x) noexcept
{
    return std::min (128.0f, std::max (-151.0f, x));
}

// Any x, for scalar use.
inline float exp2 (float x) noexcept
{
    return exp2InRange (clampForExp2 (x));
}
} // namespace base2
