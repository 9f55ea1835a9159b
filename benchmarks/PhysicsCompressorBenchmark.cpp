#include "PhysicsCompressor.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{
constexpr double benchRate = 48000.0;
constexpr int blockSize = 512;

// Ten seconds of programme-like material: decaying noise bursts over a sine
// whose level steps every half second, so the compressor attacks, holds and
// releases all the time.
const std::vector<float>& testSignal()
{
    static const std::vector<float> signal = []
    {
        const int length = (int) benchRate * 10;
        std::vector<float> s ((size_t) length);
        std::mt19937 rng (1234);
        std::uniform_real_distribution<float> noise (-1.0f, 1.0f);
        const float levels[] = { 0.05f, 0.5f, 0.2f, 0.9f, 0.01f };

        for (int i = 0; i < length; ++i)
        {
            const float sineLevel = levels[(i / 24000) % 5];
            const int sinceBurst = i % 12000; // a burst every 250 ms
            const float burst = 0.8f * std::exp (-(float) sinceBurst / 2400.0f) * noise (rng);
            s[(size_t) i] = sineLevel * (float) std::sin (2.0 * 3.14159265358979 * 220.0 * i / benchRate) + burst;
        }
        return s;
    }();
    return signal;
}

void BM_ProcessInternal (benchmark::State& state)
{
    const int mode = (int) state.range (0);
    const int releaseMode = (int) state.range (1);
    const bool strong = state.range (2) != 0;

    PhysicsCompressor c;
    c.prepare (benchRate, blockSize);
    c.setPhysicsMode (mode);
    c.releaseMode = releaseMode;
    c.rangeDb = 6.0f;
    c.forceMultiplier = strong ? 20.0f : 1.0f;
    c.damping = strong ? 500.0f : 1.0f;
    c.updateCoefficients();

    const auto& input = testSignal();
    std::vector<float> block (blockSize);
    size_t position = 0;

    for (auto _ : state)
    {
        if (position + blockSize > input.size())
            position = 0;
        std::memcpy (block.data(), input.data() + position, sizeof (float) * blockSize);
        position += blockSize;

        c.processInternal (block.data(), blockSize, false);
        benchmark::DoNotOptimize (block.data());
        benchmark::ClobberMemory();
    }

    const double samples = (double) state.iterations() * blockSize;
    // Seconds per sample, shown with an SI prefix (n = nanoseconds).
    state.counters["time_per_sample"] = benchmark::Counter (samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    // Seconds of stereo audio (two channels of this cost) per second of CPU.
    state.counters["x_realtime_stereo"] = benchmark::Counter (samples / (benchRate * 2.0), benchmark::Counter::kIsRate);
    state.SetLabel (std::string (releaseMode == 1 ? "AIR" : "BOX") + (strong ? " force 20 damping 500" : " force 1 damping 1"));
}
} // namespace

BENCHMARK (BM_ProcessInternal)
    ->ArgNames ({ "mode", "air", "strong" })
    ->ArgsProduct ({ { 0, 1, 2, 3 }, { 0, 1 }, { 0, 1 } });

BENCHMARK_MAIN();
