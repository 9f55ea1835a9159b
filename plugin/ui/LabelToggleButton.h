#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A small text switch with an off and an on text and an accent colour; its
// lit state fades in and out under its own timer. The owner decides `lit`
// through setLit; clicking does not change it.
class LabelToggleButton : public juce::Button,
                          public juce::Timer
{
public:
    LabelToggleButton();
    ~LabelToggleButton() override;

    // Starts the fade towards the new state; the period is the animation tick in ms.
    void setLit (bool shouldBeLit, int periodMs);

    void paintButton (juce::Graphics&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void timerCallback() override;

    bool lit = false;
    juce::String offText { "OFF" };
    juce::String onText { "ON" };
    juce::Colour accentColour { 0xffe74c3c };
    float litLevel = 0.0f;
    float litTarget = 0.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LabelToggleButton)
};
