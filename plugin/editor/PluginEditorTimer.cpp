// The refresh tick: the one place the editor pulls live data from the
// processor. It refreshes readouts and meter ballistics, keeps colours and
// enabled states in step with parameters the host may change, drives the
// small animations and copies the newest waveform snapshot, then repaints
// only the live displays.
#include "PluginEditor.h"

#include "EditorColours.h"
#include "ParameterIDs.h"
#include "TempoSyncTimes.h"

#include <algorithm>
#include <cmath>

namespace
{
namespace ids = ParameterIDs;
using namespace EditorColours;

constexpr float silentInputDb = -80.0f;
constexpr float meterLevelFloor = 0.0001f;

constexpr juce::uint32 clipLatchedThumb = 0xffffb93a;
constexpr juce::uint32 outputKnobThumb = 0xffe44a69;
constexpr juce::uint32 heldReadoutOutline = 0xff707070;
constexpr juce::uint32 readoutOutline = 0xff505050;

constexpr float peakBypassDecay = 0.95f;
constexpr float peakReleaseFloor = 0.01f;
constexpr double peakHoldTicksPerMs = 0.06;
constexpr float stoppedGainReductionDecay = 0.88f;
constexpr float stoppedGainReductionFloor = 0.001f;
constexpr float stoppedInputDecay = 0.9f;
constexpr float stoppedInputOffsetDb = 80.0f;
constexpr float stoppedInputInnerFloorDb = -100.0f;
constexpr float stoppedInputCutoffDb = -75.0f;

constexpr juce::uint32 advancedTimeText = 0xffe74c3c;
constexpr juce::uint32 normalTimeText = 0xff3498db;

constexpr int physicsCheckInterval = 60;

constexpr float autoGainKnobAlpha = 0.6f;

constexpr int kneeGlowMode = 2;

constexpr float autoPulseStep = 0.1f;
constexpr float autoPulseDepth = 0.3f;
constexpr juce::uint32 intAutoPulseBase = 0xff00c8ff;
constexpr juce::uint32 autoPulseBase = 0xff00ff64;
constexpr juce::uint32 lookaheadOn = 0xff00b4dc;

constexpr int stoppedHistoryShift = 5;
constexpr int unclampedCurveStripHeight = 250;

juce::String decibelText (float db) { return juce::String (db, 1) + " dB"; }
juce::String millisecondText (double ms) { return juce::String (ms, 2) + " ms"; }

// A tempo as a whole number, cut toward zero.
juce::String wholeNumberText (double value)
{
    return std::isfinite (value) ? juce::String ((juce::int64) value) : juce::String ("0");
}

float finiteOr (float value, float fallback) { return std::isfinite (value) ? value : fallback; }

void showIdleAutoLook (juce::TextButton& button)
{
    button.setColour (juce::TextButton::buttonColourId, juce::Colour (autoButtonIdle));
    button.setColour (juce::TextButton::textColourOffId, juce::Colours::lightgrey);
}

// Copies up to historyLength values, non-finite ones as 0; the rest stays 0.
void copyHistory (const std::vector<float>& source, std::vector<float>& destination)
{
    const auto count = std::min (source.size(), destination.size());
    std::transform (source.begin(), source.begin() + (std::ptrdiff_t) count, destination.begin(),
                    [] (float v) { return finiteOr (v, 0.0f); });
    std::fill (destination.begin() + (std::ptrdiff_t) count, destination.end(), 0.0f);
}

// Scrolls a stopped display on: the oldest points go, zeros come in.
void shiftHistoryLeft (std::vector<float>& history)
{
    const auto shift = (std::ptrdiff_t) std::min ((size_t) stoppedHistoryShift, history.size());
    std::rotate (history.begin(), history.begin() + shift, history.end());
    std::fill (history.end() - shift, history.end(), 0.0f);
}
} // namespace

//==============================================================================
void TarnwellCompressorAudioProcessorEditor::startRefreshTimer()
{
    startTimer (lightAnimationPeriodMs());
}

float TarnwellCompressorAudioProcessorEditor::currentInputLevelDb() const
{
    const float level = audioProcessor.inputMeterLevel;
    if (! std::isfinite (level) || level <= meterLevelFloor)
        return silentInputDb;
    return 20.0f * std::log10 (level);
}

float TarnwellCompressorAudioProcessorEditor::currentGainReductionDb() const
{
    if (audioProcessor.compressors.empty() || audioProcessor.compressors.front() == nullptr)
        return 0.0f;
    return std::abs (finiteOr (audioProcessor.compressors.front()->gainReductionDb, 0.0f));
}

float TarnwellCompressorAudioProcessorEditor::thresholdShown() const
{
    return finiteOr ((float) thresholdSlider.getValue(), (float) thresholdSlider.getMinimum());
}

bool TarnwellCompressorAudioProcessorEditor::parameterIsOn (const char* parameterID, bool strictlyAboveHalf) const
{
    const auto* value = audioProcessor.parameters.getRawParameterValue (parameterID);
    if (value == nullptr)
        return false;
    return strictlyAboveHalf ? value->load() > 0.5f : value->load() >= 0.5f;
}

juce::Rectangle<int> TarnwellCompressorAudioProcessorEditor::liveRegion() const
{
    auto region = displayArea.getUnion (outputMeterArea);
    if (! inputMeterArea.isEmpty())
        region = region.getUnion (inputMeterArea);
    if (! clampWaveformsShown)
        region = region.getUnion ({ displayArea.getX(), getHeight() - unclampedCurveStripHeight,
                                    displayArea.getWidth(), unclampedCurveStripHeight });
    return region.getIntersection (getLocalBounds());
}

//==============================================================================
void TarnwellCompressorAudioProcessorEditor::timerCallback()
{
    if (! firstTickDone)
        completeSetUpOnFirstTick();

    handOverPendingPresetName();
    showOutputClip();

    const float inputDb = currentInputLevelDb();
    const float gainReductionDb = currentGainReductionDb();
    showReadouts (inputDb, gainReductionDb);
    advanceMeters (inputDb, gainReductionDb);

    showTempoTimes();
    updateBpmSyncModeButton();
    checkPhysicsControlsNow();
    reactToHoldBypass();
    followAutoGain();
    showTempoField();
    refreshTempoModeWhenFlagged();
    bpmModeButton.setEnabled (! parameterIsOn (ids::bpmSync, false));
    showKneeGlow();
    pulseAutoThresholdButtons();
    showLookahead();
    copyWaveformSnapshot();

    if (const auto region = liveRegion(); ! region.isEmpty())
        repaint (region);
}

void TarnwellCompressorAudioProcessorEditor::completeSetUpOnFirstTick()
{
    firstTickDone = true;
    resized();
    repaint();

    if (audioProcessor.presetManager != nullptr)
        audioProcessor.presetManager->addListener (this);

    updatePresetComboBox();
}

void TarnwellCompressorAudioProcessorEditor::handOverPendingPresetName()
{
    auto& pending = audioProcessor.pendingPresetName;
    if (pending.isEmpty() || audioProcessor.presetManager == nullptr)
        return;

    audioProcessor.presetManager->currentPresetName = pending;
    pending.clear();
}

void TarnwellCompressorAudioProcessorEditor::showOutputClip()
{
    if (audioProcessor.clipIndicator.load())
        outputClipLatched = true;

    // The knob is repainted only when its look changes, not on every tick.
    if (outputClipShown == outputClipLatched)
        return;
    outputClipShown = outputClipLatched;

    const auto fill = outputClipLatched ? juce::Colours::orange : juce::Colour (knobFill);
    const auto outline = outputClipLatched ? juce::Colours::orange : juce::Colour (knobOutline);
    const auto thumb = juce::Colour (outputClipLatched ? clipLatchedThumb : outputKnobThumb);

    outputGainKnob.setColour (juce::Slider::rotarySliderFillColourId, fill);
    outputGainKnob.setColour (juce::Slider::rotarySliderOutlineColourId, outline);
    outputGainKnob.setColour (juce::Slider::thumbColourId, thumb);
    outputGainKnob.repaint();
}

void TarnwellCompressorAudioProcessorEditor::showReadouts (float inputDb, float gainReductionDb)
{
    const auto showReadout = [] (juce::Label& label, bool held, float heldDb, float currentDb)
    {
        label.setText (decibelText (held ? heldDb : currentDb), juce::dontSendNotification);
        label.setColour (juce::Label::textColourId, juce::Colours::white);
        label.setColour (juce::Label::outlineColourId, juce::Colour (held ? heldReadoutOutline : readoutOutline));
        if (held)
            label.repaint();
    };

    if (inputHoldActive)
        inputHeldDb = std::max (inputHeldDb, inputDb);
    showReadout (inputReadoutLabel, inputHoldActive, inputHeldDb, inputDb);

    thresholdReadoutLabel.setText (decibelText (thresholdShown()), juce::dontSendNotification);

    if (grHoldActive)
        grHeldDb = std::max (grHeldDb, gainReductionDb);
    showReadout (outputReadoutLabel, grHoldActive, grHeldDb, gainReductionDb);
}

void TarnwellCompressorAudioProcessorEditor::advanceMeters (float inputDb, float gainReductionDb)
{
    if (audioProcessor.hostIsPlaying)
    {
        meterGainReduction = gainReductionDb;
        meterInputDb = inputDb;
        meterActive = true;
        advanceGainReductionPeak (true);
        return;
    }

    meterActive = false;

    meterGainReduction *= stoppedGainReductionDecay;
    if (meterGainReduction < stoppedGainReductionFloor)
        meterGainReduction = 0.0f;

    advanceGainReductionPeak (false);

    if (meterInputDb > stoppedInputCutoffDb)
    {
        const float linear = std::pow (10.0f, (meterInputDb + stoppedInputOffsetDb) / 20.0f);
        const float innerDb = std::max (20.0f * std::log10 (stoppedInputDecay * linear), stoppedInputInnerFloorDb);
        meterInputDb = innerDb - stoppedInputOffsetDb;
        if (meterInputDb < stoppedInputCutoffDb)
            meterInputDb = silentInputDb;
    }
}

void TarnwellCompressorAudioProcessorEditor::advanceGainReductionPeak (bool mayRise)
{
    if (bypassButton.getToggleState())
    {
        grPeak *= peakBypassDecay;
        if (grPeak < peakReleaseFloor)
        {
            grPeak = 0.0f;
            grPeakHoldTicks = 0;
        }
        return;
    }

    if (mayRise && meterGainReduction > grPeak)
    {
        grPeak = meterGainReduction;
        grPeakHoldTicks = (int) (holdKnob.getValue() * peakHoldTicksPerMs);
    }
    else if (grPeakHoldTicks > 0)
    {
        --grPeakHoldTicks;
    }
    else
    {
        grPeak = 0.0f;
    }
}

void TarnwellCompressorAudioProcessorEditor::showTempoTimes()
{
    const double beatMs = 60000.0 / tempo();
    const bool advanced = parameterIsOn (ids::bpmSyncMode, false);
    const auto times = advanced ? TempoSyncTimes::advanced (beatMs) : TempoSyncTimes::normal (beatMs);
    const auto colour = juce::Colour (advanced ? advancedTimeText : normalTimeText);

    for (const auto& [label, ms] : { std::pair { &tempoAttackTimeLabel, times.attack },
                                     std::pair { &tempoHoldTimeLabel, times.hold },
                                     std::pair { &tempoReleaseTimeLabel, times.release } })
    {
        label->setText (millisecondText (ms), juce::dontSendNotification);
        label->setColour (juce::Label::textColourId, colour);
    }
}

void TarnwellCompressorAudioProcessorEditor::checkPhysicsControlsNow()
{
    if (physicsCheckCounter++ < physicsCheckInterval - 1)
        return;

    physicsCheckCounter = 0;
    updatePhysicsControlsAvailability();
}

void TarnwellCompressorAudioProcessorEditor::followAutoGain()
{
    const bool automatic = parameterIsOn (ids::autoGain, false);
    makeupGainKnob.setEnabled (! automatic);
    makeupGainKnob.setAlpha (automatic ? autoGainKnobAlpha : 1.0f);

    if (automatic)
        makeupGainKnob.setValue (finiteOr (audioProcessor.makeupGainInUseDb.load(), 0.0f),
                                 juce::dontSendNotification);
}

void TarnwellCompressorAudioProcessorEditor::showTempoField()
{
    if (! audioProcessor.bpmFreeMode)
        bpmTextEditor.setText (wholeNumberText (audioProcessor.savedBPM), false);
    else if (! bpmTextEditor.hasKeyboardFocus (true))
        bpmTextEditor.setText (wholeNumberText (audioProcessor.manualBPM), false);
}

void TarnwellCompressorAudioProcessorEditor::refreshTempoModeWhenFlagged()
{
    if (! audioProcessor.bpmSyncUiDirty.exchange (false))
        return;

    showTempoMode();
    repaint();
}

void TarnwellCompressorAudioProcessorEditor::showKneeGlow()
{
    const bool glowing = audioProcessor.kneeGlowEnabled.load();
    const int mode = glowing ? kneeGlowMode : 0;
    const float level = glowing ? juce::jlimit (0.0f, 1.0f, finiteOr (audioProcessor.rangeWarningGlow.load(), 0.0f))
                                : 0.0f;

    // The knob lies outside the live region, so a changed glow repaints it.
    if (mode != kneeKnob.glowMode || level != kneeKnob.glowLevel)
    {
        kneeKnob.glowMode = mode;
        kneeKnob.glowLevel = level;
        kneeKnob.repaint();
    }
}

void TarnwellCompressorAudioProcessorEditor::pulseAutoThresholdButtons()
{
    if (! parameterIsOn (ids::autoThreshold, true))
    {
        showIdleAutoLook (autoThresholdButton);
        showIdleAutoLook (intAutoButton);
        return;
    }

    autoPulsePhase += autoPulseStep;
    if (autoPulsePhase >= juce::MathConstants<float>::twoPi)
        autoPulsePhase -= juce::MathConstants<float>::twoPi;

    const float k = (std::sin (autoPulsePhase) + 1.0f) * 0.5f * autoPulseDepth;
    const bool intelligent = parameterIsOn (ids::intAuto, true);
    const auto base = juce::Colour (intelligent ? intAutoPulseBase : autoPulseBase);

    auto& lit = intelligent ? intAutoButton : autoThresholdButton;
    auto& idle = intelligent ? autoThresholdButton : intAutoButton;
    lit.setColour (juce::TextButton::buttonColourId, base.interpolatedWith (juce::Colours::white, k));
    lit.setColour (juce::TextButton::textColourOffId, juce::Colours::black);
    showIdleAutoLook (idle);
}

void TarnwellCompressorAudioProcessorEditor::showLookahead()
{
    const bool on = parameterIsOn (ids::lookahead, true);
    const auto face = juce::Colour (on ? lookaheadOn : autoButtonIdle);
    const auto text = on ? juce::Colours::black : juce::Colours::lightgrey;

    lookaheadButton.setColour (juce::TextButton::buttonColourId, face);
    lookaheadButton.setColour (juce::TextButton::buttonOnColourId, face);
    lookaheadButton.setColour (juce::TextButton::textColourOffId, text);
    lookaheadButton.setColour (juce::TextButton::textColourOnId, text);
}

void TarnwellCompressorAudioProcessorEditor::copyWaveformSnapshot()
{
    snapshotIndex = audioProcessor.frontSnapshot.load() == 1 ? 1 : 0;
    const auto& snapshot = audioProcessor.waveformSnapshots[(size_t) snapshotIndex];

    for (auto* history : { &inputHistory, &gainReductionHistory })
        if (history->size() != (size_t) historyLength)
            history->resize ((size_t) historyLength, 0.0f);

    if (snapshot.ready.load())
    {
        copyHistory (snapshot.input, inputHistory);
        copyHistory (snapshot.gainReduction, gainReductionHistory);
    }
    else
    {
        std::fill (inputHistory.begin(), inputHistory.end(), 0.0f);
        std::fill (gainReductionHistory.begin(), gainReductionHistory.end(), 0.0f);
    }

    if (! audioProcessor.hostIsPlaying)
    {
        shiftHistoryLeft (inputHistory);
        shiftHistoryLeft (gainReductionHistory);
    }
}
