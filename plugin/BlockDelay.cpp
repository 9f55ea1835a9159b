#include "BlockDelay.h"

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
    copyIntoRing (input, writeIndex, numSamples);
    copyFromRing ((writeIndex - delay + size) % size, output, numSamples);
    writeIndex = (writeIndex + numSamples) % size;
}

void BlockDelay::copyIntoRing (const float* input, int start, int numSamples) noexcept
{
    const int beforeWrap = std::min (numSamples, (int) ring.size() - start);
    std::copy (input, input + beforeWrap, ring.begin() + start);
    std::copy (input + beforeWrap, input + numSamples, ring.begin());
}

void BlockDelay::copyFromRing (int start, float* output, int numSamples) const noexcept
{
    const int beforeWrap = std::min (numSamples, (int) ring.size() - start);
    std::copy (ring.begin() + start, ring.begin() + start + beforeWrap, output);
    std::copy (ring.begin(), ring.begin() + (numSamples - beforeWrap), output + beforeWrap);
}
