#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <optional>

// User presets on disk: one XML file per preset, holding the parameter state
// tree with the preset's name, category and the tempo it was saved at.
struct PresetFile
{
    static constexpr const char* extension = ".twpreset";

    // A preset is about 2 KB; anything much larger is not one of ours.
    static constexpr juce::int64 maximumSize = 1 << 20;

    static juce::File userFolder();
    static juce::File factoryFolder();

    // Whether a name can become a file name inside the user folder: not empty
    // or blank, no folder separator, no "..", no control character.
    static bool isSafeName (const juce::String& name);

    // Writes through a temporary file that replaces the target only once
    // complete, so a failed save never leaves a half-written preset.
    static bool write (const juce::File& target, const juce::ValueTree& state, const juce::String& name,
                       double savedBPM);

    struct Contents
    {
        juce::String name, category;
        juce::ValueTree state;
        std::optional<double> savedBPM; // only a finite, positive tempo
    };

    // Nothing for a file that is unreadable, empty, too large or not XML.
    static std::optional<Contents> read (const juce::File&);

    // The preset files directly inside the folder, sorted by file name.
    static juce::Array<juce::File> list (const juce::File& folder);
};
