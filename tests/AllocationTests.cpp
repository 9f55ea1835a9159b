// Requires that processBlock allocates nothing, across the settings that take
// different paths through it: every heap allocation made while a block runs
// is counted.
#include "AllocationCounter.h"
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
namespace id = ParameterIDs;
using test::setParameter;

TEST (NoAllocation, TheCounterSeesAnAllocation)
{
    test::startCountingAllocations();
    std::vector<float> samples (16);
    const int counted = test::stopCountingAllocations();
    EXPECT_EQ (counted, 1);
    EXPECT_EQ (samples.size(), 16u);
}

struct Setting
{
    const char* name;
    std::vector<std::pair<const char*, float>> values;
};

class NoAllocation : public ::testing::TestWithParam<Setting> {};

TEST_P (NoAllocation, ProcessBlockAllocatesNothing)
{
    const double rate = 48000.0;
    const int blockSize = 512;
    TarnwellCompressorAudioProcessor p;
    test::TestPlayHead playHead;
    p.setPlayHead (&playHead);
    // A tenth of a second per block, so the assistants reach their time limits and finish.
    double now = 0.0;
    p.secondsClock = [&now] { return now; };
    p.prepareToPlay (rate, blockSize);

    for (const auto& [id, value] : GetParam().values)
        setParameter (p, id, value);

    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;

    // The audio thread also automates: alternate a registered and an
    // unregistered parameter between blocks, as a host does. The assistants
    // run on the signal.
    int counted = 0;
    std::thread audio ([&]
    {
        for (int block = 0; block < 400; ++block)
        {
            test::fillTestSignal (buffer, rate, block * blockSize);
            now += 0.1;

            // The host's tempo changes now and then.
            playHead.bpm = (block / 10) % 2 == 0 ? 120.0 : 93.5;

            test::startCountingAllocations();
            setParameter (p, id::threshold, block % 2 == 0 ? -30.0f : -20.0f);
            setParameter (p, id::mix, block % 3 == 0 ? 80.0f : 90.0f);
            p.processBlock (buffer, midi);
            counted += test::stopCountingAllocations();
        }
    });
    audio.join();

    EXPECT_EQ (counted, 0);
}

INSTANTIATE_TEST_SUITE_P (
    Settings, NoAllocation,
    ::testing::Values (Setting { "Defaults", {} },
                       Setting { "Standard", { { id::physicsMode, 0.0f } } },
                       Setting { "Light", { { id::physicsMode, 1.0f } } },
                       Setting { "Heavy", { { id::physicsMode, 3.0f }, { id::forceMultiplier, 50.0f } } },
                       Setting { "Air", { { id::releaseMode, 1.0f }, { id::knee, 3.0f } } },
                       Setting { "Lookahead", { { id::lookahead, 1.0f } } },
                       Setting { "Mix50", { { id::mix, 50.0f } } },
                       Setting { "Oversampling4x", { { id::oversampling, 1.0f } } },
                       Setting { "Oversampling8xLookahead", { { id::oversampling, 2.0f }, { id::lookahead, 1.0f } } },
                       Setting { "Extremes", { { id::rangeExtreme, 1.0f }, { id::forceExtreme, 1.0f },
                                               { id::dampingExtreme, 1.0f }, { id::damping, 20000.0f },
                                               { id::forceMultiplier, 200.0f }, { id::safety, 50.0f },
                                               { id::stability, 50.0f }, { id::scHPF, 120.0f } } },
                       Setting { "TiltAndTempoSync", { { id::bpmSync, 1.0f }, { id::tilt, 40.0f } } },
                       Setting { "AutoGain", { { id::autoGain, 1.0f } } },
                       Setting { "AutoThreshold", { { id::autoThreshold, 1.0f } } },
                       Setting { "IntelligentAutoThreshold", { { id::intAuto, 1.0f }, { id::autoThreshold, 1.0f } } },
                       Setting { "Bypass", { { id::bypass, 1.0f }, { id::lookahead, 1.0f } } }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST (NoAllocation, LookaheadAndOversamplingSwitchedFromTheAudioThread)
{
    TarnwellCompressorAudioProcessor p;
    p.prepareToPlay (48000.0, 256);
    juce::AudioBuffer<float> buffer (2, 256);
    juce::MidiBuffer midi;

    // Off the message thread an oversampling request only waits for a
    // rebuild; the blocks meanwhile run without the oversampler.
    int counted = 0;
    std::thread audio ([&]
    {
        for (int block = 0; block < 100; ++block)
        {
            test::fillTestSignal (buffer, 48000.0, block * 256);
            test::startCountingAllocations();
            setParameter (p, id::lookahead, (block / 10) % 2 == 0 ? 1.0f : 0.0f);
            setParameter (p, id::oversampling, (float) ((block / 7) % 3));
            // Tilt's reaction writes the time parameters and marks them for the host.
            setParameter (p, id::tilt, (float) (block % 5) * 10.0f);
            p.processBlock (buffer, midi);
            counted += test::stopCountingAllocations();
        }
    });
    audio.join();

    EXPECT_EQ (counted, 0);
}
} // namespace
