#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace test
{
// Deterministic white noise in -1..1, one value per sample index.
inline float noiseAt (std::int64_t index)
{
    auto x = (std::uint32_t) index * 2654435761u;
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    return (float) x / 2147483648.0f - 1.0f;
}

// Three seconds that take a compressor through its paths: decaying tone
// bursts, silence, a quiet steady tone, a step to a loud one, then noise
// bursts of rising level up to +8 dBFS. Later samples repeat the pattern.
// `delaySeconds` and `scale` give a second channel that differs from the first.
inline std::vector<float> referenceSignal (double sampleRate, int numSamples, double delaySeconds = 0.0,
                                           float scale = 1.0f)
{
    constexpr double twoPi = 6.283185307179586;
    constexpr double patternSeconds = 3.0;
    constexpr float burstLevels[] = { 0.05f, 0.3f, 1.0f, 2.5f };

    std::vector<float> signal ((size_t) numSamples, 0.0f);

    for (int i = 0; i < numSamples; ++i)
    {
        const double t = i / sampleRate - delaySeconds;
        if (t < 0.0)
            continue;

        const double u = std::fmod (t, patternSeconds);
        double value = 0.0;

        if (u < 0.6) // tone bursts
            value = 0.9 * std::exp (-std::fmod (u, 0.15) * 30.0) * std::sin (twoPi * 180.0 * t);
        else if (u < 0.9) // silence
            value = 0.0;
        else if (u < 1.5) // quiet steady tone, about -30 dBFS
            value = 0.03 * std::sin (twoPi * 440.0 * t);
        else if (u < 2.1) // a step to about -6 dBFS
            value = 0.5 * std::sin (twoPi * 440.0 * t);
        else // noise bursts of rising level
        {
            const int burst = (int) ((u - 2.1) / 0.1);
            value = burstLevels[burst % 4] * std::exp (-std::fmod (u - 2.1, 0.1) * 40.0)
                    * noiseAt ((std::int64_t) std::llround (t * sampleRate));
        }

        signal[(size_t) i] = scale * (float) value;
    }

    return signal;
}
} // namespace test
