// The two meters beside the display: the input level rising from the bottom
// (-40 to 0 dB) and the gain reduction hanging from the top (0 to 40 dB).
// Pure drawing: the ballistics live in the refresh tick.
#include "PluginEditor.h"

#include <cmath>

namespace
{
constexpr float inputMeterRangeDb = 40.0f;
constexpr float gainReductionRangeDb = 40.0f;
constexpr float visibleFraction = 0.001f;
constexpr float visiblePeakDb = 0.01f;

constexpr float frameCorner = 5.0f;
constexpr float innerInset = 1.5f;
constexpr float innerCorner = 4.0f;
constexpr float lineInset = 3.0f;
constexpr int gridDivisions = 4;

constexpr juce::uint32 frameBackground = 0xff0a0a15;
constexpr juce::uint32 innerTop = 0xff101020;
constexpr juce::uint32 innerBottom = 0xff1a1a30;
constexpr juce::uint32 topShadow = 0x80000000;
constexpr juce::uint32 gridLine = 0xff2a2a3a;
constexpr juce::uint32 gridCompanionLine = 0x4c3a3a4a;
constexpr juce::uint32 frameOutline = 0xff252535;
constexpr juce::uint32 bottomHighlight = 0x4c4a4a5a;
constexpr juce::uint32 scaleText = 0xff606070;
constexpr juce::uint32 captionText = 0xffc0d8f0;
constexpr juce::uint8 captionShadowAlpha = 0x80;

constexpr float scaleFontHeight = 8.0f;
constexpr float captionFontHeight = 8.0f;

// Bar, glow and highlight colours of one level band.
struct BandColours
{
    juce::uint32 bar, glow, highlight;
};

constexpr float middleBandStart = 0.3f;
constexpr float upperBandStart = 0.7f;
constexpr BandColours inputLowBand { 0xff00a8ff, 0xff00c8ff, 0x8055daff };
constexpr BandColours gainReductionLowBand { 0xffdc143c, 0xffff2050, 0x80ff6a8a };
constexpr BandColours middleBand { 0xffffcc00, 0xffffee00, 0x80fff355 };
constexpr BandColours upperBand { 0xffff6600, 0xffff8800, 0x80ffaf55 };

BandColours bandFor (float fraction, const BandColours& lowBand)
{
    if (fraction >= upperBandStart)
        return upperBand;
    if (fraction >= middleBandStart)
        return middleBand;
    return lowBand;
}

// Glow layers around the bar, widest first.
struct GlowLayer
{
    juce::uint8 alpha;
    float growX, growY, corner;
};

constexpr GlowLayer glowLayers[] = {
    { 0x14, 8.0f, 3.0f, 6.0f },
    { 0x1f, 5.0f, 2.0f, 5.0f },
    { 0x33, 3.0f, 1.0f, 4.0f },
    { 0x66, 1.0f, 0.0f, 3.0f },
};

constexpr float barCorner = 2.0f;
constexpr float highlightHeight = 2.0f;
constexpr float highlightCorner = 1.0f;

constexpr juce::uint8 markerGlowAlpha = 0x4c;
constexpr juce::uint8 markerLineAlpha = 0xf2;
constexpr juce::uint8 thresholdGlowAlpha = 0x26;
constexpr juce::uint8 thresholdLineAlpha = 0x80;

float finiteOr (float value, float fallback) { return std::isfinite (value) ? value : fallback; }

// The renderer sizes each shape's coverage table to the clip's bounds, so a
// meter is drawn with the clip narrowed to what it can touch: its glow, its
// caption below and the marker at `markerY`. The pixels stay the same.
constexpr float reachMargin = 4.0f;
constexpr float captionReach = 24.0f;

juce::Rectangle<int> meterReach (juce::Rectangle<float> bounds, float markerY)
{
    const float widestGlow = glowLayers[0].growX;
    const auto reach = bounds.withTop (std::fmin (bounds.getY(), markerY))
                           .withBottom (std::fmax (bounds.getBottom() + captionReach, markerY))
                           .expanded (widestGlow + reachMargin, reachMargin);
    return reach.getSmallestIntegerContainer();
}

juce::Rectangle<float> innerAreaOf (juce::Rectangle<float> bounds)
{
    return { bounds.getX() + innerInset, bounds.getY() + innerInset, std::fmax (bounds.getWidth() - 3.0f, 0.0f),
             std::fmax (bounds.getHeight() - 3.0f, 0.0f) };
}

void drawFrame (juce::Graphics& g, juce::Rectangle<float> bounds, juce::Rectangle<float> inner)
{
    g.setColour (juce::Colour (frameBackground));
    g.fillRoundedRectangle (bounds, frameCorner);

    g.setGradientFill (juce::ColourGradient (juce::Colour (innerTop), inner.getX(), inner.getY(),
                                             juce::Colour (innerBottom), inner.getX(), inner.getBottom(), false));
    g.fillRoundedRectangle (inner, innerCorner);

    const float left = inner.getX() + lineInset, right = inner.getRight() - lineInset;
    g.setColour (juce::Colour (topShadow));
    g.drawLine (left, inner.getY() + 2.0f, right, inner.getY() + 2.0f, 1.5f);

    for (int k = 0; k <= gridDivisions; ++k)
    {
        const float y = inner.getY() + (float) k * inner.getHeight() / (float) gridDivisions;
        g.setColour (juce::Colour (gridLine));
        g.drawLine (left, y, right, y, 0.5f);
        g.setColour (juce::Colour (gridCompanionLine));
        g.drawLine (left, y + 1.0f, right, y + 1.0f, 0.5f);
    }
}

void drawInputScale (juce::Graphics& g, juce::Rectangle<float> inner)
{
    const auto trunc = [] (float v) { return (int) v; };
    g.setFont (juce::Font (scaleFontHeight, juce::Font::plain));
    g.setColour (juce::Colour (scaleText));
    g.drawText ("0", trunc (inner.getX() + 2.0f), trunc (inner.getY() + 2.0f), 12, 10, juce::Justification::left, true);
    g.drawText ("-20", trunc (inner.getX() + 1.0f), trunc (inner.getY() + inner.getHeight() / 2.0f - 5.0f), 18, 10,
                juce::Justification::left, true);
    g.drawText ("-40", trunc (inner.getX() + 1.0f), trunc (inner.getY() + inner.getHeight() - 12.0f), 18, 10,
                juce::Justification::left, true);
}

// The bar with its glow and a highlight strip at `highlightY`.
void drawBar (juce::Graphics& g, juce::Rectangle<float> bar, float highlightY, const BandColours& band)
{
    const auto glow = juce::Colour (band.glow);
    for (const auto& layer : glowLayers)
    {
        const juce::Rectangle<float> grown (bar.getX() - layer.growX, bar.getY() - layer.growY,
                                            std::fmax (bar.getWidth() + 2.0f * layer.growX, 0.0f),
                                            std::fmax (bar.getHeight() + 2.0f * layer.growY, 0.0f));
        g.setColour (glow.withAlpha (layer.alpha));
        g.fillRoundedRectangle (grown, layer.corner);
    }

    g.setColour (juce::Colour (band.bar));
    g.fillRoundedRectangle (bar, barCorner);

    g.setColour (juce::Colour (band.highlight));
    g.fillRoundedRectangle (bar.getX() + 1.0f, highlightY, bar.getWidth() - 2.0f, highlightHeight, highlightCorner);
}

// A yellow marker with a white core across the meter at height y.
void drawLevelLine (juce::Graphics& g, juce::Rectangle<float> bounds, float y)
{
    const float x = bounds.getX(), w = bounds.getWidth();
    g.setColour (juce::Colours::yellow.withAlpha (markerGlowAlpha));
    g.fillRect (x + 1.0f, y - 2.0f, w - 2.0f, 5.0f);
    g.setColour (juce::Colours::yellow.withAlpha (markerLineAlpha));
    g.drawLine (x + 2.0f, y, x + w - 2.0f, y, 2.0f);
    g.setColour (juce::Colours::white);
    g.drawLine (x + 4.0f, y, x + w - 4.0f, y, 1.0f);
}

void drawFinish (juce::Graphics& g, juce::Rectangle<float> bounds, const juce::String& caption)
{
    const float x = bounds.getX(), y = bounds.getY(), w = bounds.getWidth(), h = bounds.getHeight();

    g.setColour (juce::Colour (frameOutline));
    g.drawRoundedRectangle (bounds, frameCorner, 1.0f);

    g.setColour (juce::Colour (bottomHighlight));
    g.drawLine (x + 5.0f, y + h - 1.0f, x + w - 5.0f, y + h - 1.0f, 0.5f);

    const juce::Rectangle<float> captionArea (x - 5.0f, y + h + 8.0f, w + 10.0f, 12.0f);
    g.setFont (juce::Font (captionFontHeight, juce::Font::bold));
    g.setColour (juce::Colours::black.withAlpha (captionShadowAlpha));
    g.drawText (caption, captionArea.translated (1.0f, 1.0f), juce::Justification::centred);
    g.setColour (juce::Colour (captionText));
    g.drawText (caption, captionArea, juce::Justification::centred);
}
} // namespace

//==============================================================================
void TarnwellCompressorAudioProcessorEditor::drawInputMeter (juce::Graphics& g, juce::Rectangle<float> bounds)
{
    const float threshold = thresholdShown();
    const float thresholdY =
        bounds.getY() + (1.0f - (threshold + inputMeterRangeDb) / inputMeterRangeDb) * bounds.getHeight();
    const bool thresholdMarked = threshold >= -inputMeterRangeDb;

    juce::Graphics::ScopedSaveState withinReach (g);
    g.reduceClipRegion (meterReach (bounds, thresholdMarked ? thresholdY : bounds.getY()));

    const auto inner = innerAreaOf (bounds);
    drawFrame (g, bounds, inner);
    drawInputScale (g, inner);

    const float levelDb = finiteOr (meterInputDb, -inputMeterRangeDb);
    const float f = juce::jlimit (0.0f, 1.0f, (levelDb + inputMeterRangeDb) / inputMeterRangeDb);

    if (f > visibleFraction)
    {
        const float top = inner.getY() + inner.getHeight() - f * inner.getHeight();
        drawBar (g, { inner.getX() + 2.0f, top, inner.getWidth() - 4.0f, f * inner.getHeight() }, top,
                 bandFor (f, inputLowBand));
        drawLevelLine (g, bounds, bounds.getY() + (1.0f - f) * bounds.getHeight());
    }

    if (thresholdMarked)
    {
        const float y = thresholdY;
        g.setColour (juce::Colours::white.withAlpha (thresholdGlowAlpha));
        g.fillRect (bounds.getX() + 2.0f, y - 1.0f, bounds.getWidth() - 4.0f, 3.0f);
        g.setColour (juce::Colours::white.withAlpha (thresholdLineAlpha));
        g.drawLine (bounds.getX() + 2.0f, y, bounds.getRight() - 2.0f, y, 1.5f);
    }

    drawFinish (g, bounds, "INPUT");
}

void TarnwellCompressorAudioProcessorEditor::drawMeter (juce::Graphics& g, juce::Rectangle<float> bounds, float value)
{
    juce::Graphics::ScopedSaveState withinReach (g);
    g.reduceClipRegion (meterReach (bounds, bounds.getY()));

    const auto inner = innerAreaOf (bounds);
    drawFrame (g, bounds, inner);

    const float f = std::fmin (std::abs (finiteOr (value, 0.0f)) / gainReductionRangeDb, 1.0f);

    if (f > visibleFraction)
    {
        const float length = f * inner.getHeight();
        drawBar (g, { inner.getX() + 2.0f, inner.getY(), inner.getWidth() - 4.0f, length },
                 inner.getY() + length - highlightHeight, bandFor (f, gainReductionLowBand));
    }

    if (grPeak > visiblePeakDb && grPeakHoldTicks >= 0)
        drawLevelLine (g, bounds, bounds.getY() + std::fmin (grPeak / gainReductionRangeDb, 1.0f) * bounds.getHeight());

    drawFinish (g, bounds, "GAIN");
}
