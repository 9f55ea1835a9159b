#pragma once

#include <vector>

// A delay by a whole number of samples for one channel, worked a block at a
// time: the block goes into a ring and comes out again further back, two
// copies at most on each side. A per-sample delay line pays for its wrap
// arithmetic on every sample, which here cost more than the compressor.
class BlockDelay
{
public:
    // Allocates: call before processing starts. The ring holds the longest
    // delay plus one block of the given size; longer blocks go in pieces.
    void prepare (int maximumDelaySamples, int blockSize);

    // Takes effect at the next block; what the ring holds is kept, so the
    // output jumps to the older or newer part of the signal.
    void setDelay (int delaySamples) noexcept;

    // Forgets the past: the next output starts with the delay's length of silence.
    void reset() noexcept;

    // output[i] = input[i - delay]; input and output may be the same samples.
    void process (const float* input, float* output, int numSamples) noexcept;

private:
    void processPiece (const float* input, float* output, int numSamples) noexcept;

    std::vector<float> ring;
    int maximumDelay = 0, pieceLimit = 0, delay = 0, writeIndex = 0;
};
