#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <vector>

// The command line of tarnwell-render, checked for form only: whether a
// parameter exists and takes the value is for the processor to say.
struct RenderOptions
{
    struct Assignment
    {
        juce::String id;
        double value = 0.0;
        juce::String valueText; // as typed, for messages
    };

    static constexpr int defaultBlockSize = 512;
    static constexpr int maximumBlockSize = 65536;
    static constexpr double minimumBPM = 1.0, maximumBPM = 999.0;

    std::optional<juce::File> input, output, plot;
    std::vector<Assignment> assignments; // in command-line order
    int blockSize = defaultBlockSize;
    std::optional<double> bpm; // a playing host transport at this tempo
    std::optional<juce::String> presetName; // an installed preset, applied before the assignments
    std::optional<juce::File> presetFile;   // or a preset file from anywhere
    bool showHelp = false;
    bool listParameters = false;
    bool listPresets = false;

    // On failure returns nothing and sets `error` to a one-line message.
    static std::optional<RenderOptions> parse (const juce::ArgumentList& args, juce::String& error);

    static juce::String helpText();
};
