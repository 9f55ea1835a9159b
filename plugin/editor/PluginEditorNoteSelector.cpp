// The note value pop-up of the three time knobs: at most one is open, beside
// the N button that opened it; choosing a value sets that knob and closes it.
#include "PluginEditor.h"

namespace
{
constexpr int popUpGap = 5;
} // namespace

void TarnwellCompressorAudioProcessorEditor::openNoteSelectorFor (juce::Button& noteButton, juce::Slider& knob)
{
    showNoteSelector (&noteButton, [this, &knob] (float ms)
                      {
                          // The knob clamps to its range; the attachment writes the parameter now.
                          knob.setValue (ms, juce::sendNotificationSync);

                          // This runs inside the pop-up's own click: it is taken off
                          // the editor now and deleted once that click has returned.
                          std::shared_ptr<NoteValueSelector> chosen (noteValueSelector.release());
                          removeChildComponent (chosen.get());
                          noteSelectorAnchor = nullptr;
                          juce::MessageManager::callAsync ([chosen] {});
                      });
}

void TarnwellCompressorAudioProcessorEditor::showNoteSelector (juce::Component* anchor,
                                                               std::function<void (float)> onNoteSelected)
{
    if (noteValueSelector != nullptr)
    {
        const bool sameAnchor = anchor != nullptr && noteSelectorAnchor.getComponent() == anchor;
        closeNoteSelector();

        if (sameAnchor)
            return;
    }

    if (anchor == nullptr)
        return;

    auto selector = std::make_unique<NoteValueSelector> (std::move (onNoteSelected));
    selector->bpm = (float) tempo();
    selector->updateButtonTexts();

    const auto a = getLocalArea (anchor, anchor->getLocalBounds());
    const int x = a.getRight() + popUpGap + NoteValueSelector::width <= getWidth()
                      ? a.getRight() + popUpGap
                      : a.getX() - NoteValueSelector::width - popUpGap;
    const int y = a.getY() + NoteValueSelector::height <= getHeight()
                      ? a.getY()
                      : juce::jmax (0, getHeight() - NoteValueSelector::height);
    selector->setTopLeftPosition (x, y);

    noteValueSelector = std::move (selector);
    addAndMakeVisible (*noteValueSelector);
    noteSelectorAnchor = anchor;
}

void TarnwellCompressorAudioProcessorEditor::closeNoteSelector()
{
    if (noteValueSelector != nullptr)
        removeChildComponent (noteValueSelector.get());

    noteValueSelector.reset();
    noteSelectorAnchor = nullptr;
}
