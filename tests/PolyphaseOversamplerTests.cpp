#include "AllocationCounter.h"
#include "PhysicsCompressor.h"
#include "PolyphaseOversampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace
{
// Both filters take the same products in the same order for every output
// sample, so they agree to the last bit unless a compiler contracts the
// products into fused multiply-adds differently; this bound (full scale 1)
// leaves room for that and nothing more.
constexpr float equivalenceBound = 1.0e-5f;

// JUCE's own chain with the compressor's two stages: maximum quality puts
// the first at transition widths 0.05/0.06 and -90/-75 dB, the second at
// 0.10/0.12 and -80/-65 dB.
std::unique_ptr<juce::dsp::Oversampling<float>> makeReference (size_t maxBlock)
{
    auto reference = std::make_unique<juce::dsp::Oversampling<float>> (
        1, 2, juce::dsp::Oversampling<float>::filterHalfBandFIREquiripple, true, true);
    reference->initProcessing (maxBlock);
    return reference;
}

std::unique_ptr<PhysicsCompressor> makeOversampledCompressor (double rate, int maxBlock, int choice)
{
    auto c = std::make_unique<PhysicsCompressor>();
    c->prepare (rate, maxBlock);
    c->thresholdDb = -24.0f;
    c->ratio = 6.0f;
    c->attackMs = 1.0f;
    c->releaseMs = 40.0f;
    c->updateCoefficients();
    c->requestOversampling (choice);
    c->updateOversamplingIfNeeded();
    return c;
}

// Noise bursts over two sines, one of them near the top of the band where
// the filters' transition lies, so both pass and stop bands are exercised.
std::vector<float> noiseAndSines (double rate, double seconds)
{
    const int length = (int) (rate * seconds);
    std::vector<float> s ((size_t) length);
    std::mt19937 rng (99);
    std::uniform_real_distribution<float> noise (-1.0f, 1.0f);
    const double twoPi = juce::MathConstants<double>::twoPi;

    for (int i = 0; i < length; ++i)
    {
        const float burst = (i / 4800) % 2 == 0 ? 0.5f * noise (rng) : 0.0f;
        s[(size_t) i] = 0.3f * (float) std::sin (twoPi * 440.0 * i / rate)
                        + 0.2f * (float) std::sin (twoPi * 0.45 * rate * i / rate) + burst;
    }
    return s;
}

struct EquivalenceCase
{
    int choice;
    double rate;
    int maxBlock;
    std::vector<int> blockSizes; // cycled through
};

void PrintTo (const EquivalenceCase& c, std::ostream* os)
{
    *os << (c.choice == 1 ? "4x" : "8x") << " at " << c.rate << " Hz, prepared for " << c.maxBlock << ", blocks";
    for (int size : c.blockSizes)
        *os << ' ' << size;
}

class PolyphaseOversamplerEquivalence : public testing::TestWithParam<EquivalenceCase>
{
};
} // namespace

// The compressor's path with its own oversampler against the same compressor
// run through JUCE's oversampler: raised-rate samples and results agree.
TEST_P (PolyphaseOversamplerEquivalence, MatchesJuceOversampling)
{
    const auto& p = GetParam();
    auto compressor = makeOversampledCompressor (p.rate, p.maxBlock, p.choice);
    auto twin = makeOversampledCompressor (p.rate, p.maxBlock, p.choice);
    ASSERT_TRUE (compressor->isOversamplerReady());

    const int limit = compressor->oversamplerBlockLimit();
    auto reference = makeReference ((size_t) limit);
    EXPECT_EQ (compressor->oversampler->getLatencyInSamples(), reference->getLatencyInSamples());

    auto ours = noiseAndSines (p.rate, 2.0);
    auto theirs = ours;
    float worstRaised = 0.0f, worstOutput = 0.0f;
    size_t nextSize = 0;

    for (int start = 0; start < (int) ours.size();)
    {
        const int n = std::min ({ p.blockSizes[nextSize++ % p.blockSizes.size()], limit, (int) ours.size() - start });
        float* ourChannel[] = { ours.data() + start };
        float* theirChannel[] = { theirs.data() + start };
        juce::dsp::AudioBlock<float> ourBlock (ourChannel, 1, (size_t) n), theirBlock (theirChannel, 1, (size_t) n);

        auto ourRaised = compressor->oversampler->processSamplesUp (ourBlock);
        auto theirRaised = reference->processSamplesUp (theirBlock);
        ASSERT_EQ (ourRaised.getNumSamples(), theirRaised.getNumSamples());

        for (size_t i = 0; i < ourRaised.getNumSamples(); ++i)
            worstRaised = std::max (worstRaised, std::abs (ourRaised.getSample (0, (int) i) - theirRaised.getSample (0, (int) i)));

        compressor->processInternal (ourRaised.getChannelPointer (0), (int) ourRaised.getNumSamples(), true);
        twin->processInternal (theirRaised.getChannelPointer (0), (int) theirRaised.getNumSamples(), true);
        compressor->oversampler->processSamplesDown (ourBlock);
        reference->processSamplesDown (theirBlock);
        start += n;
    }

    for (size_t i = 0; i < ours.size(); ++i)
        worstOutput = std::max (worstOutput, std::abs (ours[i] - theirs[i]));

    EXPECT_LE (worstRaised, equivalenceBound);
    EXPECT_LE (worstOutput, equivalenceBound);
    EXPECT_GT (std::abs (compressor->gainReductionDb), 1.0f); // the compressor really worked
}

INSTANTIATE_TEST_SUITE_P (
    Settings, PolyphaseOversamplerEquivalence,
    testing::Values (EquivalenceCase { 1, 44100.0, 512, { 512 } },
                     EquivalenceCase { 1, 48000.0, 64, { 1 } },
                     EquivalenceCase { 1, 96000.0, 2048, { 2048, 1, 300, 17 } },
                     EquivalenceCase { 2, 44100.0, 256, { 7, 256, 1, 129 } },
                     EquivalenceCase { 2, 48000.0, 1, { 1 } },
                     EquivalenceCase { 2, 192000.0, 4096, { 4096, 999 } }));

TEST (PolyphaseOversampler, ProcessingAllocatesNothing)
{
    auto c = makeOversampledCompressor (48000.0, 512, 1);
    auto signal = noiseAndSines (48000.0, 0.1);

    test::startCountingAllocations();
    for (int start = 0; start + 512 <= (int) signal.size(); start += 512)
    {
        float* channel[] = { signal.data() + start };
        juce::dsp::AudioBlock<float> block (channel, 1, 512);
        auto raised = c->oversampler->processSamplesUp (block);
        c->processInternal (raised.getChannelPointer (0), (int) raised.getNumSamples(), true);
        c->oversampler->processSamplesDown (block);
    }
    EXPECT_EQ (test::stopCountingAllocations(), 0);
}

TEST (PolyphaseOversampler, ResetForgetsThePast)
{
    PolyphaseOversampler o;
    o.addOversamplingStage (0.05f, -90.0f, 0.06f, -75.0f);
    o.initProcessing (64);

    std::vector<float> loud (64, 0.9f), silence (64, 0.0f);
    float* loudChannel[] = { loud.data() };
    juce::dsp::AudioBlock<float> loudBlock (loudChannel, 1, 64);
    o.processSamplesUp (loudBlock);
    o.processSamplesDown (loudBlock);

    o.reset();
    float* silentChannel[] = { silence.data() };
    juce::dsp::AudioBlock<float> silentBlock (silentChannel, 1, 64);
    auto raised = o.processSamplesUp (silentBlock);
    for (size_t i = 0; i < raised.getNumSamples(); ++i)
        ASSERT_EQ (raised.getSample (0, (int) i), 0.0f);
    o.processSamplesDown (silentBlock);
    for (float s : silence)
        ASSERT_EQ (s, 0.0f);
}
