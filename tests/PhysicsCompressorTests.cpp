#include "AllocationCounter.h"
#include "Base2Math.h"
#include "PhysicsCompressor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace
{
constexpr double testRate = 48000.0;

std::unique_ptr<PhysicsCompressor> makeCompressor (double rate = testRate, int maxBlock = 512)
{
    auto c = std::make_unique<PhysicsCompressor>();
    c->prepare (rate, maxBlock);
    return c;
}

float dbToAmplitude (float db)
{
    return std::pow (10.0f, db / 20.0f);
}

int msToSamples (double ms, double rate = testRate)
{
    return (int) std::lround (ms * rate / 1000.0);
}

void processInBlocks (PhysicsCompressor& c, std::vector<float>& samples, int blockSize = 256)
{
    for (int start = 0; start < (int) samples.size(); start += blockSize)
        c.processInternal (samples.data() + start, std::min (blockSize, (int) samples.size() - start), false);
}

// A constant amplitude gives the detector one steady level.
void driveConstant (PhysicsCompressor& c, float amplitude, int numSamples)
{
    std::vector<float> block ((size_t) numSamples, amplitude);
    processInBlocks (c, block);
}

std::vector<float> sine (float amplitude, float hz, int numSamples, double rate = testRate)
{
    std::vector<float> s ((size_t) numSamples);
    for (int i = 0; i < numSamples; ++i)
        s[(size_t) i] = amplitude * (float) std::sin (2.0 * juce::MathConstants<double>::pi * hz * i / rate);
    return s;
}

bool stateIsFinite (const PhysicsCompressor& c)
{
    const float values[] = { c.detectorDb, c.peakHoldDb, c.envelopeDb, c.gainReductionDb, c.position, c.velocity,
                             c.force, c.acceleration, c.stabilityReductionDb, c.holdLevelDb, c.holdTimerMs,
                             c.previousStaticReductionDb, c.scX1, c.scX2, c.scY1, c.scY2, c.smoothedGain };
    for (float v : values)
        if (! std::isfinite (v))
            return false;
    return true;
}
} // namespace

//==============================================================================
// Static curve, knee, range limits and mode shaping.

struct CurveCase
{
    const char* name;
    int mode;
    float ratio, kneeDb, rangeDb;
    bool rangeExtreme;
    float levelDb;
    float expectedDb;
};

TEST (PhysicsCompressorCurve, TargetReductionFollowsCurveKneeRangeAndMode)
{
    const CurveCase cases[] = {
        { "standard above threshold", 0, 4.0f, 2.0f, 6.0f, false, -10.0f, -7.5f },
        // b = 0.25, b^0.8 = 0.3299: 7.5 * (1 + 0.5 * 0.6701)
        { "medium presses small overshoots harder", 2, 4.0f, 2.0f, 6.0f, false, -10.0f, -10.01296f },
        { "below threshold", 2, 4.0f, 2.0f, 6.0f, false, -30.0f, 0.0f },
        { "inside wide knee, still below threshold", 0, 4.0f, 6.0f, 40.0f, false, -19.0f, 0.0f },
        { "top of knee meets the straight line", 0, 4.0f, 6.0f, 40.0f, false, -17.0f, -2.25f },
        { "soft knee eases just above threshold", 0, 4.0f, 2.0f, 40.0f, false, -19.9f, 0.0f },
        { "hard corner without knee", 0, 4.0f, 0.0f, 40.0f, false, -19.9f, -0.075f },
        { "hard corner at threshold", 0, 4.0f, 0.0f, 40.0f, false, -20.0f, 0.0f },
        { "range 6 caps at 18 dB", 0, 20.0f, 0.0f, 6.0f, false, 20.0f, -18.0f },
        { "heavy raises the cap to 23.4 dB", 3, 20.0f, 0.0f, 6.0f, false, 20.0f, -23.4f },
        { "light lowers the cap to 14.4 dB", 1, 20.0f, 0.0f, 6.0f, false, 20.0f, -14.4f },
        { "range extreme caps at 4x range", 0, 20.0f, 0.0f, 6.0f, true, 20.0f, -24.0f },
        { "range above 40 is capped at 120 dB", 0, 20.0f, 0.0f, 80.0f, false, 120.0f, -120.0f },
    };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (tc.name);
        PhysicsCompressor c;
        c.thresholdDb = -20.0f;
        c.ratio = tc.ratio;
        c.kneeDb = tc.kneeDb;
        c.rangeDb = tc.rangeDb;
        c.rangeExtreme = tc.rangeExtreme;
        c.physicsMode = tc.mode;
        EXPECT_NEAR (c.computeTargetReductionDb (tc.levelDb), tc.expectedDb, 1.0e-4f);
    }
}

struct SafetyKneeCase
{
    const char* name;
    float kneeDb, safety, levelDb, expectedDb;
};

TEST (PhysicsCompressorCurve, SafetyNarrowsKneeOnBigChangesOnly)
{
    // The previous step's reduction is far from this one's, so the step counts
    // as a big change.
    const SafetyKneeCase cases[] = {
        // knee 6: v = -23 + 25/6 = -18.833 -> 0.875 dB
        { "no safety keeps the full knee", 6.0f, 0.0f, -18.0f, -0.875f },
        // knee narrowed to 1.8 dB: -18 lies above it, so the straight line applies
        { "safety narrows the knee", 6.0f, 100.0f, -18.0f, -1.5f },
        // narrowed to 1.8 dB but still scaled by the 6 dB setting:
        // v = -20.9 + 1.7^2/6 = -20.42, below threshold
        { "narrowed knee keeps the setting's scale", 6.0f, 100.0f, -19.2f, 0.0f },
        // narrowed to the 0.1 dB minimum; no knee set means no curve to divide by
        { "no knee stays a hard corner", 0.0f, 100.0f, -19.99f, -0.0075f },
        { "no knee below threshold", 0.0f, 100.0f, -20.01f, 0.0f },
    };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (tc.name);
        PhysicsCompressor c;
        c.physicsMode = 0;
        c.thresholdDb = -20.0f;
        c.ratio = 4.0f;
        c.kneeDb = tc.kneeDb;
        c.safety = tc.safety;
        c.previousStaticReductionDb = 10.0f;
        const float target = c.computeTargetReductionDb (tc.levelDb);
        EXPECT_TRUE (c.bigChange);
        EXPECT_NEAR (target, tc.expectedDb, 1.0e-4f);
    }
}

TEST (PhysicsCompressorCurve, SteadyLevelConvergesToTarget)
{
    const struct
    {
        int mode;
        float expectedDb;
    } cases[] = { { 0, -7.5f }, { 2, -10.013f } };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (tc.mode);
        auto c = makeCompressor();
        c->setPhysicsMode (tc.mode);
        c->ratio = 4.0f;
        c->kneeDb = 2.0f;
        c->rangeDb = 6.0f;

        driveConstant (*c, dbToAmplitude (-10.0f), (int) testRate);

        EXPECT_NEAR (c->detectorDb, -10.0f, 1.0e-4f);
        EXPECT_NEAR (c->envelopeDb, tc.expectedDb, 0.01f);
        EXPECT_NEAR (c->gainReductionDb, tc.expectedDb, 0.01f);
        EXPECT_NEAR (c->smoothedGain, dbToAmplitude (tc.expectedDb), 1.0e-3f);
    }
}

TEST (PhysicsCompressorCurve, FallingBelowPeakLimitsHowFastTheTargetDeepens)
{
    // A slow attack leaves the reduction at -2 dB while the level sits at
    // +5 dB (target -12.5 dB). Well below a held peak the target may only
    // be 6 dB deeper than the reduction.
    const struct
    {
        float peakDb;
        bool dropping;
        float limitedTargetDb;
    } cases[] = { { 10.0f, true, -8.0f }, { 8.0f, false, -12.5f } };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (tc.peakDb);
        auto c = makeCompressor();
        c->setPhysicsMode (0);
        c->attackMs = 100.0f;
        c->updateCoefficients();
        c->peakHoldDb = tc.peakDb;
        c->envelopeDb = c->gainReductionDb = -2.0f;

        float x = dbToAmplitude (5.0f);
        c->processInternal (&x, 1, false);

        EXPECT_NEAR (c->peakHoldDb, 5.0f + (tc.peakDb - 5.0f) * 0.999f, 1.0e-4f);
        EXPECT_EQ (c->peakDropping, tc.dropping);
        EXPECT_NEAR (c->envelopeDb, tc.limitedTargetDb + (-2.0f - tc.limitedTargetDb) * c->attackCoeff, 1.0e-4f);
    }
}

//==============================================================================
// Physics stage.

TEST (PhysicsCompressorPhysics, StandardModeIsThePlainEnvelope)
{
    auto c = makeCompressor();
    c->setPhysicsMode (0);
    c->ratio = 8.0f;

    for (int burst = 0; burst < 6; ++burst)
    {
        driveConstant (*c, burst % 2 == 0 ? 1.0f : 0.01f, 2000);
        EXPECT_EQ (c->gainReductionDb, c->envelopeDb);
        EXPECT_EQ (c->position, c->envelopeDb);
        EXPECT_EQ (c->velocity, 0.0f);
    }
}

TEST (PhysicsCompressorPhysics, BoxModeLagsTheEnvelopeWithMomentum)
{
    auto c = makeCompressor();
    c->ratio = 8.0f;
    driveConstant (*c, 1.0f, 200);
    EXPECT_NE (c->velocity, 0.0f);
    EXPECT_GT (c->gainReductionDb, c->envelopeDb); // still catching up
}

struct BoxCase
{
    int mode;
    float force, damping;
    bool forceExtreme, dampingExtreme;
};

TEST (PhysicsCompressorPhysics, BoxPositionStaysWithinTravelBounds)
{
    const BoxCase cases[] = {
        { 2, 1.0f, 1.0f, false, false },   { 3, 100.0f, 1.0f, true, false }, { 3, 20.0f, 500.0f, false, true },
        { 1, 0.05f, 10000.0f, false, false }, { 2, 100.0f, 10000.0f, true, true },
    };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (testing::Message() << "mode " << tc.mode << " force " << tc.force << " damping " << tc.damping);
        auto c = makeCompressor();
        c->setPhysicsMode (tc.mode);
        c->forceMultiplier = tc.force;
        c->damping = tc.damping;
        c->forceExtreme = tc.forceExtreme;
        c->dampingExtreme = tc.dampingExtreme;
        c->ratio = 10.0f;
        c->rangeDb = 10.0f;
        c->attackMs = 0.1f;
        c->releaseMs = 20.0f;
        c->updateCoefficients();

        // Alternating loud and quiet steps provoke overshoot in both directions.
        for (int step = 0; step < 4000; ++step)
        {
            float x = (step / 400) % 2 == 0 ? 1.0f : 0.001f;
            c->processInternal (&x, 1, false);
            ASSERT_LE (c->position, 0.0f);
            ASSERT_GE (c->position, c->envelopeDb - 3.6f * c->rangeDb);
            ASSERT_LE (std::abs (c->velocity), tc.forceExtreme ? 100.0f : 50.0f);
        }
    }
}

TEST (PhysicsCompressorPhysics, BoxTravelBoundsCatchAStrayMass)
{
    // Silence keeps the envelope at 0 dB; range 6 gives a 21.6 dB band.
    const struct
    {
        const char* name;
        float position, velocity, expectedPosition;
    } cases[] = {
        { "far below: held at the lower bound, then settled", -100.0f, -40.0f, -21.6f * 0.995f },
        { "above 0 dB: held at 0 dB", 5.0f, 40.0f, 0.0f },
    };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (tc.name);
        auto c = makeCompressor();
        c->rangeDb = 6.0f;
        c->position = tc.position;
        c->velocity = tc.velocity;

        float x = 0.0f;
        c->processInternal (&x, 1, false);

        EXPECT_NEAR (c->position, tc.expectedPosition, 1.0e-4f);
        EXPECT_EQ (c->velocity, 0.0f);
    }
}

TEST (PhysicsCompressorCurve, StabilityBlendsTargetWithThePreviousOne)
{
    // One step at +5 dB: the plain target is -12.5 dB.
    const struct
    {
        float stability, expectedDb;
    } cases[] = { { 0.0f, 0.0f }, { 50.0f, -12.5f * (1.0f - 0.999f * 0.5f) }, { 100.0f, -12.5f * (1.0f - 0.999f) } };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (tc.stability);
        auto c = makeCompressor();
        c->setPhysicsMode (0);
        c->stability = tc.stability;
        float x = dbToAmplitude (5.0f);
        c->processInternal (&x, 1, false);
        EXPECT_NEAR (c->stabilityReductionDb, tc.expectedDb, 1.0e-4f);
    }
}

TEST (PhysicsCompressorPhysics, AirReleaseHasNoMomentumAndCapsAttackStep)
{
    const struct
    {
        float force, rate;
    } cases[] = { { 1.0f, 0.4f }, { 100.0f, 0.95f } };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (tc.force);
        auto c = makeCompressor();
        c->releaseMode = 1;
        c->forceMultiplier = tc.force;
        c->attackMs = 0.1f;
        c->ratio = 10.0f;
        c->updateCoefficients();

        int attackSteps = 0;
        for (int step = 0; step < 3000; ++step)
        {
            const float before = c->position;
            float x = (step / 500) % 2 == 0 ? 1.0f : 0.0f;
            c->processInternal (&x, 1, false);

            ASSERT_EQ (c->velocity, 0.0f);
            ASSERT_EQ (c->gainReductionDb, c->position);

            if (c->envelopeDb < before)
            {
                ++attackSteps;
                ASSERT_NEAR (c->position - before, (c->envelopeDb - before) * tc.rate, 1.0e-4f);
            }
        }
        EXPECT_GT (attackSteps, 0);
    }
}

TEST (PhysicsCompressorPhysics, ModeChangeClearsMassStateButSameModeKeepsIt)
{
    auto c = makeCompressor();
    c->holdMs = 50.0f;
    c->updateCoefficients();
    driveConstant (*c, 1.0f, 100);
    ASSERT_NE (c->position, 0.0f);
    ASSERT_NE (c->velocity, 0.0f);

    c->setPhysicsMode (2);
    EXPECT_NE (c->position, 0.0f);
    EXPECT_EQ (c->mass, 0.8f);

    c->setPhysicsMode (3);
    EXPECT_EQ (c->position, 0.0f);
    EXPECT_EQ (c->velocity, 0.0f);
    EXPECT_EQ (c->force, 0.0f);
    EXPECT_EQ (c->acceleration, 0.0f);
    EXPECT_EQ (c->holdLevelDb, 0.0f);
    EXPECT_EQ (c->holdTimerMs, 0.0f);
    EXPECT_EQ (c->mass, 2.0f);

    c->setPhysicsMode (7); // unknown mode keeps the mass
    EXPECT_EQ (c->mass, 2.0f);
}

//==============================================================================
// Hold and silence.

TEST (PhysicsCompressorHold, HoldKeepsReductionUntilHoldOrShorterRelease)
{
    const struct
    {
        float holdMs, releaseMs, limitMs;
    } cases[] = { { 15.0f, 20.0f, 15.0f }, { 50.0f, 20.0f, 20.0f } };

    auto reductionAfterBurst = [] (float holdMs, float releaseMs, double atMs)
    {
        auto c = makeCompressor();
        c->setPhysicsMode (0);
        c->ratio = 4.0f;
        c->attackMs = 0.1f;
        c->releaseMs = releaseMs;
        c->holdMs = holdMs;
        c->updateCoefficients();

        // A 5 ms burst at 0 dB (15 dB of reduction), then silence.
        driveConstant (*c, 1.0f, msToSamples (5.0));
        driveConstant (*c, 0.0f, msToSamples (atMs - 5.0));
        return c->gainReductionDb;
    };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (testing::Message() << "hold " << tc.holdMs << " release " << tc.releaseMs);
        const double held = tc.limitMs - 2.0;

        EXPECT_NEAR (reductionAfterBurst (tc.holdMs, tc.releaseMs, held), -15.0f, 0.05f);
        EXPECT_GT (reductionAfterBurst (0.0f, tc.releaseMs, held), -15.0f + 2.0f);
        EXPECT_GT (reductionAfterBurst (tc.holdMs, tc.releaseMs, tc.limitMs + 3.0 * tc.releaseMs), -15.0f * 0.2f);
    }
}

TEST (PhysicsCompressorSilence, SilenceGivesNoReductionAndGainReturnsToUnity)
{
    for (int mode = 0; mode < 4; ++mode)
    {
        for (int releaseMode = 0; releaseMode < 2; ++releaseMode)
        {
            SCOPED_TRACE (testing::Message() << "mode " << mode << " release mode " << releaseMode);
            auto c = makeCompressor();
            c->setPhysicsMode (mode);
            c->releaseMode = releaseMode;
            c->ratio = 10.0f;

            driveConstant (*c, 1.0f, msToSamples (100.0));
            ASSERT_LT (c->smoothedGain, 0.5f);

            driveConstant (*c, 0.0f, (int) (3 * testRate));
            EXPECT_EQ (c->detectorDb, -100.0f);
            EXPECT_NEAR (c->gainReductionDb, 0.0f, 1.0e-3f);
            EXPECT_NEAR (c->smoothedGain, 1.0f, 1.0e-3f);
        }
    }
}

TEST (PhysicsCompressorSilence, GainSmootherStepsTowardsTargetEverySample)
{
    // Quiet input keeps the target gain at 1, so the smoother's path is known.
    for (bool oversampled : { false, true })
    {
        SCOPED_TRACE (oversampled);
        auto c = makeCompressor();
        c->oversamplingFactor = 8;
        c->smoothedGain = 0.5f;

        auto x = sine (0.001f, 1000.0f, 64);
        auto y = x;
        c->processInternal (y.data(), (int) y.size(), oversampled);

        float expected = 0.5f;
        for (size_t i = 0; i < x.size(); ++i)
        {
            expected = 0.999f * expected + 0.0009999871f * 1.0f;
            ASSERT_FLOAT_EQ (y[i], x[i] * expected) << "sample " << i;
        }
        EXPECT_EQ (c->gainReductionDb, 0.0f);
    }
}

//==============================================================================
// Non-finite input.

TEST (PhysicsCompressorFaults, NonFiniteSampleDoesNotPoisonState)
{
    const float badValues[] = { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity() };
    const struct
    {
        int mode, releaseMode;
    } setups[] = { { 0, 0 }, { 2, 0 }, { 3, 1 } };

    auto configure = [] (PhysicsCompressor& c, int mode, int releaseMode)
    {
        c.setPhysicsMode (mode);
        c.releaseMode = releaseMode;
        c.ratio = 6.0f;
        c.stability = 50.0f;
        c.safety = 50.0f;
        c.damping = 200.0f;
        c.holdMs = 10.0f;
        c.sidechainHpfHz = 100.0f;
        c.updateCoefficients();
        c.updateSidechainFilter();
    };

    for (const auto& setup : setups)
    {
        for (float bad : badValues)
        {
            SCOPED_TRACE (testing::Message() << "mode " << setup.mode << " release mode " << setup.releaseMode
                                             << " value " << bad);
            auto c = makeCompressor();
            auto reference = makeCompressor();
            configure (*c, setup.mode, setup.releaseMode);
            configure (*reference, setup.mode, setup.releaseMode);

            auto signal = sine (0.5f, 440.0f, (int) testRate);
            auto clean = signal;
            signal[1000] = bad;
            clean[1000] = 0.0f;

            processInBlocks (*c, signal);
            processInBlocks (*reference, clean);

            EXPECT_TRUE (stateIsFinite (*c));
            for (size_t i = 1001; i < signal.size(); ++i)
                ASSERT_TRUE (std::isfinite (signal[i])) << "sample " << i;

            // Treated as silence, the bad sample leaves the same trace as a 0.
            EXPECT_FLOAT_EQ (c->gainReductionDb, reference->gainReductionDb);
            EXPECT_FLOAT_EQ (c->smoothedGain, reference->smoothedGain);
            EXPECT_FLOAT_EQ (signal.back(), clean.back());
            EXPECT_LT (c->gainReductionDb, -3.0f);
        }
    }
}

//==============================================================================
// Real-time safety.

TEST (PhysicsCompressorRealtime, ProcessingAllocatesNothing)
{
    for (int mode = 0; mode < 4; ++mode)
    {
        for (bool oversampled : { false, true })
        {
            SCOPED_TRACE (testing::Message() << "mode " << mode << " oversampled " << oversampled);
            auto c = makeCompressor();
            c->setPhysicsMode (mode);
            c->releaseMode = mode % 2;
            c->holdMs = 20.0f;
            c->stability = 30.0f;
            c->safety = 50.0f;
            c->damping = 300.0f;
            c->sidechainHpfHz = 100.0f;
            c->updateCoefficients();
            c->updateSidechainFilter();
            c->requestOversampling (2);
            c->updateOversamplingIfNeeded();

            auto partner = makeCompressor();
            partner->setPhysicsMode (mode);
            partner->releaseMode = c->releaseMode;

            auto signal = sine (0.8f, 220.0f, 4096);
            auto other = sine (0.5f, 330.0f, 4096);
            test::startCountingAllocations();
            c->processInternal (signal.data(), (int) signal.size(), oversampled);
            PhysicsCompressor::processPair (*c, *partner, signal.data(), other.data(), (int) signal.size(), oversampled);
            EXPECT_EQ (test::stopCountingAllocations(), 0);
        }
    }
}

//==============================================================================
// Oversampled processing.

TEST (PhysicsCompressorOversampled, ControlRunsEveryFactorthSampleOnly)
{
    // Distinct levels per sample reveal which sample the detector last saw.
    std::vector<float> ramp (24);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = 0.01f * (float) (i + 1);

    for (int length = 1; length <= (int) ramp.size(); ++length)
    {
        for (bool oversampled : { false, true })
        {
            SCOPED_TRACE (testing::Message() << "length " << length << " oversampled " << oversampled);
            auto c = makeCompressor();
            c->oversamplingFactor = 8;
            std::vector<float> block (ramp.begin(), ramp.begin() + length);
            c->processInternal (block.data(), length, oversampled);

            const int lastControl = oversampled ? ((length - 1) / 8) * 8 : length - 1;
            EXPECT_FLOAT_EQ (c->detectorDb, 20.0f * std::log10 (ramp[(size_t) lastControl]));
        }
    }
}

TEST (PhysicsCompressorOversampled, SidechainFilterRunsEverySampleAndGainMeetsUnfilteredInput)
{
    auto c = makeCompressor();
    c->oversamplingFactor = 8;
    c->sidechainHpfHz = 200.0f;
    c->updateSidechainFilter();
    c->thresholdDb = -60.0f;
    c->ratio = 10.0f;

    auto input = sine (0.5f, 1000.0f, 64);
    auto output = input;
    c->processInternal (output.data(), (int) output.size(), true);

    // Reference biquad over every sample.
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (float x : input)
    {
        const float y = c->scB0 * x + c->scB1 * x1 + c->scB2 * x2 - c->scA1 * y1 - c->scA2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
    }
    EXPECT_FLOAT_EQ (c->scY1, y1);
    EXPECT_FLOAT_EQ (c->scY2, y2);
    EXPECT_EQ (c->scX1, input.back());
    EXPECT_EQ (c->scX2, input[62]);

    ASSERT_LT (c->smoothedGain, 1.0f);
    EXPECT_FLOAT_EQ (output.back(), input.back() * c->smoothedGain);
}

//==============================================================================
// Tempo sync, offsets and tilt.

struct SyncCase
{
    double bpm;
    int syncMode;
    float attackMs, holdMs, releaseMs;
};

TEST (PhysicsCompressorTiming, TempoSyncedTimes)
{
    const SyncCase cases[] = {
        { 120.0, 0, 31.25f, 125.0f, 250.0f },
        { 60.0, 0, 31.25f, 125.0f, 500.0f },
        { 120.0, 1, 15.625f, 62.5f, 125.0f },
        { 60.0, 1, 15.625f, 125.0f, 250.0f },
    };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (testing::Message() << tc.bpm << " BPM, sync mode " << tc.syncMode);
        auto c = makeCompressor();
        c->bpmSyncEnabled = true;
        c->bpmSyncMode = tc.syncMode;
        c->tempoFactor = tc.bpm / 120.0;
        c->updateCoefficients();

        EXPECT_FLOAT_EQ (c->effectiveAttackMs, tc.attackMs);
        EXPECT_FLOAT_EQ (c->effectiveHoldMs, tc.holdMs);
        EXPECT_FLOAT_EQ (c->effectiveReleaseMs, tc.releaseMs);
        EXPECT_FLOAT_EQ (c->attackCoeff, (float) std::exp (-1.0 / (testRate * (double) 0.001f * tc.attackMs)));
        EXPECT_FLOAT_EQ (c->releaseCoeff, (float) std::exp (-1.0 / (testRate * (double) 0.001f * tc.releaseMs)));
    }
}

TEST (PhysicsCompressorTiming, TimesAsSetWithoutSync)
{
    auto c = makeCompressor();
    c->attackMs = 3.0f;
    c->holdMs = 40.0f;
    c->releaseMs = 700.0f;
    c->tempoFactor = 0.5;
    c->updateCoefficients();
    EXPECT_EQ (c->effectiveAttackMs, 3.0f);
    EXPECT_EQ (c->effectiveHoldMs, 40.0f);
    EXPECT_EQ (c->effectiveReleaseMs, 700.0f);
}

struct OffsetCase
{
    const char* name;
    float attackOffset, holdOffset, releaseOffset;
    float attackMs, holdMs, releaseMs;
};

TEST (PhysicsCompressorTiming, OffsetsAreClamped)
{
    // 120 BPM Normal: 31.25 / 125 / 250 before offsets.
    const OffsetCase cases[] = {
        { "release floor 1 ms", 0.0f, 0.0f, -2000.0f, 31.25f, 125.0f, 1.0f },
        { "release ceiling 5 s", 0.0f, 0.0f, 10000.0f, 31.25f, 125.0f, 5000.0f },
        { "hold below 0 switches hold off", 0.0f, -500.0f, 0.0f, 31.25f, 0.0f, 250.0f },
        { "hold ceiling 1 s", 0.0f, 2000.0f, 0.0f, 31.25f, 1000.0f, 250.0f },
        { "attack floor 0.1 ms", -100.0f, 0.0f, 0.0f, 0.1f, 125.0f, 250.0f },
        { "attack has no ceiling", 5000.0f, 0.0f, 0.0f, 5031.25f, 125.0f, 250.0f },
    };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (tc.name);
        auto c = makeCompressor();
        c->bpmSyncEnabled = true;
        c->attackOffsetMs = tc.attackOffset;
        c->holdOffsetMs = tc.holdOffset;
        c->releaseOffsetMs = tc.releaseOffset;
        c->updateCoefficients();
        EXPECT_FLOAT_EQ (c->effectiveAttackMs, tc.attackMs);
        EXPECT_FLOAT_EQ (c->effectiveHoldMs, tc.holdMs);
        EXPECT_FLOAT_EQ (c->effectiveReleaseMs, tc.releaseMs);
    }
}

struct TiltCase
{
    const char* name;
    float timeMs, tilt;
    double bpm;
    float expected;
};

TEST (PhysicsCompressorTiming, TiltMultiplierMovesTowardsNeighbouringNoteValue)
{
    const TiltCase cases[] = {
        { "half beat up to one beat", 250.0f, 100.0f, 120.0, 2.0f },
        { "half beat down to a quarter", 250.0f, -100.0f, 120.0, 0.5f },
        { "longest grid value stays", 2000.0f, 100.0f, 120.0, 1.0f },
        { "shortest grid value stays", 500.0f / 128.0f, -100.0f, 120.0, 1.0f },
        { "no tilt", 250.0f, 0.0f, 120.0, 1.0f },
        { "no time", 0.0f, 50.0f, 120.0, 1.0f },
        // 0.02 beat, nearest 1/64, half way to 1/32: 0.025625 beat
        { "half tilt goes half way", 10.0f, 50.0f, 120.0, 1.28125f },
        // 0.75 beat ties between 1/2 and 1; the lower entry wins
        { "tie picks the shorter value, up", 375.0f, 100.0f, 120.0, 4.0f / 3.0f },
        { "tie picks the shorter value, down", 375.0f, -100.0f, 120.0, 1.0f / 3.0f },
        { "tempo 60: half beat up", 500.0f, 100.0f, 60.0, 2.0f },
        { "tempo below 1 BPM counts as 1", 60000.0f, 100.0f, 0.0, 2.0f },
        { "limited to 10", 0.1f, 100.0f, 1.0, 10.0f },
    };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (tc.name);
        EXPECT_NEAR (PhysicsCompressor::calculateTiltMultiplier (tc.timeMs, tc.tilt, tc.bpm), tc.expected, 1.0e-5f);

        PhysicsCompressor c;
        c.tempoFactor = tc.bpm / 120.0;
        EXPECT_NEAR (c.calculateTiltMultiplierForValue (tc.timeMs, tc.tilt), tc.expected, 1.0e-5f);
    }
}

TEST (PhysicsCompressorTiming, TiltScalesEffectiveTimesAndCoefficients)
{
    auto c = makeCompressor();
    c->attackMs = 250.0f;
    c->releaseMs = 250.0f;
    c->holdMs = 0.0f;
    c->tilt = -100.0f;
    c->updateCoefficients();
    EXPECT_FLOAT_EQ (c->effectiveAttackMs, 125.0f);
    EXPECT_FLOAT_EQ (c->effectiveReleaseMs, 125.0f);
    EXPECT_EQ (c->effectiveHoldMs, 0.0f);
    EXPECT_FLOAT_EQ (c->releaseCoeff, (float) std::exp (-1.0 / (testRate * (double) 0.001f * 125.0)));
}

//==============================================================================
// Sidechain filter.

TEST (PhysicsCompressorSidechain, ButterworthCoefficients)
{
    const struct
    {
        float hz;
        double rate, expectedCutoff;
    } cases[] = { { 300.0f, 44100.0, 300.0 }, { 80.0f, 96000.0, 80.0 }, { 30000.0f, 44100.0, 0.45 * 44100.0 } };

    for (const auto& tc : cases)
    {
        SCOPED_TRACE (tc.hz);
        auto c = makeCompressor (tc.rate);
        c->sidechainHpfHz = tc.hz;
        c->updateSidechainFilter();

        const double k = std::tan (juce::MathConstants<double>::pi * tc.expectedCutoff / tc.rate);
        const double n = 1.0 / (1.0 + std::sqrt (2.0) * k + k * k);
        if (tc.hz == 300.0f)
        {
            EXPECT_NEAR (k, 0.021375, 1.0e-6);
        }

        EXPECT_NEAR (c->scB0, n, 1.0e-6);
        EXPECT_NEAR (c->scB1, -2.0 * n, 2.0e-6);
        EXPECT_NEAR (c->scB2, n, 1.0e-6);
        EXPECT_NEAR (c->scA1, 2.0 * (k * k - 1.0) * n, 2.0e-6);
        EXPECT_NEAR (c->scA2, (1.0 - std::sqrt (2.0) * k + k * k) * n, 1.0e-6);
    }
}

TEST (PhysicsCompressorSidechain, ZeroCutoffBypassesAndKeepsState)
{
    auto c = makeCompressor();
    c->sidechainHpfHz = 300.0f;
    c->updateSidechainFilter();
    const float a1 = c->scA1;
    auto signal = sine (0.5f, 100.0f, 500);
    processInBlocks (*c, signal);
    const float y1 = c->scY1, x1 = c->scX1;

    c->sidechainHpfHz = 0.0f;
    c->updateSidechainFilter();
    EXPECT_EQ (c->scB0, 0.0f);
    EXPECT_EQ (c->scA1, a1);

    float x = 0.25f;
    c->processInternal (&x, 1, false);
    EXPECT_EQ (c->scY1, y1);
    EXPECT_EQ (c->scX1, x1);
    EXPECT_FLOAT_EQ (c->detectorDb, 20.0f * std::log10 (0.25f));
}

TEST (PhysicsCompressorSidechain, HighPassKeepsBassFromTheDetector)
{
    auto reductionFor = [] (float hpfHz)
    {
        auto c = makeCompressor();
        c->ratio = 4.0f;
        c->sidechainHpfHz = hpfHz;
        c->updateSidechainFilter();
        auto bass = sine (0.5f, 40.0f, (int) testRate);
        processInBlocks (*c, bass);
        return c->gainReductionDb;
    };

    EXPECT_LT (reductionFor (0.0f), -8.0f);
    EXPECT_GT (reductionFor (1000.0f), -1.0f);
}

//==============================================================================
// Oversampler set-up.

TEST (PhysicsCompressorOversampler, LatencyMatchesTwoStageHalfBandChain)
{
    for (double rate : { 44100.0, 48000.0 })
    {
        for (int choice : { 1, 2 })
        {
            SCOPED_TRACE (testing::Message() << rate << " Hz, choice " << choice);
            auto c = makeCompressor (rate, 512);
            c->requestOversampling (choice);
            EXPECT_TRUE (c->oversamplingUpdatePending.load());
            EXPECT_EQ (c->oversampler, nullptr);

            c->updateOversamplingIfNeeded();

            juce::dsp::Oversampling<float> reference (1, 2, juce::dsp::Oversampling<float>::filterHalfBandFIREquiripple,
                                                      true, true);
            reference.initProcessing (1024);

            EXPECT_FALSE (c->oversamplingUpdatePending.load());
            EXPECT_EQ (c->oversamplingFactor, choice == 1 ? 4 : 8);
            ASSERT_NE (c->oversampler, nullptr);
            EXPECT_EQ (c->oversampler->getOversamplingFactor(), 4u);
            EXPECT_EQ (c->oversamplingLatency, (int) reference.getLatencyInSamples());
            EXPECT_GT (c->oversamplingLatency, 0);
        }
    }
}

TEST (PhysicsCompressorOversampler, OffDestroysOversampler)
{
    auto c = makeCompressor();
    c->requestOversampling (1);
    c->updateOversamplingIfNeeded();
    ASSERT_NE (c->oversampler, nullptr);

    c->requestOversampling (0);
    c->updateOversamplingIfNeeded();
    EXPECT_EQ (c->oversampler, nullptr);
    EXPECT_EQ (c->oversamplingLatency, 0);
    EXPECT_EQ (c->oversamplingFactor, 1);
}

TEST (PhysicsCompressorOversampler, RepeatedRequestChangesNothing)
{
    // In use 4x, then ask for 4x again.
    auto inUse = makeCompressor();
    inUse->requestOversampling (1);
    inUse->updateOversamplingIfNeeded();
    const auto* built = inUse->oversampler.get();
    inUse->requestOversampling (1);
    EXPECT_FALSE (inUse->oversamplingUpdatePending.load());
    inUse->updateOversamplingIfNeeded();
    EXPECT_EQ (inUse->oversampler.get(), built);

    // 8x pending, asked for again.
    auto pending = makeCompressor();
    pending->requestOversampling (2);
    pending->requestOversampling (2);
    EXPECT_TRUE (pending->oversamplingUpdatePending.load());
    EXPECT_EQ (pending->requestedOversamplingFactor, 8);
    EXPECT_EQ (pending->oversamplingFactor, 1);

    // 4x in use and "Off" pending: going back to 4x replaces the request, so
    // the rebuild ends on what the user chose last.
    auto switching = makeCompressor();
    switching->requestOversampling (1);
    switching->updateOversamplingIfNeeded();
    switching->requestOversampling (0);
    switching->requestOversampling (1);
    EXPECT_EQ (switching->requestedOversamplingFactor, 4);
    switching->updateOversamplingIfNeeded();
    EXPECT_EQ (switching->oversamplingFactor, 4);
    EXPECT_NE (switching->oversampler, nullptr);

    // "Off" on a new compressor is already in use.
    auto fresh = makeCompressor();
    fresh->requestOversampling (0);
    EXPECT_FALSE (fresh->oversamplingUpdatePending.load());
}

TEST (PhysicsCompressorOversampler, HandlesTheLargestHostBlock)
{
    auto c = makeCompressor (48000.0, 4096);
    c->requestOversampling (1);
    c->updateOversamplingIfNeeded();
    ASSERT_NE (c->oversampler, nullptr);

    juce::AudioBuffer<float> buffer (1, 4096);
    for (int i = 0; i < 4096; ++i)
        buffer.setSample (0, i, 0.5f * (float) std::sin (0.05 * i));

    juce::dsp::AudioBlock<float> block (buffer);
    auto up = c->oversampler->processSamplesUp (block);
    EXPECT_EQ (up.getNumSamples(), 4u * 4096u);
    c->processInternal (up.getChannelPointer (0), (int) up.getNumSamples(), true);
    c->oversampler->processSamplesDown (block);
    EXPECT_TRUE (std::isfinite (buffer.getSample (0, 4095)));
}

//==============================================================================
// Creation.

TEST (PhysicsCompressorSetup, PrepareUsesHostRateAndModeMass)
{
    PhysicsCompressor c;
    EXPECT_EQ (c.mass, 1.0f);
    c.prepare (96000.0, 256);
    EXPECT_EQ (c.sampleRate, 96000.0);
    EXPECT_EQ (c.mass, 0.8f);
    EXPECT_EQ (c.maxBlockSize, 256);
    EXPECT_FLOAT_EQ (c.attackCoeff, (float) std::exp (-1.0 / (96000.0 * (double) 0.001f * 10.0)));
    EXPECT_FLOAT_EQ (c.releaseCoeff, (float) std::exp (-1.0 / (96000.0 * (double) 0.001f * 100.0)));
    EXPECT_EQ (c.oversampler, nullptr);
}

//==============================================================================
// Vectorisable logarithm and power.

namespace
{
// Distance in units in the last place of the expected value.
double ulpsBetween (float actual, float expected)
{
    if (actual == expected)
        return 0.0;
    if (! std::isfinite (actual) || ! std::isfinite (expected))
        return std::numeric_limits<double>::infinity();

    const float magnitude = std::abs (expected);
    const float ulp = std::nextafter (magnitude, std::numeric_limits<float>::infinity()) - magnitude;
    return std::abs ((double) actual - (double) expected) / (double) ulp;
}
} // namespace

struct Base2Case
{
    const char* name;
    float (*approximation) (float);
    float (*library) (float);
    float from, to;  // both of the same sign
    double maxUlps;
};

TEST (Base2Math, AgreesWithTheLibraryOverTheRangesInUse)
{
    // Every 127th float: millions of values, reaching every exponent and
    // mantissa region, including the subnormal results of exp2.
    const Base2Case cases[] = {
        { "log2 of detector levels", base2::log2, [] (float x) { return std::log2 (x); }, 1.0e-5f, 3.0e38f, 2.0 },
        { "exp2 of reductions", base2::exp2, [] (float x) { return std::exp2 (x); }, -0.0f, -160.0f, 1.0 },
        { "exp2 of positive powers", base2::exp2, [] (float x) { return std::exp2 (x); }, 0.0f, 130.0f, 1.0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        double worst = 0.0;
        float worstAt = 0.0f;
        const auto last = base2::bitsOf (c.to);

        for (auto bits = base2::bitsOf (c.from); bits <= last; bits += 127)
        {
            const float x = base2::floatOf (bits);
            const double e = ulpsBetween (c.approximation (x), c.library (x));
            if (e > worst)
            {
                worst = e;
                worstAt = x;
            }
        }

        EXPECT_LE (worst, c.maxUlps) << "at " << worstAt;
    }
}

TEST (Base2Math, Exp2SaturatesLikeTheLibrary)
{
    EXPECT_EQ (base2::exp2 (-1000.0f), 0.0f);
    EXPECT_EQ (base2::exp2 (1000.0f), std::numeric_limits<float>::infinity());
    EXPECT_EQ (base2::exp2 (0.0f), 1.0f);
    EXPECT_EQ (base2::exp2 (-149.0f), std::numeric_limits<float>::denorm_min());
}
