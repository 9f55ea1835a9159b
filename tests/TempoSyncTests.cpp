// Host tempo, manual tempo and the tempo-derived times.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

using test::setParameter;

namespace
{
struct SyncedProcessor
{
    SyncedProcessor()
    {
        p.setPlayHead (&playHead);
        p.prepareToPlay (48000.0, 512);
        setParameter (p, ParameterIDs::bpmSync, 1.0f);
    }

    void playAt (double bpm)
    {
        playHead.bpm = bpm;
        test::runConstant (p, 0.0f, 512, 1);
    }

    test::TestPlayHead playHead;
    TarnwellCompressorAudioProcessor p;
};

TEST (TempoSync, AHostTempoChangeKeepsOffsetsInBeats)
{
    SyncedProcessor s;
    s.playAt (120.0);
    s.p.bpmSyncAttackOffset = 10.0f;

    s.playAt (60.0);
    EXPECT_DOUBLE_EQ (s.p.savedBPM, 60.0);
    EXPECT_FLOAT_EQ (s.p.bpmSyncAttackOffset, 20.0f);

    // At 60 BPM "Normal" takes a 32nd note: 31.25 ms, plus the offset.
    EXPECT_NEAR (s.p.compressors[0]->effectiveAttackMs, 51.25f, 1.0e-3f);
    EXPECT_NEAR (s.p.compressors[1]->effectiveReleaseMs, 500.0f, 1.0e-3f);
}

TEST (TempoSync, ManualTempoOverridesTheHostUntilSyncIsSwitchedOnAgain)
{
    SyncedProcessor s;
    s.playAt (120.0);
    s.p.manualBPM = 90.0;
    s.p.bpmFreeMode = true;
    s.p.parameterChanged ({}, 0.0f); // what the editor's tempo entry does

    s.playAt (100.0);
    EXPECT_NEAR (s.p.compressors[0]->tempoFactor, 90.0 / 120.0, 1.0e-9);
    EXPECT_NEAR (s.p.compressors[0]->effectiveReleaseMs, 60000.0f / 90.0f / 2.0f, 1.0e-2f);

    setParameter (s.p, ParameterIDs::bpmSync, 0.0f);
    setParameter (s.p, ParameterIDs::bpmSync, 1.0f);
    EXPECT_FALSE (s.p.bpmFreeMode);
    EXPECT_NEAR (s.p.compressors[0]->tempoFactor, 100.0 / 120.0, 1.0e-9);
}

TEST (TempoSync, TempiBelowTwelveBpmActAsTwelve)
{
    SyncedProcessor s;
    s.playAt (6.0);
    EXPECT_DOUBLE_EQ (s.p.savedBPM, 6.0);
    EXPECT_NEAR (s.p.compressors[0]->tempoFactor, 0.1, 1.0e-9);
    EXPECT_NEAR (s.p.compressors[0]->effectiveReleaseMs, 2500.0f, 1.0e-2f); // half a beat at 12 BPM
}

TEST (TempoSync, MissingOrNonsenseTempoNeverReachesTheCompressors)
{
    const struct { const char* name; juce::Optional<double> bpm; double expectedSaved; } cases[] = {
        { "no tempo", {}, 140.0 },
        { "zero", 0.0, 140.0 },
        { "negative", -90.0, 140.0 },
        { "NaN", std::numeric_limits<double>::quiet_NaN(), 140.0 },
        { "infinite", std::numeric_limits<double>::infinity(), 140.0 },
        { "absurd", 1.0e9, TarnwellCompressorAudioProcessor::maximumBPM },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        SyncedProcessor s;
        s.p.bpmSyncAttackOffset = 5.0f;
        s.playAt (140.0);

        s.playHead.bpm = c.bpm;
        test::runConstant (s.p, 0.25f, 512, 4);
        EXPECT_DOUBLE_EQ (s.p.savedBPM, c.expectedSaved);

        for (auto& compressor : s.p.compressors)
        {
            for (float t : { compressor->effectiveAttackMs, compressor->effectiveReleaseMs, compressor->attackCoeff,
                             compressor->releaseCoeff, compressor->gainReductionDb })
                EXPECT_TRUE (std::isfinite (t));
            EXPECT_GE (compressor->effectiveAttackMs, 0.1f);
            EXPECT_GE (compressor->effectiveReleaseMs, 1.0f);
        }

        for (const char* id : { ParameterIDs::attack, ParameterIDs::hold, ParameterIDs::release })
            EXPECT_TRUE (std::isfinite (test::parameterValue (s.p, id))) << id;
    }
}
} // namespace
