#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <benchmark/benchmark.h>

// The programme material every audio benchmark plays: drum-like bursts on a
// bass line, stereo at 48 kHz, so a compressor works throughout.
namespace ProgrammeMaterial
{
inline constexpr double sampleRate = 48000.0;
inline constexpr int numChannels = 2;

// About a second, a whole number of blocks for every power-of-two block size up to 1024.
inline constexpr int lengthInSamples = 1024 * 47;

juce::AudioBuffer<float> generate();

// Hands out consecutive blocks of the material, starting again after its end.
class Loop
{
public:
    explicit Loop (int blockSize);

    // Overwrites `block` (numChannels x blockSize) with the next block.
    void fillNext (juce::AudioBuffer<float>& block);

private:
    const juce::AudioBuffer<float> signal;
    const int blockSize;
    int position = 0;
};

// Reports how many seconds of audio were processed per second of CPU time.
void reportRealtimeFactor (benchmark::State& state, int blockSize);

// Times process (a stereo block, processed in place) over consecutive blocks
// of the material, then reports the realtime factor.
template <typename Process>
void timeBlocks (benchmark::State& state, int blockSize, Process&& process)
{
    Loop material (blockSize);
    juce::AudioBuffer<float> block (numChannels, blockSize);

    for (auto _ : state)
    {
        material.fillNext (block);
        process (block);
        benchmark::DoNotOptimize (block.getReadPointer (0));
    }
    reportRealtimeFactor (state, blockSize);
}
} // namespace ProgrammeMaterial
