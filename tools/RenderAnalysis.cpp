#include "RenderAnalysis.h"

#include <cmath>

namespace
{
// Silence reads as -inf; callers print it as such.
float toDb (double gain)
{
    return gain > 0.0 ? (float) (20.0 * std::log10 (gain)) : -std::numeric_limits<float>::infinity();
}

// Adds a block's samples to the overall level and to the peaks of the windows it touches.
void accumulate (RenderAnalysis::Level& level, std::vector<float>& windowPeaks, int windowSamples,
                 const juce::AudioBuffer<float>& block, int numSamples, juce::int64 position)
{
    for (int ch = 0; ch < block.getNumChannels(); ++ch)
    {
        const auto* samples = block.getReadPointer (ch);

        // Window by window, so that each sample needs no division.
        for (int start = 0; start < numSamples;)
        {
            const auto window = (size_t) ((position + start) / windowSamples);
            const int end = juce::jmin (numSamples, (int) ((juce::int64) (window + 1) * windowSamples - position));

            float peak = 0.0f;
            double sum = 0.0;
            for (int i = start; i < end; ++i)
            {
                peak = juce::jmax (peak, std::abs (samples[i]));
                sum += (double) samples[i] * samples[i];
            }

            windowPeaks[window] = juce::jmax (windowPeaks[window], peak);
            level.peak = juce::jmax (level.peak, peak);
            level.sumOfSquares += sum;
            start = end;
        }
    }

    level.count += (juce::int64) numSamples * block.getNumChannels();
}
} // namespace

float RenderAnalysis::Level::peakDb() const
{
    return toDb (peak);
}

float RenderAnalysis::Level::rmsDb() const
{
    return count > 0 ? toDb (std::sqrt (sumOfSquares / (double) count)) : toDb (0.0);
}

void RenderAnalysis::prepare (juce::int64 numSamples, double rate)
{
    sampleRate = rate;
    totalSamples = numSamples;
    windowSamples = juce::jmax (1, (int) std::lround (windowSeconds * rate));

    const auto windows = (size_t) ((numSamples + windowSamples - 1) / windowSamples);
    inputPeaks.assign (windows, 0.0f);
    outputPeaks.assign (windows, 0.0f);
    reductions.assign (windows, 0.0f);

    inputLevel = outputLevel = {};
    largestReduction = 0.0f;
    reductionSum = 0.0;
    reductionCount = 0;
}

void RenderAnalysis::addInput (const juce::AudioBuffer<float>& block, int numSamples, juce::int64 position)
{
    accumulate (inputLevel, inputPeaks, windowSamples, block, numSamples, position);
}

void RenderAnalysis::addOutput (const juce::AudioBuffer<float>& block, int numSamples, juce::int64 position)
{
    accumulate (outputLevel, outputPeaks, windowSamples, block, numSamples, position);
}

void RenderAnalysis::addGainReduction (float reductionDb, juce::int64 blockStart, int blockLength)
{
    largestReduction = juce::jmax (largestReduction, reductionDb);
    reductionSum += reductionDb;
    ++reductionCount;

    // A block longer than a window stands for every window it covers.
    const auto first = (size_t) (blockStart / windowSamples);
    const auto last = (size_t) ((blockStart + blockLength - 1) / windowSamples);
    for (auto w = first; w <= last && w < reductions.size(); ++w)
        reductions[w] = juce::jmax (reductions[w], reductionDb);
}

float RenderAnalysis::averageReductionDb() const
{
    return reductionCount > 0 ? (float) (reductionSum / (double) reductionCount) : 0.0f;
}
