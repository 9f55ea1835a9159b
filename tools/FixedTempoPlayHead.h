#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// A host transport that is playing at one tempo, for offline renders of
// tempo-synced settings.
class FixedTempoPlayHead : public juce::AudioPlayHead
{
public:
    explicit FixedTempoPlayHead (double bpmToReport) : bpm (bpmToReport) {}

    // The renderer moves the transport along as it processes.
    void setTimeInSamples (juce::int64 samples) { timeInSamples = samples; }

    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm (bpm);
        info.setIsPlaying (true);
        info.setTimeInSamples (timeInSamples);
        return info;
    }

private:
    double bpm;
    juce::int64 timeInSamples = 0;
};
