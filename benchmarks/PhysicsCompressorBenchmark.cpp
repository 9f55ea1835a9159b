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

// One channel through the oversampler as the processor runs it: up, the
// compressor at the raised rate, down. Choice 1 is "4x", choice 2 "8x".
void BM_OversampledBlock (benchmark::State& state)
{
    const int choice = (int) state.range (0);
    const int hostBlock = (int) state.range (1);

    PhysicsCompressor c;
    c.prepare (benchRate, hostBlock);
    c.requestOversampling (choice);
    c.updateOversamplingIfNeeded();

    const auto& input = testSignal();
    std::vector<float> samples ((size_t) hostBlock);
    size_t position = 0;

    for (auto _ : state)
    {
        if (position + (size_t) hostBlock > input.size())
            position = 0;
        std::memcpy (samples.data(), input.data() + position, sizeof (float) * (size_t) hostBlock);
        position += (size_t) hostBlock;

        float* channel[] = { samples.data() };
        juce::dsp::AudioBlock<float> block (channel, 1, (size_t) hostBlock);
        auto up = c.oversampler->processSamplesUp (block);
        c.processInternal (up.getChannelPointer (0), (int) up.getNumSamples(), true);
        c.oversampler->processSamplesDown (block);
        benchmark::DoNotOptimize (samples.data());
        benchmark::ClobberMemory();
    }

    const double hostSamples = (double) state.iterations() * hostBlock;
    state.counters["time_per_sample"] = benchmark::Counter (hostSamples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel (choice == 1 ? "4x" : "8x");
}
} // namespace

BENCHMARK (BM_OversampledBlock)->ArgNames ({ "choice", "block" })->ArgsProduct ({ { 1, 2 }, { 64, 512 } });

BENCHMARK (BM_ProcessInternal)
    ->ArgNames ({ "mode", "air", "strong" })
    ->ArgsProduct ({ { 0, 1, 2, 3 }, { 0, 1 }, { 0, 1 } });

BENCHMARK_MAIN();
