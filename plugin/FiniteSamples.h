#pragma once

#include <algorithm>
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

// The largest finite magnitude among count samples. Kept in several running
// maxima, so the loop vectorises.
inline float finitePeak (const float* samples, int count) noexcept
{
    constexpr int runningMaxima = 8;
    float peaks[runningMaxima] {};
    int i = 0;

    for (; i + runningMaxima <= count; i += runningMaxima)
        for (int lane = 0; lane < runningMaxima; ++lane)
            peaks[lane] = std::max (peaks[lane], finiteMagnitude (samples[i + lane]));

    for (; i < count; ++i)
        peaks[0] = std::max (peaks[0], finiteMagnitude (samples[i]));

    return *std::max_element (peaks, peaks + runningMaxima);
}
