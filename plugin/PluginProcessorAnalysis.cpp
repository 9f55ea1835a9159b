// What the audio thread publishes for the editor: display histories and
// snapshots, the clip indicator and the range warning glow.
#include "PluginProcessor.h"

#include "FiniteSamples.h"
#include "RawParameterValues.h"
#include "RingCopy.h"

namespace
{
using raw::isOn;
using raw::valueOr;

// The largest mean magnitude over the channels of samples [start, end); a
// sample that is not finite counts as silence, or it would hold the envelope
// for good. Sums in short runs, so the adds and the maximum vectorise.
float peakMeanMagnitude (const juce::AudioBuffer<float>& buffer, int start, int end)
{
    constexpr int runLength = 64;
    float sums[runLength];
    float peak = 0.0f;

    for (int runStart = start; runStart < end; runStart += runLength)
    {
        const int length = juce::jmin (runLength, end - runStart);
        std::fill (sums, sums + length, 0.0f);

        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        {
            const float* samples = buffer.getReadPointer (ch, runStart);
            for (int i = 0; i < length; ++i)
                sums[i] += finiteMagnitude (samples[i]);
        }

        peak = juce::jmax (peak, juce::FloatVectorOperations::findMaximum (sums, length));
    }

    // Dividing the largest sum equals the largest of the divided sums.
    return peak / (float) buffer.getNumChannels();
}
} // namespace

void TarnwellCompressorAudioProcessor::writeDisplayHistory (const juce::AudioBuffer<float>& buffer)
{
    const int numSamples = buffer.getNumSamples();
    const int step = juce::jmax (1, (int) (sampleRate / 300.0));
    const float reduction = isOn (bypassParam) || compressors.empty() ? 0.0f : compressors.front()->gainReductionDb;

    displayFrameSamples = juce::jmax (1, (int) (sampleRate / 60.0));

    for (int start = 0; start < numSamples; start += step)
    {
        const float peak = peakMeanMagnitude (buffer, start, juce::jmin (start + step, numSamples));

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

    copyOutOfRing (inputHistoryRing.data(), historySize, (w + snapshotSize + shift + historySize) % historySize,
                  back.input.data(), snapshotSize);
    copyOutOfRing (grHistoryRing.data(), historySize, (w + snapshotSize) % historySize, back.gainReduction.data(),
                  snapshotSize);

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
