#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// An entry field in a recessed dark well whose outline and caret light up in
// blue while it has keyboard focus.
class MetallicTextEditorLookAndFeel : public juce::LookAndFeel_V4
{
public:
    static constexpr juce::uint32 focusColour = 0xff00a8ff;

    void fillTextEditorBackground (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    juce::CaretComponent* createCaretComponent (juce::Component* keyFocusOwner) override;
};
