#include "MetallicLabelLookAndFeel.h"

#include <algorithm>

namespace
{
constexpr float cornerSize = 3.0f;
constexpr float lineInset = 3.0f;
constexpr int textInset = 2;
constexpr int textShadowOffset = 1;

constexpr juce::uint32 innerShadowColour = 0x40000000;
constexpr juce::uint32 lowerHighlightColour = 0x15ffffff;
constexpr juce::uint8 textShadowAlpha = 0x80;

struct ReadoutColours
{
    juce::uint32 backgroundTop, backgroundBottom, outline, text;
};

constexpr ReadoutColours heldColours { 0xff1f2a3a, 0xff2f4055, 0xff5a6a80, 0xfff0ffff };
constexpr ReadoutColours normalColours { 0xff1a2535, 0xff2a3a50, 0xff4a5a70, 0xffe0f0ff };
} // namespace

void MetallicLabelLookAndFeel::drawLabel (juce::Graphics& g, juce::Label& label)
{
    const bool held = label.findColour (juce::Label::outlineColourId) == juce::Colour (heldOutlineColour);
    const auto& readout = held ? heldColours : normalColours;
    const auto width = label.getWidth();
    const auto height = label.getHeight();
    const auto bounds = label.getLocalBounds().toFloat();

    g.setGradientFill (juce::ColourGradient (juce::Colour (readout.backgroundTop), 0.0f, 0.0f,
                                             juce::Colour (readout.backgroundBottom), 0.0f, (float) height, false));
    g.fillRoundedRectangle (bounds, cornerSize);

    g.setColour (juce::Colour (innerShadowColour));
    g.drawLine (lineInset, 1.0f, (float) width - lineInset, 1.0f, 1.0f);

    g.setColour (juce::Colour (lowerHighlightColour));
    g.drawLine (lineInset, (float) height - 1.0f, (float) width - lineInset, (float) height - 1.0f, 1.0f);

    g.setColour (juce::Colour (readout.outline));
    g.drawRoundedRectangle (bounds.reduced (0.5f), cornerSize, 1.0f);

    const auto text = label.getText();
    const auto justification = label.getJustificationType();
    const juce::Rectangle<int> textArea (textInset, 0, std::max (width - 2 * textInset, 0), height);

    g.setFont (label.getFont());

    g.setColour (juce::Colours::black.withAlpha (textShadowAlpha));
    g.drawText (text, textArea.translated (textShadowOffset, textShadowOffset), justification, true);

    g.setColour (juce::Colour (readout.text));
    g.drawText (text, textArea, justification, true);
}
