#include "ToggleButtonLookAndFeel.h"

void ToggleButtonLookAndFeel::setIconSet (const juce::String& key,
                                          const juce::Image& normal, const juce::Image& on, const juce::Image& hover)
{
    if (auto* set = findSetForKey (key))
        set->assign (normal, on, hover);
}

void ToggleButtonLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                                    bool shouldDrawButtonAsHighlighted, bool)
{
    if (const auto* set = findSetForButtonText (button.getButtonText()))
        set->draw (g, button, shouldDrawButtonAsHighlighted);
}

void ToggleButtonLookAndFeel::drawButtonText (juce::Graphics&, juce::TextButton&, bool, bool)
{
    // The icon carries the caption.
}

IconSet* ToggleButtonLookAndFeel::findSetForKey (const juce::String& key)
{
    if (key == "BYPASS")
        return &bypassIcons;

    if (key == "AUTOGAIN")
        return &autoGainIcons;

    if (key == "NOTEGRID")
        return &noteGridIcons;

    if (key == "OVERSAMP")
        return &oversamplingIcons;

    return nullptr;
}

const IconSet* ToggleButtonLookAndFeel::findSetForButtonText (const juce::String& buttonText) const
{
    if (buttonText == "BYPASS")
        return &bypassIcons;

    if (buttonText == "AUTO GAIN")
        return &autoGainIcons;

    if (buttonText == "NOTE GRID")
        return &noteGridIcons;

    if (buttonText == "OVERSAMP")
        return &oversamplingIcons;

    return nullptr;
}
