// Times the processor's processBlock on stereo 48 kHz audio, for the settings
// that take different paths through it, beside JUCE's own compressor on the
// same audio. Repeat runs with --benchmark_repetitions=N to see the spread.
#include "JuceReferenceCompressor.h"
#include "ParameterIDs.h"
#include "PluginProcessor.h"
#include "ProgrammeMaterial.h"
#include "RealtimeSummary.h"
#include "TemporaryHome.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <utility>
#include <vector>

namespace
{
constexpr double sampleRate = ProgrammeMaterial::sampleRate;
constexpr int numChannels = ProgrammeMaterial::numChannels;
constexpr int hostBlockSize = 512;
constexpr int smallBlockSize = 64;
constexpr int singleSampleBlockSize = 1;

constexpr float raisedForce = 50.0f;
constexpr float raisedDamping = 5000.0f;
constexpr float holdMs = 50.0f;
constexpr float halfPercent = 50.0f;
constexpr float airReleaseMode = 1.0f;

using Settings = std::vector<std::pair<const char*, float>>;

void setParameter (TarnwellCompressorAudioProcessor& p, const char* id, float value)
{
    auto* parameter = p.parameters.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

// The settings go on top of the factory preset, when one is named.
void runProcessBlock (benchmark::State& state, const Settings& settings, const char* factoryPreset = nullptr,
                      int blockSize = hostBlockSize)
{
    TarnwellCompressorAudioProcessor p;
    p.prepareToPlay (sampleRate, blockSize);
    if (factoryPreset != nullptr && ! p.presetManager->loadPreset (factoryPreset))
        state.SkipWithError ("no such factory preset");
    for (const auto& [id, value] : settings)
        setParameter (p, id, value);

    juce::MidiBuffer midi;
    ProgrammeMaterial::timeBlocks (state, blockSize, [&] (juce::AudioBuffer<float>& block) { p.processBlock (block, midi); });
}

void runJuceCompressor (benchmark::State& state)
{
    JuceReferenceCompressor compressor;
    compressor.prepare (sampleRate, hostBlockSize, numChannels);

    ProgrammeMaterial::timeBlocks (state, hostBlockSize,
                                   [&] (juce::AudioBuffer<float>& block) { compressor.process (block); });
}

} // namespace

BENCHMARK (runJuceCompressor);
BENCHMARK_CAPTURE (runProcessBlock, Defaults, Settings {});
BENCHMARK_CAPTURE (runProcessBlock, Defaults64, Settings {}, nullptr, smallBlockSize);
BENCHMARK_CAPTURE (runProcessBlock, Defaults1, Settings {}, nullptr, singleSampleBlockSize);
BENCHMARK_CAPTURE (runProcessBlock, Standard, Settings { { ParameterIDs::physicsMode, 0.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Light, Settings { { ParameterIDs::physicsMode, 1.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Heavy, Settings { { ParameterIDs::physicsMode, 3.0f } });
BENCHMARK_CAPTURE (runProcessBlock, AirRelease, Settings { { ParameterIDs::releaseMode, airReleaseMode } });
BENCHMARK_CAPTURE (runProcessBlock, Extremes,
                   Settings { { ParameterIDs::rangeExtreme, 1.0f },
                              { ParameterIDs::forceExtreme, 1.0f },
                              { ParameterIDs::dampingExtreme, 1.0f },
                              { ParameterIDs::forceMultiplier, raisedForce },
                              { ParameterIDs::damping, raisedDamping } });
BENCHMARK_CAPTURE (runProcessBlock, Hold50ms, Settings { { ParameterIDs::hold, holdMs } });
BENCHMARK_CAPTURE (runProcessBlock, Stability50, Settings { { ParameterIDs::stability, halfPercent } });
BENCHMARK_CAPTURE (runProcessBlock, Safety50, Settings { { ParameterIDs::safety, halfPercent } });
BENCHMARK_CAPTURE (runProcessBlock, Mix50, Settings { { ParameterIDs::mix, halfPercent } });
BENCHMARK_CAPTURE (runProcessBlock, Lookahead, Settings { { ParameterIDs::lookahead, 1.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Oversampling4x, Settings { { ParameterIDs::oversampling, 1.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Oversampling8x, Settings { { ParameterIDs::oversampling, 2.0f } });
BENCHMARK_CAPTURE (runProcessBlock, Preset16, Settings {}, "16 EX TRIGGER BLEND ADV");

int main (int argc, char** argv)
{
    // A "Default" user preset in the real home folder would change the defaults measured here.
    const test::TemporaryHome home;
    // Oversampler rebuilds happen on the message thread, which this makes the main thread.
    juce::ScopedJuceInitialiser_GUI juceInit;
    benchmark::Initialize (&argc, argv);

    RealtimeSummary summary;
    benchmark::RunSpecifiedBenchmarks (&summary);

    std::printf ("\n");
    summary.printRatio ("Defaults over juce::dsp::Compressor", "runProcessBlock/Defaults", "runJuceCompressor");
    summary.printRatio ("Cost per sample, 64-sample over 512-sample blocks", "runProcessBlock/Defaults",
                        "runProcessBlock/Defaults64");
    summary.printRatio ("Cost per sample, 1-sample over 512-sample blocks", "runProcessBlock/Defaults",
                        "runProcessBlock/Defaults1");
    benchmark::Shutdown();
    return 0;
}
