// What the processor publishes for the editor: histories, snapshots, meters,
// clip indicator and range warning glow.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using test::setParameter;

namespace
{
TEST (AnalysisData, DisplayStepsAndSnapshotsFollowTheBlockSize)
{
    const struct { int blockSize; int stepsPerBlock; int blocksPerSnapshot; } cases[] = {
        { 512, 4, 2 },  // three steps of 147 samples and one of 71; 1024 >= 735
        { 64, 1, 12 },  // 12 * 64 = 768 >= 735
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.blockSize);
        TarnwellCompressorAudioProcessor p;
        p.prepareToPlay (44100.0, c.blockSize);

        for (int block = 1; block <= 3 * c.blocksPerSnapshot; ++block)
        {
            const int frontBefore = p.frontSnapshot.load();
            test::runConstant (p, 0.5f, c.blockSize, 1);

            EXPECT_EQ (p.inputHistoryWritePos.load(), (block * c.stepsPerBlock) % p.historySize);
            EXPECT_EQ (p.grHistoryWritePos.load(), p.inputHistoryWritePos.load());

            const bool snapshotDue = block % c.blocksPerSnapshot == 0;
            ASSERT_EQ (p.frontSnapshot.load() != frontBefore, snapshotDue) << "block " << block;
            if (snapshotDue)
            {
                const auto& front = p.waveformSnapshots[(size_t) p.frontSnapshot.load()];
                EXPECT_TRUE (front.ready.load());
                EXPECT_EQ (front.writePos, p.inputHistoryWritePos.load());
                EXPECT_NEAR (front.input.back(), 0.5f, 1.0e-3f) << "the newest entry comes last";
            }
        }
        EXPECT_EQ (p.displayFrameSamples, 735);
    }
}

TEST (AnalysisData, WithLookaheadTheInputTraceIsSixStepsEarlier)
{
    TarnwellCompressorAudioProcessor p;
    p.prepareToPlay (44100.0, 512);
    setParameter (p, ParameterIDs::lookahead, 1.0f);
    test::runConstant (p, 0.0f, 512, 1); // lookahead now active

    for (int i = 0; i < p.historySize; ++i)
        p.inputHistoryRing[(size_t) i] = (float) i;
    const int w = p.inputHistoryWritePos.load();
    p.displayFrameCounter = p.displayFrameSamples; // the next block takes a snapshot
    juce::AudioBuffer<float> one (2, 1);
    one.clear();
    juce::MidiBuffer midi;
    p.processBlock (one, midi);

    const auto& snapshot = p.waveformSnapshots[(size_t) p.frontSnapshot.load()];
    const int w2 = snapshot.writePos;
    ASSERT_EQ (w2, (w + 1) % p.historySize);
    EXPECT_EQ (snapshot.input[0], (float) ((w2 + 1024 - 6) % p.historySize));
    EXPECT_EQ (snapshot.input[10], (float) ((w2 + 1024 - 6 + 10) % p.historySize));
}

TEST (AnalysisData, BypassFillsTheReductionHistoryWithZeros)
{
    TarnwellCompressorAudioProcessor p;
    p.prepareToPlay (48000.0, 512);
    setParameter (p, ParameterIDs::threshold, -40.0f);
    test::runConstant (p, 0.5f, 512, 40);
    ASSERT_LT (p.compressors[0]->gainReductionDb, -1.0f);

    setParameter (p, ParameterIDs::bypass, 1.0f);
    const int from = p.grHistoryWritePos.load();
    test::runConstant (p, 0.5f, 512, 10);

    const int written = (p.grHistoryWritePos.load() - from + p.historySize) % p.historySize;
    ASSERT_EQ (written, 40);
    for (int k = 0; k < written; ++k)
    {
        const auto i = (size_t) ((from + k) % p.historySize);
        EXPECT_EQ (p.grHistoryRing[i], 0.0f) << i;
        EXPECT_NEAR (p.inputHistoryRing[i], 0.5f, 1.0e-6f) << i;
    }
}

TEST (AnalysisData, RangeGlowRisesNearTheRangeAndFallsAfterItsHoldTime)
{
    // Standard mode on a steady level: the reduction settles at the static
    // curve, (1 - 1/6) * (L + 30) dB with the threshold at -30 dB.
    const double rate = 48000.0;
    for (int blockSize : { 512, 128 })
    {
        SCOPED_TRACE (blockSize);
        const double blockSeconds = blockSize / rate;
        TarnwellCompressorAudioProcessor p;
        p.prepareToPlay (rate, blockSize);
        setParameter (p, ParameterIDs::physicsMode, 0.0f);
        setParameter (p, ParameterIDs::knee, 0.0f);
        setParameter (p, ParameterIDs::threshold, -30.0f);
        setParameter (p, ParameterIDs::ratio, 6.0f);
        setParameter (p, ParameterIDs::range, 24.0f);

        // 20 dB of reduction
        test::runConstant (p, juce::Decibels::decibelsToGain (-6.0f), blockSize, 15360 / blockSize);
        ASSERT_NEAR (p.compressors[0]->gainReductionDb, -20.0f, 0.05f);
        EXPECT_NEAR (p.rangeWarningGlow.load(), 1.0f, 1.0e-6f) << "0.05 per block, at most 1";

        const int settling = 5120 / blockSize; // 25 dB: beyond the range
        test::runConstant (p, 1.0f, blockSize, settling);
        ASSERT_LT (p.compressors[0]->gainReductionDb, -24.0f);

        // Once past the range the glow holds for a second, then falls 0.005 per block.
        int held = 0;
        float previous = p.rangeWarningGlow.load();
        for (int block = 0; block < 1000 && p.rangeWarningGlow.load() >= previous; ++block)
        {
            previous = p.rangeWarningGlow.load();
            test::runConstant (p, 1.0f, blockSize, 1);
            held += p.rangeWarningGlow.load() == previous ? 1 : 0;
        }
        EXPECT_NEAR (previous - p.rangeWarningGlow.load(), 0.005f, 1.0e-6f);
        EXPECT_GE ((held + settling) * blockSeconds, p.rangeGlowHoldTime);
        EXPECT_LE (held * blockSeconds, p.rangeGlowHoldTime + blockSeconds);
    }
}

TEST (AnalysisData, TheFirstClipTimeIsKeptUntilCleared)
{
    TarnwellCompressorAudioProcessor p;
    double now = 12.0;
    p.secondsClock = [&now] { return now; };
    p.prepareToPlay (48000.0, 512);
    setParameter (p, ParameterIDs::mix, 0.0f);
    setParameter (p, ParameterIDs::outputGain, 12.0f);

    test::runConstant (p, 0.1f, 512, 10);
    EXPECT_FALSE (p.clipIndicator.load());

    test::runConstant (p, 0.5f, 512, 1);
    ASSERT_TRUE (p.clipIndicator.load());
    EXPECT_EQ (p.clipTimeMs.load(), 12000u);

    now = 12.5;
    test::runConstant (p, 0.5f, 512, 1);
    EXPECT_EQ (p.clipTimeMs.load(), 12000u);

    p.clipIndicator = false;
    p.clipTimeMs = 0;
    test::runConstant (p, 0.5f, 512, 1);
    EXPECT_EQ (p.clipTimeMs.load(), 12500u);
}

TEST (AnalysisData, MetersFollowTheProcessedBlocks)
{
    TarnwellCompressorAudioProcessor p;
    p.prepareToPlay (48000.0, 512);
    setParameter (p, ParameterIDs::makeupGain, 3.5f);
    test::runConstant (p, 0.25f, 512, 4);
    EXPECT_FLOAT_EQ (p.makeupGainInUseDb.load(), 3.5f);
    EXPECT_NEAR (p.inputMeterLevel, 0.25f, 1.0e-6f);

    test::runConstant (p, 0.0f, 512, 1);
    EXPECT_NEAR (p.inputMeterLevel, 0.92f * 0.25f, 1.0e-6f);
}

TEST (AnalysisData, ANonFiniteInputSampleReachesNeitherTheMeterNorTheHistory)
{
    for (const float bad : { std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                             std::numeric_limits<float>::quiet_NaN() })
    {
        SCOPED_TRACE (bad);
        TarnwellCompressorAudioProcessor p;
        p.prepareToPlay (48000.0, 512);

        juce::AudioBuffer<float> block (2, 512);
        block.clear();
        block.setSample (0, 100, bad);
        juce::MidiBuffer midi;
        p.processBlock (block, midi);
        test::runConstant (p, 0.25f, 512, 20);

        EXPECT_NEAR (p.inputMeterLevel, 0.25f, 1.0e-3f);
        EXPECT_NEAR (p.inputHistoryEnvelope, 0.25f, 1.0e-3f);
        for (float level : p.inputHistoryRing)
            ASSERT_TRUE (std::isfinite (level));
        for (const auto& snapshot : p.waveformSnapshots)
            for (float level : snapshot.input)
                ASSERT_TRUE (std::isfinite (level));
    }
}
} // namespace
