#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// A parameter state tree from a preset file or host state, made fit to become
// the live state. JUCE applies every child that carries an `id`, whatever its
// type, the last one winning, and writes unknown children and repeated
// attributes back out when the state is saved. So the result is a new tree of
// the live state's type with the incoming root properties and exactly one
// `PARAM` per parameter, nothing else: its value is the incoming one when that
// is a finite number (limited to the parameter's range), else the parameter's
// current value. Parameters the incoming tree does not set keep their values,
// now and when the live tree is saved again later.
struct IncomingState
{
    static juce::ValueTree prepare (const juce::ValueTree& incoming,
                                    const juce::AudioProcessorValueTreeState& parameters);
};
