// Draws the editor's compiled-in artwork into PNG files:
//
//     tarnwell-artwork-generator <output folder>
//
// Every pixel comes from fixed formulas and fixed random seeds, so a rerun
// reproduces the committed images. The panel textures and the knob film strip
// are shaded per pixel (the knob with supersampling); the icons and the logo
// are drawn with JUCE's anti-aliased software renderer.

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace
{
constexpr float pi = juce::MathConstants<float>::pi;

//==============================================================================
// Small colour maths: channels are 0..1 floats, alpha premultiplied when mixed.
struct Rgb
{
    float r = 0.0f, g = 0.0f, b = 0.0f;

    Rgb operator* (float k) const { return { r * k, g * k, b * k }; }
    Rgb operator+ (Rgb o) const { return { r + o.r, g + o.g, b + o.b }; }
    Rgb operator* (Rgb o) const { return { r * o.r, g * o.g, b * o.b }; }
};

Rgb mix (Rgb a, Rgb b, float t) { return a * (1.0f - t) + b * t; }

struct Rgba
{
    Rgb premultiplied;
    float alpha = 0.0f;
};

juce::Colour toColour (Rgba c)
{
    if (c.alpha <= 0.0f)
        return juce::Colours::transparentBlack;

    const auto channel = [&] (float v) { return juce::jlimit (0.0f, 1.0f, v / c.alpha); };
    return juce::Colour::fromFloatRGBA (channel (c.premultiplied.r), channel (c.premultiplied.g),
                                        channel (c.premultiplied.b), juce::jlimit (0.0f, 1.0f, c.alpha));
}

float smoothStep (float edge0, float edge1, float x)
{
    const auto t = juce::jlimit (0.0f, 1.0f, (x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

// Light falls from the upper left; n is a unit vector in screen coordinates.
float facingLight (float nx, float ny)
{
    constexpr float lightX = -0.53f, lightY = -0.85f;
    return nx * lightX + ny * lightY;
}

//==============================================================================
// Panel textures: dark navy, lighter at the top, brushed along the rows.
struct PanelStyle
{
    Rgb top, bottom;
    juce::int64 seed;
};

// A moving average of the given radius; values past the ends repeat the ends.
std::vector<float> boxBlurred (const std::vector<float>& values, int radius)
{
    const auto n = (int) values.size();
    std::vector<float> out ((size_t) n);
    float sum = 0.0f;

    for (int i = -radius; i <= radius; ++i)
        sum += values[(size_t) juce::jlimit (0, n - 1, i)];

    for (int i = 0; i < n; ++i)
    {
        out[(size_t) i] = sum / (float) (2 * radius + 1);
        sum += values[(size_t) juce::jlimit (0, n - 1, i + radius + 1)];
        sum -= values[(size_t) juce::jlimit (0, n - 1, i - radius)];
    }

    return out;
}

// One row of brushing: long soft streaks plus a fine grain, both smeared
// horizontally the way a brush leaves them.
std::vector<float> brushedRow (juce::Random& random, int width)
{
    constexpr float streakAmount = 0.11f, grainAmount = 0.028f;
    constexpr int streakRadius = 36, grainRadius = 3;

    // Noise runs on past both ends so the blur has no edge to lean on.
    constexpr int margin = 2 * streakRadius;
    const auto paddedWidth = width + 2 * margin;
    std::vector<float> streakNoise ((size_t) paddedWidth), grainNoise ((size_t) paddedWidth);

    for (int x = 0; x < paddedWidth; ++x)
    {
        streakNoise[(size_t) x] = random.nextFloat() * 2.0f - 1.0f;
        grainNoise[(size_t) x] = random.nextFloat() * 2.0f - 1.0f;
    }

    const auto streaks = boxBlurred (boxBlurred (streakNoise, streakRadius), streakRadius / 3);
    const auto grain = boxBlurred (grainNoise, grainRadius);
    const auto rowOffset = (random.nextFloat() * 2.0f - 1.0f) * 0.012f;

    std::vector<float> row ((size_t) width);

    for (int x = 0; x < width; ++x)
        row[(size_t) x] = rowOffset + streakAmount * streaks[(size_t) (x + margin)] * 4.0f
                          + grainAmount * grain[(size_t) (x + margin)] * 2.0f;

    return row;
}

// A few rows carry a longer, brighter scratch of the brush.
void addBrushHighlights (juce::Random& random, std::vector<std::vector<float>>& rows)
{
    const auto width = (int) rows.front().size();
    const auto count = (int) rows.size() / 6;

    for (int i = 0; i < count; ++i)
    {
        const auto y = random.nextInt ((int) rows.size());
        const auto centre = random.nextFloat() * (float) width;
        const auto halfLength = 40.0f + 160.0f * random.nextFloat();
        const auto amount = (random.nextBool() ? 1.0f : -0.7f) * (0.012f + 0.02f * random.nextFloat());

        for (int x = 0; x < width; ++x)
        {
            const auto d = ((float) x - centre) / halfLength;
            rows[(size_t) y][(size_t) x] += amount * std::exp (-d * d * 2.0f);
        }
    }
}

juce::Image drawPanel (int width, int height, PanelStyle style)
{
    constexpr float edgeHighlight = 0.07f, edgeShadow = 0.06f;
    const Rgb brushTint { 0.85f, 0.9f, 1.0f };

    juce::Random random (style.seed);
    std::vector<std::vector<float>> rows;

    for (int y = 0; y < height; ++y)
        rows.push_back (brushedRow (random, width));

    addBrushHighlights (random, rows);

    juce::Image image (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);

    for (int y = 0; y < height; ++y)
    {
        const auto t = (float) y / (float) (height - 1);
        // Lighter at the top, falling off quickly and then levelling out.
        const auto base = mix (style.top, style.bottom, std::sqrt (t));
        auto edge = 0.0f;

        if (y == 0)
            edge = edgeHighlight;
        else if (y == 1)
            edge = edgeHighlight * 0.4f;
        else if (y == height - 1)
            edge = -edgeShadow;

        // Neighbouring rows share a little of their brushing, like real grain.
        const auto& above = rows[(size_t) juce::jmax (0, y - 1)];
        const auto& row = rows[(size_t) y];
        const auto& below = rows[(size_t) juce::jmin (height - 1, y + 1)];

        for (int x = 0; x < width; ++x)
        {
            const auto n = 0.2f * above[(size_t) x] + 0.6f * row[(size_t) x] + 0.2f * below[(size_t) x];
            const auto colour = base + brushTint * (n * 0.35f + edge);
            pixels.setPixelColour (x, y, toColour ({ colour, 1.0f }));
        }
    }

    return image;
}

//==============================================================================
// Knob film strip: a spun-aluminium cap on a knurled gunmetal skirt. Only the
// pointer, its index mark and the knurls turn; the light stays where it is.
constexpr int knobFrameSize = 64;
constexpr int knobFrames = 128;
constexpr float knobStartAngle = 1.2f * pi; // the knobs' rotary arc, clockwise from 12 o'clock
constexpr float knobEndAngle = 2.8f * pi;

struct KnobGeometry
{
    static constexpr float body = 29.3f;      // outer edge of the skirt
    static constexpr float chamfer = 27.7f;   // start of the skirt's outer bevel
    static constexpr float groove = 22.9f;    // shadowed step between skirt and cap
    static constexpr float cap = 21.6f;       // edge of the cap
    static constexpr float capBevel = 20.1f;  // start of the cap's rim bevel
    static constexpr int knurls = 36;
};

// Smooth 1D value noise in 0..1 from an integer hash of the lattice cells.
float valueNoise (float x)
{
    const auto hash = [] (int cell)
    {
        auto h = (juce::uint32) cell * 0x9e3779b1u;
        h ^= h >> 15;
        h *= 0x85ebca77u;
        h ^= h >> 13;
        return (float) (h & 0xffffu) / 65535.0f;
    };

    const auto cell = (int) std::floor (x);
    const auto f = x - (float) cell;
    return juce::jmap (f * f * (3.0f - 2.0f * f), hash (cell), hash (cell + 1));
}

// Distance from (px, py) to the part of the ray from the centre along the unit
// direction (dx, dy) that lies between radii r0 and r1.
float distanceToRadialSegment (float px, float py, float dx, float dy, float r0, float r1)
{
    const auto along = juce::jlimit (r0, r1, px * dx + py * dy);
    const auto ex = px - along * dx, ey = py - along * dy;
    return std::sqrt (ex * ex + ey * ey);
}

Rgb shadeSkirt (float x, float y, float r, float turnedAngle)
{
    using G = KnobGeometry;
    const Rgb gunmetal { 0.93f, 0.97f, 1.06f };
    const auto nx = x / r, ny = y / r;
    const auto lit = facingLight (nx, ny);

    if (r > G::chamfer)
        return gunmetal * (0.30f + 0.20f * lit);

    if (r < G::groove)
        return gunmetal * 0.09f;

    // Knurled band: a soft vertical falloff, each ridge catching some light.
    const auto phi = std::atan2 (y, x);
    const auto ridge = std::cos ((float) G::knurls * (phi - turnedAngle));
    const auto facet = std::sin ((float) G::knurls * (phi - turnedAngle));
    const auto tangentLight = facingLight (-ny, nx);
    auto b = 0.205f - 0.05f * ny + 0.035f * ridge + 0.05f * facet * tangentLight;

    // The band's inner and outer edges are slightly rounded.
    b -= 0.06f * (1.0f - smoothStep (G::groove, G::groove + 1.2f, r));
    b += 0.05f * smoothStep (G::chamfer - 1.0f, G::chamfer, r) * lit;
    return gunmetal * b;
}

Rgb shadeCap (float x, float y, float r)
{
    using G = KnobGeometry;
    const Rgb aluminium { 0.97f, 0.99f, 1.03f };
    const auto safeR = juce::jmax (r, 0.0001f);
    const auto nx = x / safeR, ny = y / safeR;

    if (r > G::capBevel)
        return aluminium * (0.60f + 0.34f * facingLight (nx, ny));

    // Spun finish: two bright wedges along the light, fine concentric rings,
    // a slight dome and a soft sheen towards the light.
    const auto phi = std::atan2 (y, x);
    const auto lightPhi = std::atan2 (-0.85f, -0.53f);
    const auto conic = 0.15f * std::cos (2.0f * (phi - lightPhi)) + 0.04f * std::cos (6.0f * (phi - lightPhi) + 0.7f);
    const auto rings = 0.05f * (valueNoise (r * 5.0f) - 0.5f) + 0.03f * (valueNoise (r * 13.0f + 17.0f) - 0.5f);
    const auto dome = -0.10f * (r / G::capBevel) * (r / G::capBevel);
    const auto sx = x + 6.0f, sy = y + 8.0f;
    const auto sheen = 0.08f * std::exp (-(sx * sx + sy * sy) / 110.0f);
    return aluminium * (0.76f + conic + rings + dome + sheen);
}

Rgb shadeKnobBody (float x, float y, float angle)
{
    using G = KnobGeometry;
    const auto r = std::sqrt (x * x + y * y);
    const auto dx = std::sin (angle), dy = -std::cos (angle);

    if (r >= G::cap)
    {
        const auto colour = shadeSkirt (x, y, r, angle);
        const auto markDistance = distanceToRadialSegment (x, y, dx, dy, G::groove + 0.6f, G::chamfer + 0.4f);
        return mix (colour, Rgb { 0.96f, 0.96f, 0.95f }, 1.0f - smoothStep (0.75f, 1.35f, markDistance));
    }

    auto colour = shadeCap (x, y, r);
    const auto grooveDistance = distanceToRadialSegment (x, y, dx, dy, 5.5f, G::capBevel - 1.2f);

    // An engraved pointer: a dark line with a soft darkened margin.
    colour = colour * (1.0f - 0.22f * (1.0f - smoothStep (1.0f, 2.4f, grooveDistance)));
    return mix (colour, Rgb { 0.11f, 0.115f, 0.13f }, 1.0f - smoothStep (0.8f, 1.35f, grooveDistance));
}

Rgba shadeKnobSample (float x, float y, float angle)
{
    using G = KnobGeometry;
    constexpr float shadowOffsetY = 1.6f, shadowStrength = 0.55f;

    if (x * x + y * y <= G::body * G::body)
        return { shadeKnobBody (x, y, angle), 1.0f };

    const auto shadowR = std::sqrt (x * x + (y - shadowOffsetY) * (y - shadowOffsetY));
    return { {}, shadowStrength * (1.0f - smoothStep (G::body - 1.5f, G::body + 2.6f, shadowR)) };
}

void drawKnobFrame (juce::Image::BitmapData& pixels, int frame)
{
    constexpr int samplesPerAxis = 5;
    const auto angle = knobStartAngle + (knobEndAngle - knobStartAngle) * (float) frame / (float) (knobFrames - 1);
    const auto centre = (float) knobFrameSize * 0.5f;
    const auto top = frame * knobFrameSize;

    for (int py = 0; py < knobFrameSize; ++py)
    {
        for (int px = 0; px < knobFrameSize; ++px)
        {
            Rgba sum;

            for (int sy = 0; sy < samplesPerAxis; ++sy)
            {
                for (int sx = 0; sx < samplesPerAxis; ++sx)
                {
                    const auto x = (float) px + ((float) sx + 0.5f) / (float) samplesPerAxis - centre;
                    const auto y = (float) py + ((float) sy + 0.5f) / (float) samplesPerAxis - centre;
                    const auto s = shadeKnobSample (x, y, angle);
                    sum.premultiplied = sum.premultiplied + s.premultiplied * s.alpha;
                    sum.alpha += s.alpha;
                }
            }

            const auto weight = 1.0f / (float) (samplesPerAxis * samplesPerAxis);
            pixels.setPixelColour (px, top + py, toColour ({ sum.premultiplied * weight, sum.alpha * weight }));
        }
    }
}

juce::Image drawKnobFilmStrip()
{
    juce::Image image (juce::Image::ARGB, knobFrameSize, knobFrameSize * knobFrames, true, juce::SoftwareImageType());
    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);

    for (int frame = 0; frame < knobFrames; ++frame)
        drawKnobFrame (pixels, frame);

    return image;
}

//==============================================================================
// Icons: the three states of a button.
enum class IconState { normal, on, hover };

juce::Font iconFont (float height)
{
    return juce::Font ("DejaVu Sans", height, juce::Font::bold);
}

// A metal bezel ring, brighter where the light falls.
void fillBezel (juce::Graphics& g, juce::Rectangle<float> area, float corner, IconState state)
{
    const auto lift = state == IconState::hover ? 0.12f : 0.0f;
    juce::ColourGradient bezel (juce::Colour (0xff9ba4b4).brighter (lift), area.getX(), area.getY(),
                                juce::Colour (0xff232834), area.getX(), area.getBottom(), false);
    bezel.addColour (0.45, juce::Colour (0xff5d6677).brighter (lift));
    g.setGradientFill (bezel);

    if (corner < 0.0f)
        g.fillEllipse (area);
    else
        g.fillRoundedRectangle (area, corner);

    g.setColour (juce::Colour (0xcc0a0c10));

    if (corner < 0.0f)
        g.drawEllipse (area.reduced (0.25f), 0.5f);
    else
        g.drawRoundedRectangle (area.reduced (0.25f), corner, 0.5f);
}

// A glassy highlight over the upper half of a face.
void addFaceSheen (juce::Graphics& g, juce::Rectangle<float> face, bool round)
{
    const auto upper = face.withHeight (face.getHeight() * 0.55f);
    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.16f), 0.0f, upper.getY(),
                                             juce::Colours::white.withAlpha (0.0f), 0.0f, upper.getBottom(), false));
    if (round)
        g.fillEllipse (face.reduced (1.2f, 0.6f).withHeight (face.getHeight() * 0.55f));
    else
        g.fillRoundedRectangle (upper.reduced (0.6f, 0.4f), 1.5f);
}

juce::Image drawCircularIcon (const juce::String& letter, IconState state)
{
    constexpr int size = 24;
    const juce::Colour lit (0xffdc143c);
    juce::Image image (juce::Image::ARGB, size, size, true, juce::SoftwareImageType());
    juce::Graphics g (image);

    const auto outer = juce::Rectangle<float> (0.5f, 0.5f, 23.0f, 23.0f);
    fillBezel (g, outer, -1.0f, state);

    const auto face = outer.reduced (2.3f);
    const auto centre = face.getCentre();

    if (state == IconState::on)
    {
        juce::ColourGradient glow (lit.brighter (0.55f), centre.x, centre.y - 2.0f,
                                   lit.darker (0.55f), centre.x, face.getBottom(), true);
        g.setGradientFill (glow);
    }
    else
    {
        const auto lift = state == IconState::hover ? 0.22f : 0.0f;
        juce::ColourGradient body (juce::Colour (0xff3c4558).brighter (lift), centre.x, face.getY() + 2.0f,
                                   juce::Colour (0xff171b26), centre.x, face.getBottom(), false);
        g.setGradientFill (body);
    }

    g.fillEllipse (face);
    g.setColour (juce::Colour (0x99000000));
    g.drawEllipse (face, 0.6f);

    if (state == IconState::hover)
    {
        // Under the mouse the rim warms to the lit colour.
        g.setColour (lit.withAlpha (0.75f));
        g.drawEllipse (face.reduced (0.9f), 1.1f);
    }
    addFaceSheen (g, face, true);

    const auto textArea = face.translated (0.0f, 0.3f);
    g.setFont (iconFont (11.5f));
    g.setColour (juce::Colour (state == IconState::on ? 0x80600010 : 0xcc000000));
    g.drawText (letter, textArea.translated (0.0f, 0.8f), juce::Justification::centred, false);

    const auto letterColour = state == IconState::on ? juce::Colours::white
                            : state == IconState::hover ? juce::Colour (0xffeef3fa)
                                                        : juce::Colour (0xffaeb7c6);
    g.setColour (letterColour);
    g.drawText (letter, textArea, juce::Justification::centred, false);
    return image;
}

// Pictograms of the square toggles, drawn into the toggle's face.
using Pictogram = std::function<void (juce::Graphics&, juce::Rectangle<float> face, float strokeWidth)>;

void drawPowerSymbol (juce::Graphics& g, juce::Rectangle<float> face, float strokeWidth)
{
    const auto c = face.getCentre().translated (0.0f, 0.5f);
    const auto radius = face.getWidth() * 0.3f;
    juce::Path p;
    p.addCentredArc (c.x, c.y, radius, radius, 0.0f, 0.23f * pi, 1.77f * pi, true);
    p.startNewSubPath (c.x, c.y - radius - 1.3f);
    p.lineTo (c.x, c.y - 0.6f);
    g.strokePath (p, juce::PathStrokeType (strokeWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
}

void drawGainLetter (juce::Graphics& g, juce::Rectangle<float> face, float strokeWidth)
{
    // An "A" with a rising arrow through it: gain set automatically.
    const auto c = face.getCentre();
    const auto h = face.getHeight() * 0.62f;
    juce::Path p;
    p.startNewSubPath (c.x - h * 0.42f, c.y + h * 0.5f);
    p.lineTo (c.x, c.y - h * 0.5f);
    p.lineTo (c.x + h * 0.42f, c.y + h * 0.5f);
    p.startNewSubPath (c.x - h * 0.22f, c.y + h * 0.12f);
    p.lineTo (c.x + h * 0.22f, c.y + h * 0.12f);
    g.strokePath (p, juce::PathStrokeType (strokeWidth, juce::PathStrokeType::mitered, juce::PathStrokeType::rounded));
}

void drawNoteSymbol (juce::Graphics& g, juce::Rectangle<float> face, float strokeWidth)
{
    // An eighth note.
    const auto c = face.getCentre();
    const auto stemX = c.x + 1.2f;
    const auto stemTop = c.y - 4.4f, stemBottom = c.y + 2.9f;

    juce::Path head;
    head.addEllipse (-1.9f, -1.35f, 3.8f, 2.7f);
    head.applyTransform (juce::AffineTransform::rotation (-0.4f).translated (stemX - 1.55f, stemBottom + 0.3f));
    g.fillPath (head);

    juce::Path stem;
    stem.startNewSubPath (stemX, stemBottom);
    stem.lineTo (stemX, stemTop);
    stem.quadraticTo (stemX + 0.4f, stemTop + 2.0f, stemX + 3.0f, stemTop + 2.6f);
    stem.quadraticTo (stemX + 3.6f, stemTop + 3.6f, stemX + 2.8f, stemTop + 5.0f);
    g.strokePath (stem, juce::PathStrokeType (strokeWidth * 0.85f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
}

void drawOversampledWave (juce::Graphics& g, juce::Rectangle<float> face, float strokeWidth)
{
    // One sine period with its (dense) sample points.
    constexpr int points = 5;
    const auto left = face.getX() + 2.0f, width = face.getWidth() - 4.0f;
    const auto c = face.getCentre();
    const auto amplitude = face.getHeight() * 0.24f;
    const auto yAt = [&] (float t) { return c.y - amplitude * std::sin (2.0f * pi * t); };

    juce::Path wave;
    wave.startNewSubPath (left, yAt (0.0f));

    for (int i = 1; i <= 24; ++i)
        wave.lineTo (left + width * (float) i / 24.0f, yAt ((float) i / 24.0f));

    g.strokePath (wave, juce::PathStrokeType (strokeWidth * 0.7f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    for (int i = 0; i < points; ++i)
    {
        const auto t = (float) i / (float) (points - 1);
        g.fillEllipse (juce::Rectangle<float> (2.1f, 2.1f).withCentre ({ left + width * t, yAt (t) }));
    }
}

juce::Image drawToggleIcon (const Pictogram& pictogram, juce::Colour ledColour, IconState state)
{
    constexpr int size = 18;
    constexpr float stroke = 1.3f;
    juce::Image image (juce::Image::ARGB, size, size, true, juce::SoftwareImageType());
    juce::Graphics g (image);

    const auto outer = juce::Rectangle<float> (0.5f, 0.5f, 17.0f, 17.0f);
    fillBezel (g, outer, 3.2f, state);

    const auto face = outer.reduced (2.1f);
    const auto lift = state == IconState::hover ? 0.22f : 0.0f;
    const auto faceTop = state == IconState::on ? ledColour.darker (1.7f) : juce::Colour (0xff3a4356).brighter (lift);
    const auto faceBottom = state == IconState::on ? ledColour.darker (3.2f) : juce::Colour (0xff161a24);
    g.setGradientFill (juce::ColourGradient (faceTop, 0.0f, face.getY(), faceBottom, 0.0f, face.getBottom(), false));
    g.fillRoundedRectangle (face, 2.0f);
    g.setColour (juce::Colour (0x99000000));
    g.drawRoundedRectangle (face, 2.0f, 0.6f);

    if (state == IconState::hover)
    {
        // Under the mouse the face's rim shows a hint of the lamp colour.
        g.setColour (ledColour.withAlpha (0.6f));
        g.drawRoundedRectangle (face.reduced (0.8f), 1.5f, 1.0f);
    }

    if (state == IconState::on)
    {
        // Back-lit symbol: a wide soft halo under a bright core.
        g.setColour (ledColour.withAlpha (0.22f));
        pictogram (g, face, stroke * 3.2f);
        g.setColour (ledColour.withAlpha (0.45f));
        pictogram (g, face, stroke * 2.0f);
        g.setColour (ledColour.brighter (0.6f));
        pictogram (g, face, stroke);
    }
    else
    {
        g.setColour (juce::Colour (0xcc000000));
        pictogram (g, face.translated (0.0f, 0.7f), stroke);
        g.setColour (state == IconState::hover ? juce::Colour (0xffe8eef8) : juce::Colour (0xff9aa4b5));
        pictogram (g, face, stroke);
    }

    addFaceSheen (g, face, false);
    return image;
}

//==============================================================================
// The maker's mark: an emblem ring over the name, in light grey.
juce::Image drawLogo()
{
    constexpr int width = 76, height = 40;
    const juce::Colour markGrey (0xffd3d6db);
    juce::Image image (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    juce::Graphics g (image);

    const juce::Point<float> emblemCentre (38.0f, 12.0f);
    constexpr float emblemRadius = 9.5f;

    const auto drawMark = [&] (juce::Point<float> offset, juce::Colour top, juce::Colour bottom)
    {
        const auto c = emblemCentre + offset;
        g.setGradientFill (juce::ColourGradient (top, 0.0f, c.y - emblemRadius, bottom, 0.0f, c.y + emblemRadius, false));
        g.drawEllipse (juce::Rectangle<float> (emblemRadius * 2.0f, emblemRadius * 2.0f).withCentre (c), 1.5f);

        // A "T" whose bar bends down at the ends like a compressor's knee.
        juce::Path t;
        t.startNewSubPath (c.x - 5.6f, c.y - 1.4f);
        t.quadraticTo (c.x - 4.6f, c.y - 4.2f, c.x - 2.0f, c.y - 4.2f);
        t.lineTo (c.x + 2.0f, c.y - 4.2f);
        t.quadraticTo (c.x + 4.6f, c.y - 4.2f, c.x + 5.6f, c.y - 1.4f);
        t.startNewSubPath (c.x, c.y - 4.2f);
        t.lineTo (c.x, c.y + 6.0f);
        g.strokePath (t, juce::PathStrokeType (1.9f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

        // Hairlines either side of the emblem, fading outwards.
        for (const auto side : { -1.0f, 1.0f })
        {
            const auto inner = c.x + side * (emblemRadius + 3.0f);
            const auto outer = c.x + side * 34.0f;
            g.setGradientFill (juce::ColourGradient (top.withMultipliedAlpha (0.8f), inner, c.y,
                                                     top.withAlpha (0.0f), outer, c.y, false));
            g.fillRect (juce::Rectangle<float> (juce::jmin (inner, outer), c.y - 0.5f, std::abs (outer - inner), 1.0f));
        }
    };

    drawMark ({ 0.0f, 1.0f }, juce::Colour (0x99000000), juce::Colour (0x99000000));
    drawMark ({}, markGrey.brighter (0.3f), markGrey.darker (0.35f));

    auto font = iconFont (11.0f);
    const juce::String name ("TARNWELL");
    constexpr float nameWidth = 72.0f;
    const auto naturalWidth = font.getStringWidthFloat (name);
    font.setExtraKerningFactor ((nameWidth - naturalWidth) / (font.getHeight() * (float) name.length()));

    const auto nameArea = juce::Rectangle<float> (0.0f, 25.0f, (float) width, 13.0f);
    g.setFont (font);
    g.setColour (juce::Colour (0xa0000000));
    g.drawText (name, nameArea.translated (0.0f, 1.0f), juce::Justification::centred, false);
    g.setColour (markGrey);
    g.drawText (name, nameArea, juce::Justification::centred, false);
    return image;
}

//==============================================================================
struct Artwork
{
    juce::String fileName;
    std::function<juce::Image()> draw;
};

// Appends "<baseName>-normal.png", "-on.png" and "-hover.png", in that order.
void addIconSet (std::vector<Artwork>& list, const juce::String& baseName, std::function<juce::Image (IconState)> draw)
{
    const std::pair<const char*, IconState> states[] { { "normal", IconState::normal },
                                                       { "on", IconState::on },
                                                       { "hover", IconState::hover } };

    for (const auto& [suffix, state] : states)
        list.push_back ({ baseName + "-" + suffix + ".png", [draw, s = state] { return draw (s); } });
}

std::vector<Artwork> allArtwork()
{
    const juce::Colour blueLed (0xff1fb4ff), amberLed (0xffffa126);
    std::vector<Artwork> list {
        { "panel-top.png", [] { return drawPanel (900, 70, { { 0.165f, 0.2f, 0.3f }, { 0.105f, 0.13f, 0.2f }, 70 }); } },
        { "panel-bottom.png", [] { return drawPanel (900, 250, { { 0.15f, 0.185f, 0.28f }, { 0.085f, 0.105f, 0.165f }, 250 }); } },
        { "knob-filmstrip.png", drawKnobFilmStrip },
    };

    const auto circular = [] (const char* letter) { return [letter] (IconState s) { return drawCircularIcon (letter, s); }; };
    const auto toggle = [] (Pictogram p, juce::Colour led) { return [p, led] (IconState s) { return drawToggleIcon (p, led, s); }; };

    addIconSet (list, "icon-note", circular ("N"));
    addIconSet (list, "icon-triplet", circular ("T"));
    addIconSet (list, "icon-dotted", circular ("D"));
    addIconSet (list, "toggle-bypass", toggle (drawPowerSymbol, amberLed));
    addIconSet (list, "toggle-autogain", toggle (drawGainLetter, blueLed));
    addIconSet (list, "toggle-notegrid", toggle (drawNoteSymbol, blueLed));
    addIconSet (list, "toggle-oversampling", toggle (drawOversampledWave, blueLed));
    list.push_back ({ "logo.png", drawLogo });
    return list;
}

bool writePng (const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream stream (file);
    juce::PNGImageFormat png;
    return stream.openedOk() && png.writeImageToStream (image, stream);
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }

    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (argv[1])));

    if (! folder.createDirectory())
    {
        std::fprintf (stderr, "cannot create %s\n", folder.getFullPathName().toRawUTF8());
        return 1;
    }

    for (const auto& artwork : allArtwork())
    {
        const auto file = folder.getChildFile (artwork.fileName);

        if (! writePng (artwork.draw(), file))
        {
            std::fprintf (stderr, "cannot write %s\n", file.getFullPathName().toRawUTF8());
            return 1;
        }

        std::printf ("%s\n", file.getFullPathName().toRawUTF8());
    }

    return 0;
}
