// A VST3 plug-in that runs JUCE's compressor and nothing else, so the host
// benchmark can weigh Tarnwell against it through the same host.
#include "JuceReferenceCompressor.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace
{
class JuceCompressorReferenceProcessor final : public juce::AudioProcessor
{
public:
    JuceCompressorReferenceProcessor()
        : AudioProcessor (BusesProperties()
                              .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                              .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
    {
    }

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override
    {
        return layouts.getMainOutputChannelSet() == juce::AudioChannelSet::stereo()
               && layouts.getMainInputChannelSet() == layouts.getMainOutputChannelSet();
    }

    void prepareToPlay (double sampleRate, int maximumBlockSize) override
    {
        compressor.prepare (sampleRate, maximumBlockSize, getTotalNumOutputChannels());
    }

    using AudioProcessor::processBlock;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override { compressor.process (buffer); }

    void releaseResources() override {}
    const juce::String getName() const override { return JucePlugin_Name; }
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool hasEditor() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}
    void getStateInformation (juce::MemoryBlock&) override {}
    void setStateInformation (const void*, int) override {}

private:
    JuceReferenceCompressor compressor;
};
} // namespace

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new JuceCompressorReferenceProcessor();
}
