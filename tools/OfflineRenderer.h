#pragma once

#include "FixedTempoPlayHead.h"
#include "PluginProcessor.h"
#include "RenderAnalysis.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <functional>
#include <optional>

// Runs a fresh processor over a file the way a host bounces a track: one
// prepared instance, blocks of a fixed size, the output exactly as the
// processor gives it (latency included). Lives on the message thread.
class OfflineRenderer
{
public:
    // Parameters are set on this processor before prepare(), as a host
    // restores them before playback.
    TarnwellCompressorAudioProcessor processor;

    // Sets the buses to the file's channels (mono or stereo) and prepares the
    // processor, with a playing transport at `bpm` when given. Returns why
    // not when the file has another channel count.
    juce::String prepare (int numChannels, double sampleRate, int blockSize, std::optional<double> bpm);

    struct Result
    {
        juce::String error;              // empty on success
        double processingSeconds = 0.0;  // wall time spent in processBlock
        int latencySamples = 0;
    };

    // Reads all of `reader`, processes it and writes it to `writer`. Calls
    // `progress` with the fraction done between chunks of blocks.
    Result render (juce::AudioFormatReader& reader, juce::AudioFormatWriter& writer, RenderAnalysis& analysis,
                   const std::function<void (double)>& progress);

private:
    // File I/O allocates, so it works on chunks of many blocks; the blocks
    // themselves run without allocating.
    static constexpr int chunkTargetSamples = 65536;

    int blockSize = 0;
    double sampleRate = 48000.0;
    juce::int64 samplesRendered = 0;
    std::optional<FixedTempoPlayHead> playHead;
    juce::AudioBuffer<float> chunk;
    juce::MidiBuffer midi;
};
