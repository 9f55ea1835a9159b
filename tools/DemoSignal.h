#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// A short groove of synthetic drums (kick, snare, hats) and bass, made in
// code so that the renderer can show what the compressor does without an
// input file. The same every time.
struct DemoSignal
{
    static constexpr double sampleRate = 48000.0;
    static constexpr double lengthSeconds = 8.0;
    static constexpr int numChannels = 2;

    // Four bars at 120 BPM, peaking at -1 dBFS.
    static juce::AudioBuffer<float> generate();
};
