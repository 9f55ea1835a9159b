#include "BlockDelay.h"

#include "RingCopy.h"

#include <algorithm>

void BlockDelay::prepare (int maximumDelaySamples, int blockSize)
{
    maximumDelay = std::max (maximumDelaySamples, 0);
    pieceLimit = std::max (blockSize, 1);
    ring.assign ((size_t) (maximumDelay + pieceLimit), 0.0f);
    delay = std::min (delay, maximumDelay);
    writeIndex = 0;
}

void BlockDelay::setDelay (int delaySamples) noexcept
{
    delay = std::clamp (delaySamples, 0, maximumDelay);
}

void BlockDelay::reset() noexcept
{
    std::fill (ring.begin(), ring.end(), 0.0f);
    writeIndex = 0;
}

void BlockDelay::process (const float* input, float* output, int numSamples) noexcept
{
    if (ring.empty())
        return;

    // A piece fits the ring behind the delay, so writing it never overwrites
    // samples the same piece still has to read.
    for (int start = 0; start < numSamples; start += pieceLimit)
        processPiece (input + start, output + start, std::min (pieceLimit, numSamples - start));
}

void BlockDelay::processPiece (const float* input, float* output, int numSamples) noexcept
{
    const int size = (int) ring.size();
    copyIntoRing (ring.data(), size, writeIndex, input, numSamples);
    copyOutOfRing (ring.data(), size, (writeIndex - delay + size) % size, output, numSamples);
    writeIndex = (writeIndex + numSamples) % size;
}
