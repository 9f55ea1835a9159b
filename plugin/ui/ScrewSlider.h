#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A compact 0-100 trim drawn as a slotted screw: caption on the left, the
// screw in the middle (its slot turns a quarter turn over the range and glows
// blue with the value) and the value on the right, which can be clicked and
// typed into.
class ScrewSlider : public juce::Slider,
                    public juce::TextEditor::Listener
{
public:
    ScrewSlider();
    ~ScrewSlider() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent&) override;

    // Reads the inline editor's text into the slider; empty text changes nothing.
    void applyEditorValue();

    void textEditorReturnKeyPressed (juce::TextEditor&) override;
    void textEditorEscapeKeyPressed (juce::TextEditor&) override;
    void textEditorFocusLost (juce::TextEditor&) override;

    juce::String caption { "STB" };

private:
    void openEditor();
    void closeEditor (bool shouldApply);

    juce::TextEditor valueEditor;
    juce::Rectangle<float> valueTextArea;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ScrewSlider)
};
