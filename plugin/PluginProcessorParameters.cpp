// The 33 host parameters: IDs, names, ranges, defaults, units and flags, in the order hosts list them.
#include "PluginProcessor.h"

#include "ParameterIDs.h"

namespace
{
using Layout = juce::AudioProcessorValueTreeState::ParameterLayout;

juce::NormalisableRange<float> floatRange (float start, float end, float interval, float skew)
{
    return { start, end, interval, skew };
}

void addFloat (Layout& layout, const char* id, const char* name, juce::NormalisableRange<float> range,
               float defaultValue, const char* unit, bool meta = false)
{
    layout.add (std::make_unique<juce::AudioParameterFloat> (
        juce::ParameterID { id, 0 }, name, range, defaultValue,
        juce::AudioParameterFloatAttributes().withLabel (unit).withMeta (meta)));
}

void addSwitch (Layout& layout, const char* id, const char* name, bool defaultValue,
                bool meta = false, int versionHint = 0)
{
    layout.add (std::make_unique<juce::AudioParameterBool> (
        juce::ParameterID { id, versionHint }, name, defaultValue,
        juce::AudioParameterBoolAttributes().withMeta (meta)));
}

void addChoice (Layout& layout, const char* id, const char* name, const juce::StringArray& entries,
                int defaultIndex)
{
    layout.add (std::make_unique<juce::AudioParameterChoice> (juce::ParameterID { id, 0 }, name,
                                                              entries, defaultIndex));
}
} // namespace

juce::AudioProcessorValueTreeState::ParameterLayout TarnwellCompressorAudioProcessor::createParameterLayout()
{
    Layout layout;

    addFloat (layout, ParameterIDs::threshold, "Threshold", floatRange (-60.0f, 0.0f, 0.1f, 1.0f), -20.0f, "dB");
    addFloat (layout, ParameterIDs::ratio, "Ratio", floatRange (1.0f, 20.0f, 0.1f, 1.0f), 2.0f, ":1");
    addFloat (layout, ParameterIDs::attack, "Attack", floatRange (0.1f, 100.0f, 0.01f, 0.5f), 10.0f, "ms");
    addFloat (layout, ParameterIDs::release, "Release", floatRange (10.0f, 5000.0f, 0.01f, 0.5f), 100.0f, "ms");
    addFloat (layout, ParameterIDs::hold, "Hold", floatRange (0.0f, 300.0f, 0.01f, 0.5f), 0.0f, "ms", true);
    addSwitch (layout, ParameterIDs::holdBypass, "Hold Bypass", false);
    addFloat (layout, ParameterIDs::knee, "Knee", floatRange (0.0f, 10.0f, 0.1f, 1.0f), 2.0f, "dB");
    addFloat (layout, ParameterIDs::range, "Range", floatRange (0.0f, 80.0f, 0.1f, 1.0f), 6.0f, "dB");
    addChoice (layout, ParameterIDs::physicsMode, "Physics Mode",
               { "Standard", "F=ma Light", "F=ma Medium", "F=ma Heavy" }, 2);
    addFloat (layout, ParameterIDs::forceMultiplier, "Force", floatRange (0.05f, 200.0f, 0.01f, 0.25f), 1.0f, "");
    addFloat (layout, ParameterIDs::damping, "Damping", floatRange (1.0f, 20000.0f, 0.1f, 0.3f), 1.0f, "");
    addChoice (layout, ParameterIDs::releaseMode, "Release Mode", { "BOX", "AIR" }, 0);
    addSwitch (layout, ParameterIDs::rangeExtreme, "Range Extreme", false);
    addSwitch (layout, ParameterIDs::forceExtreme, "Force Extreme", false);
    addSwitch (layout, ParameterIDs::dampingExtreme, "Damping Extreme", false);
    addSwitch (layout, ParameterIDs::bpmSync, "BPM Sync", false, true);
    addChoice (layout, ParameterIDs::bpmSyncMode, "BPM Sync Mode", { "Normal", "Advanced" }, 0);
    addSwitch (layout, ParameterIDs::noteGrid, "Note Grid", true, true);
    addSwitch (layout, ParameterIDs::bypass, "Bypass", false);
    addFloat (layout, ParameterIDs::tilt, "Tilt", floatRange (-100.0f, 100.0f, 1.0f, 1.0f), 0.0f, "%", true);
    addFloat (layout, ParameterIDs::makeupGain, "Makeup Gain", floatRange (-20.0f, 20.0f, 0.1f, 1.0f), 0.0f, "dB");
    addFloat (layout, ParameterIDs::inputGain, "Input Gain", floatRange (-20.0f, 20.0f, 0.1f, 1.0f), 0.0f, "dB");
    addFloat (layout, ParameterIDs::outputGain, "Output Gain", floatRange (-20.0f, 20.0f, 0.1f, 1.0f), 0.0f, "dB");
    addSwitch (layout, ParameterIDs::autoGain, "Auto Gain", false);
    addFloat (layout, ParameterIDs::mix, "Mix", floatRange (0.0f, 100.0f, 0.1f, 1.0f), 100.0f, "%");
    addFloat (layout, ParameterIDs::safety, "Safety", floatRange (0.0f, 100.0f, 1.0f, 1.0f), 0.0f, "%");
    addFloat (layout, ParameterIDs::stability, "Stability", floatRange (0.0f, 100.0f, 1.0f, 1.0f), 0.0f, "%");
    addFloat (layout, ParameterIDs::scHPF, "SC HPF", floatRange (0.0f, 300.0f, 1.0f, 1.0f), 0.0f, "Hz");
    addChoice (layout, ParameterIDs::oversampling, "Oversampling", { "Off", "4x", "8x" }, 0);
    addSwitch (layout, ParameterIDs::clampWaveforms, "Clamp Waveforms", true);
    addSwitch (layout, ParameterIDs::autoThreshold, "Auto Threshold", false, false, 1);
    addSwitch (layout, ParameterIDs::intAuto, "Intelligence Auto", false, false, 1);
    addSwitch (layout, ParameterIDs::lookahead, "Lookahead", false, false, 1);

    return layout;
}
