#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A round switch drawn as a screw head that glows red-orange while lit. The
// owner decides `lit` and repaints; clicking does not change it.
class ScrewButton : public juce::Button
{
public:
    ScrewButton();

    void paintButton (juce::Graphics&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    bool lit = false;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ScrewButton)
};
