// Oversampler rebuilds allocate, so they run on the message thread.
#include "PluginProcessor.h"

#include <algorithm>

void TarnwellCompressorAudioProcessor::rebuildPendingOversamplers()
{
    for (auto& compressor : compressors)
    {
        if (! compressor->oversamplingUpdatePending.load())
            continue;

        // The audio thread stays off an oversampler whose request is pending,
        // but a block that started before the request may still be running.
        const auto deadline = juce::Time::getMillisecondCounter() + 200;
        while (compressorsInUse.load())
        {
            if (juce::Time::getMillisecondCounter() > deadline)
                return; // try again on the next timer tick
            juce::Thread::yield();
        }

        compressor->updateOversamplingIfNeeded();
    }
}

bool TarnwellCompressorAudioProcessor::oversamplersReady() const
{
    return std::all_of (compressors.begin(), compressors.end(),
                        [] (const auto& compressor) { return compressor->isOversamplerReady(); });
}
