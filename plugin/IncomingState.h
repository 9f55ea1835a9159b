#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// A parameter state tree from a preset file or host state, made fit to become
// the live state: a value that is not a finite number is replaced by the
// parameter's current value, a finite one outside its range is limited to the
// range, and a parameter the tree lacks is added with its current value. So
// the parameters a tree does not set keep their values, now and when the live
// tree is saved again later.
struct IncomingState
{
    // Changes `tree` in place and returns it.
    static juce::ValueTree prepare (juce::ValueTree tree, const juce::AudioProcessorValueTreeState& parameters);
};
