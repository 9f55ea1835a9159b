// Presses, drags and releases on the editor's own surface: the display's
// switches and the wear switch, dragging the threshold line, the readout
// holds, acknowledging the output clip, closing the note value pop-up and
// freezing the waveform. Presses on the output knob and the two clickable
// readouts arrive here too, because the editor listens to their mouse.
#include "PluginEditor.h"

#include "ParameterIDs.h"

namespace
{
namespace ids = ParameterIDs;

// How far above or below the threshold line a press still grabs it.
constexpr int thresholdGrabDistance = 8;

// The display's dB scale and the line's offset above its level.
constexpr double displayFloorDb = -60.0;
constexpr double displaySpanDb = 60.0;
constexpr double thresholdLineLift = 2.0;
} // namespace

void TarnwellCompressorAudioProcessorEditor::mouseDown (const juce::MouseEvent& e)
{
    if (auto* focused = juce::Component::getCurrentlyFocusedComponent())
        focused->giveAwayKeyboardFocus();

    const auto position = e.getEventRelativeTo (this).getPosition();

    if (e.eventComponent == &outputGainKnob && outputClipLatched)
    {
        outputClipLatched = false;
        audioProcessor.clipIndicator.store (false);
        audioProcessor.clipTimeMs.store (0);
        repaint();
        return;
    }

    if (pressOnDisplaySwitch (position))
    {
        repaint();
        return;
    }

    if (displayArea.contains (position) && pressNearThresholdLine (position))
    {
        thresholdDragActive = true;
        return;
    }

    if (pressOnReadout (e, position))
    {
        repaint();
        return;
    }

    if (thresholdStripArea.contains (position))
    {
        thresholdDragActive = true;
        return;
    }

    if (! displayArea.contains (position))
    {
        if (noteValueSelector != nullptr && ! noteValueSelector->getBounds().contains (position))
            closeNoteSelector();
        return;
    }

    toggleWaveformFreeze();
    repaint();
}

void TarnwellCompressorAudioProcessorEditor::mouseDrag (const juce::MouseEvent& e)
{
    if (thresholdDragActive)
        dragThreshold (e.getEventRelativeTo (this).getPosition().y);
}

void TarnwellCompressorAudioProcessorEditor::mouseUp (const juce::MouseEvent&)
{
    thresholdDragActive = false;
}

//==============================================================================
bool TarnwellCompressorAudioProcessorEditor::pressOnDisplaySwitch (juce::Point<int> position)
{
    if (cmpButtonArea.contains (position))
    {
        showCmpCurveShown = ! showCmpCurveShown;
        audioProcessor.showCmpCurve = showCmpCurveShown;
    }
    else if (outButtonArea.contains (position))
    {
        showOutCurveShown = ! showOutCurveShown;
        audioProcessor.showOutCurve = showOutCurveShown;
    }
    else if (clampButtonArea.contains (position))
    {
        const bool wasOn = clampWaveformsShown;
        clampWaveformsShown = ! wasOn;
        setParameterNormalised (ids::clampWaveforms, wasOn ? 0.0f : 1.0f);
    }
    else if (waveButtonArea.contains (position))
    {
        audioProcessor.showWaveformBars = ! audioProcessor.showWaveformBars;
    }
    else if (glowButtonArea.contains (position))
    {
        audioProcessor.glowEnabled = ! audioProcessor.glowEnabled;
    }
    else if (ecoButtonArea.contains (position))
    {
        audioProcessor.ecoMode = ! audioProcessor.ecoMode;
        startRefreshTimer();
    }
    else if (dirtButtonArea.contains (position))
    {
        showDirtEffectShown = ! showDirtEffectShown;
        modernSliderLookAndFeel.showDirtEffect = showDirtEffectShown;
        audioProcessor.showDirtEffect = showDirtEffectShown;
    }
    else
    {
        return false;
    }

    return true;
}

bool TarnwellCompressorAudioProcessorEditor::pressNearThresholdLine (juce::Point<int> position) const
{
    const double top = displayArea.getY();
    const double height = displayArea.getHeight();
    const double level = juce::jlimit (0.0, 1.0, (thresholdSlider.getValue() - displayFloorDb) / displaySpanDb);
    const double lineY = top + height - thresholdLineLift - height * level;

    return std::abs (position.y - lineY) <= thresholdGrabDistance;
}

bool TarnwellCompressorAudioProcessorEditor::pressOnReadout (const juce::MouseEvent& e, juce::Point<int> position)
{
    if (e.eventComponent == &inputReadoutLabel || inputReadoutLabel.getBounds().contains (position))
    {
        inputHoldActive = ! inputHoldActive;
        if (inputHoldActive)
            inputHeldDb = currentInputLevelDb();
        inputReadoutLabel.repaint();
        return true;
    }

    if (e.eventComponent == &outputReadoutLabel || outputReadoutLabel.getBounds().contains (position))
    {
        grHoldActive = ! grHoldActive;
        if (grHoldActive)
            grHeldDb = currentGainReductionDb();
        outputReadoutLabel.repaint();
        return true;
    }

    return false;
}

// The display's top is the slider's maximum and its bottom the minimum.
void TarnwellCompressorAudioProcessorEditor::dragThreshold (int mouseY)
{
    if (displayArea.getHeight() <= 0)
        return;

    const double fraction =
        juce::jlimit (0.0, 1.0, (mouseY - displayArea.getY()) / (double) displayArea.getHeight());
    const double lo = thresholdSlider.getMinimum();
    const double hi = thresholdSlider.getMaximum();

    thresholdSlider.setValue (juce::jlimit (lo, hi, hi - fraction * (hi - lo)), juce::sendNotificationSync);
    repaint();
}
