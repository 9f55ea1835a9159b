#pragma once

#include <algorithm>

// Copies between a ring of ringSize values and a plain run of count values
// (count <= ringSize): the ring side starts at index first and wraps at its end.
inline void copyOutOfRing (const float* ring, int ringSize, int first, float* destination, int count) noexcept
{
    const int beforeWrap = std::min (count, ringSize - first);
    std::copy (ring + first, ring + first + beforeWrap, destination);
    std::copy (ring, ring + (count - beforeWrap), destination + beforeWrap);
}

inline void copyIntoRing (float* ring, int ringSize, int first, const float* source, int count) noexcept
{
    const int beforeWrap = std::min (count, ringSize - first);
    std::copy (source, source + beforeWrap, ring + first);
    std::copy (source + beforeWrap, source + count, ring);
}
