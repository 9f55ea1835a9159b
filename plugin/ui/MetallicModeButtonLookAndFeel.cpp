#include "MetallicModeButtonLookAndFeel.h"

namespace
{
constexpr float cornerSize = 4.0f;
constexpr float middleStopPosition = 0.4f;
constexpr float highlightLineInset = 4.5f;
constexpr float highlightLineY = 2.0f;
constexpr juce::uint8 highlightLineAlphaDown = 0x1a;
constexpr juce::uint8 highlightLineAlpha = 0x40;
constexpr float haloCornerSize = 5.0f;
constexpr float haloThickness = 2.0f;
constexpr juce::uint8 haloAlpha = 0x4c;

constexpr float fontHeight = 11.0f;
constexpr juce::uint8 textShadowAlpha = 0x66;
constexpr int textShadowOffset = 1;
constexpr float downTextDarkening = 0.1f;

struct FaceGradient
{
    juce::Colour top, middle, bottom;
};

// Pressed faces sink into darker tones; hovered faces lift towards white.
FaceGradient faceGradientFor (juce::Colour colour, bool highlighted, bool down)
{
    if (down)
        return { colour.darker (0.3f), colour.darker (0.15f), colour.darker (0.4f) };

    if (highlighted)
        return { colour.brighter (0.3f), colour.brighter (0.15f), colour };

    return { colour.brighter (0.2f), colour, colour.darker (0.25f) };
}
} // namespace

void MetallicModeButtonLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                                          const juce::Colour& backgroundColour,
                                                          bool shouldDrawButtonAsHighlighted,
                                                          bool shouldDrawButtonAsDown)
{
    const auto width = (float) button.getWidth();
    const auto height = (float) button.getHeight();
    // Shrunk by half a pixel so one-pixel outlines land on pixel centres.
    const auto face = button.getLocalBounds().toFloat().reduced (0.5f);
    const auto stops = faceGradientFor (backgroundColour, shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);

    juce::ColourGradient gradient (stops.top, 0.0f, 0.5f, stops.bottom, 0.0f, height - 0.5f, false);
    gradient.addColour (middleStopPosition, stops.middle);
    g.setGradientFill (gradient);
    g.fillRoundedRectangle (face, cornerSize);

    g.setColour (juce::Colours::white.withAlpha (shouldDrawButtonAsDown ? highlightLineAlphaDown : highlightLineAlpha));
    g.drawLine (highlightLineInset, highlightLineY, width - highlightLineInset, highlightLineY, 1.0f);

    g.setColour (backgroundColour.darker (0.5f));
    g.drawRoundedRectangle (face, cornerSize, 1.0f);

    if (shouldDrawButtonAsHighlighted && ! shouldDrawButtonAsDown)
    {
        g.setColour (backgroundColour.withAlpha (haloAlpha));
        g.drawRoundedRectangle (-0.5f, -0.5f, width + 1.0f, height + 1.0f, haloCornerSize, haloThickness);
    }
}

void MetallicModeButtonLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button,
                                                    bool, bool shouldDrawButtonAsDown)
{
    const auto text = button.getButtonText();
    const auto area = button.getLocalBounds();

    g.setFont (juce::Font (fontHeight, juce::Font::bold));

    g.setColour (juce::Colours::black.withAlpha (textShadowAlpha));
    g.drawText (text, area.translated (textShadowOffset, textShadowOffset), juce::Justification::centred, true);

    g.setColour (shouldDrawButtonAsDown ? juce::Colours::white.darker (downTextDarkening) : juce::Colours::white);
    g.drawText (text, area, juce::Justification::centred, true);
}
