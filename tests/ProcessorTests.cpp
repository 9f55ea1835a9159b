// The processor's audio path and parameter reactions, driven directly.
#include "ParameterTable.h"
#include "ProcessorTestSupport.h"
#include "TarnwellVersion.h"

#include <gtest/gtest.h>

#include <thread>

using test::parameterValue;
using test::render;
using test::setParameter;

namespace
{
std::unique_ptr<TarnwellCompressorAudioProcessor> makePrepared (double sampleRate, int blockSize)
{
    auto p = std::make_unique<TarnwellCompressorAudioProcessor>();
    p->prepareToPlay (sampleRate, blockSize);
    return p;
}

// Processes silent blocks so that pending lookahead and latency changes apply
// (and, given enough blocks, the fade-in of a new instance has passed). Silence
// leaves the compressors' state where it started.
void settle (TarnwellCompressorAudioProcessor& p, int blockSize, int blocks = 1)
{
    juce::AudioBuffer<float> silence (2, blockSize);
    juce::MidiBuffer midi;
    for (int i = 0; i < blocks; ++i)
    {
        silence.clear();
        p.processBlock (silence, midi);
    }
}

// Largest difference between out[i] and gain * in[i - delay] from sample `from` on.
float maxDelayedDifference (const test::Rendered& r, int delay, float gain, int from)
{
    float worst = 0.0f;
    for (int ch = 0; ch < r.input.getNumChannels(); ++ch)
        for (int i = juce::jmax (from, delay); i < r.output.getNumSamples(); ++i)
            worst = juce::jmax (worst, std::abs (r.output.getSample (ch, i) - gain * r.input.getSample (ch, i - delay)));
    return worst;
}

TEST (Processor, AnswersTheHostWithItsFixedValues)
{
    TarnwellCompressorAudioProcessor p;
    EXPECT_EQ (p.getName(), TarnwellVersion::pluginName);
    EXPECT_EQ (p.getNumPrograms(), 1);
    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_TRUE (p.getProgramName (0).isEmpty());
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (p.acceptsMidi());
    EXPECT_EQ (p.getBypassParameter(), p.parameters.getParameter (ParameterIDs::bypass));
    EXPECT_EQ (p.getParameters().size(), 33);
}

TEST (Processor, ParameterIDsNeverChange)
{
    // Host projects and preset files store these strings.
    const char* const stored[] = { "threshold", "ratio", "attack", "release", "hold", "holdBypass", "knee", "range",
                                   "physicsMode", "forceMultiplier", "damping", "releaseMode", "rangeExtreme",
                                   "forceExtreme", "dampingExtreme", "bpmSync", "bpmSyncMode", "noteGrid", "bypass",
                                   "tilt", "makeupGain", "inputGain", "outputGain", "autoGain", "mix", "safety",
                                   "stability", "scHPF", "oversampling", "clampWaveforms", "autoThreshold", "intAuto",
                                   "lookahead" };
    ASSERT_EQ (std::size (stored), std::size (ParameterIDs::all));
    for (size_t i = 0; i < std::size (stored); ++i)
        EXPECT_STREQ (ParameterIDs::all[i], stored[i]);
}

TEST (Processor, LayoutHasTheParameterIDsFlagsAndRangesInOrder)
{
    // What a host cannot see through VST3: string IDs, meta flags, version hints, skews.
    TarnwellCompressorAudioProcessor p;
    const auto& params = p.getParameters();
    ASSERT_EQ (params.size(), (int) std::size (test::expectedParameters));

    for (int i = 0; i < params.size(); ++i)
    {
        const auto& e = test::expectedParameters[i];
        auto* param = dynamic_cast<juce::RangedAudioParameter*> (params[i]);
        ASSERT_NE (param, nullptr);
        SCOPED_TRACE (e.id);
        EXPECT_EQ (param->getParameterID(), e.id);
        EXPECT_EQ (param->isMetaParameter(), e.meta);
        EXPECT_EQ (param->getVersionHint(), e.versionHint);
        EXPECT_FLOAT_EQ (param->getNormalisableRange().interval, e.interval);
        EXPECT_FLOAT_EQ (param->getNormalisableRange().skew, e.skew);
        EXPECT_FLOAT_EQ (param->getValue(), param->getDefaultValue());
    }
}

TEST (Processor, BypassPassesTheInputThroughAndKeepsTheLookaheadDelay)
{
    for (bool lookahead : { false, true })
    {
        SCOPED_TRACE (lookahead ? "lookahead on" : "lookahead off");
        auto p = makePrepared (48000.0, 256);
        setParameter (*p, ParameterIDs::lookahead, lookahead ? 1.0f : 0.0f);
        settle (*p, 256);
        setParameter (*p, ParameterIDs::bypass, 1.0f);

        const auto r = render (*p, 48000.0, 256, 4800);
        const int delay = lookahead ? 960 : 0;
        EXPECT_EQ (maxDelayedDifference (r, delay, 1.0f, 0), 0.0f);
        EXPECT_EQ (r.output.getMagnitude (0, delay), 0.0f) << "the delay starts empty";
    }
}

struct AlignmentCase
{
    double sampleRate;
    bool lookahead;
    int oversampling; // choice index
};

std::string caseName (const ::testing::TestParamInfo<AlignmentCase>& info)
{
    const auto& c = info.param;
    return std::to_string ((int) c.sampleRate) + (c.lookahead ? "_Lookahead" : "") + "_Oversampling"
           + std::to_string (c.oversampling);
}

class DryAlignment : public ::testing::TestWithParam<AlignmentCase> {};

// With the mix at 0 % the output is the input, delayed by exactly the latency
// the host is told, times input and output gain.
TEST_P (DryAlignment, MixZeroIsTheInputDelayedByTheReportedLatency)
{
    const auto c = GetParam();
    const int blockSize = 512;
    auto p = makePrepared (c.sampleRate, blockSize);
    setParameter (*p, ParameterIDs::mix, 0.0f);
    setParameter (*p, ParameterIDs::inputGain, 6.0f);
    setParameter (*p, ParameterIDs::outputGain, -3.0f);
    setParameter (*p, ParameterIDs::lookahead, c.lookahead ? 1.0f : 0.0f);
    setParameter (*p, ParameterIDs::oversampling, (float) c.oversampling);
    settle (*p, blockSize);

    const int oversamplingLatency = c.oversampling != 0 ? p->compressors[0]->oversamplingLatency : 0;
    const int lookahead = c.lookahead ? (int) (0.02 * c.sampleRate) : 0;
    ASSERT_EQ (p->getLatencySamples(), oversamplingLatency + lookahead);
    if (c.oversampling != 0)
    {
        EXPECT_GT (oversamplingLatency, 0);
    }

    const auto r = render (*p, c.sampleRate, blockSize, (int) c.sampleRate / 2);
    const float gain = juce::Decibels::decibelsToGain (6.0f) * juce::Decibels::decibelsToGain (-3.0f);
    // Skip the gain ramps that fade in a new instance.
    EXPECT_LT (maxDelayedDifference (r, p->getLatencySamples(), gain, (int) (0.05 * c.sampleRate)), 1.0e-6f);
}

INSTANTIATE_TEST_SUITE_P (LookaheadAndOversampling, DryAlignment,
                          ::testing::Values (AlignmentCase { 44100.0, false, 0 }, AlignmentCase { 44100.0, true, 0 },
                                             AlignmentCase { 44100.0, false, 1 }, AlignmentCase { 44100.0, true, 2 },
                                             AlignmentCase { 48000.0, true, 0 }, AlignmentCase { 48000.0, false, 2 },
                                             AlignmentCase { 48000.0, true, 1 }),
                          caseName);

TEST (Processor, LookaheadReportsTwentyMilliseconds)
{
    for (auto [rate, expected] : { std::pair { 48000.0, 960 }, std::pair { 44100.0, 882 } })
    {
        auto p = makePrepared (rate, 512);
        settle (*p, 512);
        EXPECT_EQ (p->getLatencySamples(), 0);

        setParameter (*p, ParameterIDs::lookahead, 1.0f);
        settle (*p, 512);
        EXPECT_EQ (p->getLatencySamples(), expected);

        setParameter (*p, ParameterIDs::lookahead, 0.0f);
        settle (*p, 512);
        EXPECT_EQ (p->getLatencySamples(), 0);
    }
}

TEST (Processor, LookaheadSwitchedOnAndOffBeforeABlockLeavesNothingPending)
{
    auto p = makePrepared (48000.0, 512);
    setParameter (*p, ParameterIDs::lookahead, 1.0f);
    EXPECT_TRUE (p->lookaheadChangePending.load());
    setParameter (*p, ParameterIDs::lookahead, 0.0f);
    EXPECT_FALSE (p->lookaheadChangePending.load());
}

TEST (Processor, MixFullIsTheCompressedSignalTimesMakeupAndOutputGain)
{
    const double rate = 48000.0;
    auto p = makePrepared (rate, 512);
    setParameter (*p, ParameterIDs::makeupGain, 4.0f);
    setParameter (*p, ParameterIDs::outputGain, -2.0f);
    settle (*p, 512, 4);

    // The same compressor on its own, with the parameters' default settings.
    PhysicsCompressor reference;
    reference.prepare (rate, 512);
    reference.rangeDb = 6.0f;
    reference.updateCoefficients();

    const int total = 24000;
    const auto r = render (*p, rate, 512, total);
    juce::AudioBuffer<float> expected;
    expected.makeCopyOf (r.input);
    reference.processInternal (expected.getWritePointer (0), total, false);

    const float gain = juce::Decibels::decibelsToGain (4.0f) * juce::Decibels::decibelsToGain (-2.0f);
    float worst = 0.0f;
    for (int i = 0; i < total; ++i)
        worst = juce::jmax (worst, std::abs (r.output.getSample (0, i) - gain * expected.getSample (0, i)));
    EXPECT_LT (worst, 1.0e-6f);

    // And the compressor really did something.
    EXPECT_LT (r.output.getMagnitude (0, 2400, total - 2400), 0.9f * gain * r.input.getMagnitude (0, 2400, total - 2400));
}

TEST (Processor, ChoosingOversamplingChangesLatencyAndOutputAndOffRestoresBoth)
{
    const double rate = 48000.0;
    auto reference = makePrepared (rate, 512);
    const auto plain = render (*reference, rate, 512, 9600);

    auto p = makePrepared (rate, 512);
    for (int choice : { 1, 2 })
    {
        setParameter (*p, ParameterIDs::oversampling, (float) choice);
        EXPECT_FALSE (p->compressors[0]->oversamplingUpdatePending.load()) << "rebuilt at once on the message thread";
        settle (*p, 512);
        EXPECT_GT (p->getLatencySamples(), 0);
        EXPECT_EQ (p->getLatencySamples(), p->compressors[0]->oversamplingLatency);
    }

    const auto oversampled = render (*p, rate, 512, 9600);
    float difference = 0.0f;
    for (int i = 0; i < 9600; ++i)
        difference = juce::jmax (difference, std::abs (oversampled.output.getSample (0, i) - plain.output.getSample (0, i)));
    EXPECT_GT (difference, 1.0e-3f);

    setParameter (*p, ParameterIDs::oversampling, 0.0f);
    settle (*p, 512);
    EXPECT_EQ (p->getLatencySamples(), 0);
    EXPECT_EQ (p->compressors[0]->oversampler, nullptr);
}

TEST (Processor, OversamplingRequestedOffTheMessageThreadWaitsForTheMessageThread)
{
    auto p = makePrepared (48000.0, 512);
    std::thread automation ([&] { setParameter (*p, ParameterIDs::oversampling, 1.0f); });
    automation.join();

    // Until the message thread rebuilds it, blocks run without the oversampler.
    EXPECT_TRUE (p->compressors[0]->oversamplingUpdatePending.load());
    settle (*p, 512);
    EXPECT_EQ (p->getLatencySamples(), 0);

    p->timerCallback(); // the message thread's next tick
    EXPECT_FALSE (p->compressors[0]->oversamplingUpdatePending.load());
    settle (*p, 512);
    EXPECT_EQ (p->getLatencySamples(), p->compressors[0]->oversamplingLatency);
    EXPECT_GT (p->getLatencySamples(), 0);
}

TEST (Processor, ABlockRunsEveryChannelThroughItsOversamplerOrNone)
{
    // A rebuild on the message thread goes compressor by compressor, and gives
    // up at its deadline: a block may find one oversampler built and the other pending.
    const double rate = 48000.0;
    auto reference = makePrepared (rate, 512);
    auto p = makePrepared (rate, 512);
    p->compressors[0]->requestOversampling (1);
    p->compressors[0]->updateOversamplingIfNeeded();
    p->compressors[1]->requestOversampling (1);

    const auto plain = render (*reference, rate, 512, 4800);
    const auto split = render (*p, rate, 512, 4800);
    EXPECT_EQ (p->getLatencySamples(), 0);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 4800; ++i)
            ASSERT_EQ (split.output.getSample (ch, i), plain.output.getSample (ch, i)) << ch << ":" << i;

    p->timerCallback(); // the next tick builds the other one
    settle (*p, 512);
    EXPECT_EQ (p->getLatencySamples(), p->compressors[1]->oversamplingLatency);
    EXPECT_GT (p->getLatencySamples(), 0);
}

TEST (Processor, BlocksThatCannotBeProcessedComeOutSilent)
{
    juce::MidiBuffer midi;
    auto p = makePrepared (48000.0, 512);

    juce::AudioBuffer<float> threeChannels (3, 512);
    test::fillTestSignal (threeChannels, 48000.0, 0);
    p->processBlock (threeChannels, midi);
    EXPECT_EQ (threeChannels.getMagnitude (0, 512), 0.0f);

    p->releaseResources();
    juce::AudioBuffer<float> stereo (2, 512);
    test::fillTestSignal (stereo, 48000.0, 0);
    p->processBlock (stereo, midi);
    EXPECT_EQ (stereo.getMagnitude (0, 512), 0.0f);
}

TEST (Processor, ABlockLongerThanAnnouncedIsProcessedFullyWet)
{
    const double rate = 48000.0;
    auto wet = makePrepared (rate, 256);
    auto half = makePrepared (rate, 256);
    setParameter (*half, ParameterIDs::mix, 50.0f);

    const auto a = render (*wet, rate, 1024, 4096);
    const auto b = render (*half, rate, 1024, 4096);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 4096; ++i)
            ASSERT_EQ (a.output.getSample (ch, i), b.output.getSample (ch, i)) << "sample " << i;
}

TEST (Processor, NonFiniteSamplesLeaveAsZeroAndTheSoundRecovers)
{
    const double rate = 48000.0;
    for (int oversampling : { 0, 1 })
    {
        SCOPED_TRACE (oversampling ? "oversampled" : "plain");
        auto clean = makePrepared (rate, 512);
        auto hit = makePrepared (rate, 512);
        for (auto* p : { clean.get(), hit.get() })
        {
            setParameter (*p, ParameterIDs::mix, 50.0f);
            setParameter (*p, ParameterIDs::oversampling, (float) oversampling);
        }

        const int total = 48000;
        juce::AudioBuffer<float> input (2, total), output (2, total);
        test::fillTestSignal (input, rate, 0);
        juce::AudioBuffer<float> poisoned;
        poisoned.makeCopyOf (input);
        poisoned.setSample (0, 1000, std::numeric_limits<float>::quiet_NaN());
        poisoned.setSample (1, 1500, std::numeric_limits<float>::infinity());

        juce::MidiBuffer midi;
        for (int start = 0; start < total; start += 512)
        {
            const int n = juce::jmin (512, total - start);
            juce::AudioBuffer<float> a (input.getArrayOfWritePointers(), 2, start, n);
            juce::AudioBuffer<float> b (poisoned.getArrayOfWritePointers(), 2, start, n);
            clean->processBlock (a, midi);
            hit->processBlock (b, midi);
        }

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < total; ++i)
                ASSERT_TRUE (std::isfinite (poisoned.getSample (ch, i))) << ch << ":" << i;

        // Half a second later the two instances sound the same again.
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 24000; i < total; ++i)
                ASSERT_NEAR (poisoned.getSample (ch, i), input.getSample (ch, i), 1.0e-3f) << ch << ":" << i;
    }
}

TEST (Processor, OutputIsLimitedToPlusTwentyDecibels)
{
    auto p = makePrepared (48000.0, 512);
    setParameter (*p, ParameterIDs::mix, 0.0f);
    setParameter (*p, ParameterIDs::inputGain, 20.0f);
    setParameter (*p, ParameterIDs::outputGain, 20.0f);

    juce::AudioBuffer<float> loud (2, 512);
    juce::MidiBuffer midi;
    for (int block = 0; block < 8; ++block)
    {
        for (int ch = 0; ch < 2; ++ch)
            juce::FloatVectorOperations::fill (loud.getWritePointer (ch), 1.0f, 512);
        p->processBlock (loud, midi);
    }
    EXPECT_EQ (loud.getSample (0, 511), 10.0f);
}

TEST (Processor, InputGainRampsLinearlyOverTwentyMilliseconds)
{
    const double rate = 44100.0;
    const int ramp = 882;
    auto p = makePrepared (rate, 64);
    setParameter (*p, ParameterIDs::mix, 0.0f);

    juce::MidiBuffer midi;
    auto runDc = [&] (int samples)
    {
        std::vector<float> out;
        juce::AudioBuffer<float> block (2, 64);
        for (int done = 0; done < samples; done += 64)
        {
            for (int ch = 0; ch < 2; ++ch)
                juce::FloatVectorOperations::fill (block.getWritePointer (ch), 0.5f, 64);
            p->processBlock (block, midi);
            out.insert (out.end(), block.getReadPointer (0), block.getReadPointer (0) + 64);
        }
        return out;
    };

    runDc (64 * 30); // the fade-in of a new instance
    const float target = 0.5f * juce::Decibels::decibelsToGain (6.0f);
    setParameter (*p, ParameterIDs::inputGain, 6.0f);
    auto out = runDc (448);

    // Linear from 0.5 towards the target, one step per sample.
    const float step = (target - 0.5f) / ramp;
    EXPECT_NEAR (out[0], 0.5f + step, 1.0e-5f);
    EXPECT_NEAR (out[447], 0.5f + 448 * step, 1.0e-4f);

    // A second change restarts the ramp from where the first one got to.
    const float reached = out[447];
    setParameter (*p, ParameterIDs::inputGain, 0.0f);
    out = runDc (64 * 30);
    const float back = (0.5f - reached) / ramp;
    EXPECT_NEAR (out[ramp / 2 - 1], reached + (ramp / 2) * back, 1.0e-4f);
    EXPECT_GT (out[ramp - 2], 0.5f + 1.0e-6f);
    EXPECT_NEAR (out[ramp - 1], 0.5f, 1.0e-5f);
    EXPECT_FLOAT_EQ (out[ramp + 100], 0.5f);
}

TEST (Processor, RegisteredParametersReachTheCompressorsAndOthersWaitForARefresh)
{
    auto p = makePrepared (48000.0, 512);
    auto& c = *p->compressors[1];

    setParameter (*p, ParameterIDs::ratio, 8.0f);
    EXPECT_FLOAT_EQ (c.ratio, 8.0f);

    setParameter (*p, ParameterIDs::releaseMode, 1.0f);
    setParameter (*p, ParameterIDs::forceExtreme, 1.0f);
    EXPECT_EQ (c.releaseMode, 0);
    EXPECT_FALSE (c.forceExtreme);

    setParameter (*p, ParameterIDs::knee, 4.0f);
    EXPECT_EQ (c.releaseMode, 1);
    EXPECT_TRUE (c.forceExtreme);
    EXPECT_FLOAT_EQ (c.kneeDb, 4.0f);
}

TEST (Processor, CompressorsNeverReceiveMoreForceOrDampingThanTheyHandle)
{
    const struct { const char* id; float value; float PhysicsCompressor::*field; float expected; } cases[] = {
        { ParameterIDs::forceMultiplier, 150.0f, &PhysicsCompressor::forceMultiplier, 100.0f },
        { ParameterIDs::forceMultiplier, 0.05f, &PhysicsCompressor::forceMultiplier, 0.05f },
        { ParameterIDs::damping, 15000.0f, &PhysicsCompressor::damping, 10000.0f },
        { ParameterIDs::damping, 20.0f, &PhysicsCompressor::damping, 20.0f },
    };

    auto p = makePrepared (48000.0, 512);
    for (const auto& c : cases)
    {
        setParameter (*p, c.id, c.value);
        EXPECT_NEAR ((*p->compressors[0]).*(c.field), c.expected, 1.0e-3f) << c.id << " " << c.value;
    }
}

TEST (Processor, ChangingThePhysicsModeRestartsTheMass)
{
    auto p = makePrepared (48000.0, 512);
    render (*p, 48000.0, 512, 4800);
    auto& c = *p->compressors[0];
    ASSERT_LT (c.position, -0.1f);

    setParameter (*p, ParameterIDs::threshold, -21.0f); // same mode: state kept
    EXPECT_LT (c.position, -0.1f);

    setParameter (*p, ParameterIDs::physicsMode, 3.0f);
    EXPECT_EQ (c.position, 0.0f);
    EXPECT_EQ (c.velocity, 0.0f);
    EXPECT_FLOAT_EQ (c.mass, 2.0f);
}

TEST (Processor, HoldBelowTheGridOrBypassedActsAsNone)
{
    const struct { float hold; bool noteGrid; bool holdBypass; float expected; } cases[] = {
        { 0.05f, true, false, 0.0f },
        { 0.05f, false, false, 0.05f },
        { 50.0f, true, false, 50.0f },
        { 50.0f, true, true, 0.0f },
    };

    for (const auto& c : cases)
    {
        auto p = makePrepared (48000.0, 512);
        setParameter (*p, ParameterIDs::noteGrid, c.noteGrid ? 1.0f : 0.0f);
        setParameter (*p, ParameterIDs::holdBypass, c.holdBypass ? 1.0f : 0.0f);
        setParameter (*p, ParameterIDs::hold, c.hold);
        EXPECT_NEAR (p->compressors[0]->holdMs, c.expected, 1.0e-3f) << c.hold << " " << c.noteGrid << " " << c.holdBypass;
    }
}

TEST (Processor, TiltMovesTheTimeParametersAlongTheNoteGridAndBack)
{
    auto p = makePrepared (48000.0, 512);
    ASSERT_FLOAT_EQ (parameterValue (*p, ParameterIDs::attack), 10.0f);

    // 10 ms at 120 BPM is 0.02 beat, nearest 1/64: half way to 1/32 beat.
    setParameter (*p, ParameterIDs::tilt, 50.0f);
    EXPECT_NEAR (parameterValue (*p, ParameterIDs::attack), 12.81f, 0.006f);
    EXPECT_NEAR (p->compressors[0]->attackMs, 12.81f, 0.006f);
    EXPECT_NEAR (p->baseAttackMs, 10.0f, 1.0e-4f) << "the untilted time is kept";

    setParameter (*p, ParameterIDs::tilt, 0.0f);
    EXPECT_NEAR (parameterValue (*p, ParameterIDs::attack), 10.0f, 0.005f);
    EXPECT_NEAR (parameterValue (*p, ParameterIDs::release), 100.0f, 0.005f);
}

TEST (Processor, WithTempoSyncTheKnobSetsAnOffsetFromTheTempoTime)
{
    auto p = makePrepared (48000.0, 512);
    setParameter (*p, ParameterIDs::bpmSync, 1.0f);
    setParameter (*p, ParameterIDs::bpmSyncMode, 1.0f);
    setParameter (*p, ParameterIDs::bpmSyncMode, 0.0f); // writes the tempo-derived times at 120 BPM
    EXPECT_NEAR (parameterValue (*p, ParameterIDs::attack), 31.25f, 0.01f);
    EXPECT_NEAR (parameterValue (*p, ParameterIDs::release), 250.0f, 0.01f);

    setParameter (*p, ParameterIDs::attack, 40.0f);
    EXPECT_NEAR (p->bpmSyncAttackOffset, 8.75f, 0.01f);
    EXPECT_NEAR (p->compressors[0]->effectiveAttackMs, 40.0f, 0.01f);
}
} // namespace
