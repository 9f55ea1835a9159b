#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

// Loads a VST3 bundle through JUCE's VST3 hosting, the way a DAW does.
// Must be called on the message thread (a ScopedJuceInitialiser_GUI must exist).
struct HostedPlugin
{
    juce::PluginDescription description;
    std::unique_ptr<juce::AudioPluginInstance> instance;

    // On failure `instance` is null and `error` says why.
    static HostedPlugin load (const juce::File& bundle, double sampleRate, int blockSize, juce::String& error);
};
