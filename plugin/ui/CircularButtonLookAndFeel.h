#pragma once

#include "IconSet.h"

// The round note-value buttons "N", "T" and "D": each is drawn as one of three
// pictures, chosen by the button's text, with no text of its own.
class CircularButtonLookAndFeel : public juce::LookAndFeel_V4
{
public:
    // Key "N", "T" or "D" (exact case); any other key is ignored.
    void setIconSet (const juce::String& key,
                     const juce::Image& normal, const juce::Image& on, const juce::Image& hover);

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&,
                         bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    IconSet* findSet (const juce::String& keyOrButtonText);

    IconSet noteIcons;
    IconSet tripletIcons;
    IconSet dottedIcons;
};
