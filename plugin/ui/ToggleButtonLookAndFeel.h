#pragma once

#include "IconSet.h"

// The square switches "BYPASS", "AUTO GAIN", "NOTE GRID" and "OVERSAMP": each
// is drawn as one of three pictures, chosen by the button's text, with no text
// of its own.
class ToggleButtonLookAndFeel : public juce::LookAndFeel_V4
{
public:
    // Keys are the button texts without spaces: "BYPASS", "AUTOGAIN",
    // "NOTEGRID", "OVERSAMP" (exact case); any other key is ignored.
    void setIconSet (const juce::String& key,
                     const juce::Image& normal, const juce::Image& on, const juce::Image& hover);

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&,
                         bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    IconSet* findSetForKey (const juce::String& key);
    const IconSet* findSetForButtonText (const juce::String& buttonText) const;

    IconSet bypassIcons;
    IconSet autoGainIcons;
    IconSet noteGridIcons;
    IconSet oversamplingIcons;
};
