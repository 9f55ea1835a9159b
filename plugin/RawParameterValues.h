#pragma once

#include <atomic>

// The processor's cached raw parameter values; a pointer is null when the
// tree has no parameter of that ID, and then the fallback is read.
namespace raw
{
inline float valueOr (const std::atomic<float>* value, float fallback)
{
    return value != nullptr ? value->load (std::memory_order_relaxed) : fallback;
}

// A switch is on above 0.5.
inline bool isOn (const std::atomic<float>* value)
{
    return valueOr (value, 0.0f) > 0.5f;
}
} // namespace raw
