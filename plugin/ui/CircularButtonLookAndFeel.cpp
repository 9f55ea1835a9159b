#include "CircularButtonLookAndFeel.h"

void CircularButtonLookAndFeel::setIconSet (const juce::String& key,
                                            const juce::Image& normal, const juce::Image& on, const juce::Image& hover)
{
    if (auto* set = findSet (key))
        set->assign (normal, on, hover);
}

void CircularButtonLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                                      bool shouldDrawButtonAsHighlighted, bool)
{
    if (const auto* set = findSet (button.getButtonText()))
        set->draw (g, button, shouldDrawButtonAsHighlighted);
}

void CircularButtonLookAndFeel::drawButtonText (juce::Graphics&, juce::TextButton&, bool, bool)
{
    // The icon carries the letter.
}

IconSet* CircularButtonLookAndFeel::findSet (const juce::String& keyOrButtonText)
{
    if (keyOrButtonText == "N")
        return &noteIcons;

    if (keyOrButtonText == "T")
        return &tripletIcons;

    if (keyOrButtonText == "D")
        return &dottedIcons;

    return nullptr;
}
