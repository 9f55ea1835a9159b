#pragma once

#include <juce_dsp/juce_dsp.h>

// JUCE's own compressor at the settings of Tarnwell's defaults: the yardstick
// the processing cost is compared with.
class JuceReferenceCompressor
{
public:
    static constexpr float thresholdDb = -20.0f;
    static constexpr float ratio = 2.0f;
    static constexpr float attackMs = 10.0f;
    static constexpr float releaseMs = 100.0f;

    void prepare (double sampleRate, int maximumBlockSize, int numChannels)
    {
        compressor.prepare ({ sampleRate, (juce::uint32) maximumBlockSize, (juce::uint32) numChannels });
        compressor.setThreshold (thresholdDb);
        compressor.setRatio (ratio);
        compressor.setAttack (attackMs);
        compressor.setRelease (releaseMs);
    }

    void process (juce::AudioBuffer<float>& buffer) noexcept
    {
        juce::ScopedNoDenormals noDenormals;
        juce::dsp::AudioBlock<float> block (buffer);
        compressor.process (juce::dsp::ProcessContextReplacing<float> (block));
    }

private:
    juce::dsp::Compressor<float> compressor;
};
