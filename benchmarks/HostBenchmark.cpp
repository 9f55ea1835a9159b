// Loads the built Tarnwell VST3 bundle and a VST3 of JUCE's own compressor
// through the same VST3 host and times their processBlock on the same audio,
// stereo at 48 kHz, so their cost can be compared within one run.
#include "HostedPlugin.h"
#include "ProgrammeMaterial.h"
#include "RealtimeSummary.h"
#include "TemporaryHome.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{
constexpr double sampleRate = ProgrammeMaterial::sampleRate;
constexpr int numChannels = ProgrammeMaterial::numChannels;
constexpr int hostBlockSize = 512;
constexpr int smallBlockSize = 64;

// Enough repetitions for a median and a spread on a busy machine.
constexpr int repetitions = 7;

constexpr const char* tarnwell512 = "Hosted/Tarnwell/512";
constexpr const char* tarnwell64 = "Hosted/Tarnwell/64";
constexpr const char* juceCompressor512 = "Hosted/JuceCompressor/512";

// The material keeps a compressor working throughout, so one that compresses
// changes every block; one that passes it through would make a false yardstick.
bool changesNextBlock (juce::AudioPluginInstance& plugin, ProgrammeMaterial::Loop& material,
                       juce::AudioBuffer<float>& block, juce::MidiBuffer& midi)
{
    material.fillNext (block);
    const juce::AudioBuffer<float> input (block);
    plugin.processBlock (block, midi);

    for (int ch = 0; ch < numChannels; ++ch)
    {
        const auto* out = block.getReadPointer (ch);
        if (! std::equal (out, out + block.getNumSamples(), input.getReadPointer (ch)))
            return true;
    }
    return false;
}

// Preparation happens on the message thread (this one); the blocks run here too.
void runHosted (benchmark::State& state, juce::AudioPluginInstance& plugin, int blockSize)
{
    plugin.prepareToPlay (sampleRate, blockSize);

    juce::MidiBuffer midi;
    ProgrammeMaterial::timeBlocks (state, blockSize, [&] (juce::AudioBuffer<float>& block) { plugin.processBlock (block, midi); });

    ProgrammeMaterial::Loop material (blockSize);
    juce::AudioBuffer<float> block (numChannels, blockSize);
    if (! changesNextBlock (plugin, material, block, midi))
        state.SkipWithError ("the plug-in passed the audio through unchanged");
    plugin.releaseResources();
}

bool load (const char* bundlePath, HostedPlugin& plugin)
{
    juce::String error;
    plugin = HostedPlugin::load (juce::File (bundlePath), sampleRate, hostBlockSize, error);
    if (plugin.instance == nullptr)
        std::fprintf (stderr, "error: %s\n", error.toRawUTF8());
    return plugin.instance != nullptr;
}

void registerHosted (const char* name, juce::AudioPluginInstance& plugin, int blockSize)
{
    benchmark::RegisterBenchmark (name, runHosted, std::ref (plugin), blockSize)
        ->Repetitions (repetitions)
        ->DisplayAggregatesOnly (true);
}
} // namespace

int main (int argc, char** argv)
{
    // A "Default" user preset in the real home folder would change the defaults measured here.
    const test::TemporaryHome home;
    juce::ScopedJuceInitialiser_GUI juceInit;

    HostedPlugin tarnwell, juceCompressor;
    if (! load (TARNWELL_VST3_BUNDLE, tarnwell) || ! load (JUCE_COMPRESSOR_REFERENCE_VST3_BUNDLE, juceCompressor))
        return 1;

    registerHosted (tarnwell512, *tarnwell.instance, hostBlockSize);
    registerHosted (juceCompressor512, *juceCompressor.instance, hostBlockSize);
    registerHosted (tarnwell64, *tarnwell.instance, smallBlockSize);

    benchmark::Initialize (&argc, argv);
    RealtimeSummary summary;
    benchmark::RunSpecifiedBenchmarks (&summary);

    std::printf ("\n");
    summary.printRatio ("Tarnwell over juce::dsp::Compressor, 512-sample blocks", tarnwell512, juceCompressor512);
    summary.printRatio ("Tarnwell cost per sample, 64-sample over 512-sample blocks", tarnwell512, tarnwell64);
    benchmark::Shutdown();
    return 0;
}
