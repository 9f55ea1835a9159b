#include "ProgrammeMaterial.h"

#include <cmath>

namespace ProgrammeMaterial
{
namespace
{
constexpr double hitPeriodSeconds = 0.25;
constexpr double hitDecayPerSecond = 30.0;
constexpr double hitGain = 0.7;
constexpr double bassHz = 55.0;
constexpr double bassGain = 0.3;
constexpr juce::int64 noiseSeed = 42;
} // namespace

juce::AudioBuffer<float> generate()
{
    juce::AudioBuffer<float> signal (numChannels, lengthInSamples);
    juce::Random random (noiseSeed);

    for (int i = 0; i < signal.getNumSamples(); ++i)
    {
        const double t = i / sampleRate;
        const double sinceHit = std::fmod (t, hitPeriodSeconds);
        const double hit = std::exp (-sinceHit * hitDecayPerSecond) * (random.nextFloat() * 2.0 - 1.0);
        const double bass = bassGain * std::sin (juce::MathConstants<double>::twoPi * bassHz * t);

        for (int ch = 0; ch < numChannels; ++ch)
            signal.setSample (ch, i, (float) (hitGain * hit + bass));
    }
    return signal;
}

Loop::Loop (int blockSizeToUse) : signal (generate()), blockSize (blockSizeToUse)
{
    jassert (blockSize > 0 && lengthInSamples % blockSize == 0);
}

void Loop::fillNext (juce::AudioBuffer<float>& block)
{
    for (int ch = 0; ch < numChannels; ++ch)
        block.copyFrom (ch, 0, signal, ch, position, blockSize);
    position = (position + blockSize) % lengthInSamples;
}

void reportRealtimeFactor (benchmark::State& state, int blockSize)
{
    const double seconds = (double) state.iterations() * blockSize / sampleRate;
    state.counters["x_realtime"] = benchmark::Counter (seconds, benchmark::Counter::kIsRate);
}
} // namespace ProgrammeMaterial
