// Preparation, release and the block processing: input gain, lookahead, the
// compressors, make-up, mix, output gain and the output guard.
#include "PluginProcessor.h"

#include "FiniteSamples.h"
#include "RawParameterValues.h"

namespace
{
using raw::isOn;

// dB to a linear factor; -100 dB and below is silence.
float gainFromDb (float db)
{
    return juce::Decibels::decibelsToGain (db, -100.0f);
}

float peakOf (const juce::AudioBuffer<float>& buffer)
{
    float peak = 0.0f;
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        peak = juce::jmax (peak, buffer.getMagnitude (ch, 0, buffer.getNumSamples()));
    return peak;
}

// Over all channels and samples together.
float rmsOf (const juce::AudioBuffer<float>& buffer)
{
    double sum = 0.0;
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
    {
        const auto* samples = buffer.getReadPointer (ch);
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            sum += (double) samples[i] * samples[i];
    }
    return (float) std::sqrt (sum / ((double) buffer.getNumChannels() * buffer.getNumSamples()));
}

// Over all channels and samples; a sample that is not finite counts as silence.
float finitePeakOf (const juce::AudioBuffer<float>& buffer)
{
    float peak = 0.0f;
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
        peak = juce::jmax (peak, finitePeak (buffer.getReadPointer (ch), buffer.getNumSamples()));
    return peak;
}

// A level that is not finite cannot be measured: it counts as -100 dB.
constexpr float notComputableDb = -100.0f;

float decibelsOf (float level)
{
    return std::isfinite (level) ? 20.0f * std::log10 (level + 1.0e-10f) : notComputableDb;
}

void prepareDelayLine (BlockDelay& line, int maximumDelay, int blockSize, int delay)
{
    line.prepare (maximumDelay, blockSize);
    line.setDelay (delay);
    line.reset();
}
} // namespace

void TarnwellCompressorAudioProcessor::prepareToPlay (double newSampleRate, int maximumExpectedSamplesPerBlock)
{
    const int channels = getTotalNumOutputChannels();
    const int maxBlock = juce::jmax (1, maximumExpectedSamplesPerBlock);

    sampleRate = newSampleRate;
    compressors.clear();
    dryDelayLines.clear();

    for (int channel = 0; channel < channels; ++channel)
    {
        auto compressor = std::make_unique<PhysicsCompressor>();
        compressor->prepare (newSampleRate, maxBlock);
        compressors.push_back (std::move (compressor));

        prepareDelayLine (dryDelayLines.emplace_back(), (int) (0.1 * sampleRate), maxBlock, 0);
    }

    lookaheadSamples = (int) (20.0 * sampleRate / 1000.0);

    bypassDelayLines.clear();
    for (int channel = 0; channel < channels; ++channel)
        prepareDelayLine (bypassDelayLines.emplace_back(), lookaheadSamples + 64, maxBlock, lookaheadSamples);

    dryBuffers.assign ((size_t) channels, std::vector<float> ((size_t) maxBlock, 0.0f));

    for (auto* smoother : { &inputGainSmoother, &outputGainSmoother, &makeupGainSmoother })
        smoother->reset (sampleRate, 0.02);

    lookaheadDelayLines.clear();
    for (int channel = 0; channel < channels; ++channel)
        prepareDelayLine (lookaheadDelayLines.emplace_back(), lookaheadSamples + 1, maxBlock, lookaheadSamples);

    reportedLatency = -1;
    parameterChanged ({}, 0.0f);
}

void TarnwellCompressorAudioProcessor::releaseResources()
{
    compressors.clear();
    dryDelayLines.clear();
    lookaheadDelayLines.clear();
}

void TarnwellCompressorAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    followHostTempo();

    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();

    if (numChannels == 0 || numSamples == 0 || numChannels != (int) compressors.size())
    {
        buffer.clear();
        return;
    }

    writeDisplayHistory (buffer);
    takeSnapshotIfDue (numSamples);

    if (isOn (bypassParam))
    {
        processBypassed (buffer);
        return;
    }

    const float mix = mixParam != nullptr ? mixParam->load() / 100.0f : 1.0f;
    const float inputGain = inputGainParam != nullptr ? gainFromDb (inputGainParam->load()) : 1.0f;
    const float outputGain = outputGainParam != nullptr ? gainFromDb (outputGainParam->load()) : 1.0f;

    applyGainRamp (inputGainSmoother, inputGain, buffer);

    // Only the assistants need the block's RMS levels.
    const bool assistantsRunning = isOn (autoGainParam) || isOn (autoThresholdParam);
    const float inputRms = assistantsRunning ? rmsOf (buffer) : 0.0f;
    inputMeterLevel = juce::jmax (finitePeakOf (buffer), 0.92f * inputMeterLevel);

    // In use before readiness is read: a rebuild not yet begun now waits for
    // this block, so latency, dry delay and processing follow one decision.
    compressorsInUse.store (true);
    const bool oversampled = oversamplersReady();

    applyOversamplingLatency (oversampled);
    applyPendingLookaheadChange();
    reportLatency();

    bool captureDry = mix < 1.0f;
    for (const auto& dry : dryBuffers)
        captureDry = captureDry && (int) dry.size() >= numSamples;

    for (int ch = 0; ch < numChannels; ++ch)
    {
        if (ch >= (int) dryDelayLines.size())
            continue;

        delayAndCaptureDry (ch, buffer.getWritePointer (ch), numSamples, captureDry);
    }

    compressChannels (buffer, oversampled);

    compressorsInUse.store (false);

    const double blockSeconds = numSamples / sampleRate;
    BlockLevels levels { -200.0f, -100.0f, -100.0f, blockSeconds };
    if (assistantsRunning)
        levels = { decibelsOf (inputRms), juce::jmax (decibelsOf (rmsOf (buffer)), -100.0f),
                   juce::jmax (decibelsOf (peakOf (buffer)), -100.0f), blockSeconds };
    const float makeupDb = makeupForBlock (levels);
    makeupGainInUseDb.store (makeupDb);
    makeupGainSmoother.setTargetValue (gainFromDb (makeupDb));

    applyMakeupAndMix (buffer, mix, captureDry);
    applyGainRamp (outputGainSmoother, outputGain, buffer);
    updateClipIndicator (peakOf (buffer));

    if (isOn (autoThresholdParam))
        stepAutoThreshold (levels);

    updateRangeWarningGlow (blockSeconds);
    protectOutput (buffer);
}

void TarnwellCompressorAudioProcessor::processBypassed (juce::AudioBuffer<float>& buffer)
{
    // Keep the lookahead latency while bypassed, so the host's compensation stays right.
    if (! lookaheadActive.load() || lookaheadSamples <= 0)
        return;

    const int channels = juce::jmin (buffer.getNumChannels(), (int) bypassDelayLines.size());

    for (int ch = 0; ch < channels; ++ch)
    {
        auto* samples = buffer.getWritePointer (ch);
        bypassDelayLines[(size_t) ch].process (samples, samples, buffer.getNumSamples());
    }
}

void TarnwellCompressorAudioProcessor::applyGainRamp (juce::SmoothedValue<float>& smoother, float target,
                                                      juce::AudioBuffer<float>& buffer)
{
    smoother.setTargetValue (target);

    if (! smoother.isSmoothing())
    {
        if (smoother.getCurrentValue() != 1.0f)
            buffer.applyGain (smoother.getCurrentValue());
        return;
    }

    for (int i = 0; i < buffer.getNumSamples(); ++i)
    {
        const float gain = smoother.getNextValue();

        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            buffer.getWritePointer (ch)[i] *= gain;
    }
}

void TarnwellCompressorAudioProcessor::applyOversamplingLatency (bool oversampled)
{
    // Only count the oversampler's latency when the block really runs through it.
    const int latency = oversampled ? compressors.front()->oversamplingLatency : 0;

    if (latency == appliedOversamplingLatency)
        return;

    appliedOversamplingLatency = latency;
    for (auto& line : dryDelayLines)
        line.setDelay (latency);
}

void TarnwellCompressorAudioProcessor::applyPendingLookaheadChange()
{
    if (! lookaheadChangePending.load())
        return;

    const bool active = isOn (lookaheadParam);
    lookaheadActive.store (active);
    lookaheadChangePending.store (false);

    for (auto& line : lookaheadDelayLines)
        line.reset();

    for (auto& line : bypassDelayLines)
    {
        line.reset();
        line.setDelay (active ? lookaheadSamples : 0);
    }
}

void TarnwellCompressorAudioProcessor::reportLatency()
{
    const int total = appliedOversamplingLatency + (lookaheadActive.load() ? lookaheadSamples : 0);

    if (total == reportedLatency)
        return;

    setLatencySamples (total);
    reportedLatency = total;

    for (auto& line : dryDelayLines)
        line.setDelay (total);
}

void TarnwellCompressorAudioProcessor::delayAndCaptureDry (int channel, float* samples, int numSamples, bool captureDry)
{
    // The dry signal is taken before the lookahead delays the processed one.
    if (captureDry)
        dryDelayLines[(size_t) channel].process (samples, dryBuffers[(size_t) channel].data(), numSamples);

    if (lookaheadActive.load() && channel < (int) lookaheadDelayLines.size())
        lookaheadDelayLines[(size_t) channel].process (samples, samples, numSamples);
}

void TarnwellCompressorAudioProcessor::compressChannels (juce::AudioBuffer<float>& buffer, bool oversampled)
{
    const int numSamples = buffer.getNumSamples();
    const int numChannels = juce::jmin (buffer.getNumChannels(), (int) dryDelayLines.size());
    auto* const* channels = buffer.getArrayOfWritePointers();

    // Channels go in pairs, side by side; an odd last one goes on its own.
    for (int ch = 0; ch < numChannels; ch += 2)
    {
        const int count = juce::jmin (2, numChannels - ch);
        PhysicsCompressor* group[] = { compressors[(size_t) ch].get(), count > 1 ? compressors[(size_t) ch + 1].get() : nullptr };

        if (oversampled)
            compressOversampled (group, channels + ch, count, numSamples);
        else
            compressGroup (group, channels + ch, count, numSamples, false);
    }
}

void TarnwellCompressorAudioProcessor::compressGroup (PhysicsCompressor* const* compressors, float* const* channels,
                                                      int numChannels, int numSamples, bool oversampled)
{
    if (numChannels == 2)
        PhysicsCompressor::processPair (*compressors[0], *compressors[1], channels[0], channels[1], numSamples, oversampled);
    else
        compressors[0]->processInternal (channels[0], numSamples, oversampled);
}

void TarnwellCompressorAudioProcessor::compressOversampled (PhysicsCompressor* const* compressors,
                                                            float* const* channels, int numChannels, int numSamples)
{
    // The oversampler's fractional-delay stage is recursive: a single NaN or
    // Inf would stay in it for good. Such a sample leaves the plug-in as 0 anyway.
    for (int ch = 0; ch < numChannels; ++ch)
        for (int i = 0; i < numSamples; ++i)
            channels[ch][i] = isFiniteSample (channels[ch][i]) ? channels[ch][i] : 0.0f;

    // A host may send a longer block than it announced; the oversampler only
    // holds what it was prepared for.
    const int chunkLimit = compressors[0]->oversamplerBlockLimit();

    for (int start = 0; start < numSamples; start += chunkLimit)
    {
        const auto length = (size_t) juce::jmin (chunkLimit, numSamples - start);
        float* raised[2] {};
        int raisedLength = 0;

        for (int ch = 0; ch < numChannels; ++ch)
        {
            float* chunk[] = { channels[ch] + start };
            auto upsampled = compressors[ch]->oversampler->processSamplesUp (juce::dsp::AudioBlock<float> (chunk, 1, length));
            raised[ch] = upsampled.getChannelPointer (0);
            raisedLength = (int) upsampled.getNumSamples();
        }

        compressGroup (compressors, raised, numChannels, raisedLength, true);

        for (int ch = 0; ch < numChannels; ++ch)
        {
            float* chunk[] = { channels[ch] + start };
            juce::dsp::AudioBlock<float> block (chunk, 1, length);
            compressors[ch]->oversampler->processSamplesDown (block);
        }
    }
}

void TarnwellCompressorAudioProcessor::applyMakeupAndMix (juce::AudioBuffer<float>& buffer, float mix, bool dryCaptured)
{
    const int channels = juce::jmin (buffer.getNumChannels(), (int) compressors.size());
    const int numSamples = buffer.getNumSamples();

    auto mixSample = [mix, dryCaptured] (float x, float gain, float dry)
    {
        const float y = x * gain;
        return dryCaptured ? dry * (1.0f - mix) + y * mix : y;
    };

    if (! makeupGainSmoother.isSmoothing())
    {
        const float gain = makeupGainSmoother.getCurrentValue();
        if (gain == 1.0f && ! dryCaptured)
            return;

        for (int ch = 0; ch < channels; ++ch)
        {
            auto* samples = buffer.getWritePointer (ch);
            const auto* dry = dryBuffers[(size_t) ch].data();

            for (int i = 0; i < numSamples; ++i)
                samples[i] = mixSample (samples[i], gain, dryCaptured ? dry[i] : 0.0f);
        }
        return;
    }

    for (int i = 0; i < numSamples; ++i)
    {
        const float gain = makeupGainSmoother.getNextValue();

        for (int ch = 0; ch < channels; ++ch)
        {
            auto* samples = buffer.getWritePointer (ch);
            samples[i] = mixSample (samples[i], gain, dryCaptured ? dryBuffers[(size_t) ch][(size_t) i] : 0.0f);
        }
    }
}

void TarnwellCompressorAudioProcessor::protectOutput (juce::AudioBuffer<float>& buffer)
{
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
    {
        auto* samples = buffer.getWritePointer (ch);

        for (int i = 0; i < buffer.getNumSamples(); ++i)
            samples[i] = isFiniteSample (samples[i]) ? juce::jlimit (-10.0f, 10.0f, samples[i]) : 0.0f;
    }
}
