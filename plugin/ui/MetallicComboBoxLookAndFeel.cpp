#include "MetallicComboBoxLookAndFeel.h"

#include <algorithm>

namespace
{
constexpr float fontHeight = 13.0f;

constexpr juce::uint32 menuTopColour = 0xff3a4a60;
constexpr juce::uint32 menuBottomColour = 0xff252d40;
constexpr juce::uint32 menuOutlineColour = 0xff5a6a80;
constexpr juce::uint32 highlightedItemColour = 0xff4a6080;
constexpr juce::uint32 itemTextColour = 0xffc0d0e0;
constexpr int itemTextInset = 10;
constexpr int tickInset = 5;

constexpr juce::uint32 bodyTopColour = 0xff4a5a75;
constexpr juce::uint32 bodyMiddleColour = 0xff3a4a60;
constexpr juce::uint32 bodyBottomColour = 0xff2a3548;
constexpr juce::uint32 bodyHighlightColour = 0x30ffffff;
constexpr juce::uint32 bodyOutlineColour = 0xff1a2535;
constexpr juce::uint32 arrowWellColour = 0x20000000;
constexpr juce::uint32 arrowColour = 0xffa0b0c0;
constexpr float bodyCornerSize = 4.0f;
constexpr float bodyHighlightInset = 4.0f;
constexpr float bodyHighlightY = 1.5f;
constexpr int arrowWellInset = 2;
constexpr float arrowWellCornerSize = 2.0f;
constexpr int arrowInset = 8;
constexpr float arrowRise = 2.0f;
constexpr float arrowDrop = 4.0f;

constexpr int textLeft = 8;
constexpr int arrowAreaWidth = 20;
} // namespace

void MetallicComboBoxLookAndFeel::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    g.setGradientFill (juce::ColourGradient (juce::Colour (menuTopColour), 0.0f, 0.0f,
                                             juce::Colour (menuBottomColour), 0.0f, (float) height, false));
    g.fillRect (0, 0, width, height);

    g.setColour (juce::Colour (menuOutlineColour));
    g.drawRect (0, 0, width, height, 1);
}

// Separators draw as empty items and disabled items like enabled ones: the
// menus this look serves hold neither.
void MetallicComboBoxLookAndFeel::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area,
                                                     bool, bool, bool isHighlighted, bool isTicked, bool,
                                                     const juce::String& text, const juce::String&,
                                                     const juce::Drawable*, const juce::Colour*)
{
    if (isHighlighted)
    {
        g.setColour (juce::Colour (highlightedItemColour));
        g.fillRect (area);
    }

    g.setColour (isHighlighted ? juce::Colours::white : juce::Colour (itemTextColour));
    g.setFont (juce::Font (fontHeight, juce::Font::plain));
    g.drawText (text,
                juce::Rectangle<int> (area.getX() + itemTextInset, area.getY(),
                                      std::max (area.getWidth() - 2 * itemTextInset, 0),
                                      std::max (area.getHeight(), 0)),
                juce::Justification::centredLeft, true);

    if (isTicked)
    {
        const auto diameter = (float) std::max (area.getHeight() - 2 * tickInset, 0);

        g.setColour (juce::Colour (accentColour));
        g.fillEllipse ((float) (area.getRight() - area.getHeight() + tickInset),
                       (float) (area.getY() + tickInset), diameter, diameter);
    }
}

void MetallicComboBoxLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown,
                                                int buttonX, int buttonY, int buttonW, int buttonH,
                                                juce::ComboBox&)
{
    const auto bounds = juce::Rectangle<float> ((float) width, (float) height);

    juce::ColourGradient body (juce::Colour (bodyTopColour), 0.0f, 0.0f,
                               juce::Colour (bodyBottomColour), 0.0f, (float) height, false);
    body.addColour (0.5, juce::Colour (bodyMiddleColour));
    g.setGradientFill (body);
    g.fillRoundedRectangle (bounds, bodyCornerSize);

    g.setColour (juce::Colour (bodyHighlightColour));
    g.drawLine (bodyHighlightInset, bodyHighlightY, (float) width - bodyHighlightInset, bodyHighlightY, 1.0f);

    g.setColour (juce::Colour (bodyOutlineColour));
    g.drawRoundedRectangle (bounds.reduced (0.5f), bodyCornerSize, 1.0f);

    g.setColour (juce::Colour (arrowWellColour));
    g.fillRoundedRectangle ((float) (buttonX + arrowWellInset), (float) (buttonY + arrowWellInset),
                            (float) std::max (buttonW - 2 * arrowWellInset, 0),
                            (float) std::max (buttonH - 2 * arrowWellInset, 0),
                            arrowWellCornerSize);

    const auto left = (float) (buttonX + arrowInset);
    const auto arrowWidth = (float) std::max (buttonW - 2 * arrowInset, 0);
    const auto centreY = (float) (buttonY + arrowInset) + (float) std::max (buttonH - 2 * arrowInset, 0) * 0.5f;

    juce::Path arrow;
    arrow.addTriangle (left, centreY - arrowRise,
                       left + arrowWidth, centreY - arrowRise,
                       left + arrowWidth * 0.5f, centreY + arrowDrop);

    g.setColour (juce::Colour (isButtonDown ? accentColour : arrowColour));
    g.fillPath (arrow);
}

juce::Font MetallicComboBoxLookAndFeel::getComboBoxFont (juce::ComboBox&)
{
    return juce::Font (fontHeight, juce::Font::plain);
}

// The text starts a little in from the left and leaves room for the arrow.
void MetallicComboBoxLookAndFeel::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (textLeft, 0, box.getWidth() - textLeft - arrowAreaWidth, box.getHeight());
    label.setFont (getComboBoxFont (box));
}
