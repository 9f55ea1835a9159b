#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Value readouts in a recessed dark field. A label whose outline colour is
// exactly heldOutlineColour is drawn lit, showing that its value is held.
class MetallicLabelLookAndFeel : public juce::LookAndFeel_V4
{
public:
    static constexpr juce::uint32 heldOutlineColour = 0xff707070;

    void drawLabel (juce::Graphics&, juce::Label&) override;
};
