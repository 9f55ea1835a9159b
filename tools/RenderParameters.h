#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include "RenderOptions.h"

// A processor's parameters as the command line sees them: by ID, in plain
// units, choices by index and switches as 0 or 1.
struct RenderParameters
{
    // Sets the assignments in order, each through the parameter as a host
    // would. Must run on the message thread. Stops at the first assignment the
    // processor cannot take and returns why; empty when all were set.
    static juce::String apply (juce::AudioProcessor&, const std::vector<RenderOptions::Assignment>&);

    // A table of every parameter: ID, name, range, default and unit.
    static juce::String list (juce::AudioProcessor&);

    // The assigned parameters as they ended up, e.g. "threshold -30.0 dB, oversampling 4x".
    static juce::String describe (juce::AudioProcessor&, const std::vector<RenderOptions::Assignment>&);
};
