// The automatic gain and threshold assistants, driven by a test clock.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

using test::parameterValue;
using test::setParameter;

namespace
{
struct AssistedProcessor
{
    AssistedProcessor()
    {
        p.secondsClock = [this] { return now; };
        p.prepareToPlay (48000.0, 512);
    }

    // Blocks above -40 dBFS move the threshold assistant on; the clock advances per block.
    void runLoud (int blocks, float level = 0.5f)
    {
        for (int i = 0; i < blocks; ++i)
        {
            test::runConstant (p, level, 512, 1);
            now += 512.0 / 48000.0;
        }
    }

    double now = 100.0;
    TarnwellCompressorAudioProcessor p;
};

TEST (AutoGain, OnSilenceItEndsAtTheTimeLimitWithTheMakeupUnchanged)
{
    AssistedProcessor a;
    setParameter (a.p, "makeupGain", 3.0f);
    setParameter (a.p, "autoGain", 1.0f);

    const TarnwellCompressorAudioProcessor::BlockLevels silence { -200.0f, -100.0f, -100.0f };
    a.p.makeupForBlock (silence);
    a.now += 9.9;
    a.p.makeupForBlock (silence);
    EXPECT_TRUE (a.p.autoGainLearning);
    EXPECT_EQ (parameterValue (a.p, "autoGain"), 1.0f);

    a.now += 0.1;
    EXPECT_FLOAT_EQ (a.p.makeupForBlock (silence), 3.0f);
    EXPECT_FALSE (a.p.autoGainLearning);
    EXPECT_EQ (parameterValue (a.p, "autoGain"), 0.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, "makeupGain"), 3.0f);
}

TEST (AutoGain, LearnsTheLostLevelAndKeepsThePredictedPeakBelowFullScale)
{
    // The compressed signal is 6 dB quieter than the input: the learned
    // make-up rises towards 6 - 2 = 4 dB over 215 blocks.
    const float learned = 4.0f * (1.0f - std::pow (0.98f, 215.0f));
    const struct { float peakDb; float expectedMakeup; } cases[] = {
        { -6.0f, learned },                          // peak stays below -0.5 dBFS
        { -3.0f, learned - (-3.0f + learned + 0.5f) }, // predicted +1 dBFS: pulled back to -0.5
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.peakDb);
        AssistedProcessor a;
        setParameter (a.p, "autoGain", 1.0f);

        float used = 0.0f;
        for (int block = 0; block < 215; ++block)
        {
            ASSERT_TRUE (block == 0 || a.p.autoGainLearning) << block;
            used = a.p.makeupForBlock ({ -10.0f, -16.0f, c.peakDb });
        }

        EXPECT_FALSE (a.p.autoGainLearning);
        EXPECT_NEAR (used, learned, 1.0e-3f);
        EXPECT_EQ (parameterValue (a.p, "autoGain"), 0.0f);
        EXPECT_NEAR (parameterValue (a.p, "makeupGain"), c.expectedMakeup, 0.051f); // 0.1 dB steps
    }
}

TEST (AutoThreshold, WithNoRangeThePlainRunCancelsAndRestores)
{
    AssistedProcessor a;
    setParameter (a.p, "range", 0.0f);
    setParameter (a.p, "threshold", -25.0f);
    setParameter (a.p, "ratio", 3.0f);
    setParameter (a.p, "makeupGain", 1.0f);

    setParameter (a.p, "autoThreshold", 1.0f);
    EXPECT_EQ (a.p.autoThresholdState.load(), 2);

    a.runLoud (1);
    EXPECT_EQ (a.p.autoThresholdState.load(), 0);
    EXPECT_EQ (parameterValue (a.p, "autoThreshold"), 0.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, "threshold"), -25.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, "ratio"), 3.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, "makeupGain"), 1.0f);
}

TEST (AutoThreshold, TheIntelligentRunGivesItselfARangeAndStartsFromTheTop)
{
    AssistedProcessor a;
    setParameter (a.p, "range", 0.0f);
    setParameter (a.p, "intAuto", 1.0f);
    setParameter (a.p, "autoThreshold", 1.0f);

    EXPECT_FLOAT_EQ (parameterValue (a.p, "range"), 3.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, "threshold"), 0.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, "ratio"), 2.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, "makeupGain"), -3.0f);
    EXPECT_EQ (a.p.autoThresholdState.load(), 2);
}

TEST (AutoThreshold, PlainRunWithALowRatioRampsItFirst)
{
    AssistedProcessor a;
    setParameter (a.p, "ratio", 1.5f);
    setParameter (a.p, "autoThreshold", 1.0f);
    ASSERT_EQ (a.p.autoThresholdState.load(), 1);

    a.runLoud (5);
    EXPECT_NEAR (parameterValue (a.p, "ratio"), 2.0f, 1.0e-4f);
    a.runLoud (1);
    EXPECT_EQ (a.p.autoThresholdState.load(), 2);
}

TEST (AutoThreshold, SwitchingItOffDuringARunRestoresTheSettings)
{
    AssistedProcessor a;
    setParameter (a.p, "threshold", -10.0f);
    setParameter (a.p, "ratio", 4.0f);
    setParameter (a.p, "makeupGain", 2.0f);
    setParameter (a.p, "autoThreshold", 1.0f);

    a.runLoud (60, 0.1f); // 50 blocks measuring, then adjusting: the threshold comes down
    ASSERT_EQ (a.p.autoThresholdState.load(), 3);
    ASSERT_LT (parameterValue (a.p, "threshold"), -10.5f);

    setParameter (a.p, "autoThreshold", 0.0f);
    EXPECT_EQ (a.p.autoThresholdState.load(), 0);
    EXPECT_FLOAT_EQ (parameterValue (a.p, "threshold"), -10.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, "ratio"), 4.0f);
    EXPECT_FLOAT_EQ (parameterValue (a.p, "makeupGain"), 2.0f);
}

TEST (AutoThreshold, AFinishedRunKeepsItsThresholdAndStartsAutomaticGain)
{
    AssistedProcessor a;
    setParameter (a.p, "threshold", -5.0f);
    setParameter (a.p, "autoThreshold", 1.0f);

    // The time limit ends the run whatever it has reached.
    a.runLoud (60);
    a.now += 25.0;
    a.runLoud (2);

    EXPECT_EQ (a.p.autoThresholdState.load(), 0);
    EXPECT_EQ (parameterValue (a.p, "autoThreshold"), 0.0f);
    EXPECT_EQ (parameterValue (a.p, "intAuto"), 0.0f);
    EXPECT_EQ (parameterValue (a.p, "autoGain"), 1.0f);
    EXPECT_LT (parameterValue (a.p, "threshold"), -5.0f);

    a.runLoud (1);
    EXPECT_TRUE (a.p.autoGainLearning);
}

TEST (AutoThreshold, QuietBlocksDoNotMoveTheRun)
{
    AssistedProcessor a;
    setParameter (a.p, "autoThreshold", 1.0f);
    for (int i = 0; i < 100; ++i)
        test::runConstant (a.p, 0.001f, 512, 1); // -60 dBFS
    EXPECT_EQ (a.p.autoThresholdState.load(), 2);
    EXPECT_EQ (a.p.autoThresholdBlocks.load(), 0);
}
} // namespace
