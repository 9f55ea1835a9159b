// Everything of the editor that is not a child component: the textured body
// and header, the titles and logo, the display panel with its grid and scan
// lines, the display and meters, captions, the fallback sheen for missing
// textures and the optional wear marks around the most used controls.
#include "PluginEditor.h"

#include <tuple>

namespace
{
constexpr int headerHeight = 70;
constexpr int bottomPanelHeight = 250;
constexpr int texturedPanelHeight = 253;

constexpr juce::uint32 bodyBase = 0xff2d2d2d;
constexpr juce::uint32 textureTint = 0x8c383838;
constexpr juce::uint32 flatBody = 0xff1a1a1a;
constexpr juce::uint32 panelTopSheen = 0x1fffffff;
constexpr juce::uint32 panelBottomSheen = 0x0dffffff;
constexpr juce::uint32 headerSheen = 0x26ffffff;
constexpr int panelTopSheenHeight = 80;
constexpr int panelBottomSheenHeight = 40;
constexpr int headerSheenHeight = 35;

constexpr float titleFontHeight = 16.0f;
constexpr int titleHeight = 30;
constexpr float subtitleFontHeight = 10.0f;
constexpr juce::uint32 subtitleColour = 0xffdc143c;
constexpr float logoScale = 1.2f;
constexpr int logoRise = 220;

constexpr float displayPanelCorner = 8.0f;
constexpr juce::uint32 displayPanelTop = 0xff252535;
constexpr juce::uint32 displayPanelBottom = 0xff1a1a2a;
constexpr juce::uint32 gridColour = 0xff404040;
constexpr int horizontalGridDivisions = 10;
constexpr int verticalGridDivisions = 6;

constexpr int scanLineSpacing = 4;
struct ScanLineColours
{
    juce::uint32 line, companion;
};
constexpr ScanLineColours glowingScanLines { 0xcc1a4a7a, 0x804080c0 };
constexpr ScanLineColours plainScanLines { 0x99000000, 0x26ffffff };

constexpr float captionFontHeight = 8.0f;
constexpr juce::uint32 captionColour = 0xffc0d8f0;
constexpr juce::uint8 captionShadowAlpha = 0x80;
constexpr float versionFontHeight = 9.0f;
constexpr juce::uint8 versionAlpha = 0x80;

constexpr float wearSwitchFontHeight = 9.0f;
constexpr juce::uint32 cleanUpColour = 0x66808080;
constexpr juce::uint32 wellUsedColour = 0xb2909090;

constexpr juce::uint32 smudgeRgb = 0x232323;
constexpr juce::uint32 speckRgb = 0x1e1e1e;
constexpr juce::uint32 lowerPanelSpeckRgb = 0x1a1a1a;
constexpr int wearSeed = 54321;
constexpr int lowerPanelSpecks = 60, lightSpecks = 50, headerSpecks = 20;

// A gradient along a line, with colour stops at proportional positions.
struct SheenStop
{
    double position;
    juce::uint32 colour;
};

void fillSheen (juce::Graphics& g, juce::Rectangle<float> area, juce::Point<float> from, juce::Point<float> to,
                std::initializer_list<SheenStop> stops)
{
    juce::ColourGradient gradient (juce::Colour (stops.begin()->colour), from, juce::Colour ((stops.end() - 1)->colour),
                                   to, false);
    for (auto stop = stops.begin() + 1; stop != stops.end() - 1; ++stop)
        gradient.addColour (stop->position, juce::Colour (stop->colour));
    g.setGradientFill (gradient);
    g.fillRect (area);
}

void fillVerticalGradient (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour top, float topY,
                           juce::Colour bottom, float bottomY)
{
    g.setGradientFill (juce::ColourGradient (top, 0.0f, topY, bottom, 0.0f, bottomY, false));
    g.fillRect (area);
}

// Images are drawn at the current colour's opacity; these are drawn whole.
void drawImageOpaque (juce::Graphics& g, const juce::Image& image, juce::Rectangle<int> area)
{
    g.setOpacity (1.0f);
    g.drawImage (image, area.toFloat());
}

void drawShadowedText (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area)
{
    g.setFont (juce::Font (captionFontHeight, juce::Font::bold));
    g.setColour (juce::Colours::black.withAlpha (captionShadowAlpha));
    g.drawText (text, area.translated (1, 1), juce::Justification::centred);
    g.setColour (juce::Colour (captionColour));
    g.drawText (text, area, juce::Justification::centred);
}

juce::Colour withAlphaByte (juce::uint32 rgb, int alpha)
{
    return juce::Colour (rgb).withAlpha ((juce::uint8) juce::jlimit (0, 255, alpha));
}

// A soft dark blot fading out towards its radius.
void fillSmudge (juce::Graphics& g, float cx, float cy, float radius, int alpha)
{
    const auto centre = withAlphaByte (smudgeRgb, alpha);
    g.setGradientFill (juce::ColourGradient (centre, cx, cy, centre.withAlpha ((juce::uint8) 0), cx + radius, cy, true));
    g.fillEllipse (cx - radius, cy - radius, 2.0f * radius, 2.0f * radius);
}

void fillSpeck (juce::Graphics& g, float x, float y, float size, juce::Colour colour)
{
    g.setColour (colour);
    g.fillEllipse (x, y, size, size);
}

// Scattered specks over the whole editor, the same on every paint.
void drawSpecks (juce::Graphics& g, float w, float h)
{
    juce::Random random (wearSeed);
    const auto r = [&random] { return random.nextFloat(); };
    const auto alphaOf = [] (float fraction) { return juce::roundToInt (fraction * 255.0f); };

    for (int i = 0; i < lowerPanelSpecks; ++i)
    {
        const float x = w * r(), y = (h - (float) bottomPanelHeight) + (float) bottomPanelHeight * r();
        const float size = 2.0f * r() + 1.0f;
        fillSpeck (g, x, y, size, withAlphaByte (lowerPanelSpeckRgb, alphaOf (0.15f + 0.15f * r())));
    }

    for (int i = 0; i < lightSpecks; ++i)
    {
        const float x = 50.0f + (w - 100.0f) * r(), y = 80.0f + (h - 120.0f) * r();
        const float size = 0.8f + 1.5f * r();
        fillSpeck (g, x, y, size, withAlphaByte (0xffffff, alphaOf (0.06f + 0.06f * r())));
    }

    for (int i = 0; i < headerSpecks; ++i)
    {
        const float x = w * r(), y = (float) headerHeight * r();
        const float size = 0.8f + 1.2f * r();
        fillSpeck (g, x, y, size, withAlphaByte (speckRgb, alphaOf (0.12f + 0.12f * r())));
    }
}

// Fingerprints and grime in a ring around a knob's centre.
void drawKnobWear (juce::Graphics& g, int cx, int cy, float amount)
{
    juce::Random random ((juce::int64) (1000.0 * cx + cy));
    const auto r = [&random] { return random.nextFloat(); };
    constexpr float turn = 6.28f;

    for (int i = 0; i < (int) (3.0f * amount + 4.0f); ++i)
    {
        const float angle = turn * r(), distance = 28.0f + 8.0f * r(), radius = 8.0f + 10.0f * r();
        fillSmudge (g, (float) cx + distance * std::cos (angle), (float) cy + distance * std::sin (angle), radius,
                    (int) (5.0f * amount + 8.0f));
    }

    for (int i = 0; i < (int) (8.0f * amount + 8.0f); ++i)
    {
        const float angle = turn * r(), distance = 23.0f + 12.0f * r(), size = 1.0f + 2.5f * r();
        fillSpeck (g, (float) cx + distance * std::cos (angle), (float) cy + distance * std::sin (angle), size,
                   withAlphaByte (speckRgb, (int) (6.0f * amount + 12.0f)));
    }
}

// Grime above and beside a button, where fingers land.
void drawButtonWear (juce::Graphics& g, juce::Rectangle<int> bounds, float amount)
{
    const int x = bounds.getX(), y = bounds.getY(), w = bounds.getWidth(), h = bounds.getHeight();
    if (w < 1 || h < 1)
        return;

    juce::Random random ((juce::int64) y + 1000 * (juce::int64) x);
    const auto r = [&random] { return random.nextFloat(); };

    const int cx = x + w / 2, cy = y + h / 2;
    const float left = (float) cx - (float) w / 2.0f, top = (float) cy - (float) h / 2.0f;
    const float right = (float) cx + (float) w / 2.0f;

    for (int i = 0; i < (int) (2.0f * amount + 2.0f); ++i)
    {
        const float sx = left + (float) w * (0.15f + 0.7f * r());
        const float sy = top - 2.0f - 6.0f * r();
        const float radius = 4.0f + 5.0f * r();
        fillSmudge (g, sx, sy, radius, (int) (4.0f * amount + 10.0f));
    }

    for (int i = 0; i < (int) (1.0f + amount); ++i)
    {
        const float r1 = r(), r2 = r(), r3 = r(), r4 = r();
        const float sx = r2 > 0.5f ? left - 2.0f - 4.0f * r3 : right + 2.0f + 4.0f * r3;
        const float sy = (float) cy - (float) h / 4.0f + ((float) h / 2.0f) * r1;
        fillSmudge (g, sx, sy, 3.0f + 4.0f * r4, (int) (3.0f * amount + 6.0f));
    }

    for (int i = 0; i < (int) (2.0f + amount); ++i)
    {
        const float sx = left + (float) w * (0.1f + 0.8f * r());
        const float sy = top - 1.0f - 4.0f * r();
        const float size = 0.8f + 1.2f * r();
        fillSpeck (g, sx, sy, size, withAlphaByte (speckRgb, (int) (3.0f * amount + 12.0f)));
    }
}
} // namespace

//==============================================================================
void TarnwellCompressorAudioProcessorEditor::paintPanels (juce::Graphics& g)
{
    const int w = getWidth(), h = getHeight();
    const float fw = (float) w, fh = (float) h;
    const int hh = std::min (h, headerHeight);

    // Body.
    if (panelImagesLoaded && bottomPanelImage.isValid())
    {
        g.fillAll (juce::Colour (bodyBase));
        const juce::Rectangle<int> panel (0, h - texturedPanelHeight, w, texturedPanelHeight);
        drawImageOpaque (g, bottomPanelImage, panel);
        g.setColour (juce::Colour (textureTint));
        g.fillRect (panel);
        fillVerticalGradient (g, { 0.0f, fh - texturedPanelHeight, fw, (float) panelTopSheenHeight },
                              juce::Colour (panelTopSheen), fh - texturedPanelHeight, juce::Colours::transparentWhite,
                              fh - texturedPanelHeight + panelTopSheenHeight);
        fillVerticalGradient (g, { 0.0f, fh - panelBottomSheenHeight, fw, (float) panelBottomSheenHeight },
                              juce::Colours::transparentWhite, fh - panelBottomSheenHeight,
                              juce::Colour (panelBottomSheen), fh);
        g.setColour (juce::Colour (flatBody));
        g.fillRect (0, headerHeight, w, h - headerHeight - texturedPanelHeight);
    }
    else
    {
        g.fillAll (juce::Colour (flatBody));
    }

    // Header.
    if (panelImagesLoaded && topPanelImage.isValid())
    {
        drawImageOpaque (g, topPanelImage, { 0, 0, w, hh });
        g.setColour (juce::Colour (textureTint));
        g.fillRect (0, 0, w, hh);
        fillVerticalGradient (g, { 0.0f, 0.0f, fw, (float) headerSheenHeight }, juce::Colour (headerSheen), 0.0f,
                              juce::Colours::transparentWhite, (float) headerSheenHeight);
    }
    else
    {
        g.setColour (juce::Colour (flatBody));
        g.fillRect (0, 0, w, hh);
    }

    g.setColour (juce::Colours::white);
    g.setFont (juce::Font (titleFontHeight, juce::Font::bold));
    g.drawText ("TARNWELL COMPRESSOR", 0, 0, w, std::min (h, titleHeight), juce::Justification::centred);

    g.setColour (juce::Colour (subtitleColour));
    g.setFont (juce::Font (subtitleFontHeight, juce::Font::plain));
    g.drawText ("Compression with F=ma Physics Model", 0, titleHeight, w, hh - titleHeight,
                juce::Justification::centred);

    if (logoImage.isValid())
    {
        const int logoW = (int) (logoScale * (float) logoImage.getWidth());
        const int logoH = (int) (logoScale * (float) logoImage.getHeight());
        drawImageOpaque (g, logoImage,
                         { (w - logoW) / 2, h + (bottomPanelHeight - logoH) / 2 - logoRise, logoW, logoH });
    }

    // Display panel, grid and scan lines.
    const auto panel = displayPanelArea();
    const float px = panel.getX(), py = panel.getY(), pw = panel.getWidth(), ph = panel.getHeight();
    g.setGradientFill (juce::ColourGradient (juce::Colour (displayPanelTop), 0.0f, py, juce::Colour (displayPanelBottom),
                                             0.0f, py + ph, false));
    g.fillRoundedRectangle (panel, displayPanelCorner);

    g.setColour (juce::Colour (gridColour));
    for (int k = 0; k <= horizontalGridDivisions; ++k)
    {
        const float y = py + (float) k * ph / (float) horizontalGridDivisions;
        g.drawLine (px, y, px + pw, y, 0.5f);
    }
    for (int k = 1; k < verticalGridDivisions; ++k)
    {
        const float x = px + (float) k * pw / (float) verticalGridDivisions;
        g.drawLine (x, py, x, py + ph, 0.3f);
    }

    if (! audioProcessor.ecoMode)
    {
        const auto& colours = audioProcessor.glowEnabled ? glowingScanLines : plainScanLines;
        for (int y = (int) py; y < (int) (py + ph); y += scanLineSpacing)
        {
            g.setColour (juce::Colour (colours.line));
            g.drawLine (px, (float) y, px + pw, (float) y, 1.5f);
            g.setColour (juce::Colour (colours.companion));
            g.drawLine (px, (float) y + 1.0f, px + pw, (float) y + 1.0f, 1.0f);
        }
    }
}

bool TarnwellCompressorAudioProcessorEditor::PanelLook::operator== (const PanelLook& other) const
{
    return std::tie (width, height, eco, glow, textured)
           == std::tie (other.width, other.height, other.eco, other.glow, other.textured);
}

void TarnwellCompressorAudioProcessorEditor::paint (juce::Graphics& g)
{
    const int w = getWidth(), h = getHeight();
    const float fw = (float) w, fh = (float) h;

    // The panels change only with the size and a few switches, so an unscaled
    // paint takes them from the last drawing (they are opaque: same pixels).
    const PanelLook look { w, h, audioProcessor.ecoMode, audioProcessor.glowEnabled, panelImagesLoaded };
    if (g.getInternalContext().getPhysicalPixelScaleFactor() != 1.0f)
    {
        paintPanels (g);
    }
    else
    {
        if (! panelCache.isValid() || ! (panelCacheLook == look))
        {
            panelCache = juce::Image (juce::Image::ARGB, w, h, false);
            juce::Graphics cacheGraphics (panelCache);
            paintPanels (cacheGraphics);
            panelCacheLook = look;
        }
        // The bar graph later covers the display with opaque pixels, so the
        // panels under it need not be copied.
        juce::Graphics::ScopedSaveState besideTheBarGraph (g);
        if (audioProcessor.showWaveformBars)
            g.excludeClipRegion (displayPanelArea().toNearestInt());
        g.setOpacity (1.0f);
        g.drawImageAt (panelCache, 0, 0);
    }

    const auto panel = displayPanelArea();

    {
        // The second drawing below covers the display panel with its opaque
        // background, so this one only matters outside it.
        juce::Graphics::ScopedSaveState outsideTheDisplay (g);
        g.excludeClipRegion (panel.getSmallestIntegerContainer());
        paintLiveDisplays (g);
    }

    const auto slider = thresholdSlider.getBounds();
    drawShadowedText (g, "THRESHOLD",
                      { slider.getX() - 5, inputMeterArea.getBottom() + 8, slider.getWidth() + 10, 12 });

    g.setColour (juce::Colours::grey.withAlpha (versionAlpha));
    g.setFont (juce::Font (versionFontHeight, juce::Font::plain));
    g.drawText ("Tarnwell Compressor v3.4.0", w - 150, h - 16, 140, 15, juce::Justification::centred);

    if (! panelImagesLoaded)
    {
        const float middle = (float) headerHeight + (fh - 320.0f) / 2.0f;
        const float lower = fh - bottomPanelHeight;
        fillSheen (g, { 0.0f, 0.0f, fw, (float) headerHeight }, { 0.0f, 0.0f }, { 0.0f, (float) headerHeight },
                   { { 0.0, 0x0d000000 }, { 0.3, 0x1affffff }, { 0.5, 0x1fffffff }, { 0.7, 0x14ffffff },
                     { 1.0, 0x0d000000 } });
        fillSheen (g, { 0.0f, lower, fw, (float) bottomPanelHeight }, { 0.0f, lower }, { 0.0f, fh },
                   { { 0.0, 0x0d000000 }, { 0.25, 0x1fffffff }, { 0.4, 0x2effffff }, { 0.5, 0x33ffffff },
                     { 0.6, 0x2effffff }, { 0.75, 0x1fffffff }, { 1.0, 0x0d000000 } });
        fillSheen (g, { 0.0f, lower, fw, (float) bottomPanelHeight }, { 0.0f, fh - 125.0f }, { fw, fh - 125.0f },
                   { { 0.0, 0x0a000000 }, { 0.35, 0x14ffffff }, { 0.5, 0x1affffff }, { 0.65, 0x14ffffff },
                     { 1.0, 0x0a000000 } });
        fillSheen (g, { 0.0f, (float) headerHeight, fw, fh - 320.0f }, { 0.0f, (float) headerHeight }, { 0.0f, lower },
                   { { 0.0, 0x0d000000 }, { 0.25, 0x14ffffff }, { 0.4, 0x1fffffff }, { 0.5, 0x26ffffff },
                     { 0.6, 0x1fffffff }, { 0.75, 0x14ffffff }, { 1.0, 0x0d000000 } });
        fillSheen (g, { 0.0f, (float) headerHeight, fw, fh - 320.0f }, { 0.0f, middle }, { fw, middle },
                   { { 0.0, 0x0a000000 }, { 0.35, 0x0fffffff }, { 0.5, 0x14ffffff }, { 0.65, 0x0fffffff },
                     { 1.0, 0x0a000000 } });
    }

    // Drawn again so that they lie above the sheen.
    paintLiveDisplays (g);

    if (showDirtEffectShown)
        paintWear (g);

    g.setFont (juce::Font (wearSwitchFontHeight, juce::Font::plain));
    g.setColour (juce::Colour (showDirtEffectShown ? cleanUpColour : wellUsedColour));
    g.drawText (showDirtEffectShown ? "CLEAN UP" : "WELL-USED", dirtButtonArea, juce::Justification::centredLeft);
}

void TarnwellCompressorAudioProcessorEditor::paintLiveDisplays (juce::Graphics& g)
{
    drawWaveform (g, displayPanelArea());
    drawInputMeter (g, inputMeterArea.toFloat());
    drawMeter (g, outputMeterArea.toFloat(), meterGainReduction);
}

void TarnwellCompressorAudioProcessorEditor::paintWear (juce::Graphics& g)
{
    drawSpecks (g, (float) getWidth(), (float) getHeight());

    const std::pair<juce::Component*, float> worn[] = {
        { &kneeKnob, 5.0f },         { &mixKnob, 6.0f },          { &bpmSyncModeButton, 4.0f },
        { &forceMultiplierKnob, 4.0f }, { &dampingKnob, 4.0f },   { &attackKnob, 0.9f },
        { &holdKnob, 0.9f },         { &releaseKnob, 5.0f },      { &rangeKnob, 0.9f },
        { &makeupGainKnob, 0.9f },   { &ratioKnob, 0.5f },        { &outputGainKnob, 0.2f },
        { &inputGainKnob, 0.2f },
    };

    for (const auto& [component, amount] : worn)
        drawKnobWear (g, component->getX() + component->getWidth() / 2, component->getY() + component->getHeight() / 2,
                      amount);

    drawButtonWear (g, autoThresholdButton.getBounds(), 2.0f);
    drawButtonWear (g, intAutoButton.getBounds(), 3.0f);
}
