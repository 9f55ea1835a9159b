#include "CustomSlider.h"
#include "LookTestImages.h"
#include "ModernSliderLookAndFeel.h"

#include "../../plugin/ParameterIDs.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// An 80 px knob: ring radius 36 about (40, 40), value arc radius 34.5,
// film-strip body 68 px across (72 when enlarged by the knee glow).
constexpr int knobSize = 80;
constexpr float knobCentre = 40.0f;
constexpr float knobRadius = 36.0f;
constexpr float startAngle = 1.2f * juce::MathConstants<float>::pi;
constexpr float endAngle = 2.8f * juce::MathConstants<float>::pi;

constexpr int stripFrames = 128;
constexpr int stripFrameSize = 16;

// Frame i is filled with red = i, green = 255 - i, so one pixel names the frame.
juce::Colour frameColour (int frame)
{
    return juce::Colour ((juce::uint8) frame, (juce::uint8) (255 - frame), (juce::uint8) 0x40);
}

juce::Image makeFilmStrip()
{
    juce::Image strip (juce::Image::ARGB, stripFrameSize, stripFrameSize * stripFrames, true, juce::SoftwareImageType());
    juce::Graphics g (strip);

    for (int frame = 0; frame < stripFrames; ++frame)
    {
        g.setColour (frameColour (frame));
        g.fillRect (0, frame * stripFrameSize, stripFrameSize, stripFrameSize);
    }

    return strip;
}

void styleKnob (juce::Slider& knob, juce::LookAndFeel& look, const juce::String& name, double position)
{
    knob.setSliderStyle (juce::Slider::RotaryVerticalDrag);
    knob.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    knob.setRotaryParameters (startAngle, endAngle, true);
    knob.setRange (0.0, 1.0);
    knob.setValue (position, juce::dontSendNotification);
    knob.setColour (juce::Slider::rotarySliderFillColourId, juce::Colour (0xffdc143c));
    knob.setColour (juce::Slider::rotarySliderOutlineColourId, juce::Colour (0xff2d2d2d));
    knob.setName (name);
    knob.setBounds (0, 0, knobSize, knobSize);
    knob.setLookAndFeel (&look);
}

// The pixel under a point at the given radius and fraction of the knob's sweep.
juce::Colour pixelOnSweep (const juce::Image& image, float radius, float sweepFraction)
{
    const float angle = startAngle + sweepFraction * (endAngle - startAngle);
    return image.getPixelAt ((int) std::floor (knobCentre + radius * std::sin (angle)),
                             (int) std::floor (knobCentre - radius * std::cos (angle)));
}

juce::Colour centrePixel (const juce::Image& image)
{
    return image.getPixelAt ((int) knobCentre, (int) knobCentre);
}

// Test names from the cases' descriptions.
template <typename Case>
std::string describedBy (const ::testing::TestParamInfo<Case>& testCase)
{
    return juce::String (testCase.param.what).removeCharacters (" ").toStdString();
}

bool imagesEqual (const juce::Image& a, const juce::Image& b)
{
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;

    return true;
}

class KnobLook : public ::testing::Test
{
protected:
    juce::Image paintKnob (juce::Slider& knob, const juce::String& name, double position)
    {
        styleKnob (knob, look, name, position);
        const auto image = test::snapshotOf (knob);
        knob.setLookAndFeel (nullptr);
        return image;
    }

    juce::Image paintKnob (const juce::String& name, double position)
    {
        juce::Slider knob;
        return paintKnob (knob, name, position);
    }

    void useFilmStrip()
    {
        look.knobFilmStrip = makeFilmStrip();
        look.filmStripFrames = stripFrames;
        look.useFilmStrip = true;
    }

    ModernSliderLookAndFeel look;
};

//==============================================================================
struct ArcCase
{
    double position;
    float probeFraction;
    bool arcExpected;
};

class KnobValueArc : public KnobLook, public ::testing::WithParamInterface<ArcCase>
{
};

// Just outside the rings, only the wide strokes of the value arc can colour a pixel.
TEST_P (KnobValueArc, CoversTheSweepUpToTheValueOnly)
{
    const auto& c = GetParam();
    look.showDirtEffect = false;
    const auto image = paintKnob ("TILT", c.position);
    const auto probe = pixelOnSweep (image, knobRadius + 2.5f, c.probeFraction);

    if (c.arcExpected)
    {
        EXPECT_GT (probe.getAlpha(), 30);
        EXPECT_GT (probe.getRed(), probe.getBlue());
    }
    else
    {
        EXPECT_EQ (probe.getAlpha(), 0);
    }

    EXPECT_EQ (centrePixel (image).getAlpha(), 255) << "the body is drawn at every position";
}

INSTANTIATE_TEST_SUITE_P (Positions, KnobValueArc,
                          ::testing::Values (ArcCase { 0.0, 0.02, false }, ArcCase { 0.0, 0.5, false },
                                             ArcCase { 0.5, 0.25, true }, ArcCase { 0.5, 0.75, false },
                                             ArcCase { 1.0, 0.75, true }, ArcCase { 1.0, 0.98, true }));

//==============================================================================
struct FrameCase
{
    double position;
    int frame;
};

class KnobFilmStripFrame : public KnobLook, public ::testing::WithParamInterface<FrameCase>
{
};

TEST_P (KnobFilmStripFrame, FollowsTheValue)
{
    useFilmStrip();
    look.showDirtEffect = false;
    EXPECT_EQ (centrePixel (paintKnob ("TILT", GetParam().position)), frameColour (GetParam().frame));
}

INSTANTIATE_TEST_SUITE_P (Positions, KnobFilmStripFrame,
                          ::testing::Values (FrameCase { 0.0, 0 }, FrameCase { 0.5, 63 }, FrameCase { 0.999, 126 },
                                             FrameCase { 1.0, 127 }));

//==============================================================================
struct StripSetup
{
    const char* what;
    bool useFilmStrip;
    bool hasImage;
    int frames;
};

class KnobVectorFallback : public KnobLook, public ::testing::WithParamInterface<StripSetup>
{
};

TEST_P (KnobVectorFallback, DrawsTheVectorKnob)
{
    const auto& setup = GetParam();
    look.useFilmStrip = setup.useFilmStrip;
    look.knobFilmStrip = setup.hasImage ? makeFilmStrip() : juce::Image();
    look.filmStripFrames = setup.frames;
    look.showDirtEffect = false;

    const auto image = paintKnob ("TILT", 0.5);

    const auto body = centrePixel (image);
    EXPECT_EQ (body.getAlpha(), 255);
    EXPECT_GT (body.getBlue(), 0xb0);
    EXPECT_EQ (body.getRed(), body.getBlue()) << "a grey cap, not a film frame";

    // At mid position the pointer stands straight up from the centre.
    const auto pointer = image.getPixelAt ((int) knobCentre - 1, 27);
    EXPECT_LT (pointer.getRed(), 0x40);
}

INSTANTIATE_TEST_SUITE_P (Setups, KnobVectorFallback,
                          ::testing::Values (StripSetup { "strip switched off", false, true, stripFrames },
                                             StripSetup { "no image", true, false, stripFrames },
                                             StripSetup { "no frames", true, true, 0 },
                                             StripSetup { "frames thinner than a pixel", true, true, 100000 }),
                          describedBy<StripSetup>);

//==============================================================================
struct GlowCase
{
    int mode;
    float level;
    bool enlarged;
    bool tinted;
};

class KnobGlow : public KnobLook, public ::testing::WithParamInterface<GlowCase>
{
};

// Compared with a plain slider: the knee glow enlarges and shadows the body
// in every level, but tints and widens the arc only above 0.02.
TEST_P (KnobGlow, EnlargesShadowsAndTintsAsTheLevelAsks)
{
    const auto& c = GetParam();
    useFilmStrip();
    look.showDirtEffect = false;

    const auto plain = paintKnob ("KNEE", 0.5);

    CustomSlider knee;
    knee.glowMode = c.mode;
    knee.glowLevel = c.level;
    const auto glowing = paintKnob (knee, "KNEE", 0.5);

    const bool bodyReachesRing = glowing.getPixelAt (4, (int) knobCentre) == frameColour (63);
    EXPECT_EQ (bodyReachesRing, c.enlarged);

    const bool shadowBelow = glowing.getPixelAt ((int) knobCentre, knobSize - 1).getAlpha() > 0;
    EXPECT_EQ (shadowBelow, c.enlarged);

    // Near twelve o'clock, clear of the square frame even when it is enlarged.
    const auto arcProbe = [] (const juce::Image& image) { return pixelOnSweep (image, knobRadius + 3.0f, 0.45f); };
    EXPECT_EQ (arcProbe (glowing) != arcProbe (plain), c.tinted);
}

INSTANTIATE_TEST_SUITE_P (Levels, KnobGlow,
                          ::testing::Values (GlowCase { 0, 0.9f, false, false }, GlowCase { 1, 0.9f, false, false },
                                             GlowCase { 2, 0.0f, true, false }, GlowCase { 2, 0.02f, true, false },
                                             GlowCase { 2, 0.5f, true, true }, GlowCase { 2, 1.0f, true, true }));

//==============================================================================
struct DimCase
{
    const char* what;
    bool filmStrip;
    bool hasBypassParameter;
    bool bypassOn;
    bool snapToNoteGrid;
    double position;
    bool dimmed;
};

class HoldKnobDimming : public KnobLook, public ::testing::WithParamInterface<DimCase>
{
};

TEST_P (HoldKnobDimming, FadesTheFilmStripBodyOnly)
{
    const auto& c = GetParam();
    if (c.filmStrip)
        useFilmStrip();
    look.showDirtEffect = false;

    juce::AudioParameterBool holdBypass (ParameterIDs::holdBypass, "Hold Bypass", c.bypassOn);
    CustomSlider hold;
    hold.snapToNoteGrid = c.snapToNoteGrid;
    hold.bypassParameter = c.hasBypassParameter ? &holdBypass : nullptr;

    const auto alpha = centrePixel (paintKnob (hold, "TILT", c.position)).getAlpha();
    EXPECT_NEAR (alpha, c.dimmed ? 102 : 255, 2);
}

INSTANTIATE_TEST_SUITE_P (
    States, HoldKnobDimming,
    ::testing::Values (DimCase { "bypassed", true, true, true, false, 0.5, true },
                       DimCase { "snapped to minimum", true, true, false, true, 0.0, true },
                       DimCase { "snapped above minimum", true, true, false, true, 0.5, false },
                       DimCase { "at minimum without snap", true, true, false, false, 0.0, false },
                       DimCase { "no bypass parameter", true, false, true, true, 0.0, false },
                       DimCase { "vector knob bypassed", false, true, true, false, 0.5, false }),
    describedBy<DimCase>);

//==============================================================================
struct WearCase
{
    const char* name;
    bool worn;
};

class KnobWearByName : public KnobLook, public ::testing::WithParamInterface<WearCase>
{
};

TEST_P (KnobWearByName, MarksOnlyTheListedCaptions)
{
    look.showDirtEffect = false;
    const auto clean = paintKnob (GetParam().name, 0.3);
    look.showDirtEffect = true;
    const auto worn = paintKnob (GetParam().name, 0.3);

    EXPECT_EQ (! imagesEqual (clean, worn), GetParam().worn);
}

INSTANTIATE_TEST_SUITE_P (Captions, KnobWearByName,
                          ::testing::Values (WearCase { "SAFETY", false }, WearCase { "TILT", false },
                                             WearCase { "DAMPING", false }, WearCase { "knee", false },
                                             WearCase { "", false }, WearCase { "KNEE", true },
                                             WearCase { "RATIO", true }, WearCase { "OUTPUT", true },
                                             WearCase { "INPUT", true }),
                          [] (const auto& testCase) { return testCase.param.name[0] == 0 ? std::string ("unnamed")
                                                                                     : std::string (testCase.param.name); });

TEST_F (KnobLook, WearIsTheSameOnEveryPaint)
{
    useFilmStrip();
    EXPECT_TRUE (imagesEqual (paintKnob ("KNEE", 0.4), paintKnob ("KNEE", 0.4)));
}

// The marks are seeded by the knob's centre, so the same knob drawn at two
// places carries two different patterns.
TEST_F (KnobLook, WearDiffersBetweenPlaces)
{
    constexpr int secondPlace = 100;
    juce::Slider knob;
    styleKnob (knob, look, "KNEE", 0.4);

    const auto drawBoth = [&] (bool wear)
    {
        look.showDirtEffect = wear;
        return test::drawnImage (secondPlace + knobSize, knobSize, 1.0f, [&] (juce::Graphics& g)
        {
            for (int x : { 0, secondPlace })
                look.drawRotarySlider (g, x, 0, knobSize, knobSize, 0.4f, startAngle, endAngle, knob);
        });
    };

    const auto clean = drawBoth (false);
    const auto worn = drawBoth (true);
    knob.setLookAndFeel (nullptr);

    int marked = 0, sameAtBothPlaces = 0;
    for (int y = 0; y < knobSize; ++y)
    {
        for (int x = 0; x < knobSize; ++x)
        {
            const bool markedFirst = worn.getPixelAt (x, y) != clean.getPixelAt (x, y);
            const bool markedSecond = worn.getPixelAt (x + secondPlace, y) != clean.getPixelAt (x + secondPlace, y);
            marked += markedFirst ? 1 : 0;
            sameAtBothPlaces += (markedFirst && markedSecond && worn.getPixelAt (x, y) == worn.getPixelAt (x + secondPlace, y)) ? 1 : 0;
        }
    }

    EXPECT_GT (marked, 100);
    EXPECT_LT (sameAtBothPlaces, marked / 2);
}

TEST_F (KnobLook, ValueBoxIsRestyled)
{
    juce::Slider knob;
    styleKnob (knob, look, "RATIO", 0.5);
    knob.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 60, 16);

    juce::Label* box = nullptr;
    for (auto* child : knob.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            box = label;

    ASSERT_NE (box, nullptr);
    EXPECT_EQ (box->findColour (juce::Label::textColourId), juce::Colour (0xffe0f0ff));
    EXPECT_EQ (box->findColour (juce::Label::backgroundColourId), juce::Colours::transparentBlack);
    EXPECT_EQ (box->findColour (juce::Label::outlineColourId), juce::Colours::transparentBlack);
    EXPECT_EQ (box->findColour (juce::TextEditor::highlightColourId), juce::Colour (0xff00a8ff));
    EXPECT_FLOAT_EQ (box->getFont().getHeight(), 10.0f);
    EXPECT_TRUE (box->getFont().isBold());
    knob.setLookAndFeel (nullptr);
}

//==============================================================================
// A 60 x 204 fader: the slider hands the look x 0, y 12, 60 x 180 (it keeps
// a thumb radius of 12 free at each end), so bottom = 192 and the track
// starts at x 27.
constexpr int faderWidth = 60;
constexpr int faderHeight = 204;
constexpr float faderTop = 12.0f;
constexpr float faderTravel = 180.0f;
constexpr float thumbX = 1.5f;

void styleFader (juce::Slider& fader, juce::LookAndFeel& look, const juce::String& name,
                 juce::Range<double> range, double value)
{
    fader.setSliderStyle (juce::Slider::LinearVertical);
    fader.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    fader.setRange (range, 0.0);
    fader.setValue (value, juce::dontSendNotification);
    fader.setName (name);
    fader.setBounds (0, 0, faderWidth, faderHeight);
    fader.setLookAndFeel (&look);
}

float thumbTopFor (float dB)
{
    const float t = juce::jlimit (0.0f, 1.0f, (dB + 60.0f) / 60.0f);
    const float bottom = faderTop + faderTravel;
    return juce::jlimit (faderTop, bottom - 16.0f, bottom - 2.0f - faderTravel * t - 8.0f);
}

enum class Fill { blue, red, crimson };
enum class Tone { normal, warning, deep };
enum class Glow { none, amber, red };

struct ZoneCase
{
    const char* name;
    float dB;
    Fill fill;
    Tone tone;
    Glow glow;
    bool accentBar;
};

class FaderZones : public ::testing::TestWithParam<ZoneCase>
{
protected:
    ModernSliderLookAndFeel look;
};

// Drawn at 2x so that the half-pixel thumb edges fall on whole device pixels.
TEST_P (FaderZones, ColourFillAndThumbByLevel)
{
    const auto& c = GetParam();
    look.showDirtEffect = false;
    juce::Slider fader;
    styleFader (fader, look, c.name, { -60.0, 0.0 }, c.dB);
    const auto image = test::snapshotOf (fader, 2.0f);
    fader.setLookAndFeel (nullptr);

    const auto at = [&image] (float x, float y) { return image.getPixelAt ((int) (2.0f * x), (int) (2.0f * y)); };

    const float bottom = faderTop + faderTravel;
    const float thumbY = bottom - 2.0f - faderTravel * (c.dB + 60.0f) / 60.0f;
    const float thumbTop = thumbY - 8.0f;
    const float centreY = thumbTop + 8.0f;

    const auto fill = at (30.0f, thumbY + 0.35f * (bottom - thumbY));
    switch (c.fill)
    {
        case Fill::blue:    EXPECT_GT (fill.getBlue(), fill.getRed() + 50); break;
        case Fill::red:     EXPECT_TRUE (fill.getRed() > 150 && fill.getGreen() < 50 && fill.getBlue() < 50); break;
        case Fill::crimson: EXPECT_TRUE (fill.getRed() > 200 && fill.getBlue() > 60); break;
    }

    const auto body = at (thumbX + 3.5f, thumbTop + 5.5f);
    const auto tone = body.getGreen() < 100 ? Tone::deep
                    : (body.getBlue() + 20 < body.getGreen() ? Tone::warning : Tone::normal);
    EXPECT_EQ (tone, c.tone) << body.toDisplayString (true);

    const auto glow = at (0.0f, centreY);
    const auto glowSeen = glow.getAlpha() == 0 ? Glow::none : (glow.getGreen() > 0 ? Glow::amber : Glow::red);
    EXPECT_EQ (glowSeen, c.glow) << glow.toDisplayString (true);

    const auto marking = at (thumbX + 3.5f, centreY);
    EXPECT_EQ (marking.getBlue() > marking.getRed() + 50, c.accentBar) << marking.toDisplayString (true);
}

INSTANTIATE_TEST_SUITE_P (
    Levels, FaderZones,
    ::testing::Values (ZoneCase { "THRESHOLD", -20.0f, Fill::blue, Tone::normal, Glow::none, true },
                       ZoneCase { "THRESHOLD", -30.0f, Fill::blue, Tone::normal, Glow::none, false },
                       ZoneCase { "THRESHOLD", -35.0f, Fill::blue, Tone::warning, Glow::amber, false },
                       ZoneCase { "THRESHOLD", -45.0f, Fill::blue, Tone::warning, Glow::amber, false },
                       ZoneCase { "THRESHOLD", -45.01f, Fill::red, Tone::deep, Glow::red, false },
                       ZoneCase { "OTHER", -20.0f, Fill::crimson, Tone::normal, Glow::none, true },
                       ZoneCase { "OTHER", -50.0f, Fill::crimson, Tone::deep, Glow::red, false }));

//==============================================================================
struct ThumbCase
{
    double minimum, maximum, value;
};

class FaderThumbPosition : public ::testing::TestWithParam<ThumbCase>
{
protected:
    ModernSliderLookAndFeel look;
};

// The thumb maps -60 ... 0 dB over the height whatever the range, and stays
// inside the track at both ends.
TEST_P (FaderThumbPosition, SitsWhereTheLevelMapsWithinTheTrack)
{
    const auto& c = GetParam();
    juce::Slider fader;
    styleFader (fader, look, "THRESHOLD", { c.minimum, c.maximum }, c.value);
    const auto image = test::snapshotOf (fader);
    fader.setLookAndFeel (nullptr);

    // Column 5 crosses the thumb's opaque body and nothing else that is opaque.
    int firstOpaqueRow = -1;
    for (int y = 0; y < faderHeight && firstOpaqueRow < 0; ++y)
        if (image.getPixelAt (5, y).getAlpha() >= 250)
            firstOpaqueRow = y;

    EXPECT_NEAR (firstOpaqueRow, thumbTopFor ((float) c.value), 1.0f);
}

INSTANTIATE_TEST_SUITE_P (Levels, FaderThumbPosition,
                          ::testing::Values (ThumbCase { -60.0, 0.0, 0.0 }, ThumbCase { -60.0, 10.0, 6.0 },
                                             ThumbCase { -60.0, 0.0, -30.0 }, ThumbCase { -60.0, 0.0, -60.0 },
                                             ThumbCase { -80.0, 0.0, -70.0 }));

TEST (FaderLook, HorizontalSliderKeepsTheBaseLook)
{
    const auto paint = [] (juce::LookAndFeel& look)
    {
        juce::Slider slider (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
        slider.setRange (0.0, 1.0);
        slider.setValue (0.3);
        slider.setBounds (0, 0, 200, 40);
        slider.setLookAndFeel (&look);
        const auto image = test::snapshotOf (slider);
        slider.setLookAndFeel (nullptr);
        return image;
    };

    ModernSliderLookAndFeel modern;
    juce::LookAndFeel_V4 base;
    EXPECT_TRUE (imagesEqual (paint (modern), paint (base)));
}
} // namespace
