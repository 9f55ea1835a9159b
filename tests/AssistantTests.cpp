// The automatic gain and threshold assistants, driven by a test clock.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using test::parameterValue;
using test::setParameter;
using Processor = TarnwellCompressorAudioProcessor;
using State = Processor::AutoThresholdState;

namespace
{
constexpr double rate = 48000.0;

struct AssistedProcessor
{
    explicit AssistedProcessor (int blockSizeToUse = 512) : blockSize (blockSizeToUse)
    {
        p.secondsClock = [this] { return now; };
        p.prepareToPlay (rate, blockSize);
    }

    // Blocks above -40 dBFS move the threshold assistant on; the clock advances per block.
    void runLoud (int blocks, float level = 0.5f)
    {
        for (int i = 0; i < blocks; ++i)
        {
            test::runConstant (p, level, blockSize, 1);
            now += blockSize / rate;
        }
    }

    // One block like runLoud's with its middle sample on the first channel
    // replaced by `oddSample`; returns the block's output peak.
    float runLoudBlockWith (float oddSample, float level = 0.5f)
    {
        juce::AudioBuffer<float> buffer (2, blockSize);
        for (int ch = 0; ch < 2; ++ch)
            juce::FloatVectorOperations::fill (buffer.getWritePointer (ch), level, blockSize);
        buffer.setSample (0, blockSize / 2, oddSample);

        juce::MidiBuffer midi;
        p.processBlock (buffer, midi);
        now += blockSize / rate;
        return buffer.getMagnitude (0, blockSize);
    }

    const int blockSize;
    double now = 100.0;
    Processor p;
};

constexpr float infinity = std::numeric_limits<float>::infinity();
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();

TEST (AutoGain, OnSilenceItEndsAtTheTimeLimitWithTheMakeupUnchanged)
{
    AssistedProcessor a;
    setParameter (a.p, ParameterIDs::makeupGain, 3.0f);
    setParameter (a.p, ParameterIDs::autoGain, 1.0f);

    const Processor::BlockLevels silence { -200.0f, -100.0f, -100.0f, 512.0 / rate };
    a.p.makeupForBlock (silence);
    a.now += 9.9;
    a.p.makeupForBlock (silence);
    EXPECT_TRUE (a.p.autoGainLearning);
    EXPECT_EQ (parameterValue (a.p, ParameterIDs::autoGain), 1.0f);

    a.now += 0.1;
    EXPECT_FLOAT_EQ (a.p.makeupForBlock (silence), 3.0f);
    EXPECT_FALSE (a.p.autoGainLearning);
    EXPECT_EQ (parameterValue (a.p, ParameterIDs::autoGain), 0.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::makeupGain), 3.0f);
}

TEST (AutoGain, LearnsTheLostLevelAndKeepsThePredictedPeakBelowFullScale)
{
    // The compressed signal is 6 dB quieter than the input: the learned
    // make-up rises towards 6 - 2 = 4 dB over 2.5 s of signal, 160 blocks of 1/64 s.
    const int blocks = 160;
    const float learned = 4.0f * (1.0f - std::pow (0.98f, (float) blocks));
    const struct { float peakDb; float expectedMakeup; } cases[] = {
        { -6.0f, learned },                          // peak stays below -0.5 dBFS
        { -3.0f, learned - (-3.0f + learned + 0.5f) }, // predicted +1 dBFS: pulled back to -0.5
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.peakDb);
        AssistedProcessor a;
        setParameter (a.p, ParameterIDs::autoGain, 1.0f);

        float used = 0.0f;
        for (int block = 0; block < blocks; ++block)
        {
            ASSERT_TRUE (block == 0 || a.p.autoGainLearning) << block;
            used = a.p.makeupForBlock ({ -10.0f, -16.0f, c.peakDb, 1.0 / 64.0 });
        }

        EXPECT_FALSE (a.p.autoGainLearning);
        EXPECT_NEAR (used, learned, 1.0e-3f);
        EXPECT_EQ (parameterValue (a.p, ParameterIDs::autoGain), 0.0f);
        EXPECT_NEAR (parameterValue (a.p, ParameterIDs::makeupGain), c.expectedMakeup, 0.051f); // 0.1 dB steps
    }
}

TEST (AutoGain, LearnsForTheSameSignalTimeWhateverTheBlockSize)
{
    for (int blockSize : { 32, 512, 4096 })
    {
        SCOPED_TRACE (blockSize);
        AssistedProcessor a (blockSize);
        setParameter (a.p, ParameterIDs::autoGain, 1.0f);

        const double blockSeconds = blockSize / rate;
        int blocks = 0;
        do
        {
            a.p.makeupForBlock ({ -10.0f, -16.0f, -6.0f, blockSeconds });
        } while (++blocks < 100000 && a.p.autoGainLearning);

        EXPECT_NEAR (blocks * blockSeconds, Processor::autoGainSignalLimit, blockSeconds);
    }
}

TEST (AutoGain, AnInfiniteInputSampleNeitherSilencesTheRunNorReachesTheMakeup)
{
    // Oversampling is off, so the sample reaches the block levels as it is.
    float learned[2] {};
    for (const bool poisoned : { false, true })
    {
        SCOPED_TRACE (poisoned ? "with one infinite sample" : "clean");
        AssistedProcessor a;
        setParameter (a.p, ParameterIDs::threshold, -30.0f);
        setParameter (a.p, ParameterIDs::autoGain, 1.0f);
        a.runLoud (20);
        a.runLoudBlockWith (poisoned ? infinity : 0.5f);

        for (int block = 0; block < 1000 && a.p.autoGainLearning; ++block)
        {
            const float outputPeak = a.runLoudBlockWith (0.5f);
            ASSERT_TRUE (std::isfinite (a.p.makeupGainInUseDb.load())) << block;
            ASSERT_GT (outputPeak, 0.1f) << block;
        }

        ASSERT_FALSE (a.p.autoGainLearning);
        learned[poisoned] = parameterValue (a.p, ParameterIDs::makeupGain);
        EXPECT_TRUE (std::isfinite (learned[poisoned]));
    }

    EXPECT_GT (learned[false], 1.0f);
    EXPECT_NEAR (learned[true], learned[false], 0.11f) << "the block with the sample is not counted";
}

TEST (AutoThreshold, MeasuresForTheSameSignalTimeWhateverTheBlockSize)
{
    for (int blockSize : { 64, 512, 2048 })
    {
        SCOPED_TRACE (blockSize);
        AssistedProcessor a (blockSize);
        setParameter (a.p, ParameterIDs::autoThreshold, 1.0f);
        ASSERT_EQ (a.p.autoThresholdState.load(), State::measuring);

        int blocks = 0;
        while (a.p.autoThresholdState.load() == State::measuring && blocks++ < 10000)
            a.runLoud (1);

        const double blockSeconds = blockSize / rate;
        EXPECT_EQ (a.p.autoThresholdState.load(), State::adjusting);
        EXPECT_NEAR (blocks * blockSeconds, Processor::autoThresholdMeasuringTime, blockSeconds);
    }
}

TEST (AutoThreshold, WithNoRangeThePlainRunCancelsAndRestores)
{
    AssistedProcessor a;
    setParameter (a.p, ParameterIDs::range, 0.0f);
    setParameter (a.p, ParameterIDs::threshold, -25.0f);
    setParameter (a.p, ParameterIDs::ratio, 3.0f);
    setParameter (a.p, ParameterIDs::makeupGain, 1.0f);

    setParameter (a.p, ParameterIDs::autoThreshold, 1.0f);
    EXPECT_EQ (a.p.autoThresholdState.load(), State::measuring);

    a.runLoud (1);
    EXPECT_EQ (a.p.autoThresholdState.load(), State::idle);
    EXPECT_EQ (parameterValue (a.p, ParameterIDs::autoThreshold), 0.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::threshold), -25.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::ratio), 3.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::makeupGain), 1.0f);
}

TEST (AutoThreshold, TheIntelligentRunGivesItselfARangeAndStartsFromTheTop)
{
    AssistedProcessor a;
    setParameter (a.p, ParameterIDs::range, 0.0f);
    setParameter (a.p, ParameterIDs::intAuto, 1.0f);
    setParameter (a.p, ParameterIDs::autoThreshold, 1.0f);

    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::range), 3.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::threshold), 0.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::ratio), 2.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::makeupGain), -3.0f);
    EXPECT_EQ (a.p.autoThresholdState.load(), State::measuring);
}

TEST (AutoThreshold, PlainRunWithALowRatioRampsItFirst)
{
    AssistedProcessor a;
    setParameter (a.p, ParameterIDs::ratio, 1.5f);
    setParameter (a.p, ParameterIDs::autoThreshold, 1.0f);
    ASSERT_EQ (a.p.autoThresholdState.load(), State::rampingRatio);

    a.runLoud (5);
    EXPECT_NEAR (parameterValue (a.p, ParameterIDs::ratio), 2.0f, 1.0e-4f);
    a.runLoud (1);
    EXPECT_EQ (a.p.autoThresholdState.load(), State::measuring);
}

TEST (AutoThreshold, SwitchingItOffDuringARunRestoresTheSettings)
{
    AssistedProcessor a;
    setParameter (a.p, ParameterIDs::threshold, -10.0f);
    setParameter (a.p, ParameterIDs::ratio, 4.0f);
    setParameter (a.p, ParameterIDs::makeupGain, 2.0f);
    setParameter (a.p, ParameterIDs::autoThreshold, 1.0f);

    a.runLoud (70, 0.1f); // 0.6 s (57 blocks) measuring, then adjusting: the threshold comes down
    ASSERT_EQ (a.p.autoThresholdState.load(), State::adjusting);
    ASSERT_LT (parameterValue (a.p, ParameterIDs::threshold), -10.5f);

    setParameter (a.p, ParameterIDs::autoThreshold, 0.0f);
    EXPECT_EQ (a.p.autoThresholdState.load(), State::idle);
    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::threshold), -10.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::ratio), 4.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::makeupGain), 2.0f);
}

TEST (AutoThreshold, AFinishedRunKeepsItsThresholdAndStartsAutomaticGain)
{
    AssistedProcessor a;
    setParameter (a.p, ParameterIDs::threshold, -5.0f);
    setParameter (a.p, ParameterIDs::autoThreshold, 1.0f);

    // The time limit ends the run whatever it has reached.
    a.runLoud (60);
    a.now += 25.0;
    a.runLoud (2);

    EXPECT_EQ (a.p.autoThresholdState.load(), State::idle);
    EXPECT_EQ (parameterValue (a.p, ParameterIDs::autoThreshold), 0.0f);
    EXPECT_EQ (parameterValue (a.p, ParameterIDs::intAuto), 0.0f);
    EXPECT_EQ (parameterValue (a.p, ParameterIDs::autoGain), 1.0f);
    EXPECT_LT (parameterValue (a.p, ParameterIDs::threshold), -5.0f);

    a.runLoud (1);
    EXPECT_TRUE (a.p.autoGainLearning);
}

TEST (AutoThreshold, ANotANumberSampleCountsAsSilenceAndTheRunStillConverges)
{
    float learnedThreshold[2] {};
    for (const bool poisoned : { false, true })
    {
        SCOPED_TRACE (poisoned ? "with one NaN sample" : "clean");
        AssistedProcessor a;
        setParameter (a.p, ParameterIDs::autoThreshold, 1.0f);
        const double start = a.now;
        a.runLoud (10, 0.1f);
        a.runLoudBlockWith (poisoned ? notANumber : 0.1f, 0.1f);

        for (int block = 0; block < 5000 && a.p.autoThresholdState.load() != State::idle; ++block)
            a.runLoud (1, 0.1f);

        EXPECT_EQ (a.p.autoThresholdState.load(), State::idle);
        EXPECT_TRUE (std::isfinite (a.p.smoothedInputDb));
        EXPECT_LT (a.now - start, Processor::autoThresholdTimeLimit / 2.0) << "converged, not timed out";
        learnedThreshold[poisoned] = parameterValue (a.p, ParameterIDs::threshold);
    }

    EXPECT_NEAR (learnedThreshold[true], learnedThreshold[false], 1.0f);
}

TEST (AutoThreshold, SwitchingIntelligenceDuringARunDoesNotChangeItsVariant)
{
    AssistedProcessor a;
    setParameter (a.p, ParameterIDs::ratio, 3.0f);
    setParameter (a.p, ParameterIDs::autoThreshold, 1.0f); // the plain variant leaves the ratio alone
    a.runLoud (5, 0.1f);

    setParameter (a.p, ParameterIDs::intAuto, 1.0f);
    for (int block = 0; block < 5000 && a.p.autoThresholdState.load() != State::idle; ++block)
    {
        a.runLoud (1, 0.1f);
        ASSERT_FLOAT_EQ (parameterValue (a.p, ParameterIDs::ratio), 3.0f) << block;
    }
    EXPECT_EQ (a.p.autoThresholdState.load(), State::idle);
}

TEST (AutoThreshold, QuietBlocksDoNotMoveTheRun)
{
    AssistedProcessor a;
    setParameter (a.p, ParameterIDs::autoThreshold, 1.0f);
    for (int i = 0; i < 100; ++i)
        test::runConstant (a.p, 0.001f, 512, 1); // -60 dBFS
    EXPECT_EQ (a.p.autoThresholdState.load(), State::measuring);
    EXPECT_EQ (a.p.autoThresholdBlocks.load(), 0);
    EXPECT_EQ (a.p.autoThresholdSignalSeconds.load(), 0.0);
}
} // namespace
