#include "ScrewButton.h"

namespace
{
void fillCircle (juce::Graphics& g, float cx, float cy, float radius, juce::Colour colour)
{
    g.setColour (colour);
    g.fillEllipse (cx - radius, cy - radius, 2.0f * radius, 2.0f * radius);
}

void strokeHighlightArc (juce::Graphics& g, float cx, float cy, float radius, float thickness, juce::Colour colour)
{
    juce::Path arc;
    arc.addCentredArc (cx, cy, radius, radius, 0.0f, -2.5f, -0.5f, true);
    g.setColour (colour);
    g.strokePath (arc, juce::PathStrokeType (thickness));
}

void fillRecess (juce::Graphics& g, float cx, float cy, juce::Colour top, juce::Colour bottom)
{
    g.setGradientFill (juce::ColourGradient (top, cx, cy - 7.0f, bottom, cx, cy + 7.0f, false));
    g.fillEllipse (cx - 7.0f, cy - 7.0f, 14.0f, 14.0f);
}

// Radial gradient from the head's upper-left towards its lower-right.
juce::ColourGradient headGradient (juce::Point<float> from, juce::Point<float> to, juce::uint32 centre,
                                   double stop1, juce::uint32 colour1, double stop2, juce::uint32 colour2,
                                   juce::uint32 edge)
{
    juce::ColourGradient gradient (juce::Colour (centre), from, juce::Colour (edge), to, true);
    gradient.addColour (stop1, juce::Colour (colour1));
    gradient.addColour (stop2, juce::Colour (colour2));
    return gradient;
}

void paintLit (juce::Graphics& g, float cx, float cy)
{
    fillCircle (g, cx, cy, 19.6f, juce::Colour (0x26ff0000));
    fillCircle (g, cx, cy, 15.4f, juce::Colour (0x40ff3300));
    fillCircle (g, cx, cy, 11.9f, juce::Colour (0x59ff4400));

    g.setColour (juce::Colour (0x66000000));
    g.fillEllipse (cx - 6.0f, cy - 5.5f, 14.0f, 14.0f);

    fillRecess (g, cx, cy, juce::Colour (0xff600000), juce::Colour (0xff300000));

    const juce::Rectangle<float> head (cx - 6.0f, cy - 6.0f, 12.0f, 12.0f);
    g.setGradientFill (headGradient ({ cx - 3.6f, cy - 4.8f }, { cx + 3.6f, cy + 4.8f },
                                     0xffff6040, 0.3, 0xffff4020, 0.7, 0xffdd3010, 0xffcc2000));
    g.fillEllipse (head);

    strokeHighlightArc (g, cx, cy, 4.2f, 1.5f, juce::Colour (0x80ffffff));

    g.setColour (juce::Colour (0x99ff8800));
    g.drawEllipse (head, 1.0f);

    fillCircle (g, cx, cy, 2.4f, juce::Colour (0x66ffaa00));
}

void paintUnlit (juce::Graphics& g, float cx, float cy, bool highlighted)
{
    g.setColour (juce::Colour (0x4c000000));
    g.fillEllipse (cx - 6.5f, cy - 6.2f, 14.0f, 14.0f);

    fillRecess (g, cx, cy, juce::Colour (0xff2a2a2a), juce::Colour (0xff1a1a1a));

    const juce::Rectangle<float> head (cx - 6.25f, cy - 6.25f, 12.5f, 12.5f);
    g.setGradientFill (headGradient ({ cx - 3.75f, cy - 5.0f }, { cx + 3.75f, cy + 5.0f },
                                     0xff404040, 0.4, 0xff353535, 0.7, 0xff2a2a2a, 0xff252525));
    g.fillEllipse (head);

    strokeHighlightArc (g, cx, cy, 3.75f, 1.0f, juce::Colour (0x1affffff));

    g.setColour (juce::Colour (0xff3a3a3a));
    g.drawEllipse (head, 0.5f);

    if (highlighted)
        fillCircle (g, cx, cy, 9.8f, juce::Colour (0x26ff6600));
}
} // namespace

ScrewButton::ScrewButton() : juce::Button ("ScrewButton")
{
    setOpaque (false);
}

void ScrewButton::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool)
{
    const auto cx = (float) getWidth() / 2.0f;
    const auto cy = (float) getHeight() / 2.0f;

    if (lit)
        paintLit (g, cx, cy);
    else
        paintUnlit (g, cx, cy, shouldDrawButtonAsHighlighted);
}
