#pragma once

#include "ParameterIDs.h"
#include "PluginProcessor.h"

#include <cmath>
#include <memory>
#include <ostream>

// Lets test failures show string lists and strings as text.
namespace juce
{
inline void PrintTo (const StringArray& strings, std::ostream* os)
{
    *os << "{ \"" << strings.joinIntoString ("\", \"") << "\" }";
}

inline void PrintTo (const String& text, std::ostream* os)
{
    *os << "\"" << text << "\"";
}
} // namespace juce

// Small helpers shared by the tests that drive the processor directly.
namespace test
{
inline void setParameter (TarnwellCompressorAudioProcessor& p, const char* id, float plainValue)
{
    auto* parameter = p.parameters.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
}

// A host transport that reports a chosen tempo (or none) and is playing.
struct TestPlayHead : juce::AudioPlayHead
{
    juce::Optional<double> bpm;

    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm (bpm);
        info.setIsPlaying (true);
        return info;
    }
};

// Runs `blocks` blocks of a constant level on every channel.
inline void runConstant (TarnwellCompressorAudioProcessor& p, float level, int blockSize, int blocks)
{
    juce::AudioBuffer<float> buffer (p.getTotalNumOutputChannels(), blockSize);
    juce::MidiBuffer midi;
    for (int i = 0; i < blocks; ++i)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            juce::FloatVectorOperations::fill (buffer.getWritePointer (ch), level, blockSize);
        p.processBlock (buffer, midi);
    }
}

inline float parameterValue (TarnwellCompressorAudioProcessor& p, const char* id)
{
    return p.parameters.getRawParameterValue (id)->load();
}

// A programme-like signal: a decaying tone burst every 250 ms on a quiet bed.
inline void fillTestSignal (juce::AudioBuffer<float>& buffer, double sampleRate, int startSample)
{
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
    {
        auto* samples = buffer.getWritePointer (ch);

        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const double t = (startSample + i) / sampleRate;
            const double sinceHit = std::fmod (t, 0.25);
            const double envelope = 0.05 + 0.9 * std::exp (-sinceHit * 18.0);
            samples[i] = (float) (envelope * std::sin (2.0 * juce::MathConstants<double>::pi * (110.0 + 40.0 * ch) * t));
        }
    }
}

// Runs `total` samples of the test signal through the processor in blocks,
// returning input and output.
struct Rendered
{
    juce::AudioBuffer<float> input, output;
};

inline Rendered render (TarnwellCompressorAudioProcessor& p, double sampleRate, int blockSize, int total,
                        int channels = 2)
{
    Rendered r;
    r.input.setSize (channels, total);
    fillTestSignal (r.input, sampleRate, 0);
    r.output.makeCopyOf (r.input);

    juce::MidiBuffer midi;
    for (int start = 0; start < total; start += blockSize)
    {
        const int n = juce::jmin (blockSize, total - start);
        juce::AudioBuffer<float> block (r.output.getArrayOfWritePointers(), channels, start, n);
        p.processBlock (block, midi);
    }
    return r;
}
} // namespace test
