// Reactions to the seven switches the editor listens to. The host may change
// them on its audio or automation thread, where the editor must not touch a
// component, allocate or lock: there the change is only noted in atomics and
// the reaction runs on the message thread a moment later.
#include "PluginEditor.h"

namespace
{
constexpr int pendingReactionPollMs = 20;
constexpr float dimmedHoldLabelAmount = 0.6f;

enum ListenedParameter
{
    noteGridIndex,
    holdBypassIndex,
    releaseModeIndex,
    rangeExtremeIndex,
    forceExtremeIndex,
    dampingExtremeIndex,
    bpmSyncIndex
};
} // namespace

//==============================================================================
TarnwellCompressorAudioProcessorEditor::PendingParameterReactions::PendingParameterReactions (
    TarnwellCompressorAudioProcessorEditor& owner)
    : editor (owner)
{
    startTimer (pendingReactionPollMs);
}

TarnwellCompressorAudioProcessorEditor::PendingParameterReactions::~PendingParameterReactions()
{
    stopTimer();
}

void TarnwellCompressorAudioProcessorEditor::PendingParameterReactions::post (int index, float value) noexcept
{
    values[(size_t) index].store (value, std::memory_order_relaxed);
    pending[(size_t) index].store (true, std::memory_order_release);
}

void TarnwellCompressorAudioProcessorEditor::PendingParameterReactions::cancel (int index) noexcept
{
    pending[(size_t) index].store (false, std::memory_order_relaxed);
}

void TarnwellCompressorAudioProcessorEditor::PendingParameterReactions::deliver()
{
    for (size_t i = 0; i < pending.size(); ++i)
        if (pending[i].exchange (false, std::memory_order_acquire))
            editor.reactToParameter ((int) i, values[i].load (std::memory_order_relaxed));
}

//==============================================================================
void TarnwellCompressorAudioProcessorEditor::parameterChanged (const juce::String& parameterID, float newValue)
{
    for (int i = 0; i < numListenedParameters; ++i)
    {
        if (parameterID != listenedParameterIDs[(size_t) i])
            continue;

        if (juce::MessageManager::existsAndIsCurrentThread())
        {
            // A reaction still waiting from another thread is older than this one.
            pendingReactions.cancel (i);
            reactToParameter (i, newValue);
        }
        else
        {
            pendingReactions.post (i, newValue);
        }
        return;
    }
}

void TarnwellCompressorAudioProcessorEditor::deliverPendingParameterReactions()
{
    pendingReactions.deliver();
}

void TarnwellCompressorAudioProcessorEditor::reactToParameter (int index, float newValue)
{
    switch (index)
    {
        case noteGridIndex:       reactToNoteGrid (newValue); break;
        case holdBypassIndex:     reactToHoldBypass(); break;
        case releaseModeIndex:    updateReleaseModeButton(); break;
        case rangeExtremeIndex:   updateRangeExtremeButton(); break;
        case forceExtremeIndex:   updateForceExtremeButton(); break;
        case dampingExtremeIndex: updateDampingExtremeButton(); break;
        case bpmSyncIndex:        updateForceModeButton(); break;
        default:                  break;
    }
}

void TarnwellCompressorAudioProcessorEditor::reactToNoteGrid (float newValue)
{
    noteGridEnabled = newValue > 0.5f;
    noteGridButton.setToggleState (noteGridEnabled, juce::dontSendNotification);

    for (auto* button : { &attackDottedButton, &attackTripletButton, &holdDottedButton, &holdTripletButton,
                          &releaseDottedButton, &releaseTripletButton })
        button->setVisible (noteGridEnabled);

    applyNoteGridSettings();
    repaint();
}

void TarnwellCompressorAudioProcessorEditor::reactToHoldBypass()
{
    holdKnob.repaint();

    const bool snappedToMinimum = holdKnob.snapToNoteGrid && holdKnob.getValue() <= holdKnob.getMinimum();
    const bool bypassed = holdKnob.bypassParameter != nullptr && holdKnob.bypassParameter->get();
    const auto colour = juce::Colours::lightgrey;

    holdLabel.setColour (juce::Label::textColourId,
                         snappedToMinimum || bypassed ? colour.darker (dimmedHoldLabelAmount) : colour);
}
