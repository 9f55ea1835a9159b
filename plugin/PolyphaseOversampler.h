#pragma once

#include <juce_dsp/juce_dsp.h>

#include <array>
#include <memory>
#include <vector>

// Mono oversampling through a chain of 2x half-band equiripple FIR stages:
// the same coefficients, gain, latency and integer-latency delay as
// juce::dsp::Oversampling with filterHalfBandFIREquiripple stages and integer
// latency, and the same arithmetic per output sample, at a fraction of the
// cost. Every other tap of a half-band filter is zero, so each output is a
// short symmetric sum over one phase of the input; the phases are kept in
// linear buffers that move back once per chunk instead of shifting on every
// sample, and the sums run across a chunk of outputs, which vectorises.
class PolyphaseOversampler
{
public:
    PolyphaseOversampler();
    ~PolyphaseOversampler();

    // Adds a 2x stage after the existing ones; the parameters are those of
    // juce::FilterDesign's half-band equiripple design.
    void addOversamplingStage (float transitionWidthUp, float stopbandDbUp, float transitionWidthDown,
                               float stopbandDbDown);

    // Allocates for blocks of up to this many samples and clears the state.
    void initProcessing (size_t maxSamplesBeforeOversampling);
    void reset() noexcept;

    size_t getOversamplingFactor() const noexcept { return factor; }

    // Host-rate samples, a whole number: the chain's own delay plus the
    // fractional delay that rounds it up.
    float getLatencyInSamples() const noexcept { return uncompensatedLatency + fractionalDelaySamples; }

    // The block at the raised rate, owned by the last stage. Empty before
    // initProcessing.
    juce::dsp::AudioBlock<float> processSamplesUp (const juce::dsp::AudioBlock<const float>& input) noexcept;

    // Filters the raised-rate block back down into output, which has the
    // length given to the last processSamplesUp.
    void processSamplesDown (juce::dsp::AudioBlock<float>& output) noexcept;

private:
    class Stage;

    std::vector<std::unique_ptr<Stage>> stages;
    size_t factor = 1;
    size_t maxInputSamples = 0;
    float uncompensatedLatency = 0.0f;
    float fractionalDelaySamples = 0.0f;
    juce::dsp::DelayLine<float, juce::dsp::DelayLineInterpolationTypes::Thiran> fractionalDelay { 8 };
    std::array<float*, 1> raisedChannel {}; // the returned block points at this

    void updateFractionalDelay();

    JUCE_DECLARE_NON_COPYABLE (PolyphaseOversampler)
};
