// The processor's block processing against the same steps written out one
// sample at a time: input gain ramp, lookahead delay, the plain compressor per
// channel, make-up ramp, the dry path delayed by the latency and mixed in,
// output gain ramp and the output guard.
#include "ProcessorTestSupport.h"
#include "ReferenceCompressor.h"
#include "ReferenceSignal.h"

#include <gtest/gtest.h>

#include <deque>
#include <limits>
#include <string>

using test::parameterValue;
using test::setParameter;

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int maxBlockSize = 512;
constexpr int signalLength = (int) (2 * sampleRate);
constexpr int gainChangeSample = (int) sampleRate; // the gains of a case may change here
constexpr int blockSizes[] = { 1, 64, 512 };

constexpr double gainRampSeconds = 0.02;
constexpr double lookaheadSeconds = 0.02;
constexpr float silenceDb = -100.0f;
constexpr float outputLimit = 10.0f;

// The compressors run at their default force, where their float rounding
// stays within a few ulps (see the compressor comparison); the gain, mix and
// delay steps add a few roundings more. Measured worst: 1.5e-5 relative and
// 3e-5 dB; the bounds are the compressor comparison's.
constexpr float outputRelativeBound = 2.0e-4f;
constexpr float reductionBoundDb = 2.0e-3f;

// Every case must really compress, or agreeing would prove little.
constexpr float minimumDeepestReductionDb = -3.0f;

float gainFromDb (float db)
{
    return db <= silenceDb ? 0.0f : std::pow (10.0f, db / 20.0f);
}

// A whole-sample delay, as every delay of the processor is.
class PlainDelay
{
public:
    explicit PlainDelay (int delaySamples) : line ((size_t) delaySamples, 0.0f) {}

    float push (float x)
    {
        line.push_back (x);
        const float out = line.front();
        line.pop_front();
        return out;
    }

private:
    std::deque<float> line;
};

// What one block is processed with.
struct BlockSettings
{
    float inputGain, outputGain, makeupGain, mix;
};

// The processor's block steps for a stereo buffer, one sample at a time.
class ReferenceProcessor
{
public:
    // Takes the compressors' settings and state from a prepared processor
    // that has not processed anything yet.
    ReferenceProcessor (const TarnwellCompressorAudioProcessor& prepared, bool lookahead)
        : lookaheadActive (lookahead)
    {
        const int latency = lookahead ? (int) (lookaheadSeconds * sampleRate) : 0;

        for (const auto& compressor : prepared.compressors)
        {
            compressors.emplace_back (*compressor);
            lookaheadDelays.emplace_back (latency);
            dryDelays.emplace_back (latency);
        }

        // A new processor fades in: its smoothers start at 0.
        for (auto* smoother : { &inputGain, &makeupGain, &outputGain })
            smoother->reset (sampleRate, gainRampSeconds);
    }

    void processBlock (juce::AudioBuffer<float>& buffer, const BlockSettings& block)
    {
        inputGain.setTargetValue (block.inputGain);
        makeupGain.setTargetValue (block.makeupGain);
        outputGain.setTargetValue (block.outputGain);
        const bool dryMixed = block.mix < 1.0f;

        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const float in = inputGain.getNextValue(), makeup = makeupGain.getNextValue(), out = outputGain.getNextValue();

            for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            {
                float x = buffer.getSample (ch, i) * in;
                const float dry = dryMixed ? dryDelays[(size_t) ch].push (x) : 0.0f;

                if (lookaheadActive)
                    x = lookaheadDelays[(size_t) ch].push (x);

                float y = compressors[(size_t) ch].processSample (x, true) * makeup;
                if (dryMixed)
                    y = dry * (1.0f - block.mix) + y * block.mix;

                y *= out;
                buffer.setSample (ch, i, std::isfinite (y) ? juce::jlimit (-outputLimit, outputLimit, y) : 0.0f);
            }
        }
    }

    float gainReductionDb (int channel) const { return compressors[(size_t) channel].gainReductionDb(); }

private:
    bool lookaheadActive;
    std::vector<ReferenceCompressor> compressors;
    std::vector<PlainDelay> lookaheadDelays, dryDelays;
    juce::SmoothedValue<float> inputGain { 0.0f }, makeupGain { 0.0f }, outputGain { 0.0f };
};

struct ProcessorCase
{
    const char* name;
    float mixPercent;
    bool lookahead;
    float makeupDb;
    float inputGainDb, outputGainDb;           // from the start
    float laterInputGainDb, laterOutputGainDb; // from gainChangeSample on
};

const ProcessorCase cases[] = {
    { "Defaults", 100.0f, false, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f },
    { "HalfMix", 50.0f, false, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f },
    { "AllDry", 0.0f, false, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f },
    { "LookaheadWithDryMix", 70.0f, true, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f },
    { "GainsChangeMidway", 100.0f, false, 0.0f, 0.0f, -3.0f, 6.0f, 2.0f },
    { "FixedMakeup", 100.0f, false, 4.5f, 0.0f, 0.0f, 0.0f, 0.0f },
};

void setGains (TarnwellCompressorAudioProcessor& p, float inputGainDb, float outputGainDb)
{
    setParameter (p, ParameterIDs::inputGain, inputGainDb);
    setParameter (p, ParameterIDs::outputGain, outputGainDb);
}

// The values the processor reads for this block.
BlockSettings settingsInUse (TarnwellCompressorAudioProcessor& p)
{
    return { gainFromDb (parameterValue (p, ParameterIDs::inputGain)),
             gainFromDb (parameterValue (p, ParameterIDs::outputGain)),
             gainFromDb (parameterValue (p, ParameterIDs::makeupGain)), parameterValue (p, ParameterIDs::mix) / 100.0f };
}

juce::AudioBuffer<float> stereoSignal()
{
    const auto first = test::referenceSignal (sampleRate, signalLength);
    const auto second = test::referenceSignal (sampleRate, signalLength, 0.0123, 0.6f);
    juce::AudioBuffer<float> buffer (2, signalLength);
    buffer.copyFrom (0, 0, first.data(), signalLength);
    buffer.copyFrom (1, 0, second.data(), signalLength);
    return buffer;
}

float worstRelativeDifference (const juce::AudioBuffer<float>& produced, const juce::AudioBuffer<float>& expected)
{
    float worst = 0.0f;
    for (int ch = 0; ch < expected.getNumChannels(); ++ch)
        for (int i = 0; i < expected.getNumSamples(); ++i)
        {
            // Dry and wet are the same delayed sample scaled, so the output is
            // zero exactly when that sample is.
            const float e = expected.getSample (ch, i);
            const float difference = std::abs (produced.getSample (ch, i) - e);
            const float relative = e != 0.0f ? difference / std::abs (e)
                                   : difference == 0.0f ? 0.0f
                                                        : std::numeric_limits<float>::infinity();
            worst = std::max (worst, relative);
        }
    return worst;
}

std::string caseName (const ::testing::TestParamInfo<ProcessorCase>& info)
{
    return info.param.name;
}

class ProcessorReference : public ::testing::TestWithParam<ProcessorCase>
{
};

TEST_P (ProcessorReference, BlockProcessingMatchesThePlainSteps)
{
    const auto& tc = GetParam();
    const auto input = stereoSignal();

    for (int blockSize : blockSizes)
    {
        SCOPED_TRACE ("block size " + std::to_string (blockSize));
        TarnwellCompressorAudioProcessor p;
        p.prepareToPlay (sampleRate, maxBlockSize);
        setParameter (p, ParameterIDs::mix, tc.mixPercent);
        setParameter (p, ParameterIDs::makeupGain, tc.makeupDb);
        setParameter (p, ParameterIDs::lookahead, tc.lookahead ? 1.0f : 0.0f);
        setGains (p, tc.inputGainDb, tc.outputGainDb);
        ReferenceProcessor reference (p, tc.lookahead);
        bool gainsChanged = false;

        juce::AudioBuffer<float> produced (input), expected (input);
        juce::MidiBuffer midi;
        float worstReductionDb = 0.0f, deepestReductionDb = 0.0f;

        for (int start = 0; start < signalLength; start += blockSize)
        {
            const int n = std::min (blockSize, signalLength - start);
            if (! gainsChanged && start >= gainChangeSample)
            {
                setGains (p, tc.laterInputGainDb, tc.laterOutputGainDb);
                gainsChanged = true;
            }

            juce::AudioBuffer<float> producedBlock (produced.getArrayOfWritePointers(), 2, start, n);
            juce::AudioBuffer<float> expectedBlock (expected.getArrayOfWritePointers(), 2, start, n);
            p.processBlock (producedBlock, midi);
            reference.processBlock (expectedBlock, settingsInUse (p));

            for (int ch = 0; ch < 2; ++ch)
            {
                const float referenceDb = reference.gainReductionDb (ch);
                const float difference = std::abs (p.compressors[(size_t) ch]->gainReductionDb - referenceDb);
                worstReductionDb = std::max (worstReductionDb, difference);
                deepestReductionDb = std::min (deepestReductionDb, referenceDb);
            }
        }

        EXPECT_EQ (p.getLatencySamples(), tc.lookahead ? (int) (lookaheadSeconds * sampleRate) : 0);
        EXPECT_LT (deepestReductionDb, minimumDeepestReductionDb) << "the signal must drive the compressors";
        EXPECT_LE (worstReductionDb, reductionBoundDb);
        EXPECT_LE (worstRelativeDifference (produced, expected), outputRelativeBound);
    }
}

INSTANTIATE_TEST_SUITE_P (Settings, ProcessorReference, ::testing::ValuesIn (cases), caseName);
} // namespace
