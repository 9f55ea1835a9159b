#include "ModernSliderLookAndFeel.h"

#include "CustomSlider.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <cmath>

namespace
{
constexpr int kneeGlowMode = 2;
constexpr float glowLevelThreshold = 0.02f;
constexpr float dimmedKnobOpacity = 0.4f;
constexpr float glowKnobScale = 1.06f;
constexpr float fullTurn = 6.28f;

const juce::Colour kneeGlowTint { 0xffff9191 };
const juce::Colour spotColour { 0x002d2823 };
const juce::Colour speckColour { 0x0028231e };
const juce::Colour smudgeColour { 0x00322d28 };
const juce::Colour thumbSmudgeColour { 0x00302b26 };

// The fader shows -60 ... 0 dB over its height whatever its range.
constexpr float faderFloorDb = -60.0f;
constexpr float warningZoneDb = -30.0f;
constexpr float deepZoneDb = -45.0f;
constexpr float trackWidth = 6.0f;
constexpr float thumbHeight = 16.0f;

// Knobs that are handled most carry the most wear; unlisted names carry none.
float wearIntensityFor (const juce::String& name)
{
    if (name == "THRESHOLD" || name == "KNEE")
        return 1.8f;
    if (name == "MIX")
        return 1.5f;
    if (name == "ATTACK" || name == "HOLD" || name == "RELEASE" || name == "RANGE"
        || name == "FORCE" || name == "MAKEUP")
        return 0.9f;
    if (name == "RATIO")
        return 0.5f;
    if (name == "OUTPUT" || name == "INPUT")
        return 0.2f;
    return 0.0f;
}

struct KnobState
{
    int glowMode = 0;
    float glowLevel = 0.0f;
    bool dimmed = false;
};

// A plain juce::Slider has no glow and no bypass switch.
KnobState readKnobState (const juce::Slider& slider)
{
    KnobState state;

    if (const auto* custom = dynamic_cast<const CustomSlider*> (&slider))
    {
        state.glowMode = custom->glowMode;
        state.glowLevel = custom->glowLevel;

        if (custom->bypassParameter != nullptr)
        {
            const bool snappedToMinimum = custom->snapToNoteGrid && slider.getValue() <= slider.getMinimum();
            state.dimmed = snappedToMinimum || custom->bypassParameter->get();
        }
    }

    return state;
}

void strokeArc (juce::Graphics& g, const juce::Path& arc, juce::Colour colour, float width)
{
    g.setColour (colour);
    g.strokePath (arc, juce::PathStrokeType (width, juce::PathStrokeType::curved, juce::PathStrokeType::butt));
}

void fillRadialSpot (juce::Graphics& g, juce::Point<float> centre, juce::Point<float> edge,
                     juce::Colour colour, juce::Rectangle<float> ellipse)
{
    g.setGradientFill (juce::ColourGradient (colour, centre, colour.withAlpha ((juce::uint8) 0), edge, true));
    g.fillEllipse (ellipse);
}

// Vertical fill of the fader, five colour stops at fixed proportions.
using FillStops = std::array<juce::uint32, 5>;
const FillStops thresholdBlueFill { 0xff40c8ff, 0xff60d8ff, 0xff00a8ff, 0xff0078c0, 0xff006090 };
const FillStops thresholdRedFill { 0xffdd0000, 0xffff2020, 0xffcc0000, 0xff880000, 0xff660000 };
const FillStops otherFaderFill { 0xffff6b6b, 0xffff8585, 0xffdc143c, 0xffb71c1c, 0xff8b0000 };

juce::ColourGradient faderFillGradient (const FillStops& stops, float x, float top, float bottom)
{
    juce::ColourGradient gradient (juce::Colour { stops[0] }, x, top, juce::Colour { stops[4] }, x, bottom, false);
    gradient.addColour (0.2, juce::Colour (stops[1]));
    gradient.addColour (0.5, juce::Colour (stops[2]));
    gradient.addColour (0.8, juce::Colour (stops[3]));
    return gradient;
}
} // namespace

//==============================================================================
void ModernSliderLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                                float sliderPos, float rotaryStartAngle, float rotaryEndAngle,
                                                juce::Slider& slider)
{
    const KnobGeometry knob { (float) x + 0.5f * (float) width,
                              (float) y + 0.5f * (float) height,
                              (float) (juce::jmin (width / 2, height / 2) - 4),
                              rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle) };

    const auto state = readKnobState (slider);
    const bool glow = state.glowMode == kneeGlowMode;
    const bool tinted = glow && state.glowLevel > glowLevelThreshold;

    auto fill = slider.findColour (juce::Slider::rotarySliderFillColourId);
    if (tinted)
        fill = fill.interpolatedWith (kneeGlowTint, state.glowLevel);

    const float r = knob.radius;
    g.setColour (slider.findColour (juce::Slider::rotarySliderOutlineColourId));
    g.drawEllipse (knob.cx - r, knob.cy - r, 2.0f * r, 2.0f * r, 2.0f);
    g.setColour (juce::Colour (0x801a1a1a));
    g.drawEllipse (knob.cx - r + 1.0f, knob.cy - r + 1.0f, 2.0f * r - 2.0f, 2.0f * r - 2.0f, 1.0f);

    if (sliderPos > 0.0f)
        drawValueArc (g, knob, rotaryStartAngle, fill, tinted, state.glowLevel);

    if (canDrawFilmStrip())
        drawFilmStripKnob (g, knob, sliderPos, glow, state.dimmed);
    else
        drawVectorKnob (g, knob);

    const float intensity = wearIntensityFor (slider.getName());
    if (showDirtEffect && intensity > 0.0f)
        drawKnobWear (g, knob, intensity);
}

// A frame count that leaves no whole pixel row per frame cannot be blitted,
// so such a strip is treated like a missing one.
bool ModernSliderLookAndFeel::canDrawFilmStrip() const
{
    return useFilmStrip && knobFilmStrip.isValid() && filmStripFrames > 0
        && knobFilmStrip.getHeight() / filmStripFrames > 0;
}

void ModernSliderLookAndFeel::drawValueArc (juce::Graphics& g, const KnobGeometry& knob, float rotaryStartAngle,
                                            juce::Colour fill, bool glow, float glowLevel)
{
    const float arcRadius = knob.radius - 1.5f;
    juce::Path arc;
    arc.addCentredArc (knob.cx, knob.cy, arcRadius, arcRadius, 0.0f, rotaryStartAngle, knob.toAngle, true);

    if (glow)
    {
        constexpr int glowStrokes = 12;
        for (int i = 0; i < glowStrokes; ++i)
        {
            const float t = (float) i / (float) (glowStrokes - 1);
            const float alpha = juce::jmin (1.0f, (0.06f * t + 0.02f) * glowLevel + 0.28f * t * t + 0.02f);
            strokeArc (g, arc, fill.withAlpha (alpha), 16.0f - 14.0f * t);
        }

        strokeArc (g, arc, fill.brighter (0.45f + 0.25f * glowLevel), 2.0f);
        strokeArc (g, arc, juce::Colours::white.withAlpha (0.15f * glowLevel + 0.45f), 0.8f);
        return;
    }

    strokeArc (g, arc, fill.withAlpha ((juce::uint8) 0x14), 14.0f);
    strokeArc (g, arc, fill.withAlpha ((juce::uint8) 0x26), 10.0f);
    strokeArc (g, arc, fill.withAlpha ((juce::uint8) 0x59), 6.0f);
    strokeArc (g, arc, fill.brighter (0.3f), 3.5f);
    strokeArc (g, arc, fill.brighter (0.8f).withAlpha ((juce::uint8) 0xe6), 1.8f);
    strokeArc (g, arc, juce::Colour (0x99ffffff), 0.8f);
}

void ModernSliderLookAndFeel::drawFilmStripKnob (juce::Graphics& g, const KnobGeometry& knob, float sliderPos,
                                                 bool glow, bool dimmed) const
{
    const int frameHeight = knobFilmStrip.getHeight() / filmStripFrames;
    const int frame = juce::jlimit (0, filmStripFrames - 1, (int) ((float) (filmStripFrames - 1) * sliderPos));

    float size = 2.0f * (knob.radius - 2.0f);
    if (glow)
    {
        size *= glowKnobScale;
        const float left = knob.cx - size / 2.0f;
        const float top = knob.cy - size / 2.0f;
        g.setColour (juce::Colour (0x33000000));
        g.fillEllipse (left + 5.0f, top + 6.0f, size, size);
        g.setColour (juce::Colour (0x66000000));
        g.fillEllipse (left + 3.0f, top + 4.0f, size, size);
    }

    g.setOpacity (dimmed ? dimmedKnobOpacity : 1.0f);
    g.drawImage (knobFilmStrip,
                 (int) (knob.cx - size / 2.0f), (int) (knob.cy - size / 2.0f), (int) size, (int) size,
                 0, frame * frameHeight, knobFilmStrip.getWidth(), frameHeight);
    g.setOpacity (1.0f);
}

void ModernSliderLookAndFeel::drawVectorKnob (juce::Graphics& g, const KnobGeometry& knob)
{
    const float cx = knob.cx, cy = knob.cy;
    const float r2 = knob.radius - 5.0f;
    const juce::Rectangle<float> body (cx - r2, cy - r2, 2.0f * r2, 2.0f * r2);

    g.setColour (juce::Colour (0x66000000));
    g.fillEllipse (body.translated (1.0f, 2.0f));

    juce::ColourGradient shading (juce::Colour (0xffffffff), cx, cy - 0.3f * r2,
                                  juce::Colour (0xffadadad), cx, cy + r2, true);
    shading.addColour (0.5, juce::Colour (0xfffafafa));
    shading.addColour (0.95, juce::Colour (0xffe0e0e0));
    g.setGradientFill (shading);
    g.fillEllipse (body);

    juce::ColourGradient sheen (juce::Colour (0x4cffffff), cx, cy - r2,
                                juce::Colour (0x4c000000), cx, cy + r2, false);
    sheen.addColour (0.5, juce::Colours::transparentBlack);
    g.setGradientFill (sheen);
    g.fillEllipse (body);

    g.setColour (juce::Colour (0xff2e2e2e));
    g.drawEllipse (body, 1.0f);

    // Fixed light and shade on the cap's rim; they do not turn with the value.
    juce::Path shadeArc;
    shadeArc.addCentredArc (cx, cy, r2 - 2.1f, r2 - 2.1f, 0.0f, 2.2619467f, 0.87964594f, true);
    g.setColour (juce::Colour (0x99666666));
    g.strokePath (shadeArc, juce::PathStrokeType (2.5f));

    juce::Path lightArc;
    lightArc.addCentredArc (cx, cy, r2 - 1.7f, r2 - 1.7f, 0.0f, 3.4557521f, 5.969026f, true);
    g.setColour (juce::Colour (0x66ffffff));
    g.strokePath (lightArc, juce::PathStrokeType (2.0f));

    const float pointerLength = 0.66f * r2;
    juce::Path pointer;
    pointer.addRectangle (-1.0f, -pointerLength, 2.0f, pointerLength);
    pointer.applyTransform (juce::AffineTransform::rotation (knob.toAngle).translated (cx, cy));

    g.setColour (juce::Colour (0x66000000));
    g.fillPath (pointer, juce::AffineTransform::translation (0.5f, 0.5f));
    g.setColour (juce::Colour (0xff262626));
    g.fillPath (pointer);
}

// Marks come from a generator seeded by the knob's centre, so a knob shows the
// same marks on every paint and they turn with it.
void ModernSliderLookAndFeel::drawKnobWear (juce::Graphics& g, const KnobGeometry& knob, float intensity)
{
    const float cx = knob.cx, cy = knob.cy;
    const float R = knob.radius - 2.0f;

    {
        juce::Graphics::ScopedSaveState saved (g);
        juce::Path cap;
        cap.addEllipse (cx - R, cy - R, 2.0f * R, 2.0f * R);
        g.reduceClipRegion (cap);
        g.addTransform (juce::AffineTransform::rotation (knob.toAngle, cx, cy));

        juce::Random random ((juce::int64) (1000.0f * cx + cy));

        const int spots = (int) (3.0f * intensity + 2.0f);
        for (int i = 0; i < spots; ++i)
        {
            const float a1 = random.nextFloat(), a2 = random.nextFloat(), a3 = random.nextFloat(),
                        a4 = random.nextFloat(), a5 = random.nextFloat();
            const float angle = fullTurn * a1;
            const float distance = (0.35f * a2 + 0.6f) * R;
            const juce::Point<float> p (cx + distance * std::cos (angle), cy + distance * std::sin (angle));
            const float gw = 5.0f * a3 + 3.0f;
            const float gh = 8.0f * a4 + 5.0f;
            const auto alpha = (juce::uint8) (int) ((20.0f * a5 + 15.0f) * intensity);

            fillRadialSpot (g, p, { p.x + gw, p.y }, spotColour.withAlpha (alpha),
                            { p.x - gw, p.y - gh, 2.0f * gw, 2.0f * gh });
        }

        const int specks = (int) (6.0f * intensity + 4.0f);
        for (int i = 0; i < specks; ++i)
        {
            const float b1 = random.nextFloat(), b2 = random.nextFloat(), b3 = random.nextFloat(),
                        b4 = random.nextFloat();
            const float angle = fullTurn * b1;
            const float distance = (0.6f * b2 * b2 + 0.3f) * R;
            const float size = 1.5f * b3 + 0.8f;
            const auto alpha = (juce::uint8) (int) ((30.0f * b4 + 20.0f) * intensity);

            g.setColour (speckColour.withAlpha (alpha));
            g.fillEllipse (cx + distance * std::cos (angle), cy + distance * std::sin (angle), size, size);
        }
    }

    if (intensity > 0.5f)
    {
        const auto alpha = (juce::uint8) (int) (12.0f * intensity + 8.0f);
        fillRadialSpot (g, { cx, cy }, { cx + 0.5f * R, cy }, smudgeColour.withAlpha (alpha),
                        { cx - 0.4f * R, cy - 0.4f * R, 0.8f * R, 0.8f * R });
    }
}

//==============================================================================
void ModernSliderLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                                                float sliderPos, float minSliderPos, float maxSliderPos,
                                                juce::Slider::SliderStyle style, juce::Slider& slider)
{
    if (style != juce::Slider::LinearVertical)
    {
        juce::LookAndFeel_V4::drawLinearSlider (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos,
                                                style, slider);
        return;
    }

    const auto v = (float) slider.getValue();
    const bool isThreshold = slider.getName() == "THRESHOLD";
    const float t = juce::jlimit (0.0f, 1.0f, (v - faderFloorDb) / -faderFloorDb);

    const float top = (float) y;
    const float h = (float) height;
    const float trackLeft = (float) x + 0.5f * (float) width - 3.0f;

    g.setColour (juce::Colour (0xff1a1a1a));
    g.fillRoundedRectangle (trackLeft, top, trackWidth, h, 3.0f);
    g.setColour (juce::Colour (0x66000000));
    g.fillRoundedRectangle (trackLeft, top, 2.4f, h, 3.0f);
    g.setColour (juce::Colour (0x80404040));
    g.fillRoundedRectangle (trackLeft + 3.6f, top, 2.4f, h, 3.0f);

    const float bottom = top + h;
    const float thumbY = bottom - 2.0f - h * t;

    if (sliderPos > 0.0f)
        drawFaderFill (g, trackLeft, thumbY, bottom, t, isThreshold, isThreshold && v < deepZoneDb);

    const float thumbX = (float) x + 1.5f;
    const float thumbW = (float) width - 3.0f;
    const float wanted = thumbY - thumbHeight / 2.0f;
    const float thumbTop = wanted < top ? top : juce::jmin (wanted, bottom - thumbHeight);

    drawFaderThumb (g, thumbX, thumbTop, thumbW, v);

    if (showDirtEffect && isThreshold)
        drawThumbWear (g, thumbX, thumbTop, thumbW);
}

void ModernSliderLookAndFeel::drawFaderFill (juce::Graphics& g, float trackLeft, float thumbY, float bottom,
                                             float t, bool isThreshold, bool redScheme)
{
    const float fillH = bottom - thumbY;

    if (isThreshold)
    {
        const juce::Colour glow (redScheme ? 0xffff0000 : 0xff00a8ff);

        if (fillH > 2.0f)
        {
            g.setColour (glow.withAlpha (0.06f * t));
            g.fillRoundedRectangle (trackLeft - 8.0f, thumbY, 22.0f, fillH, 4.0f);
            g.setColour (glow.withAlpha (0.12f * t));
            g.fillRoundedRectangle (trackLeft - 5.0f, thumbY, 16.0f, fillH, 3.0f);
            g.setColour (glow.withAlpha (0.25f * t));
            g.fillRoundedRectangle (trackLeft - 2.5f, thumbY, 11.0f, fillH, 2.0f);
        }

        if (fillH > 4.0f)
        {
            g.setColour (juce::Colour (redScheme ? 0xffffaaaa : 0xffffffff).withAlpha (0.4f * t));
            g.fillRoundedRectangle (trackLeft - 1.0f, thumbY, 8.0f, juce::jmin (0.3f * fillH, 8.0f), 2.0f);
        }
    }

    const auto& stops = ! isThreshold ? otherFaderFill : (redScheme ? thresholdRedFill : thresholdBlueFill);
    g.setGradientFill (faderFillGradient (stops, trackLeft + 3.0f, thumbY, bottom));
    g.fillRoundedRectangle (trackLeft, thumbY, trackWidth, fillH, 3.0f);

    if (! redScheme)
    {
        g.setColour (juce::Colour (0x59ffffff));
        g.fillRoundedRectangle (trackLeft + 0.5f, thumbY, 1.8f, fillH, 3.0f);
        g.setColour (juce::Colour (0x33000000));
    }
    else
    {
        g.setColour (juce::Colour (0x4c000000));
    }
    g.fillRoundedRectangle (trackLeft + 4.2f, thumbY, 1.8f, fillH, 3.0f);
}

void ModernSliderLookAndFeel::drawFaderThumb (juce::Graphics& g, float thumbX, float thumbTop, float thumbW, float v)
{
    enum class Zone { normal, warning, deep };
    const Zone zone = v >= warningZoneDb ? Zone::normal : (v >= deepZoneDb ? Zone::warning : Zone::deep);

    juce::Colour c1 (0xffe8e8e8), c2 (0xffb0b0b0), accent (0xff00a8ff);
    float glowStrength = 0.0f;
    juce::Colour glow;

    if (zone == Zone::warning)
    {
        const float f = juce::jlimit (0.0f, 1.0f, (warningZoneDb - v) / (warningZoneDb - deepZoneDb));
        constexpr float shade = 0.8333333f;
        c1 = juce::Colour (0xffe8e8e8).interpolatedWith (juce::Colour (0xffffd700), f);
        c2 = juce::Colour ((juce::uint8) ((float) c1.getRed() * shade), (juce::uint8) ((float) c1.getGreen() * shade),
                           (juce::uint8) ((float) c1.getBlue() * shade), c1.getAlpha());
        accent = juce::Colour (0xffff8800);
        glow = juce::Colour (0xffffaa00);
        glowStrength = 0.25f * f;
    }
    else if (zone == Zone::deep)
    {
        c1 = juce::Colour (0xffff3030);
        c2 = juce::Colour (0xffaa0000);
        accent = juce::Colour (0xffff0000);
        glow = juce::Colour (0xffff0000);
        glowStrength = 0.4f;
    }

    if (zone != Zone::normal)
    {
        g.setColour (glow.withAlpha (0.3f * glowStrength));
        g.fillRoundedRectangle (thumbX - 4.0f, thumbTop - 3.0f, thumbW + 8.0f, 22.0f, 6.0f);
        g.setColour (glow.withAlpha (0.6f * glowStrength));
        g.fillRoundedRectangle (thumbX - 2.0f, thumbTop - 1.5f, thumbW + 4.0f, 19.0f, 4.5f);
    }

    const juce::Rectangle<float> thumb (thumbX, thumbTop, thumbW, thumbHeight);

    g.setColour (juce::Colour (0x80000000));
    g.fillRoundedRectangle (thumb.translated (1.0f, 1.5f), 3.0f);

    juce::ColourGradient body (c1, thumbX, thumbTop, c2, thumbX, thumbTop + thumbHeight, false);
    body.addColour (0.15, c1.brighter (0.1f));
    body.addColour (0.5, c1.darker (0.1f));
    body.addColour (0.85, c2.darker (0.1f));
    g.setGradientFill (body);
    g.fillRoundedRectangle (thumb, 3.0f);

    g.setColour (juce::Colour (0x08000000));
    for (float yy = thumbTop + 2.0f; yy < thumbTop + 14.0f; yy += 2.0f)
        g.drawLine (thumbX + 2.0f, yy, thumbX + thumbW - 2.0f, yy, 0.5f);

    g.setColour (juce::Colour (zone == Zone::deep ? 0x66ffffff : 0xb2ffffff));
    g.fillRoundedRectangle (thumbX + 1.5f, thumbTop + 1.0f, thumbW - 3.0f, 3.0f, 1.5f);
    g.setColour (juce::Colour (0x4cffffff));
    g.fillRoundedRectangle (thumbX + 1.0f, thumbTop + 2.0f, 2.0f, 12.0f, 1.0f);
    g.setColour (juce::Colour (0x33000000));
    g.fillRoundedRectangle (thumbX + thumbW - 3.0f, thumbTop + 2.0f, 2.0f, 12.0f, 1.0f);
    g.setColour (juce::Colour (0x40000000));
    g.fillRoundedRectangle (thumbX + 2.0f, thumbTop + 13.0f, thumbW - 4.0f, 2.0f, 1.0f);

    g.setColour (juce::Colour (0xff2a2a2a));
    g.drawRoundedRectangle (thumb, 3.0f, 1.0f);

    const float centreY = thumbTop + thumbHeight / 2.0f;

    if (v > warningZoneDb)
    {
        g.setColour (accent.withAlpha ((juce::uint8) 0x4c));
        g.fillRect (thumbX + 2.0f, centreY - 1.5f, thumbW - 4.0f, 3.0f);
        g.setColour (accent);
        g.fillRect (thumbX + 2.0f, centreY - 0.5f, thumbW - 4.0f, 1.0f);

        const float gripX = thumbX + 4.0f, gripW = thumbW - 8.0f;
        g.setColour (juce::Colour (0xff505050));
        g.fillRect (gripX, centreY - 3.5f, gripW, 1.0f);
        g.fillRect (gripX, centreY + 2.5f, gripW, 1.0f);
        g.setColour (juce::Colour (0xffaaaaaa));
        g.fillRect (gripX, centreY - 2.5f, gripW, 0.5f);
        g.fillRect (gripX, centreY + 3.5f, gripW, 0.5f);
        return;
    }

    const juce::String deep ("DEEP");
    const auto drawDeep = [&] (juce::Colour colour, float dx, float dy)
    {
        g.setColour (colour);
        g.drawText (deep, thumb.translated (dx, dy), juce::Justification::centred, true);
    };

    g.setFont (juce::Font (9.0f, juce::Font::bold));
    const juce::Colour textGlow (zone == Zone::deep ? 0x4cff4444 : 0x4cff8800);
    drawDeep (textGlow, -1.0f, 0.0f);
    drawDeep (textGlow, 1.0f, 0.0f);
    drawDeep (textGlow, 0.0f, -1.0f);
    drawDeep (textGlow, 0.0f, 1.0f);
    drawDeep (juce::Colour (0x80000000), 0.5f, 0.5f);
    drawDeep (zone == Zone::deep ? juce::Colours::white : juce::Colour (0xffffdd00), 0.0f, 0.0f);
}

// Finger marks where the thumb is gripped, seeded by its place so they stay put.
void ModernSliderLookAndFeel::drawThumbWear (juce::Graphics& g, float thumbX, float thumbTop, float thumbW)
{
    constexpr float wear = 1.8f;
    juce::Random random ((juce::int64) (1000.0f * thumbX + 88888.0f));

    struct Smudge
    {
        float base, y;
        bool growsLeft;
    };
    const Smudge smudges[] { { thumbX + 1.5f, thumbTop + 4.0f, false },
                             { thumbX + 1.5f, thumbTop + 11.2f, false },
                             { thumbX + thumbW - 3.5f, thumbTop + 5.6f, true },
                             { thumbX + thumbW - 3.5f, thumbTop + 12.8f, true } };

    for (const auto& smudge : smudges)
    {
        const float d1 = random.nextFloat(), d2 = random.nextFloat(), d3 = random.nextFloat(),
                    d4 = random.nextFloat();
        const float sx = smudge.base + 2.0f * d1;
        const float s = 2.5f + 2.0f * d2;
        const float h = 4.0f * d3 + 3.0f;

        if (smudge.growsLeft)
        {
            const auto alpha = (juce::uint8) (int) ((12.0f * d4 + 15.0f) * wear);
            fillRadialSpot (g, { sx, smudge.y }, { sx - 1.5f * s, smudge.y }, thumbSmudgeColour.withAlpha (alpha),
                            { sx - 1.5f * s, smudge.y - h / 2.0f, 2.0f * s, h });
        }
        else
        {
            const auto alpha = (juce::uint8) (int) ((15.0f * d4 + 18.0f) * wear);
            fillRadialSpot (g, { sx, smudge.y }, { sx + 1.5f * s, smudge.y }, smudgeColour.withAlpha (alpha),
                            { sx - s / 2.0f, smudge.y - h / 2.0f, 2.0f * s, h });
        }
    }

    const float centreY = thumbTop + thumbHeight / 2.0f;
    g.setGradientFill (juce::ColourGradient (juce::Colour (0x1837322d), thumbX + thumbW / 2.0f, centreY,
                                             juce::Colour (0x0037322d), thumbX + thumbW, centreY, true));
    g.fillEllipse (thumbX + 0.1f * thumbW, centreY - 5.6f, 0.8f * thumbW, 11.2f);

    constexpr int specks = 6;
    for (int i = 0; i < specks; ++i)
    {
        const float e1 = random.nextFloat(), e2 = random.nextFloat(), e3 = random.nextFloat(),
                    e4 = random.nextFloat();
        const float size = 0.8f * e3 + 0.5f;
        g.setColour (spotColour.withAlpha ((juce::uint8) (int) ((20.0f * e4 + 25.0f) * wear)));
        g.fillEllipse (thumbX + 3.0f + e1 * (thumbW - 6.0f), thumbTop + 2.0f + 12.0f * e2, size, size);
    }
}

//==============================================================================
juce::Label* ModernSliderLookAndFeel::createSliderTextBox (juce::Slider& slider)
{
    auto* label = juce::LookAndFeel_V4::createSliderTextBox (slider);

    label->setColour (juce::Label::textColourId, juce::Colour (0xffe0f0ff));
    label->setColour (juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    label->setColour (juce::Label::outlineColourId, juce::Colours::transparentBlack);
    label->setColour (juce::TextEditor::textColourId, juce::Colour (0xffe0f0ff));
    label->setColour (juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
    label->setColour (juce::TextEditor::highlightColourId, juce::Colour (0xff00a8ff));
    label->setFont (juce::Font (10.0f, juce::Font::bold));

    return label;
}

void ModernSliderLookAndFeel::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor&)
{
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff1a2535), 0.0f, 0.0f,
                                             juce::Colour (0xff2a3a50), 0.0f, (float) height, false));
    g.fillRoundedRectangle (0.0f, 0.0f, (float) width, (float) height, 3.0f);

    g.setColour (juce::Colour (0x40000000));
    g.drawLine (3.0f, 1.0f, (float) width - 3.0f, 1.0f, 1.0f);
}

void ModernSliderLookAndFeel::drawTextEditorOutline (juce::Graphics& g, int width, int height,
                                                     juce::TextEditor& editor)
{
    const bool focused = editor.hasKeyboardFocus (true);
    g.setColour (juce::Colour (focused ? 0xff00a8ff : 0xff4a5a70));
    g.drawRoundedRectangle (0.5f, 0.5f, (float) juce::jmax (width - 1, 0), (float) juce::jmax (height - 1, 0),
                            3.0f, focused ? 1.5f : 1.0f);
}
