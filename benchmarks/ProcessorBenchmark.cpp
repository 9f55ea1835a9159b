// Times the processor's processBlock on stereo 48 kHz audio in 512-sample
// blocks, for the settings that take different paths through it.
#include "ParameterIDs.h"
#include "PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <utility>
#include <vector>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;
constexpr int signalBlocks = 94; // about a second of audio, looped

using Settings = std::vector<std::pair<const char*, float>>;

// Drum-like bursts on a bass line, so the compressor works throughout.
juce::AudioBuffer<float> makeSignal()
{
    juce::AudioBuffer<float> signal (2, blockSize * signalBlocks);
    juce::Random random (42);

    for (int i = 0; i < signal.getNumSamples(); ++i)
    {
        const double t = i / sampleRate;
        const double sinceHit = std::fmod (t, 0.25);
        const double hit = std::exp (-sinceHit * 30.0) * (random.nextFloat() * 2.0 - 1.0);
        const double bass = 0.3 * std::sin (2.0 * juce::MathConstants<double>::pi * 55.0 * t);

        for (int ch = 0; ch < 2; ++ch)
            signal.setSample (ch, i, (float) (0.7 * hit + bass));
    }
    return signal;
}

void setParameter (TarnwellCompressorAudioProcessor& p, const char* id, float value)
{
    auto* parameter = p.parameters.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

// The settings go on top of the factory preset, when one is named.
void runProcessBlock (benchmark::State& state, const Settings& settings, const char* factoryPreset = nullptr)
{
    TarnwellCompressorAudioProcessor p;
    p.prepareToPlay (sampleRate, blockSize);
    if (factoryPreset != nullptr && ! p.presetManager->loadPreset (factoryPreset))
        state.SkipWithError ("no such factory preset");
    for (const auto& [id, value] : settings)
        setParameter (p, id, value);

    const auto signal = makeSignal();
    juce::AudioBuffer<float> block (2, blockSize);
    juce::MidiBuffer midi;
    int position = 0;

    for (auto _ : state)
    {
        for (int ch = 0; ch < 2; ++ch)
            block.copyFrom (ch, 0, signal, ch, position * blockSize, blockSize);
        p.processBlock (block, midi);
        benchmark::DoNotOptimize (block.getReadPointer (0));
        position = (position + 1) % signalBlocks;
    }

    const double seconds = (double) state.iterations() * blockSize / sampleRate;
    state.counters["x_realtime"] = benchmark::Counter (seconds, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE (runProcessBlock, Defaults, Settings {});
BENCHMARK_CAPTURE (runProcessBlock, Standard, Settings { { ParameterIDs::physicsMode, 0.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Light, Settings { { ParameterIDs::physicsMode, 1.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Heavy, Settings { { ParameterIDs::physicsMode, 3.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Mix50, Settings { { ParameterIDs::mix, 50.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Lookahead, Settings { { ParameterIDs::lookahead, 1.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Oversampling4x, Settings { { ParameterIDs::oversampling, 1.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Oversampling8x, Settings { { ParameterIDs::oversampling, 2.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Preset16, Settings {}, "16 EX TRIGGER BLEND ADV");

int main (int argc, char** argv)
{
    // Oversampler rebuilds happen on the message thread, which this makes the main thread.
    juce::ScopedJuceInitialiser_GUI juceInit;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
