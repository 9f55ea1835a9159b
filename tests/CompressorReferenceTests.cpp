// The optimised compressor against the plain per-sample algorithm, over a
// table of settings that covers its distinct paths, in several block sizes.
#include "PhysicsCompressor.h"
#include "ReferenceCompressor.h"
#include "ReferenceSignal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int maxBlockSize = 512;
constexpr int signalLength = (int) (3 * sampleRate);
constexpr int blockSizes[] = { 1, 37, 64, 512 };

struct Tolerance
{
    float outputRelative; // |produced - expected| / |expected| per output sample
    float reductionDb;    // gainReductionDb after each block
};

// Both sides compute the same float recursions, one with library log10 and
// pow, the other with its own log2/exp2 approximations (within 2 ulp) and
// regrouped products. The envelope, the mass and the gain smoother all pull
// towards their target, so these rounding differences stay bounded; they
// settle at a few ulps of the dB values carried over a glide. Measured worst
// over the table: 5e-5 relative and 1e-3 dB (the hold stage, whose timer and
// restart compare against limits); bound at twice that.
constexpr Tolerance roundingTolerance { 2.0e-4f, 2.0e-3f };

// A strong force makes the mass stage stiff, and its float recursion drifts
// from its exact-arithmetic value by up to about 0.02 dB over a glide: the
// plain algorithm run in double precision moves by as much. Measured worst:
// 3.8e-4 relative and 0.026 dB; bound at about two and a half times that.
constexpr Tolerance strongForceTolerance { 1.0e-3f, 0.06f };

// Every case must really compress, or agreeing would prove little.
constexpr float minimumDeepestReductionDb = -3.0f;

struct CompressorCase
{
    const char* name;
    void (*configure) (PhysicsCompressor&);
    int oversamplingFactor; // 1: the control part runs on every sample
    Tolerance tolerance = roundingTolerance;
};

// The settings every case starts from: compression well inside the signal's
// range, so that all stages have work to do.
void applyCommonSettings (PhysicsCompressor& c)
{
    c.thresholdDb = -24.0f;
    c.ratio = 4.0f;
    c.kneeDb = 6.0f;
    c.rangeDb = 40.0f;
    c.attackMs = 5.0f;
    c.releaseMs = 80.0f;
}

const CompressorCase cases[] = {
    { "Standard", [] (PhysicsCompressor& c) { c.setPhysicsMode (0); }, 1 },
    { "Light", [] (PhysicsCompressor& c) { c.setPhysicsMode (1); }, 1 },
    { "Medium", [] (PhysicsCompressor& c) { c.setPhysicsMode (2); }, 1 },
    { "Heavy", [] (PhysicsCompressor& c) { c.setPhysicsMode (3); }, 1 },
    { "LightAir",
      [] (PhysicsCompressor& c) { c.setPhysicsMode (1); c.releaseMode = 1; c.forceMultiplier = 3.0f; }, 1 },
    { "HeavyAirDamped",
      [] (PhysicsCompressor& c) { c.setPhysicsMode (3); c.releaseMode = 1; c.damping = 50.0f; }, 1 },
    { "HardKneeWithSafety", [] (PhysicsCompressor& c) { c.kneeDb = 0.0f; c.safety = 50.0f; }, 1 },
    { "Hold", [] (PhysicsCompressor& c) { c.holdMs = 60.0f; c.releaseMs = 200.0f; }, 1 },
    { "HoldLongerThanRelease", [] (PhysicsCompressor& c) { c.holdMs = 300.0f; c.releaseMs = 40.0f; }, 1 },
    { "Stability", [] (PhysicsCompressor& c) { c.stability = 60.0f; }, 1 },
    { "Safety", [] (PhysicsCompressor& c) { c.safety = 80.0f; }, 1 },
    { "SafetyHeavyForce",
      [] (PhysicsCompressor& c) { c.setPhysicsMode (3); c.forceMultiplier = 4.0f; c.safety = 100.0f; }, 1,
      strongForceTolerance },
    { "SidechainHighPass", [] (PhysicsCompressor& c) { c.sidechainHpfHz = 300.0f; }, 1 },
    { "Damping50", [] (PhysicsCompressor& c) { c.damping = 50.0f; }, 1 },
    { "Damping500", [] (PhysicsCompressor& c) { c.damping = 500.0f; }, 1 },
    { "Damping5000", [] (PhysicsCompressor& c) { c.damping = 5000.0f; }, 1 },
    { "Damping500Extreme", [] (PhysicsCompressor& c) { c.damping = 500.0f; c.dampingExtreme = true; }, 1 },
    { "Damping5000Extreme", [] (PhysicsCompressor& c) { c.damping = 5000.0f; c.dampingExtreme = true; }, 1 },
    { "WeakForce", [] (PhysicsCompressor& c) { c.forceMultiplier = 0.3f; }, 1 },
    { "StrongForce", [] (PhysicsCompressor& c) { c.forceMultiplier = 8.0f; }, 1, strongForceTolerance },
    { "ForceExtreme", [] (PhysicsCompressor& c) { c.forceMultiplier = 12.0f; c.forceExtreme = true; }, 1,
      strongForceTolerance },
    { "HeavyForceExtreme",
      [] (PhysicsCompressor& c) { c.setPhysicsMode (3); c.forceMultiplier = 150.0f; c.forceExtreme = true; }, 1,
      strongForceTolerance },
    { "RangeExtreme",
      [] (PhysicsCompressor& c) { c.rangeExtreme = true; c.rangeDb = 60.0f; c.ratio = 20.0f; }, 1 },
    { "HighRatio",
      [] (PhysicsCompressor& c) { c.ratio = 50.0f; c.rangeDb = 20.0f; c.kneeDb = 2.0f; }, 1 },
    { "Oversampled4", [] (PhysicsCompressor& c) { c.setPhysicsMode (3); }, 4 },
    { "Oversampled8", [] (PhysicsCompressor& c) { c.holdMs = 30.0f; c.sidechainHpfHz = 150.0f; }, 8 },
};

std::unique_ptr<PhysicsCompressor> makeCompressor (const CompressorCase& tc)
{
    auto c = std::make_unique<PhysicsCompressor>();
    c->prepare (sampleRate, maxBlockSize);
    applyCommonSettings (*c);
    tc.configure (*c);
    c->updateCoefficients();
    c->updateSidechainFilter();
    // Only the control step depends on the factor; no oversampler is needed.
    c->oversamplingFactor = tc.oversamplingFactor;
    return c;
}

// One channel: the compressor under test, a reference that starts from the
// same settings and state, what each made of the signal and how far apart.
struct Channel
{
    Channel (const CompressorCase& tc, const std::vector<float>& signal)
        : compressor (makeCompressor (tc)), reference (*compressor), produced (signal), expected (signal)
    {
    }

    // After the compressor under test has processed this block.
    void finishBlock (int start, int numSamples, bool oversampled)
    {
        reference.process (expected.data() + start, numSamples, oversampled);
        const float difference = std::abs (compressor->gainReductionDb - reference.gainReductionDb());
        worstReductionDb = std::max (worstReductionDb, difference);
        deepestReductionDb = std::min (deepestReductionDb, reference.gainReductionDb());
    }

    float worstOutputRelative() const
    {
        float worst = 0.0f;
        for (size_t i = 0; i < expected.size(); ++i)
        {
            // Both are the same input times a gain: zero exactly when the input is.
            const float difference = std::abs (produced[i] - expected[i]);
            const float relative = expected[i] != 0.0f ? difference / std::abs (expected[i])
                                   : difference == 0.0f ? 0.0f
                                                        : std::numeric_limits<float>::infinity();
            worst = std::max (worst, relative);
        }
        return worst;
    }

    void expectWithin (const Tolerance& tolerance) const
    {
        EXPECT_LT (deepestReductionDb, minimumDeepestReductionDb) << "the signal must drive the compressor";
        EXPECT_LE (worstOutputRelative(), tolerance.outputRelative);
        EXPECT_LE (worstReductionDb, tolerance.reductionDb);
    }

    std::unique_ptr<PhysicsCompressor> compressor;
    ReferenceCompressor reference;
    std::vector<float> produced, expected;
    float worstReductionDb = 0.0f;
    float deepestReductionDb = 0.0f;
};

std::string caseName (const ::testing::TestParamInfo<CompressorCase>& info)
{
    return info.param.name;
}

class CompressorReference : public ::testing::TestWithParam<CompressorCase>
{
};

TEST_P (CompressorReference, MatchesThePlainAlgorithmInEveryBlockSize)
{
    const auto& tc = GetParam();
    const bool oversampled = tc.oversamplingFactor > 1;
    const auto input = test::referenceSignal (sampleRate, signalLength);

    for (int blockSize : blockSizes)
    {
        SCOPED_TRACE ("block size " + std::to_string (blockSize));
        Channel channel (tc, input);

        for (int start = 0; start < signalLength; start += blockSize)
        {
            const int n = std::min (blockSize, signalLength - start);
            channel.compressor->processInternal (channel.produced.data() + start, n, oversampled);
            channel.finishBlock (start, n, oversampled);
        }

        channel.expectWithin (tc.tolerance);
    }
}

TEST_P (CompressorReference, PairGivesEachChannelItsOwnResult)
{
    const auto& tc = GetParam();
    const bool oversampled = tc.oversamplingFactor > 1;
    constexpr double secondDelaySeconds = 0.0123;
    constexpr float secondScale = 0.6f;

    for (int blockSize : blockSizes)
    {
        SCOPED_TRACE ("block size " + std::to_string (blockSize));
        Channel first (tc, test::referenceSignal (sampleRate, signalLength));
        Channel second (tc, test::referenceSignal (sampleRate, signalLength, secondDelaySeconds, secondScale));

        for (int start = 0; start < signalLength; start += blockSize)
        {
            const int n = std::min (blockSize, signalLength - start);
            PhysicsCompressor::processPair (*first.compressor, *second.compressor, first.produced.data() + start,
                                            second.produced.data() + start, n, oversampled);
            first.finishBlock (start, n, oversampled);
            second.finishBlock (start, n, oversampled);
        }

        {
            SCOPED_TRACE ("first channel");
            first.expectWithin (tc.tolerance);
        }
        {
            SCOPED_TRACE ("second channel");
            second.expectWithin (tc.tolerance);
        }
    }
}

INSTANTIATE_TEST_SUITE_P (Settings, CompressorReference, ::testing::ValuesIn (cases), caseName);
} // namespace
