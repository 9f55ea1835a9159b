// Reactions to parameter changes, tempo sync and tilt.
#include "PluginProcessor.h"

#include "ParameterIDs.h"
#include "RawParameterValues.h"

namespace
{
using raw::isOn;
using raw::valueOr;
} // namespace

thread_local bool TarnwellCompressorAudioProcessor::reactionRunning = false;

void TarnwellCompressorAudioProcessor::parameterChanged (const juce::String& parameterID, float newValue)
{
    const juce::ScopedValueSetter<bool> reacting (reactionRunning, true);
    const bool deriving = ! restoringState.load();

    if (deriving && parameterID == ParameterIDs::bpmSync && isOn (bpmSyncParam) && bpmFreeMode)
    {
        // Switching tempo sync on always returns to the host tempo.
        bpmFreeMode = false;
        bpmSyncUiDirty = true;
        parameterChanged ({}, 0.0f);
    }

    if (parameterID == ParameterIDs::lookahead)
        lookaheadChangePending.store (isOn (lookaheadParam) != lookaheadActive.load());

    for (auto& compressor : compressors)
        refreshCompressor (*compressor);

    if (juce::MessageManager::existsAndIsCurrentThread())
        rebuildPendingOversamplers();

    const bool syncOn = isOn (bpmSyncParam);

    if ((parameterID == ParameterIDs::bpmSync || parameterID.isEmpty()) && ! compressors.empty() && ! syncOn)
        takeBaseTimesFromParameters();

    if (deriving && parameterID == ParameterIDs::bpmSyncMode && ! compressors.empty() && syncOn)
    {
        updateTimingParametersForBPMSync();
        bpmSyncAttackOffset = bpmSyncHoldOffset = bpmSyncReleaseOffset = 0.0f;
    }

    if (deriving && parameterID == ParameterIDs::tilt)
        applyTilt();

    if (deriving && (parameterID == ParameterIDs::attack || parameterID == ParameterIDs::hold
                     || parameterID == ParameterIDs::release))
        storeTimeChange (parameterID);

    if (parameterID == ParameterIDs::bpmSync)
    {
        if (! syncOn && bpmSyncWasOn)
            takeBaseTimesFromParameters();

        bpmSyncWasOn = syncOn;
    }

    if (parameterID == ParameterIDs::autoThreshold)
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
        if (parameterID == ParameterIDs::attack)
            bpmSyncAttackOffset = valueOr (attackParam, 10.0f) - baseAttackMs;
        else if (parameterID == ParameterIDs::hold)
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
    setParameterFromPlainValue (ParameterIDs::attack, attack);
    setParameterFromPlainValue (ParameterIDs::hold, hold);
    setParameterFromPlainValue (ParameterIDs::release, release);
}

float TarnwellCompressorAudioProcessor::calculateTiltMultiplierForValue (float timeMs, float tiltPercent) const
{
    return PhysicsCompressor::calculateTiltMultiplier (timeMs, tiltPercent, tempoInUse());
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
