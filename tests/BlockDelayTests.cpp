// The block-wise delay against a sample-by-sample one: any block sizes, blocks
// longer than prepared, delay changes between blocks, in place or not.
#include "BlockDelay.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace
{
// The plain form: a history of every sample so far, read `delay` back.
struct PlainDelay
{
    std::deque<float> history;
    int delay = 0;

    float process (float x)
    {
        history.push_front (x);
        return delay < (int) history.size() ? history[(size_t) delay] : 0.0f;
    }
};

struct DelayCase
{
    const char* name;
    int maximumDelay, preparedBlock;
    std::vector<int> blockSizes;      // cycled through
    std::vector<int> delays;          // one per block, cycled through
    bool inPlace;
};

class BlockDelayCases : public testing::TestWithParam<DelayCase>
{
};

TEST_P (BlockDelayCases, MatchesTheSampleBySampleDelay)
{
    const auto& c = GetParam();
    BlockDelay delay;
    delay.prepare (c.maximumDelay, c.preparedBlock);
    PlainDelay plain;

    float next = 1.0f;
    for (int block = 0; block < 60; ++block)
    {
        const int size = c.blockSizes[(size_t) block % c.blockSizes.size()];
        const int wanted = c.delays[(size_t) block % c.delays.size()];
        delay.setDelay (wanted);
        plain.delay = std::clamp (wanted, 0, c.maximumDelay);

        std::vector<float> input ((size_t) size), output ((size_t) size);
        for (auto& x : input)
            x = next++;

        if (c.inPlace)
        {
            output = input;
            delay.process (output.data(), output.data(), size);
        }
        else
        {
            delay.process (input.data(), output.data(), size);
        }

        for (int i = 0; i < size; ++i)
            ASSERT_EQ (output[(size_t) i], plain.process (input[(size_t) i])) << "block " << block << " sample " << i;
    }
}

INSTANTIATE_TEST_SUITE_P (
    Delays, BlockDelayCases,
    testing::Values (DelayCase { "NoDelay", 10, 64, { 64 }, { 0 }, true },
                     DelayCase { "LookaheadInPlace", 960, 512, { 512 }, { 960 }, true },
                     DelayCase { "DelayLongerThanBlocks", 100, 16, { 16, 7, 1 }, { 100 }, false },
                     DelayCase { "BlocksLongerThanPrepared", 30, 8, { 8, 50, 3 }, { 30, 5 }, true },
                     DelayCase { "ChangingDelays", 64, 32, { 32, 17 }, { 0, 64, 12, 33 }, false },
                     DelayCase { "DelayBeyondTheMaximumIsClamped", 20, 32, { 32 }, { 500 }, true }),
    [] (const testing::TestParamInfo<DelayCase>& info) { return std::string (info.param.name); });

TEST (BlockDelay, ResetForgetsThePast)
{
    BlockDelay delay;
    delay.prepare (4, 8);
    delay.setDelay (4);

    std::vector<float> block (8, 1.0f);
    delay.process (block.data(), block.data(), 8);
    delay.reset();

    std::vector<float> silence (8, 0.0f);
    delay.process (silence.data(), silence.data(), 8);
    for (float x : silence)
        EXPECT_EQ (x, 0.0f);
}
} // namespace
