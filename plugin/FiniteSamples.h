#pragma once

#include <cmath>
#include <limits>

// True for every finite sample. A plain comparison, so loops over samples
// vectorise: NaN and both infinities fail it.
inline bool isFiniteSample (float x) noexcept
{
    return std::abs (x) <= std::numeric_limits<float>::max();
}

// The magnitude of a finite sample; a sample that is not finite counts as silence.
inline float finiteMagnitude (float x) noexcept
{
    return isFiniteSample (x) ? std::abs (x) : 0.0f;
}
