// What the audio thread publishes for the editor: display histories and
// snapshots, the clip indicator and the range warning glow.
#include "PluginProcessor.h"

#include "RawParameterValues.h"

namespace
{
using raw::isOn;
using raw::valueOr;
} // namespace

void TarnwellCompressorAudioProcessor::writeDisplayHistory (const juce::AudioBuffer<float>& buffer)
{
    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();
    const int step = juce::jmax (1, (int) (sampleRate / 300.0));
    const float reduction = isOn (bypassParam) || compressors.empty() ? 0.0f : compressors.front()->gainReductionDb;

    displayFrameSamples = juce::jmax (1, (int) (sampleRate / 60.0));

    for (int start = 0; start < numSamples; start += step)
    {
        const int end = juce::jmin (start + step, numSamples);
        float peak = 0.0f;

        for (int i = start; i < end; ++i)
        {
            // A sample that is not finite counts as silence: it would hold the envelope for good.
            float sum = 0.0f;
            for (int ch = 0; ch < numChannels; ++ch)
                if (const float x = buffer.getSample (ch, i); std::isfinite (x))
                    sum += std::abs (x);
            peak = juce::jmax (peak, sum / (float) numChannels);
        }

        inputHistoryEnvelope = peak >= inputHistoryEnvelope ? peak : juce::jmax (peak, 0.95f * inputHistoryEnvelope);

        const int inputPos = inputHistoryWritePos.load();
        inputHistoryRing[(size_t) inputPos] = inputHistoryEnvelope;
        inputHistoryWritePos.store ((inputPos + 1) % historySize);

        const int grPos = grHistoryWritePos.load();
        grHistoryRing[(size_t) grPos] = reduction;
        grHistoryWritePos.store ((grPos + 1) % historySize);
    }
}

void TarnwellCompressorAudioProcessor::takeSnapshotIfDue (int numSamples)
{
    displayFrameCounter += numSamples;
    if (displayFrameCounter < displayFrameSamples)
        return;

    displayFrameCounter = 0;

    auto& back = waveformSnapshots[(size_t) (1 - frontSnapshot.load())];
    const int w = inputHistoryWritePos.load();
    back.writePos = w;

    // With lookahead the reduction trails the input by 20 ms (six steps).
    const int shift = lookaheadActive.load() ? -6 : 0;

    for (int i = 0; i < snapshotSize; ++i)
    {
        back.input[(size_t) i] = inputHistoryRing[(size_t) ((w + snapshotSize + i + shift + historySize) % historySize)];
        back.gainReduction[(size_t) i] = grHistoryRing[(size_t) ((w + snapshotSize + i) % historySize)];
    }

    back.ready.store (true);
    frontSnapshot.store (1 - frontSnapshot.load());
}

void TarnwellCompressorAudioProcessor::updateClipIndicator (float outputPeak)
{
    if (outputPeak <= 1.0f)
        return;

    // The time of the first clip is kept until the editor acknowledges it.
    if (! clipIndicator.load())
        clipTimeMs.store ((juce::uint64) (secondsClock() * 1000.0));
    clipIndicator.store (true);
}

void TarnwellCompressorAudioProcessor::updateRangeWarningGlow (double blockSeconds)
{
    const float range = valueOr (rangeParam, 24.0f);
    const float reduction = compressors.empty() ? 0.0f : std::abs (compressors.front()->gainReductionDb);
    const float amount = juce::jlimit (0.0f, 1.0f, range > 0.1f ? reduction / range : 0.0f);

    if (amount >= 0.8f && amount < 0.98f)
    {
        rangeGlowLevel = juce::jmin (rangeGlowLevel + 0.05f, 1.0f);
        rangeGlowHoldSeconds = rangeGlowHoldTime;
    }
    else if (rangeGlowHoldSeconds > 0.0)
    {
        rangeGlowHoldSeconds -= blockSeconds;
    }
    else
    {
        rangeGlowLevel = juce::jmax (rangeGlowLevel - 0.005f, 0.0f);
    }

    rangeWarningGlow.store (rangeGlowLevel);
}
