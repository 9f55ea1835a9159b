#include "LabelToggleButton.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float fadeStep = 0.15f;
constexpr float settleDistance = 0.01f;
constexpr float visibleLevel = 0.01f;
constexpr float smallBodyHeight = 16.0f;
constexpr float smallGlowScale = 0.7f;

struct GlowLayer
{
    float spread, alpha, corner;
};

constexpr GlowLayer glowLayers[] { { 8.0f, 0.06f, 6.0f },
                                   { 5.0f, 0.10f, 5.0f },
                                   { 3.0f, 0.18f, 4.0f },
                                   { 1.5f, 0.30f, 3.0f } };

// The body is the component inset by one pixel; small bodies get a smaller
// font and a tighter glow.
struct Body
{
    explicit Body (juce::Rectangle<int> bounds)
        : w (std::max ((float) bounds.getWidth() - 2.0f, 0.0f)),
          h (std::max ((float) bounds.getHeight() - 2.0f, 0.0f)),
          small (h < smallBodyHeight)
    {
    }

    juce::Rectangle<float> area() const { return { 1.0f, 1.0f, w, h }; }
    juce::Font font() const { return juce::Font (small ? 9.0f : 10.0f, juce::Font::bold); }
    float glowScale() const { return small ? smallGlowScale : 1.0f; }

    float w, h;
    bool small;
};

void drawCentredText (juce::Graphics& g, const juce::String& text, const Body& body, float x, float y,
                      juce::Colour colour)
{
    g.setColour (colour);
    g.drawText (text, juce::Rectangle<float> (x, y, body.w, body.h), juce::Justification::centred, false);
}

void drawGlow (juce::Graphics& g, const Body& body, juce::Colour accent, float level)
{
    for (const auto& layer : glowLayers)
    {
        const auto e = layer.spread * body.glowScale() * level;
        g.setColour (accent.withAlpha (layer.alpha * level));
        g.fillRoundedRectangle (1.0f - e, 1.0f - e, std::max (body.w + 2.0f * e, 0.0f),
                                std::max (body.h + 2.0f * e, 0.0f), layer.corner);
    }
}

void drawLit (juce::Graphics& g, const Body& body, juce::Colour accent, float level, const juce::String& text)
{
    g.setColour (juce::Colour (0x4c000000));
    g.fillRoundedRectangle (1.3f, 1.6f, body.w, body.h, 2.0f);

    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff252525).interpolatedWith (accent, 0.15f * level),
                                             1.0f, 1.0f,
                                             juce::Colour (0xff151515).interpolatedWith (accent, 0.075f * level),
                                             1.0f, 1.0f + body.h, false));
    g.fillRoundedRectangle (body.area(), 2.0f);

    const auto iw = std::max (body.w - 4.0f, 0.0f);
    const auto ih = std::max (body.h - 4.0f, 0.0f);
    const auto faceX = 1.0f + body.w / 2.0f;
    juce::ColourGradient face (accent.brighter (0.6f).withAlpha (0.9f * level), faceX, 3.0f,
                               accent.withAlpha (0.4f * level), faceX, 3.0f + ih, false);
    face.addColour (0.3, accent.brighter (0.3f).withAlpha (0.7f * level));
    g.setGradientFill (face);
    g.fillRoundedRectangle (3.0f, 3.0f, iw, ih, 1.0f);

    g.setColour (juce::Colours::white.withAlpha (0.5f * level));
    g.fillRoundedRectangle (1.0f + body.w / 4.0f, 4.0f, body.w / 2.0f, 2.0f, 1.0f);

    g.setColour (accent.brighter (0.8f).withAlpha (0.5f * level));
    g.drawRoundedRectangle (body.area(), 2.0f, 0.8f);

    g.setFont (body.font());
    const auto halo = accent.brighter (0.3f).withAlpha (0.15f * level);
    drawCentredText (g, text, body, 0.0f, 1.0f, halo);
    drawCentredText (g, text, body, 2.0f, 1.0f, halo);
    drawCentredText (g, text, body, 1.5f, 1.5f, juce::Colour (0x4c000000));
    drawCentredText (g, text, body, 1.0f, 1.0f, juce::Colours::white.withAlpha (0.6f + 0.3f * level));
}

void drawUnlit (juce::Graphics& g, const Body& body, juce::Colour accent, bool highlighted, const juce::String& text)
{
    g.setColour (juce::Colour (0xff3a3a3a));
    g.fillRoundedRectangle (body.area(), 2.0f);

    const auto jw = std::max (body.w - 3.0f, 0.0f);
    const auto jh = std::max (body.h - 3.0f, 0.0f);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff151518), 2.5f, 2.5f,
                                             juce::Colour (0xff1a1a20), 2.5f, 2.5f + jh, false));
    g.fillRoundedRectangle (2.5f, 2.5f, jw, jh, 2.0f);

    g.setColour (juce::Colour (0x80000000));
    g.drawLine (4.5f, 3.5f, jw + 0.5f, 3.5f, 1.0f);

    g.setColour (accent.withAlpha ((juce::uint8) 0x14));
    g.fillRoundedRectangle (4.5f, 4.5f, std::max (jw - 4.0f, 0.0f), std::max (jh - 4.0f, 0.0f), 2.0f);

    g.setColour (juce::Colour (0x664a4a4a));
    g.drawLine (4.0f, body.h, body.w - 2.0f, body.h, 0.5f);

    g.setColour (juce::Colour (0xff2a2a2a));
    g.drawRoundedRectangle (body.area(), 2.0f, 1.0f);

    g.setColour (juce::Colour (0x4c555555));
    g.drawLine (3.0f, 1.0f, body.w - 1.0f, 1.0f, 0.5f);

    if (highlighted)
    {
        g.setColour (accent.withAlpha ((juce::uint8) 0x26));
        g.fillRoundedRectangle (-1.0f, -1.0f, body.w + 4.0f, body.h + 4.0f, 3.0f);
        g.setColour (accent.withAlpha ((juce::uint8) 0x1f));
        g.fillRoundedRectangle (2.5f, 2.5f, jw, jh, 2.0f);
    }

    g.setFont (body.font());
    drawCentredText (g, text, body, 1.5f, 1.5f, juce::Colour (0x99000000));
    drawCentredText (g, text, body, 1.0f, 1.0f, juce::Colour (0xff8090a0));
}
} // namespace

LabelToggleButton::LabelToggleButton() : juce::Button ("LabelToggleButton")
{
    setOpaque (false);
}

LabelToggleButton::~LabelToggleButton()
{
    stopTimer();
}

void LabelToggleButton::setLit (bool shouldBeLit, int periodMs)
{
    if (lit == shouldBeLit)
        return;

    lit = shouldBeLit;
    litTarget = lit ? 1.0f : 0.0f;

    if (! isTimerRunning())
        startTimer (periodMs);
}

void LabelToggleButton::timerCallback()
{
    if (litLevel < litTarget)
        litLevel = std::min (litTarget, litLevel + fadeStep);
    else if (litLevel > litTarget)
        litLevel = std::max (litTarget, litLevel - fadeStep);

    repaint();

    if (std::abs (litLevel - litTarget) < settleDistance)
    {
        litLevel = litTarget;
        stopTimer();
    }
}

void LabelToggleButton::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool)
{
    const Body body (getLocalBounds());

    if (litLevel > visibleLevel)
        drawGlow (g, body, accentColour, litLevel);

    if (lit)
        drawLit (g, body, accentColour, litLevel, onText);
    else
        drawUnlit (g, body, accentColour, shouldDrawButtonAsHighlighted, offText);
}
