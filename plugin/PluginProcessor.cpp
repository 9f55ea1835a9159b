#include "PluginProcessor.h"

#include "RawParameterValues.h"

namespace
{
using raw::isOn;
using raw::valueOr;

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

float decibelsOf (float level)
{
    return 20.0f * std::log10 (level + 1.0e-10f);
}

using DelayLine = TarnwellCompressorAudioProcessor::DelayLine;

// A delay the line cannot hold would read outside it.
void setDelayWithinLine (DelayLine& line, int delay)
{
    line.setDelay ((float) juce::jlimit (0, line.getMaximumDelayInSamples(), delay));
}

void prepareDelayLine (DelayLine& line, const juce::dsp::ProcessSpec& processSpec, int maximumDelay, int delay)
{
    line.setMaximumDelayInSamples (maximumDelay);
    line.prepare (processSpec);
    setDelayWithinLine (line, delay);
    line.reset();
}

using Layout = juce::AudioProcessorValueTreeState::ParameterLayout;

juce::NormalisableRange<float> floatRange (float start, float end, float interval, float skew)
{
    return { start, end, interval, skew };
}

void addFloat (Layout& layout, const char* id, const char* name, juce::NormalisableRange<float> range,
               float defaultValue, const char* unit, bool meta = false)
{
    layout.add (std::make_unique<juce::AudioParameterFloat> (
        juce::ParameterID { id, 0 }, name, range, defaultValue,
        juce::AudioParameterFloatAttributes().withLabel (unit).withMeta (meta)));
}

void addSwitch (Layout& layout, const char* id, const char* name, bool defaultValue,
                bool meta = false, int versionHint = 0)
{
    layout.add (std::make_unique<juce::AudioParameterBool> (
        juce::ParameterID { id, versionHint }, name, defaultValue,
        juce::AudioParameterBoolAttributes().withMeta (meta)));
}

void addChoice (Layout& layout, const char* id, const char* name, const juce::StringArray& entries,
                int defaultIndex)
{
    layout.add (std::make_unique<juce::AudioParameterChoice> (juce::ParameterID { id, 0 }, name,
                                                              entries, defaultIndex));
}
} // namespace

//==============================================================================
TarnwellCompressorAudioProcessor::TarnwellCompressorAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, nullptr, "TarnwellCompressor", createParameterLayout())
{
    presetManager = std::make_unique<PresetManager> (parameters, *this);

    thresholdParam = rawValue ("threshold");
    ratioParam = rawValue ("ratio");
    attackParam = rawValue ("attack");
    releaseParam = rawValue ("release");
    holdParam = rawValue ("hold");
    holdBypassParam = rawValue ("holdBypass");
    kneeParam = rawValue ("knee");
    rangeParam = rawValue ("range");
    physicsModeParam = rawValue ("physicsMode");
    forceMultiplierParam = rawValue ("forceMultiplier");
    dampingParam = rawValue ("damping");
    releaseModeParam = rawValue ("releaseMode");
    rangeExtremeParam = rawValue ("rangeExtreme");
    forceExtremeParam = rawValue ("forceExtreme");
    dampingExtremeParam = rawValue ("dampingExtreme");
    bpmSyncParam = rawValue ("bpmSync");
    bpmSyncModeParam = rawValue ("bpmSyncMode");
    bypassParam = rawValue ("bypass");
    tiltParam = rawValue ("tilt");
    makeupGainParam = rawValue ("makeupGain");
    inputGainParam = rawValue ("inputGain");
    outputGainParam = rawValue ("outputGain");
    autoGainParam = rawValue ("autoGain");
    mixParam = rawValue ("mix");
    safetyParam = rawValue ("safety");
    stabilityParam = rawValue ("stability");
    scHPFParam = rawValue ("scHPF");
    oversamplingParam = rawValue ("oversampling");
    autoThresholdParam = rawValue ("autoThreshold");
    intAutoParam = rawValue ("intAuto");
    for (auto& snapshot : waveformSnapshots)
    {
        snapshot.input.assign (snapshotSize, 0.0f);
        snapshot.gainReduction.assign (snapshotSize, 0.0f);
    }

    lookaheadParam = rawValue ("lookahead");
    noteGridParam = rawValue ("noteGrid");

    inputHistoryRing.assign (historySize, 0.0f);
    grHistoryRing.assign (historySize, 0.0f);

    for (const auto& id : reactingParameterIDs())
        parameters.addParameterListener (id, this);

    parameterChanged ({}, 0.0f);

    // Factory names carry a number, so only a user preset can be called this.
    presetManager->loadPreset ("Default");
}

TarnwellCompressorAudioProcessor::~TarnwellCompressorAudioProcessor()
{
    stopTimer();

    for (const auto& id : reactingParameterIDs())
        parameters.removeParameterListener (id, this);
}

const juce::StringArray& TarnwellCompressorAudioProcessor::reactingParameterIDs()
{
    static const juce::StringArray ids { "threshold", "ratio", "attack", "release", "hold", "knee",
                                         "range", "physicsMode", "forceMultiplier", "damping",
                                         "bpmSync", "bpmSyncMode", "tilt", "safety", "stability",
                                         "scHPF", "outputGain", "autoGain", "oversampling",
                                         "autoThreshold", "intAuto", "lookahead" };
    return ids;
}

std::atomic<float>* TarnwellCompressorAudioProcessor::rawValue (const char* parameterID) const
{
    return parameters.getRawParameterValue (parameterID);
}

void TarnwellCompressorAudioProcessor::setParameterFromPlainValue (const char* parameterID, float plainValue)
{
    if (auto* p = parameters.getParameter (parameterID))
        p->setValueNotifyingHost (p->convertTo0to1 (plainValue));
}

//==============================================================================
juce::AudioProcessorValueTreeState::ParameterLayout TarnwellCompressorAudioProcessor::createParameterLayout()
{
    Layout layout;

    addFloat (layout, "threshold", "Threshold", floatRange (-60.0f, 0.0f, 0.1f, 1.0f), -20.0f, "dB");
    addFloat (layout, "ratio", "Ratio", floatRange (1.0f, 20.0f, 0.1f, 1.0f), 2.0f, ":1");
    addFloat (layout, "attack", "Attack", floatRange (0.1f, 100.0f, 0.01f, 0.5f), 10.0f, "ms");
    addFloat (layout, "release", "Release", floatRange (10.0f, 5000.0f, 0.01f, 0.5f), 100.0f, "ms");
    addFloat (layout, "hold", "Hold", floatRange (0.0f, 300.0f, 0.01f, 0.5f), 0.0f, "ms", true);
    addSwitch (layout, "holdBypass", "Hold Bypass", false);
    addFloat (layout, "knee", "Knee", floatRange (0.0f, 10.0f, 0.1f, 1.0f), 2.0f, "dB");
    addFloat (layout, "range", "Range", floatRange (0.0f, 80.0f, 0.1f, 1.0f), 6.0f, "dB");
    addChoice (layout, "physicsMode", "Physics Mode",
               { "Standard", "F=ma Light", "F=ma Medium", "F=ma Heavy" }, 2);
    addFloat (layout, "forceMultiplier", "Force", floatRange (0.05f, 200.0f, 0.01f, 0.25f), 1.0f, "");
    addFloat (layout, "damping", "Damping", floatRange (1.0f, 20000.0f, 0.1f, 0.3f), 1.0f, "");
    addChoice (layout, "releaseMode", "Release Mode", { "BOX", "AIR" }, 0);
    addSwitch (layout, "rangeExtreme", "Range Extreme", false);
    addSwitch (layout, "forceExtreme", "Force Extreme", false);
    addSwitch (layout, "dampingExtreme", "Damping Extreme", false);
    addSwitch (layout, "bpmSync", "BPM Sync", false, true);
    addChoice (layout, "bpmSyncMode", "BPM Sync Mode", { "Normal", "Advanced" }, 0);
    addSwitch (layout, "noteGrid", "Note Grid", true, true);
    addSwitch (layout, "bypass", "Bypass", false);
    addFloat (layout, "tilt", "Tilt", floatRange (-100.0f, 100.0f, 1.0f, 1.0f), 0.0f, "%", true);
    addFloat (layout, "makeupGain", "Makeup Gain", floatRange (-20.0f, 20.0f, 0.1f, 1.0f), 0.0f, "dB");
    addFloat (layout, "inputGain", "Input Gain", floatRange (-20.0f, 20.0f, 0.1f, 1.0f), 0.0f, "dB");
    addFloat (layout, "outputGain", "Output Gain", floatRange (-20.0f, 20.0f, 0.1f, 1.0f), 0.0f, "dB");
    addSwitch (layout, "autoGain", "Auto Gain", false);
    addFloat (layout, "mix", "Mix", floatRange (0.0f, 100.0f, 0.1f, 1.0f), 100.0f, "%");
    addFloat (layout, "safety", "Safety", floatRange (0.0f, 100.0f, 1.0f, 1.0f), 0.0f, "%");
    addFloat (layout, "stability", "Stability", floatRange (0.0f, 100.0f, 1.0f, 1.0f), 0.0f, "%");
    addFloat (layout, "scHPF", "SC HPF", floatRange (0.0f, 300.0f, 1.0f, 1.0f), 0.0f, "Hz");
    addChoice (layout, "oversampling", "Oversampling", { "Off", "4x", "8x" }, 0);
    addSwitch (layout, "clampWaveforms", "Clamp Waveforms", true);
    addSwitch (layout, "autoThreshold", "Auto Threshold", false, false, 1);
    addSwitch (layout, "intAuto", "Intelligence Auto", false, false, 1);
    addSwitch (layout, "lookahead", "Lookahead", false, false, 1);

    return layout;
}

//==============================================================================
void TarnwellCompressorAudioProcessor::prepareToPlay (double newSampleRate, int maximumExpectedSamplesPerBlock)
{
    const int channels = getTotalNumOutputChannels();
    const int maxBlock = juce::jmax (1, maximumExpectedSamplesPerBlock);
    const juce::dsp::ProcessSpec processSpec { newSampleRate, (juce::uint32) maxBlock, 1 };

    sampleRate = newSampleRate;
    compressors.clear();
    dryDelayLines.clear();

    for (int channel = 0; channel < channels; ++channel)
    {
        auto compressor = std::make_unique<PhysicsCompressor>();
        compressor->prepare (newSampleRate, maxBlock);
        compressors.push_back (std::move (compressor));

        prepareDelayLine (dryDelayLines.emplace_back(), processSpec, (int) (0.1 * sampleRate), 0);
    }

    lookaheadSamples = (int) (20.0 * sampleRate / 1000.0);

    bypassDelayLines.clear();
    for (int channel = 0; channel < channels; ++channel)
        prepareDelayLine (bypassDelayLines.emplace_back(), processSpec, lookaheadSamples + 64, lookaheadSamples);

    dryBuffers.assign ((size_t) channels, std::vector<float> ((size_t) maxBlock, 0.0f));

    for (auto* smoother : { &inputGainSmoother, &outputGainSmoother, &makeupGainSmoother })
        smoother->reset (sampleRate, 0.02);

    lookaheadDelayLines.clear();
    for (int channel = 0; channel < channels; ++channel)
        prepareDelayLine (lookaheadDelayLines.emplace_back(), processSpec, lookaheadSamples + 1, lookaheadSamples);

    reportedLatency = -1;
    parameterChanged ({}, 0.0f);
    startTimer (50);
}

void TarnwellCompressorAudioProcessor::releaseResources()
{
    stopTimer();
    compressors.clear();
    dryDelayLines.clear();
    lookaheadDelayLines.clear();
}

//==============================================================================
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
    const float inputPeak = peakOf (buffer);
    const float inputRms = assistantsRunning ? rmsOf (buffer) : 0.0f;
    inputMeterLevel = juce::jmax (inputPeak, 0.92f * inputMeterLevel);

    applyOversamplingLatency();
    applyPendingLookaheadChange();
    reportLatency();

    bool captureDry = mix < 1.0f;
    for (const auto& dry : dryBuffers)
        captureDry = captureDry && (int) dry.size() >= numSamples;

    compressorsInUse.store (true);

    for (int ch = 0; ch < numChannels; ++ch)
    {
        if (ch >= (int) dryDelayLines.size())
            continue;

        auto* samples = buffer.getWritePointer (ch);
        delayAndCaptureDry (ch, samples, numSamples, captureDry);
        compressChannel (*compressors[(size_t) ch], samples, numSamples);
    }

    compressorsInUse.store (false);

    BlockLevels levels { -200.0f, -100.0f, -100.0f };
    if (assistantsRunning)
        levels = { decibelsOf (inputRms), juce::jmax (decibelsOf (rmsOf (buffer)), -100.0f),
                   juce::jmax (decibelsOf (peakOf (buffer)), -100.0f) };
    const float makeupDb = makeupForBlock (levels);
    makeupGainInUseDb.store (makeupDb);
    makeupGainSmoother.setTargetValue (gainFromDb (makeupDb));

    applyMakeupAndMix (buffer, mix, captureDry);
    applyGainRamp (outputGainSmoother, outputGain, buffer);
    updateClipIndicator (buffer);

    if (isOn (autoThresholdParam))
        stepAutoThreshold (levels.inputDb);

    updateRangeWarningGlow();
    protectOutput (buffer);
}

void TarnwellCompressorAudioProcessor::followHostTempo()
{
    auto* hostPlayHead = getPlayHead();
    if (hostPlayHead == nullptr)
        return;

    const auto position = hostPlayHead->getPosition();
    if (! position.hasValue())
        return;

    hostIsPlaying = position->getIsPlaying();

    // No tempo, 0 or nonsense keeps the last good one.
    const auto bpm = position->getBpm();
    const auto tempo = bpm.hasValue() ? usableTempo (*bpm) : std::nullopt;
    if (! tempo.has_value())
        return;

    const double oldBPM = savedBPM;
    savedBPM = *tempo;

    if (savedBPM != oldBPM && isOn (bpmSyncParam) && oldBPM > 0.0)
    {
        rescaleOffsetsForTempoChange (oldBPM, savedBPM);
        parameterChanged ({}, 0.0f);
        updateBPMSyncUIParameters();
    }
}

std::optional<double> TarnwellCompressorAudioProcessor::usableTempo (double bpm)
{
    // An absurdly fast tempo would shrink every synced time to nothing.
    if (! std::isfinite (bpm) || bpm <= 0.0)
        return std::nullopt;

    return juce::jmin (bpm, maximumBPM);
}

void TarnwellCompressorAudioProcessor::rescaleOffsetsForTempoChange (double oldBPM, double newBPM)
{
    // An offset keeps its length in beats.
    const auto ratio = (float) (oldBPM / newBPM);
    bpmSyncAttackOffset *= ratio;
    bpmSyncHoldOffset *= ratio;
    bpmSyncReleaseOffset *= ratio;
}

void TarnwellCompressorAudioProcessor::writeDisplayHistory (const juce::AudioBuffer<float>& buffer)
{
    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();
    const int step = juce::jmax (1, (int) (sampleRate / 300.0));
    const float reduction = isOn (bypassParam) || compressors.empty() ? 0.0f : compressors.front()->gainReductionDb;

    displayFrameSamples = juce::jmax (1, (int) (sampleRate / 60.0));

    for (int start = 0; start < numSamples; start += step)
    {
        const int end = juce::jmin (start + step, numSamples);
        float peak = 0.0f;

        for (int i = start; i < end; ++i)
        {
            float sum = 0.0f;
            for (int ch = 0; ch < numChannels; ++ch)
                sum += std::abs (buffer.getSample (ch, i));
            peak = juce::jmax (peak, sum / (float) numChannels);
        }

        inputHistoryEnvelope = peak >= inputHistoryEnvelope ? peak : juce::jmax (peak, 0.95f * inputHistoryEnvelope);

        const int inputPos = inputHistoryWritePos.load();
        inputHistoryRing[(size_t) inputPos] = inputHistoryEnvelope;
        inputHistoryWritePos.store ((inputPos + 1) % historySize);

        const int grPos = grHistoryWritePos.load();
        grHistoryRing[(size_t) grPos] = reduction;
        grHistoryWritePos.store ((grPos + 1) % historySize);
    }
}

void TarnwellCompressorAudioProcessor::takeSnapshotIfDue (int numSamples)
{
    displayFrameCounter += numSamples;
    if (displayFrameCounter < displayFrameSamples)
        return;

    displayFrameCounter = 0;

    auto& back = waveformSnapshots[(size_t) (1 - frontSnapshot.load())];
    const int w = inputHistoryWritePos.load();
    back.writePos = w;

    // With lookahead the reduction trails the input by 20 ms (six steps).
    const int shift = lookaheadActive.load() ? -6 : 0;

    for (int i = 0; i < snapshotSize; ++i)
    {
        back.input[(size_t) i] = inputHistoryRing[(size_t) ((w + snapshotSize + i + shift + historySize) % historySize)];
        back.gainReduction[(size_t) i] = grHistoryRing[(size_t) ((w + snapshotSize + i) % historySize)];
    }

    back.ready.store (true);
    frontSnapshot.store (1 - frontSnapshot.load());
}

void TarnwellCompressorAudioProcessor::updateClipIndicator (const juce::AudioBuffer<float>& buffer)
{
    if (peakOf (buffer) <= 1.0f)
        return;

    // The time of the first clip is kept until the editor acknowledges it.
    if (! clipIndicator.load())
        clipTimeMs.store (juce::Time::getMillisecondCounter());
    clipIndicator.store (true);
}

void TarnwellCompressorAudioProcessor::updateRangeWarningGlow()
{
    const float range = valueOr (rangeParam, 24.0f);
    const float reduction = compressors.empty() ? 0.0f : std::abs (compressors.front()->gainReductionDb);
    const float amount = juce::jlimit (0.0f, 1.0f, range > 0.1f ? reduction / range : 0.0f);

    if (amount >= 0.8f && amount < 0.98f)
    {
        rangeGlowLevel = juce::jmin (rangeGlowLevel + 0.05f, 1.0f);
        rangeGlowHoldBlocks = 86;
    }
    else if (rangeGlowHoldBlocks > 0)
    {
        --rangeGlowHoldBlocks;
    }
    else
    {
        rangeGlowLevel = juce::jmax (rangeGlowLevel - 0.005f, 0.0f);
    }

    rangeWarningGlow.store (rangeGlowLevel);
}

void TarnwellCompressorAudioProcessor::processBypassed (juce::AudioBuffer<float>& buffer)
{
    // Keep the lookahead latency while bypassed, so the host's compensation stays right.
    if (! lookaheadActive.load() || lookaheadSamples <= 0)
        return;

    const int channels = juce::jmin (buffer.getNumChannels(), (int) bypassDelayLines.size());

    for (int ch = 0; ch < channels; ++ch)
    {
        auto& line = bypassDelayLines[(size_t) ch];
        auto* samples = buffer.getWritePointer (ch);

        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            line.pushSample (0, samples[i]);
            samples[i] = line.popSample (0);
        }
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

void TarnwellCompressorAudioProcessor::applyOversamplingLatency()
{
    // Only count the oversampler's latency when the block really runs through it.
    const auto& first = *compressors.front();
    const int latency = first.isOversamplerReady() ? first.oversamplingLatency : 0;

    if (latency == appliedOversamplingLatency)
        return;

    appliedOversamplingLatency = latency;
    for (auto& line : dryDelayLines)
        setDelayWithinLine (line, latency);
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
        setDelayWithinLine (line, active ? lookaheadSamples : 0);
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
        setDelayWithinLine (line, total);
}

void TarnwellCompressorAudioProcessor::delayAndCaptureDry (int channel, float* samples, int numSamples, bool captureDry)
{
    auto& dryLine = dryDelayLines[(size_t) channel];
    auto* dry = dryBuffers[(size_t) channel].data();

    if (lookaheadActive.load() && channel < (int) lookaheadDelayLines.size())
    {
        auto& lookaheadLine = lookaheadDelayLines[(size_t) channel];

        for (int i = 0; i < numSamples; ++i)
        {
            const float x = samples[i];

            if (captureDry)
            {
                dryLine.pushSample (0, x);
                dry[i] = dryLine.popSample (0);
            }

            lookaheadLine.pushSample (0, x);
            samples[i] = lookaheadLine.popSample (0);
        }
    }
    else if (captureDry)
    {
        for (int i = 0; i < numSamples; ++i)
        {
            dryLine.pushSample (0, samples[i]);
            dry[i] = dryLine.popSample (0);
        }
    }
}

void TarnwellCompressorAudioProcessor::compressChannel (PhysicsCompressor& compressor, float* samples, int numSamples)
{
    if (! compressor.isOversamplerReady())
    {
        compressor.processInternal (samples, numSamples, false);
        return;
    }

    // The oversampler's fractional-delay stage is recursive: a single NaN or
    // Inf would stay in it for good. Such a sample leaves the plug-in as 0 anyway.
    for (int i = 0; i < numSamples; ++i)
        if (! std::isfinite (samples[i]))
            samples[i] = 0.0f;

    // A host may send a longer block than it announced; the oversampler only
    // holds what it was prepared for.
    auto& oversampler = *compressor.oversampler;
    const int chunkLimit = compressor.oversamplerBlockLimit();

    for (int start = 0; start < numSamples; start += chunkLimit)
    {
        float* channel[] = { samples + start };
        juce::dsp::AudioBlock<float> block (channel, 1, (size_t) juce::jmin (chunkLimit, numSamples - start));

        auto upsampled = oversampler.processSamplesUp (block);
        compressor.processInternal (upsampled.getChannelPointer (0), (int) upsampled.getNumSamples(), true);
        oversampler.processSamplesDown (block);
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
            samples[i] = std::isfinite (samples[i]) ? juce::jlimit (-10.0f, 10.0f, samples[i]) : 0.0f;
    }
}

//==============================================================================
void TarnwellCompressorAudioProcessor::parameterChanged (const juce::String& parameterID, float newValue)
{
    const bool deriving = ! restoringState.load();

    if (deriving && parameterID == "bpmSync" && isOn (bpmSyncParam) && bpmFreeMode)
    {
        // Switching tempo sync on always returns to the host tempo.
        bpmFreeMode = false;
        bpmSyncUiDirty = true;
        parameterChanged ({}, 0.0f);
    }

    if (parameterID == "lookahead")
        lookaheadChangePending.store (isOn (lookaheadParam) != lookaheadActive.load());

    for (auto& compressor : compressors)
        refreshCompressor (*compressor);

    if (juce::MessageManager::existsAndIsCurrentThread())
        rebuildPendingOversamplers();

    const bool syncOn = isOn (bpmSyncParam);

    if ((parameterID == "bpmSync" || parameterID.isEmpty()) && ! compressors.empty() && ! syncOn)
        takeBaseTimesFromParameters();

    if (deriving && parameterID == "bpmSyncMode" && ! compressors.empty() && syncOn)
    {
        updateTimingParametersForBPMSync();
        bpmSyncAttackOffset = bpmSyncHoldOffset = bpmSyncReleaseOffset = 0.0f;
    }

    if (deriving && parameterID == "tilt")
        applyTilt();

    if (deriving && (parameterID == "attack" || parameterID == "hold" || parameterID == "release"))
        storeTimeChange (parameterID);

    if (parameterID == "bpmSync")
    {
        if (! syncOn && bpmSyncWasOn)
            takeBaseTimesFromParameters();

        bpmSyncWasOn = syncOn;
    }

    if (parameterID == "autoThreshold")
    {
        if (newValue > 0.5f)
            startAutoThreshold();
        else
            cancelAutoThreshold();
    }
}

void TarnwellCompressorAudioProcessor::refreshCompressor (PhysicsCompressor& c)
{
    const bool holdBypassed = isOn (holdBypassParam);
    const float hold = valueOr (holdParam, 0.0f);
    const bool holdBelowGrid = isOn (noteGridParam) && hold <= 0.1f;

    c.thresholdDb = valueOr (thresholdParam, 0.0f);
    c.ratio = juce::jmax (valueOr (ratioParam, 1.0f), 1.0f);

    if (isOn (bpmSyncParam))
    {
        c.tempoFactor = juce::jmax (juce::jmax (tempoInUse(), 1.0) / 120.0, 0.1);
        c.bpmSyncEnabled = true;
        c.bpmSyncMode = (int) valueOr (bpmSyncModeParam, 0.0f);
        c.attackOffsetMs = juce::jlimit (-500.0f, 500.0f, bpmSyncAttackOffset);
        c.holdOffsetMs = (holdBypassed || holdBelowGrid) ? 0.0f : juce::jlimit (-500.0f, 500.0f, bpmSyncHoldOffset);
        c.releaseOffsetMs = juce::jlimit (-2000.0f, 2000.0f, bpmSyncReleaseOffset);
    }
    else
    {
        c.attackMs = juce::jmax (valueOr (attackParam, 10.0f), 0.1f);
        c.releaseMs = juce::jmax (valueOr (releaseParam, 100.0f), 1.0f);
        c.holdMs = (holdBypassed || holdBelowGrid) ? 0.0f : juce::jmax (hold, 0.0f);
        c.bpmSyncEnabled = false;
        c.tempoFactor = 1.0;
    }

    c.kneeDb = juce::jmax (valueOr (kneeParam, 0.0f), 0.0f);
    c.rangeDb = juce::jmax (valueOr (rangeParam, 0.0f), 0.0f);
    c.setPhysicsMode ((int) valueOr (physicsModeParam, 0.0f));
    c.forceMultiplier = juce::jlimit (0.05f, 100.0f, valueOr (forceMultiplierParam, 1.0f));
    c.damping = juce::jlimit (1.0f, 10000.0f, valueOr (dampingParam, 1.0f));
    c.releaseMode = (int) valueOr (releaseModeParam, 0.0f);
    c.rangeExtreme = valueOr (rangeExtremeParam, 0.0f) >= 0.5f;
    c.forceExtreme = valueOr (forceExtremeParam, 0.0f) >= 0.5f;
    c.dampingExtreme = valueOr (dampingExtremeParam, 0.0f) >= 0.5f;

    // Tilt is applied to the time parameters themselves, never inside the compressor.
    c.tilt = 0.0f;
    c.safety = valueOr (safetyParam, 0.0f);
    c.stability = valueOr (stabilityParam, 0.0f);

    // The coefficients depend only on the fields set above, so one update
    // gives the same result as updating after each of them.
    c.updateCoefficients();

    c.sidechainHpfHz = valueOr (scHPFParam, 0.0f);
    c.updateSidechainFilter();

    c.requestOversampling ((int) valueOr (oversamplingParam, 0.0f));
}

void TarnwellCompressorAudioProcessor::takeBaseTimesFromParameters()
{
    baseAttackMs = valueOr (attackParam, 10.0f);
    baseHoldMs = valueOr (holdParam, 0.0f);
    baseReleaseMs = valueOr (releaseParam, 100.0f);
}

void TarnwellCompressorAudioProcessor::applyTilt()
{
    if (! hasTimeParameters())
        return;

    float attack = baseAttackMs, hold = baseHoldMs, release = baseReleaseMs;

    if (isOn (bpmSyncParam))
    {
        attack += bpmSyncAttackOffset;
        hold += bpmSyncHoldOffset;
        release += bpmSyncReleaseOffset;
    }

    applyTiltTo (attack, hold, release);
    writeTimeParameters (attack, hold, release);
}

void TarnwellCompressorAudioProcessor::storeTimeChange (const juce::String& parameterID)
{
    if (timingUpdateInProgress.load())
        return;

    if (isOn (bpmSyncParam))
    {
        // The knob sets how far the time deviates from the tempo-derived one.
        if (parameterID == "attack")
            bpmSyncAttackOffset = valueOr (attackParam, 10.0f) - baseAttackMs;
        else if (parameterID == "hold")
            bpmSyncHoldOffset = valueOr (holdParam, 0.0f) - baseHoldMs;
        else
            bpmSyncReleaseOffset = valueOr (releaseParam, 100.0f) - baseReleaseMs;

        // The refresh at the top of this reaction ran before the offset
        // changed; without this the knob would only be heard on the next change.
        for (auto& compressor : compressors)
            refreshCompressor (*compressor);
    }
    else if (tiltParam != nullptr && tiltParam->load() == 0.0f)
    {
        // While a tilt is applied the base times keep their untilted values.
        takeBaseTimesFromParameters();
    }
}

bool TarnwellCompressorAudioProcessor::hasTimeParameters() const
{
    return attackParam != nullptr && holdParam != nullptr && releaseParam != nullptr;
}

void TarnwellCompressorAudioProcessor::applyTiltTo (float& attack, float& hold, float& release) const
{
    if (const float tilt = valueOr (tiltParam, 0.0f); tilt != 0.0f)
    {
        attack *= calculateTiltMultiplierForValue (attack, tilt);
        hold *= calculateTiltMultiplierForValue (hold, tilt);
        release *= calculateTiltMultiplierForValue (release, tilt);
    }
}

// In this order: each write runs the reaction for that time before the next.
void TarnwellCompressorAudioProcessor::writeTimeParameters (float attack, float hold, float release)
{
    setParameterFromPlainValue ("attack", attack);
    setParameterFromPlainValue ("hold", hold);
    setParameterFromPlainValue ("release", release);
}

float TarnwellCompressorAudioProcessor::calculateTiltMultiplierForValue (float timeMs, float tiltPercent) const
{
    return PhysicsCompressor::calculateTiltMultiplier (timeMs, tiltPercent, tempoInUse());
}

//==============================================================================
void TarnwellCompressorAudioProcessor::updateTimingParametersForBPMSync()
{
    if (compressors.empty() || ! isOn (bpmSyncParam) || ! hasTimeParameters())
        return;

    auto& first = *compressors.front();
    first.updateCoefficients();

    // The compressor's effective times already hold the offsets, so a
    // non-zero offset counts twice here.
    baseAttackMs = first.effectiveAttackMs;
    baseHoldMs = first.effectiveHoldMs;
    baseReleaseMs = first.effectiveReleaseMs;

    float attack = baseAttackMs + bpmSyncAttackOffset;
    float hold = baseHoldMs + bpmSyncHoldOffset;
    float release = baseReleaseMs + bpmSyncReleaseOffset;

    applyTiltTo (attack, hold, release);

    timingUpdateInProgress = true;
    writeTimeParameters (attack, hold, release);
    timingUpdateInProgress = false;
}

void TarnwellCompressorAudioProcessor::updateBPMSyncUIParameters()
{
    if (compressors.empty() || ! isOn (bpmSyncParam) || ! hasTimeParameters())
        return;

    auto& first = *compressors.front();
    first.updateCoefficients();

    // An offset this small counts as none: show the tempo-derived time.
    if (std::abs (bpmSyncAttackOffset) < 0.01f)
        baseAttackMs = first.effectiveAttackMs;
    if (std::abs (bpmSyncHoldOffset) < 0.01f)
        baseHoldMs = first.effectiveHoldMs;
    if (std::abs (bpmSyncReleaseOffset) < 0.01f)
        baseReleaseMs = first.effectiveReleaseMs;

    writeTimeParameters (baseAttackMs + bpmSyncAttackOffset, baseHoldMs + bpmSyncHoldOffset,
                         baseReleaseMs + bpmSyncReleaseOffset);
}

//==============================================================================
float TarnwellCompressorAudioProcessor::makeupForBlock (const BlockLevels& levels)
{
    const float makeupParameterDb = valueOr (makeupGainParam, 0.0f);

    if (! isOn (autoGainParam))
    {
        autoGainLearning = false;
        autoGainBlocks = 0;
        return makeupParameterDb;
    }

    if (! autoGainLearning)
    {
        learnedMakeupDb = makeupParameterDb;
        predictedPeakDb = -100.0f;
        autoGainBlocks = 0;
        autoGainStartTime = secondsClock();
        autoGainLearning = true;
    }

    if (levels.inputDb > -40.0f)
    {
        // Rise slowly towards more gain, fall fast towards less.
        const float target = juce::jlimit (-24.0f, 24.0f, levels.inputDb - levels.outputDb - 2.0f);
        const float weight = target > learnedMakeupDb ? 0.02f : 0.2f;
        learnedMakeupDb += weight * (target - learnedMakeupDb);
        predictedPeakDb = juce::jmax (predictedPeakDb, levels.outputPeakDb + learnedMakeupDb);
        ++autoGainBlocks;
    }

    const float makeupDb = learnedMakeupDb;

    if (autoGainBlocks.load() > 214 || secondsClock() - autoGainStartTime >= 10.0)
    {
        // Keep the loudest predicted peak at -0.5 dBFS at most.
        setParameterFromPlainValue ("autoGain", 0.0f);
        setParameterFromPlainValue ("makeupGain", predictedPeakDb > -0.5f ? makeupDb - (predictedPeakDb + 0.5f) : makeupDb);
        autoGainBlocks = 0;
        autoGainLearning = false;
    }

    return makeupDb;
}

void TarnwellCompressorAudioProcessor::startAutoThreshold()
{
    if (autoThresholdActive || thresholdParam == nullptr || ratioParam == nullptr || makeupGainParam == nullptr
        || rangeParam == nullptr)
        return;

    clearReductionStatistics();
    smoothedInputDb = -100.0f;

    savedThresholdDb = thresholdParam->load();
    savedRatio = ratioParam->load();
    savedMakeupDb = makeupGainParam->load();
    savedRangeDb = rangeParam->load();
    autoThresholdStartTime = secondsClock();
    autoThresholdBlocks = 0;

    if (isOn (intAutoParam))
    {
        if (savedRangeDb < 0.1f)
        {
            savedRangeDb = 3.0f;
            setParameterFromPlainValue ("range", 3.0f);
        }

        setParameterFromPlainValue ("threshold", 0.0f);
        setParameterFromPlainValue ("ratio", 2.0f);
        setParameterFromPlainValue ("makeupGain", -savedRangeDb);
        autoThresholdDb = 0.0f;
        autoRatio = 2.0f;
        autoThresholdState = 2;
    }
    else
    {
        autoThresholdDb = savedThresholdDb;
        autoRatio = savedRatio;
        autoThresholdState = savedRatio < 2.0f ? 1 : 2;
    }

    autoThresholdActive = true;
}

void TarnwellCompressorAudioProcessor::cancelAutoThreshold()
{
    const bool restore = autoThresholdActive && autoThresholdState.load() != 0;
    autoThresholdState = 0;
    autoThresholdActive = false;

    if (restore)
    {
        setParameterFromPlainValue ("threshold", savedThresholdDb);
        setParameterFromPlainValue ("ratio", savedRatio);
        setParameterFromPlainValue ("makeupGain", savedMakeupDb);
        setParameterFromPlainValue ("autoThreshold", 0.0f);
        setParameterFromPlainValue ("intAuto", 0.0f);
    }
}

void TarnwellCompressorAudioProcessor::clearReductionStatistics()
{
    nearRangeBlocks = 0;
    reductionBlocks = 0;
    peakReductionDb = 0.0f;
    minReductionDb = 100.0f;
    maxReductionDb = -100.0f;
}

void TarnwellCompressorAudioProcessor::updateReductionStatistics (float reduction)
{
    if (reduction > 0.5f)
    {
        minReductionDb = juce::jmin (minReductionDb, reduction);
        maxReductionDb = juce::jmax (maxReductionDb, reduction);
        ++reductionBlocks;
        if (reduction >= 0.95f * savedRangeDb)
            ++nearRangeBlocks;
    }

    peakReductionDb = juce::jmax (peakReductionDb, reduction);
}

void TarnwellCompressorAudioProcessor::stepAutoThreshold (float inputDb)
{
    if (autoThresholdState.load() == 0)
        return;

    if (secondsClock() - autoThresholdStartTime >= 25.0)
        autoThresholdState = 4;

    // Only blocks with a signal move the run on, the finish included.
    if (inputDb < -40.0f)
        return;

    if (savedRangeDb < 0.1f)
    {
        // Nothing to fill: give up, and let the switch's reaction restore the settings.
        setParameterFromPlainValue ("autoThreshold", 0.0f);
        autoThresholdState = 0;
        return;
    }

    const float reduction = compressors.empty() ? 0.0f : std::abs (compressors.front()->gainReductionDb);

    switch (autoThresholdState.load())
    {
        case 1:
            if (autoRatio < 2.0f)
            {
                autoRatio = juce::jmin (autoRatio + 0.1f, 2.0f);
                setParameterFromPlainValue ("ratio", autoRatio);
            }
            else
            {
                clearReductionStatistics();
                autoThresholdBlocks = 0;
                autoThresholdState = 2;
            }
            break;

        case 2:
            updateReductionStatistics (reduction);
            smoothedInputDb = 0.9f * smoothedInputDb + 0.1f * inputDb;
            if (autoThresholdBlocks++ > 48)
                autoThresholdState = 3;
            break;

        case 3:
            adjustAutoThreshold (inputDb, reduction);
            break;

        case 4:
            autoThresholdState = 0;
            autoThresholdActive = false;
            setParameterFromPlainValue ("autoThreshold", 0.0f);
            setParameterFromPlainValue ("intAuto", 0.0f);
            setParameterFromPlainValue ("autoGain", 1.0f);
            break;

        default:
            break;
    }
}

void TarnwellCompressorAudioProcessor::adjustAutoThreshold (float inputDb, float reduction)
{
    const int k = ++autoThresholdBlocks;
    smoothedInputDb = 0.9f * smoothedInputDb + 0.1f * inputDb;
    updateReductionStatistics (reduction);

    const float fill = savedRangeDb > 0.1f ? peakReductionDb / savedRangeDb : 0.0f;
    const bool intelligent = isOn (intAutoParam);

    // Stuck: the reduction sits at the range (or barely moves near it) whatever the threshold does.
    const bool stuck = reductionBlocks >= 20 && minReductionDb <= 50.0f && maxReductionDb >= -50.0f
                       && ((float) nearRangeBlocks / (float) reductionBlocks > 0.9f
                           || (maxReductionDb > 0.8f * savedRangeDb && maxReductionDb - minReductionDb < 2.0f));

    if (k % 3 == 0 && ! (stuck && fill <= 1.0f))
    {
        if (fill < 0.8f)
        {
            const float gap = autoThresholdDb - (smoothedInputDb - 10.0f);
            const float step = gap > 20.0f ? 3.0f : (gap > 10.0f ? 2.0f : 1.0f);
            autoThresholdDb = juce::jmax (autoThresholdDb - step, -60.0f);

            if (intelligent)
            {
                const float target = juce::jmax (juce::jmin (0.6f * savedRangeDb + 1.0f, 20.0f), 1.0f);
                if (target > autoRatio)
                    autoRatio = juce::jmin (target, autoRatio + 0.25f);
            }
        }
        else if (fill > 1.0f)
        {
            autoThresholdDb = juce::jmin (autoThresholdDb + 0.3f, 0.0f);
        }

        peakReductionDb = 0.0f;
    }

    if (intelligent)
        moveParameterTowards ("ratio", autoRatio, 0.25f);
    moveParameterTowards ("threshold", autoThresholdDb, 0.25f);

    const bool converged = fill >= 0.8f && fill <= 1.0f
                           && (smoothedInputDb >= -30.0f || smoothedInputDb - 10.0f >= autoThresholdDb);

    if ((converged && ! stuck) || autoThresholdBlocks.load() > 2399)
        autoThresholdState = 4;
}

void TarnwellCompressorAudioProcessor::moveParameterTowards (const char* parameterID, float plainTarget, float fraction)
{
    if (auto* p = parameters.getParameter (parameterID))
    {
        const float current = p->getValue();
        p->setValueNotifyingHost (current + fraction * (p->convertTo0to1 (plainTarget) - current));
    }
}

//==============================================================================
void TarnwellCompressorAudioProcessor::rebuildPendingOversamplers()
{
    for (auto& compressor : compressors)
    {
        if (! compressor->oversamplingUpdatePending.load())
            continue;

        // The audio thread stays off an oversampler whose request is pending,
        // but a block that started before the request may still be running.
        const auto deadline = juce::Time::getMillisecondCounter() + 200;
        while (compressorsInUse.load())
        {
            if (juce::Time::getMillisecondCounter() > deadline)
                return; // try again on the next timer tick
            juce::Thread::yield();
        }

        compressor->updateOversamplingIfNeeded();
    }
}

void TarnwellCompressorAudioProcessor::timerCallback()
{
    rebuildPendingOversamplers();
}

juce::AudioProcessorEditor* TarnwellCompressorAudioProcessor::createEditor()
{
    return new juce::GenericAudioProcessorEditor (*this);
}

juce::AudioProcessorParameter* TarnwellCompressorAudioProcessor::getBypassParameter() const
{
    return parameters.getParameter ("bypass");
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new TarnwellCompressorAudioProcessor();
}
