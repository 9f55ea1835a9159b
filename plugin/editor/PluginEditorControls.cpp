// What the editor's own controls do when used, and the update functions that
// keep them in step with the parameters they show.
#include "PluginEditor.h"

#include "EditorColours.h"
#include "ParameterIDs.h"
#include "TempoSyncTimes.h"

namespace
{
namespace ids = ParameterIDs;
using namespace EditorColours;

constexpr int animationPeriodMs = 16;
constexpr int ecoAnimationPeriodMs = 50;

constexpr float disabledPhysicsAlpha = 0.4f;
constexpr float readOnlyTempoFieldAlpha = 0.7f;

constexpr double minimumManualBPM = 20.0;
constexpr double maximumManualBPM = 999.0;

constexpr double extremeRangeInterval = 0.1;
constexpr double forceInterval = 0.01;
constexpr double dampingInterval = 0.1;

const juce::Range<double> narrowRangeDb { 0.0, 40.0 }, wideRangeDb { 0.0, 80.0 };
const juce::Range<double> narrowForce { 0.05, 100.0 }, wideForce { 0.05, 200.0 };
const juce::Range<double> narrowDamping { 1.0, 10000.0 }, wideDamping { 1.0, 20000.0 };
} // namespace

//==============================================================================
// Parameter access.

float TarnwellCompressorAudioProcessorEditor::rawValue (const char* parameterID, float fallback) const
{
    if (auto* value = audioProcessor.parameters.getRawParameterValue (parameterID))
        return value->load();
    return fallback;
}

float TarnwellCompressorAudioProcessorEditor::normalisedValue (const char* parameterID) const
{
    if (auto* parameter = audioProcessor.parameters.getParameter (parameterID))
        return parameter->getValue();
    return 0.0f;
}

void TarnwellCompressorAudioProcessorEditor::setParameterNormalised (const char* parameterID, float value)
{
    if (auto* parameter = audioProcessor.parameters.getParameter (parameterID))
        parameter->setValueNotifyingHost (value);
}

void TarnwellCompressorAudioProcessorEditor::toggleParameter (const char* parameterID)
{
    const float x = normalisedValue (parameterID);

    // These two switch on only from a value at or below one half.
    if (juce::String (parameterID) == ids::autoThreshold || juce::String (parameterID) == ids::lookahead)
        setParameterNormalised (parameterID, x > 0.5f ? 0.0f : 1.0f);
    else
        setParameterNormalised (parameterID, x < 0.5f ? 1.0f : 0.0f);
}

double TarnwellCompressorAudioProcessorEditor::tempo() const
{
    return juce::jmax (1.0, audioProcessor.tempoInUse());
}

int TarnwellCompressorAudioProcessorEditor::lightAnimationPeriodMs() const
{
    return audioProcessor.ecoMode ? ecoAnimationPeriodMs : animationPeriodMs;
}

//==============================================================================
// Click handlers.

void TarnwellCompressorAudioProcessorEditor::switchNoteGrid()
{
    noteGridEnabled = noteGridButton.getToggleState();
    setParameterNormalised (ids::noteGrid, noteGridEnabled ? 1.0f : 0.0f);
    applyNoteGridSettings();
}

void TarnwellCompressorAudioProcessorEditor::switchNoteVariant (juce::TextButton& button, bool& flag,
                                                                CustomSlider& knob)
{
    flag = button.getToggleState();
    applyNoteGridSettings();

    if (noteGridEnabled)
        knob.reSnapToGrid();
}

void TarnwellCompressorAudioProcessorEditor::switchTempoSync()
{
    setParameterNormalised (ids::bpmSync, 1.0f - normalisedValue (ids::bpmSync));
    bpmSyncScrewButton.lit = rawValue (ids::bpmSync, 0.0f) >= 0.5f;
    bpmSyncScrewButton.repaint();
    updateBpmSyncModeButton();
}

void TarnwellCompressorAudioProcessorEditor::openTempoSyncModeChoice()
{
    bpmSyncModeChoiceOpen = true;
    updateBpmSyncModeButton();
}

void TarnwellCompressorAudioProcessorEditor::applyTempoSyncPreset (bool advanced)
{
    setParameterNormalised (ids::bpmSyncMode, advanced ? 1.0f : 0.0f);

    const double beatMs = 60000.0 / tempo();
    const auto times = advanced ? TempoSyncTimes::advanced (beatMs) : TempoSyncTimes::normal (beatMs);

    for (const auto& [id, ms] : { std::pair { ids::attack, times.attack },
                                  std::pair { ids::hold, times.hold },
                                  std::pair { ids::release, times.release } })
    {
        if (auto* parameter = audioProcessor.parameters.getParameter (id))
            parameter->setValueNotifyingHost (parameter->convertTo0to1 ((float) ms));
    }

    audioProcessor.bpmSyncAttackOffset = 0.0f;
    audioProcessor.bpmSyncHoldOffset = 0.0f;
    audioProcessor.bpmSyncReleaseOffset = 0.0f;
    audioProcessor.updateTimingParametersForBPMSync();
    audioProcessor.updateBPMSyncUIParameters();
    updateBpmSyncModeButton();
}

// The decision follows autoThreshold alone: both switch off together, or on
// together with intAuto first.
void TarnwellCompressorAudioProcessorEditor::switchIntelligentAutoThreshold()
{
    if (normalisedValue (ids::autoThreshold) > 0.5f)
    {
        setParameterNormalised (ids::autoThreshold, 0.0f);
        setParameterNormalised (ids::intAuto, 0.0f);
    }
    else
    {
        setParameterNormalised (ids::intAuto, 1.0f);
        setParameterNormalised (ids::autoThreshold, 1.0f);
    }
}

// The toggle moves between the first and the last choice ("Off" and "8x").
void TarnwellCompressorAudioProcessorEditor::switchOversampling()
{
    setParameterNormalised (ids::oversampling, oversamplingButton.getToggleState() ? 1.0f : 0.0f);
}

void TarnwellCompressorAudioProcessorEditor::switchTempoMode()
{
    audioProcessor.bpmFreeMode = ! audioProcessor.bpmFreeMode;
    audioProcessor.bpmSyncUiDirty.store (true);
    audioProcessor.parameterChanged ({}, 0.0f);
    showTempoMode();
}

void TarnwellCompressorAudioProcessorEditor::showTempoMode()
{
    const bool free = audioProcessor.bpmFreeMode;
    const juce::String text = free ? "FREE" : "SYNC";

    if (bpmModeButton.getButtonText() != text)
    {
        bpmModeButton.setButtonText (text);
        bpmModeButton.repaint();
    }

    bpmModeButton.setColour (juce::TextButton::buttonColourId,
                             juce::Colour (free ? freeTempoButton : syncTempoButton));
    bpmTextEditor.setReadOnly (! free);
    bpmTextEditor.setAlpha (free ? 1.0f : readOnlyTempoFieldAlpha);
}

void TarnwellCompressorAudioProcessorEditor::commitManualTempo (bool giveAwayFocus)
{
    const double bpm = juce::jlimit (minimumManualBPM, maximumManualBPM,
                                     (double) bpmTextEditor.getText().getIntValue());
    audioProcessor.manualBPM = bpm;

    if (audioProcessor.bpmFreeMode)
        audioProcessor.parameterChanged ({}, 0.0f);

    bpmTextEditor.setText (juce::String ((int) bpm), juce::dontSendNotification);

    if (giveAwayFocus)
        if (auto* focused = juce::Component::getCurrentlyFocusedComponent())
            focused->giveAwayKeyboardFocus();
}

void TarnwellCompressorAudioProcessorEditor::toggleKneeGlow()
{
    auto& glow = audioProcessor.kneeGlowEnabled;
    glow.exchange (! glow.load());
    kneeKnob.repaint();
}

void TarnwellCompressorAudioProcessorEditor::resetKneeFromRing()
{
    kneeKnob.setValue (2.0, juce::sendNotificationSync);
}

void TarnwellCompressorAudioProcessorEditor::applyNoteGridSettings()
{
    const double gridTempo = tempo();

    const std::tuple<CustomSlider*, bool, bool> knobs[] = {
        { &attackKnob, attackDotted, attackTriplet },
        { &holdKnob, holdDotted, holdTriplet },
        { &releaseKnob, releaseDotted, releaseTriplet },
    };

    for (const auto& [knob, dotted, triplet] : knobs)
    {
        knob->snapToNoteGrid = noteGridEnabled;
        knob->gridBpm = gridTempo;
        knob->dottedNotes = dotted;
        knob->tripletNotes = triplet;
    }

    for (auto* button : { &attackNoteButton, &holdNoteButton, &releaseNoteButton })
        button->setToggleState (noteGridEnabled, juce::dontSendNotification);
}

//==============================================================================
// Update functions.

void TarnwellCompressorAudioProcessorEditor::updatePhysicsControlsAvailability()
{
    if (audioProcessor.parameters.getParameter (ids::physicsMode) == nullptr)
        return;

    const int index = (int) (normalisedValue (ids::physicsMode) * 3.0f + 0.5f);
    const bool available = index != 0;

    for (auto* component : std::initializer_list<juce::Component*> { &forceMultiplierKnob, &forceMultiplierLabel,
                                                                     &dampingKnob, &dampingLabel })
    {
        component->setEnabled (available);
        component->setAlpha (available ? 1.0f : disabledPhysicsAlpha);
        component->repaint();
    }
}

void TarnwellCompressorAudioProcessorEditor::updateReleaseModeButton()
{
    if (audioProcessor.parameters.getRawParameterValue (ids::releaseMode) == nullptr)
        return;

    const bool air = rawValue (ids::releaseMode, 0.0f) >= 0.5f;
    const juce::String text = air ? "AIR" : "BOX";
    releaseModeButton.offText = text;
    releaseModeButton.onText = text;
    releaseModeButton.accentColour = juce::Colour (air ? airAccent : boxAccent);
    releaseModeButton.repaint();

    // It shows a mode, not an on/off state, so it stays lit.
    if (! releaseModeButton.lit)
        releaseModeButton.setLit (true, lightAnimationPeriodMs());
}

void TarnwellCompressorAudioProcessorEditor::applyExtremeRange (LabelToggleButton& button, juce::Slider& knob,
                                                                const char* extremeID, const char* valueID,
                                                                juce::Range<double> narrow,
                                                                juce::Range<double> wide, double interval)
{
    if (audioProcessor.parameters.getRawParameterValue (extremeID) == nullptr)
        return;

    const bool on = rawValue (extremeID, 0.0f) >= 0.5f;

    if (on != button.lit)
        button.setLit (on, lightAnimationPeriodMs());

    const auto range = on ? wide : narrow;
    knob.setRange (range.getStart(), range.getEnd(), interval);

    // Narrowing clamps the knob silently, so the parameter is pulled down
    // itself; the attachment then moves the knob to match.
    if (! on)
        if (auto* parameter = audioProcessor.parameters.getParameter (valueID))
            if (rawValue (valueID, 0.0f) > (float) narrow.getEnd())
                parameter->setValueNotifyingHost (parameter->convertTo0to1 ((float) narrow.getEnd()));
}

void TarnwellCompressorAudioProcessorEditor::updateRangeExtremeButton()
{
    applyExtremeRange (rangeExtremeButton, rangeKnob, ids::rangeExtreme, ids::range, narrowRangeDb, wideRangeDb,
                       extremeRangeInterval);
}

void TarnwellCompressorAudioProcessorEditor::updateForceExtremeButton()
{
    applyExtremeRange (forceExtremeButton, forceMultiplierKnob, ids::forceExtreme, ids::forceMultiplier,
                       narrowForce, wideForce, forceInterval);
}

void TarnwellCompressorAudioProcessorEditor::updateDampingExtremeButton()
{
    applyExtremeRange (dampingExtremeButton, dampingKnob, ids::dampingExtreme, ids::damping, narrowDamping,
                       wideDamping, dampingInterval);
}

void TarnwellCompressorAudioProcessorEditor::updateForceModeButton()
{
    bpmSyncScrewButton.lit = rawValue (ids::bpmSync, 0.0f) >= 0.5f;
    bpmSyncScrewButton.repaint();
}

void TarnwellCompressorAudioProcessorEditor::updateBpmSyncModeButton()
{
    if (audioProcessor.parameters.getRawParameterValue (ids::bpmSyncMode) == nullptr)
        return;

    if (bpmSyncModeChoiceOpen)
    {
        const bool advanced = (int) rawValue (ids::bpmSyncMode, 0.0f) == 1;
        bpmSyncModeButton.setVisible (false);
        bpmSyncNormalButton.setVisible (true);
        bpmSyncAdvancedButton.setVisible (true);
        bpmSyncNormalButton.setColour (juce::TextButton::buttonColourId,
                                       juce::Colour (advanced ? normalButtonInactive : normalButtonActive));
        bpmSyncAdvancedButton.setColour (juce::TextButton::buttonColourId,
                                         juce::Colour (advanced ? advancedButtonActive : advancedButtonInactive));
        return;
    }

    if (bpmSyncModeButton.getButtonText() != "ASSIST")
    {
        bpmSyncModeButton.setButtonText ("ASSIST");
        bpmSyncModeButton.repaint();
    }

    bpmSyncModeButton.setColour (juce::TextButton::buttonColourId, juce::Colour (assistButton));
    bpmSyncModeButton.setVisible (true);
    bpmSyncNormalButton.setVisible (false);
    bpmSyncAdvancedButton.setVisible (false);
}
