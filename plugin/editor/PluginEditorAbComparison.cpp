// The A/B row of the preset bar: switching the comparison on and off,
// swapping the two slots and naming the live one. The slots themselves
// belong to the preset manager, so they outlive the editor.
#include "PluginEditor.h"

namespace
{
const juce::Colour abOnColour { 0xffdc143c };
const juce::Colour abOffColour { 0xff555555 };
const juce::Colour slotAColour { 0xff00ff00 };
const juce::Colour slotBColour { 0xffffff00 };
} // namespace

void TarnwellCompressorAudioProcessorEditor::switchAbMode()
{
    auto* manager = audioProcessor.presetManager.get();
    if (manager == nullptr)
    {
        abButton.setToggleState (abModeActive, juce::dontSendNotification);
        return;
    }

    abModeActive = ! abModeActive;
    manager->setAbModeActive (abModeActive);

    abButton.setToggleState (abModeActive, juce::dontSendNotification);
    abButton.setColour (juce::TextButton::buttonColourId, abModeActive ? abOnColour : abOffColour);
    // A toggled-on TextButton paints with its "on" colour, so that one must be crimson too to be seen.
    abButton.setColour (juce::TextButton::buttonOnColourId, abOnColour);
    abSwapButton.setVisible (abModeActive);
    abStatusLabel.setVisible (abModeActive);

    if (abModeActive)
    {
        abShowingB = false;
        updateAbStatusLabel();
    }

    resized();
}

void TarnwellCompressorAudioProcessorEditor::swapAbSlots()
{
    auto* manager = audioProcessor.presetManager.get();

    if (manager != nullptr && manager->swapAbSlots (abShowingB))
    {
        abShowingB = ! abShowingB;
        updateAbStatusLabel();
    }
}

void TarnwellCompressorAudioProcessorEditor::updateAbStatusLabel()
{
    auto* manager = audioProcessor.presetManager.get();
    if (manager == nullptr || ! manager->getAbState().isActive)
        return;

    const auto& slots = manager->getAbState();
    abStatusLabel.setText (abShowingB ? "B: " + slots.nameB : "A: " + slots.nameA, juce::dontSendNotification);
    abStatusLabel.setColour (juce::Label::textColourId, abShowingB ? slotBColour : slotAColour);
}
