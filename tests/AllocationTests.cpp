// Requires that processBlock allocates nothing, across the settings that take
// different paths through it. The global allocation functions are replaced so
// that every heap allocation made while a block runs is counted.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

namespace
{
thread_local bool countingAllocations = false;
std::atomic<int> allocationsCounted { 0 };

void* allocate (std::size_t size)
{
    if (countingAllocations)
        ++allocationsCounted;

    if (auto* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }

namespace
{
using test::setParameter;

TEST (NoAllocation, TheCounterSeesAnAllocation)
{
    allocationsCounted = 0;
    countingAllocations = true;
    auto* p = new std::vector<float> (16);
    countingAllocations = false;
    delete p;
    EXPECT_EQ (allocationsCounted.load(), 2);
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

            allocationsCounted = 0;
            countingAllocations = true;
            setParameter (p, "threshold", block % 2 == 0 ? -30.0f : -20.0f);
            setParameter (p, "mix", block % 3 == 0 ? 80.0f : 90.0f);
            p.processBlock (buffer, midi);
            countingAllocations = false;
            counted += allocationsCounted.load();
        }
    });
    audio.join();

    EXPECT_EQ (counted, 0);
}

INSTANTIATE_TEST_SUITE_P (
    Settings, NoAllocation,
    ::testing::Values (Setting { "Defaults", {} },
                       Setting { "Standard", { { "physicsMode", 0.0f } } },
                       Setting { "Light", { { "physicsMode", 1.0f } } },
                       Setting { "Heavy", { { "physicsMode", 3.0f }, { "forceMultiplier", 50.0f } } },
                       Setting { "Air", { { "releaseMode", 1.0f }, { "knee", 3.0f } } },
                       Setting { "Lookahead", { { "lookahead", 1.0f } } },
                       Setting { "Mix50", { { "mix", 50.0f } } },
                       Setting { "Oversampling4x", { { "oversampling", 1.0f } } },
                       Setting { "Oversampling8xLookahead", { { "oversampling", 2.0f }, { "lookahead", 1.0f } } },
                       Setting { "Extremes", { { "rangeExtreme", 1.0f }, { "forceExtreme", 1.0f },
                                               { "dampingExtreme", 1.0f }, { "damping", 20000.0f },
                                               { "forceMultiplier", 200.0f }, { "safety", 50.0f },
                                               { "stability", 50.0f }, { "scHPF", 120.0f } } },
                       Setting { "TiltAndTempoSync", { { "bpmSync", 1.0f }, { "tilt", 40.0f } } },
                       Setting { "AutoGain", { { "autoGain", 1.0f } } },
                       Setting { "AutoThreshold", { { "autoThreshold", 1.0f } } },
                       Setting { "IntelligentAutoThreshold", { { "intAuto", 1.0f }, { "autoThreshold", 1.0f } } },
                       Setting { "Bypass", { { "bypass", 1.0f }, { "lookahead", 1.0f } } }),
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
            allocationsCounted = 0;
            countingAllocations = true;
            setParameter (p, "lookahead", (block / 10) % 2 == 0 ? 1.0f : 0.0f);
            setParameter (p, "oversampling", (float) ((block / 7) % 3));
            setParameter (p, "tilt", (float) (block % 5) * 10.0f);
            p.processBlock (buffer, midi);
            countingAllocations = false;
            counted += allocationsCounted.load();
        }
    });
    audio.join();

    EXPECT_EQ (counted, 0);
}
} // namespace
