#include "PolyphaseOversampler.h"

#include <algorithm>
#include <cstring>

namespace
{
// Samples worked on per pass; the sums of one chunk stay in the first cache.
constexpr int chunkSize = 256;

// Zero stuffing halves the level; the upsampling filter makes it up.
constexpr float zeroStuffingGain = 2.0f;

// The past of one sample stream in a linear buffer. A chunk is written right
// behind its history, so a filter reads both as one array; the history moves
// back to the front only when the buffer is full.
class StreamHistory
{
public:
    void allocate (int newHistoryLength)
    {
        historyLength = newHistoryLength;
        data.assign ((size_t) (historyLength + 4 * chunkSize), 0.0f);
        writeIndex = historyLength;
    }

    void clear() noexcept
    {
        std::fill (data.begin(), data.end(), 0.0f);
        writeIndex = historyLength;
    }

    // Where the next numSamples (at most chunkSize) go; the history lies just before.
    float* makeRoomFor (int numSamples) noexcept
    {
        if (writeIndex + numSamples > (int) data.size())
        {
            std::memmove (data.data(), data.data() + writeIndex - historyLength, sizeof (float) * (size_t) historyLength);
            writeIndex = historyLength;
        }

        return data.data() + writeIndex;
    }

    void advance (int numSamples) noexcept { writeIndex += numSamples; }

private:
    std::vector<float> data;
    int historyLength = 0;
    int writeIndex = 0;
};

// One half-band filter as JUCE designs it: an odd number N = 4P - 1 of taps,
// zero at every odd distance from the centre tap except the centre itself,
// symmetric. Kept as the P taps of one symmetric half and the centre.
class HalfBandKernel
{
public:
    std::vector<float> pairTaps; // taps 0, 2, ..., 2P - 2
    float centreTap = 0.0f;
    int order = 0;

    explicit HalfBandKernel (float transitionWidth, float stopbandDb)
    {
        const auto coefficients = juce::dsp::FilterDesign<float>::designFIRLowpassHalfBandEquirippleMethod (
            transitionWidth, stopbandDb);
        const int numTaps = (int) coefficients->getFilterOrder() + 1;
        jassert (numTaps % 4 == 3);

        const float* taps = coefficients->getRawCoefficients();
        for (int k = 0; k < numTaps / 2; k += 2)
            pairTaps.push_back (taps[k]);

        centreTap = taps[numTaps / 2];
        order = numTaps - 1;
    }

    int pairs() const noexcept { return (int) pairTaps.size(); }

    // The distance, on one phase, from a sample to the oldest one its sum reads.
    int span() const noexcept { return 2 * pairs() - 1; }

    // sums[i] = sum over m of tap m times (x[i - span + m] + x[i - m]), taken
    // in order of m as JUCE's stage does, for i in [0, numSamples). The loops
    // over i inside keep every output's sum in that order and vectorise; four
    // taps per pass save most of the loads and stores of the sums.
    void sumPairs (const float* x, float* sums, int numSamples) const noexcept
    {
        std::fill (sums, sums + numSamples, 0.0f);

        int m = 0;
        for (; m + 4 <= pairs(); m += 4)
            addFourPairs (x, sums, numSamples, m);

        for (; m < pairs(); ++m)
            addPair (x, sums, numSamples, m);
    }

private:
    void addPair (const float* x, float* __restrict sums, int numSamples, int m) const noexcept
    {
        const float tap = pairTaps[(size_t) m];
        const float* older = x - span() + m;
        const float* newer = x - m;

        for (int i = 0; i < numSamples; ++i)
            sums[i] += (older[i] + newer[i]) * tap;
    }

    void addFourPairs (const float* x, float* __restrict sums, int numSamples, int m) const noexcept
    {
        const float t0 = pairTaps[(size_t) m], t1 = pairTaps[(size_t) m + 1];
        const float t2 = pairTaps[(size_t) m + 2], t3 = pairTaps[(size_t) m + 3];
        const float* older = x - span() + m;
        const float* newer = x - m;

        for (int i = 0; i < numSamples; ++i)
        {
            float sum = sums[i];
            sum += (older[i] + newer[i]) * t0;
            sum += (older[i + 1] + newer[i - 1]) * t1;
            sum += (older[i + 2] + newer[i - 2]) * t2;
            sum += (older[i + 3] + newer[i - 3]) * t3;
            sums[i] = sum;
        }
    }
};
} // namespace

//==============================================================================
// One 2x stage. Upsampling: the even outputs are the symmetric sums over the
// (gained) input, the odd ones the input delayed to the centre tap times the
// centre tap. Downsampling: the symmetric sums run over the even inputs and
// the odd inputs meet the centre tap.
class PolyphaseOversampler::Stage
{
public:
    Stage (float transitionWidthUp, float stopbandDbUp, float transitionWidthDown, float stopbandDbDown)
        : up (transitionWidthUp, stopbandDbUp), down (transitionWidthDown, stopbandDbDown)
    {
    }

    void allocate (size_t maxInputSamples)
    {
        samples.assign (maxInputSamples * 2, 0.0f);
        upInput.allocate (up.span());
        downEven.allocate (down.span());
        downOdd.allocate (down.pairs());
    }

    void reset() noexcept
    {
        std::fill (samples.begin(), samples.end(), 0.0f);
        upInput.clear();
        downEven.clear();
        downOdd.clear();
    }

    // In samples of the stage's input rate, as JUCE counts it.
    float latency() const noexcept { return (float) (up.order + down.order) * 0.5f; }

    float* raisedSamples() noexcept { return samples.data(); }

    void upsample (const float* input, int numSamples) noexcept
    {
        float* output = samples.data();
        const int centreDelay = up.pairs() - 1;

        for (int start = 0; start < numSamples; start += chunkSize)
        {
            const int n = std::min (chunkSize, numSamples - start);
            float* x = upInput.makeRoomFor (n);

            for (int i = 0; i < n; ++i)
                x[i] = zeroStuffingGain * input[start + i];

            up.sumPairs (x, sums.data(), n);

            float* out = output + 2 * start;
            for (int i = 0; i < n; ++i)
            {
                out[2 * i] = sums[(size_t) i];
                out[2 * i + 1] = x[i - centreDelay] * up.centreTap;
            }

            upInput.advance (n);
        }
    }

    void downsample (float* output, int numSamples) noexcept
    {
        const float* input = samples.data();
        const int centreDelay = down.pairs();

        for (int start = 0; start < numSamples; start += chunkSize)
        {
            const int n = std::min (chunkSize, numSamples - start);
            float* even = downEven.makeRoomFor (n);
            float* odd = downOdd.makeRoomFor (n);
            const float* in = input + 2 * start;

            for (int i = 0; i < n; ++i)
            {
                even[i] = in[2 * i];
                odd[i] = in[2 * i + 1];
            }

            down.sumPairs (even, sums.data(), n);

            for (int i = 0; i < n; ++i)
                output[start + i] = sums[(size_t) i] + odd[i - centreDelay] * down.centreTap;

            downEven.advance (n);
            downOdd.advance (n);
        }
    }

private:
    HalfBandKernel up, down;
    StreamHistory upInput, downEven, downOdd;
    std::vector<float> samples; // at the stage's output rate
    std::array<float, chunkSize> sums {};
};

//==============================================================================
PolyphaseOversampler::PolyphaseOversampler() = default;
PolyphaseOversampler::~PolyphaseOversampler() = default;

void PolyphaseOversampler::addOversamplingStage (float transitionWidthUp, float stopbandDbUp,
                                                 float transitionWidthDown, float stopbandDbDown)
{
    stages.push_back (std::make_unique<Stage> (transitionWidthUp, stopbandDbUp, transitionWidthDown, stopbandDbDown));
    factor *= 2;

    // Each stage's delay counts at the rate it filters at.
    uncompensatedLatency += stages.back()->latency() / (float) factor;
    updateFractionalDelay();
}

void PolyphaseOversampler::updateFractionalDelay()
{
    // Up to a whole sample, but no less than 0.618: shorter Thiran delays
    // lose too much of the top octave.
    constexpr float shortestDelay = 0.618f;
    fractionalDelaySamples = 1.0f - (uncompensatedLatency - std::floor (uncompensatedLatency));

    if (fractionalDelaySamples == 1.0f)
        fractionalDelaySamples = 0.0f;
    else if (fractionalDelaySamples < shortestDelay)
        fractionalDelaySamples += 1.0f;
}

void PolyphaseOversampler::initProcessing (size_t maxSamplesBeforeOversampling)
{
    maxInputSamples = maxSamplesBeforeOversampling;

    size_t stageInput = maxSamplesBeforeOversampling;
    for (auto& stage : stages)
    {
        stage->allocate (stageInput);
        stageInput *= 2;
    }

    fractionalDelay.prepare ({ 0.0, (juce::uint32) maxSamplesBeforeOversampling, 1 });
    fractionalDelay.setDelay (fractionalDelaySamples);
    reset();
}

void PolyphaseOversampler::reset() noexcept
{
    for (auto& stage : stages)
        stage->reset();

    fractionalDelay.reset();
}

juce::dsp::AudioBlock<float> PolyphaseOversampler::processSamplesUp (const juce::dsp::AudioBlock<const float>& input) noexcept
{
    jassert (input.getNumChannels() == 1 && input.getNumSamples() <= maxInputSamples);

    if (stages.empty() || maxInputSamples == 0)
        return {};

    // A longer block than prepared for is cut, never written past the buffers.
    int numSamples = (int) std::min (input.getNumSamples(), maxInputSamples);
    const float* stageInput = input.getChannelPointer (0);

    for (auto& stage : stages)
    {
        stage->upsample (stageInput, numSamples);
        stageInput = stage->raisedSamples();
        numSamples *= 2;
    }

    raisedChannel[0] = stages.back()->raisedSamples();
    return juce::dsp::AudioBlock<float> (raisedChannel.data(), 1, (size_t) numSamples);
}

void PolyphaseOversampler::processSamplesDown (juce::dsp::AudioBlock<float>& output) noexcept
{
    jassert (output.getNumChannels() == 1 && output.getNumSamples() <= maxInputSamples);

    if (stages.empty() || maxInputSamples == 0)
        return;

    const int numSamples = (int) std::min (output.getNumSamples(), maxInputSamples);
    int stageOutputSamples = numSamples << (stages.size() - 1);

    for (size_t n = stages.size() - 1; n > 0; --n)
    {
        stages[n]->downsample (stages[n - 1]->raisedSamples(), stageOutputSamples);
        stageOutputSamples /= 2;
    }

    stages.front()->downsample (output.getChannelPointer (0), numSamples);

    if (fractionalDelaySamples > 0.0f)
    {
        auto delayed = output.getSubBlock (0, (size_t) numSamples);
        juce::dsp::ProcessContextReplacing<float> context (delayed);
        fractionalDelay.process (context);
    }
}
