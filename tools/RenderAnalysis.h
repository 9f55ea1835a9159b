#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

// What the summary and the plot say about a render: the level of input and
// output, overall and per short window, and the first compressor's gain
// reduction. Sized up front, so adding blocks never allocates.
class RenderAnalysis
{
public:
    static constexpr double windowSeconds = 0.05;

    struct Level
    {
        float peak = 0.0f;
        double sumOfSquares = 0.0;
        juce::int64 count = 0;

        float peakDb() const;
        float rmsDb() const;
    };

    void prepare (juce::int64 totalSamples, double sampleRate);

    // `numSamples` samples of every channel of `block`, from sample `position` of the file on.
    void addInput (const juce::AudioBuffer<float>& block, int numSamples, juce::int64 position);
    void addOutput (const juce::AudioBuffer<float>& block, int numSamples, juce::int64 position);

    // The reduction (positive dB) the first compressor reports after a block.
    void addGainReduction (float reductionDb, juce::int64 blockStart, int blockLength);

    const Level& input() const { return inputLevel; }
    const Level& output() const { return outputLevel; }
    float largestReductionDb() const { return largestReduction; }
    float averageReductionDb() const;

    double getSampleRate() const { return sampleRate; }
    juce::int64 getTotalSamples() const { return totalSamples; }

    // Per window: the peak of all channels (linear) and the largest reduction (dB).
    const std::vector<float>& inputWindowPeaks() const { return inputPeaks; }
    const std::vector<float>& outputWindowPeaks() const { return outputPeaks; }
    const std::vector<float>& windowReductionsDb() const { return reductions; }

private:
    double sampleRate = 48000.0;
    juce::int64 totalSamples = 0;
    int windowSamples = 1;

    Level inputLevel, outputLevel;
    std::vector<float> inputPeaks, outputPeaks, reductions;

    float largestReduction = 0.0f;
    double reductionSum = 0.0;
    juce::int64 reductionCount = 0;
};
