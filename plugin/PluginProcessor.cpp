// Construction, the parameter tree's listeners and the small host-facing overrides.
#include "PluginProcessor.h"
#include "PluginEditor.h"

#include "ParameterIDs.h"

namespace
{
constexpr int messageThreadTickMs = 50;
} // namespace

TarnwellCompressorAudioProcessor::TarnwellCompressorAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, nullptr, "TarnwellCompressor", createParameterLayout())
{
    presetManager = std::make_unique<PresetManager> (
        parameters, PresetManager::Owner { [this] { return savedBPM; },
                                           [this] (juce::ValueTree tree) { applyFinalState (std::move (tree)); } });

    thresholdParam = rawValue (ParameterIDs::threshold);
    ratioParam = rawValue (ParameterIDs::ratio);
    attackParam = rawValue (ParameterIDs::attack);
    releaseParam = rawValue (ParameterIDs::release);
    holdParam = rawValue (ParameterIDs::hold);
    holdBypassParam = rawValue (ParameterIDs::holdBypass);
    kneeParam = rawValue (ParameterIDs::knee);
    rangeParam = rawValue (ParameterIDs::range);
    physicsModeParam = rawValue (ParameterIDs::physicsMode);
    forceMultiplierParam = rawValue (ParameterIDs::forceMultiplier);
    dampingParam = rawValue (ParameterIDs::damping);
    releaseModeParam = rawValue (ParameterIDs::releaseMode);
    rangeExtremeParam = rawValue (ParameterIDs::rangeExtreme);
    forceExtremeParam = rawValue (ParameterIDs::forceExtreme);
    dampingExtremeParam = rawValue (ParameterIDs::dampingExtreme);
    bpmSyncParam = rawValue (ParameterIDs::bpmSync);
    bpmSyncModeParam = rawValue (ParameterIDs::bpmSyncMode);
    bypassParam = rawValue (ParameterIDs::bypass);
    tiltParam = rawValue (ParameterIDs::tilt);
    makeupGainParam = rawValue (ParameterIDs::makeupGain);
    inputGainParam = rawValue (ParameterIDs::inputGain);
    outputGainParam = rawValue (ParameterIDs::outputGain);
    autoGainParam = rawValue (ParameterIDs::autoGain);
    mixParam = rawValue (ParameterIDs::mix);
    safetyParam = rawValue (ParameterIDs::safety);
    stabilityParam = rawValue (ParameterIDs::stability);
    scHPFParam = rawValue (ParameterIDs::scHPF);
    oversamplingParam = rawValue (ParameterIDs::oversampling);
    autoThresholdParam = rawValue (ParameterIDs::autoThreshold);
    intAutoParam = rawValue (ParameterIDs::intAuto);
    lookaheadParam = rawValue (ParameterIDs::lookahead);
    noteGridParam = rawValue (ParameterIDs::noteGrid);

    for (auto& snapshot : waveformSnapshots)
    {
        snapshot.input.assign (snapshotSize, 0.0f);
        snapshot.gainReduction.assign (snapshotSize, 0.0f);
    }

    inputHistoryRing.assign (historySize, 0.0f);
    grHistoryRing.assign (historySize, 0.0f);

    for (const auto& id : reactingParameterIDs())
        parameters.addParameterListener (id, this);

    parameterChanged ({}, 0.0f);

    // Factory names carry a number, so only a user preset can be called this.
    presetManager->loadPreset ("Default");

    // parametersToAnnounce holds one bit per parameter.
    jassert (getParameters().size() <= 64);
    startTimer (messageThreadTickMs);
}

TarnwellCompressorAudioProcessor::~TarnwellCompressorAudioProcessor()
{
    stopTimer();

    for (const auto& id : reactingParameterIDs())
        parameters.removeParameterListener (id, this);
}

const juce::StringArray& TarnwellCompressorAudioProcessor::reactingParameterIDs()
{
    namespace id = ParameterIDs;
    static const juce::StringArray ids { id::threshold, id::ratio, id::attack, id::release, id::hold, id::knee,
                                         id::range, id::physicsMode, id::forceMultiplier, id::damping, id::bpmSync,
                                         id::bpmSyncMode, id::tilt, id::safety, id::stability, id::scHPF,
                                         id::outputGain, id::autoGain, id::oversampling, id::autoThreshold,
                                         id::intAuto, id::lookahead };
    return ids;
}

std::atomic<float>* TarnwellCompressorAudioProcessor::rawValue (const char* parameterID) const
{
    return parameters.getRawParameterValue (parameterID);
}

void TarnwellCompressorAudioProcessor::setParameterFromPlainValue (const char* parameterID, float plainValue)
{
    // A value that is not finite would stay in the parameter and reach the host.
    if (! std::isfinite (plainValue))
        return;

    if (auto* p = parameters.getParameter (parameterID))
        writeParameter (*p, p->convertTo0to1 (plainValue));
}

void TarnwellCompressorAudioProcessor::writeParameter (juce::RangedAudioParameter& parameter, float normalisedValue)
{
    parameter.setValueNotifyingHost (normalisedValue);

    if (reactionRunning)
        parametersToAnnounce.fetch_or (juce::uint64 { 1 } << parameter.getParameterIndex(), std::memory_order_release);
}

void TarnwellCompressorAudioProcessor::announceWrittenParameters()
{
    const auto written = parametersToAnnounce.exchange (0, std::memory_order_acquire);
    const auto& all = getParameters();

    // The tree's listeners ignore a value they already have, so this reaches
    // only the host (and the editor's controls) and starts no reaction again.
    for (int index = 0; index < all.size(); ++index)
        if (((written >> index) & 1) != 0)
            all[index]->sendValueChangedMessageToListeners (all[index]->getValue());
}

void TarnwellCompressorAudioProcessor::timerCallback()
{
    rebuildPendingOversamplers();
    announceWrittenParameters();
}

juce::AudioProcessorEditor* TarnwellCompressorAudioProcessor::createEditor()
{
    return new TarnwellCompressorAudioProcessorEditor (*this);
}

juce::AudioProcessorParameter* TarnwellCompressorAudioProcessor::getBypassParameter() const
{
    return parameters.getParameter (ParameterIDs::bypass);
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new TarnwellCompressorAudioProcessor();
}
