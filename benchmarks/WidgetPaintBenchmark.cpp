// Times one paint of the most expensive widget looks with the software
// renderer: the editor repaints knobs and the fader on every value change and
// the knee knob and fading toggles on every refresh tick.
#include "CustomSlider.h"
#include "EditorImages.h"
#include "LabelToggleButton.h"
#include "ModernSliderLookAndFeel.h"

#include <benchmark/benchmark.h>

#include <functional>

namespace
{
constexpr int knobSize = 75;
constexpr int faderWidth = 39;
constexpr int faderHeight = 400; // the fader's height in a 900x720 editor
constexpr int toggleWidth = 38;
constexpr int toggleHeight = 14;
constexpr int kneeGlowMode = 2;

constexpr float knobStartAngle = 1.2f * juce::MathConstants<float>::pi;
constexpr float knobEndAngle = 2.8f * juce::MathConstants<float>::pi;

void useEditorFilmStrip (ModernSliderLookAndFeel& look)
{
    look.knobFilmStrip = EditorImages::get (EditorImages::knobFilmStrip);
    look.filmStripFrames = EditorImages::knobFilmStripFrames;
    look.useFilmStrip = look.knobFilmStrip.isValid();
    look.showDirtEffect = true;
}

void styleKnob (CustomSlider& knob, const juce::String& caption)
{
    knob.setName (caption);
    knob.setSliderStyle (juce::Slider::RotaryVerticalDrag);
    knob.setRotaryParameters (knobStartAngle, knobEndAngle, true);
    knob.setColour (juce::Slider::rotarySliderFillColourId, juce::Colour (0xffdc143c));
    knob.setColour (juce::Slider::rotarySliderOutlineColourId, juce::Colour (0xff2d2d2d));
}

// Paints into the same software image over and over, cleared each time as a
// component's area is before it repaints.
void timePaints (benchmark::State& state, int width, int height, const std::function<void (juce::Graphics&)>& paint)
{
    juce::Image image (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());

    for (auto _ : state)
    {
        image.clear (image.getBounds());
        juce::Graphics g (image);
        paint (g);
        benchmark::ClobberMemory();
    }
}

void paintKnobWithFilmStripAndWear (benchmark::State& state)
{
    ModernSliderLookAndFeel look;
    useEditorFilmStrip (look);
    CustomSlider knob;
    styleKnob (knob, "MIX");

    timePaints (state, knobSize, knobSize, [&] (juce::Graphics& g)
                { look.drawRotarySlider (g, 0, 0, knobSize, knobSize, 0.6f, knobStartAngle, knobEndAngle, knob); });
}

void paintKneeKnobWithFullGlow (benchmark::State& state)
{
    ModernSliderLookAndFeel look;
    useEditorFilmStrip (look);
    CustomSlider knob;
    styleKnob (knob, "KNEE");
    knob.glowMode = kneeGlowMode;
    knob.glowLevel = 1.0f;

    timePaints (state, knobSize, knobSize, [&] (juce::Graphics& g)
                { look.drawRotarySlider (g, 0, 0, knobSize, knobSize, 0.6f, knobStartAngle, knobEndAngle, knob); });
}

void paintThresholdFaderWithWear (benchmark::State& state)
{
    ModernSliderLookAndFeel look;
    look.showDirtEffect = true;
    juce::Slider fader (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
    fader.setName ("THRESHOLD");
    fader.setRange (-60.0, 0.0, 0.1);
    fader.setValue (-20.0, juce::dontSendNotification);
    const float thumbY = (float) faderHeight / 3.0f;

    timePaints (state, faderWidth, faderHeight, [&] (juce::Graphics& g)
                {
                    look.drawLinearSlider (g, 0, 0, faderWidth, faderHeight, thumbY, 0.0f, 0.0f,
                                           juce::Slider::LinearVertical, fader);
                });
}

void paintLitLabelToggleMidFade (benchmark::State& state)
{
    LabelToggleButton toggle;
    toggle.setSize (toggleWidth, toggleHeight);
    toggle.offText = toggle.onText = "BOX";
    toggle.lit = true;
    toggle.litTarget = 1.0f;
    toggle.litLevel = 0.5f;

    timePaints (state, toggleWidth, toggleHeight, [&] (juce::Graphics& g) { toggle.paintButton (g, false, false); });
}

BENCHMARK (paintKnobWithFilmStripAndWear)->Unit (benchmark::kMicrosecond);
BENCHMARK (paintKneeKnobWithFullGlow)->Unit (benchmark::kMicrosecond);
BENCHMARK (paintThresholdFaderWithWear)->Unit (benchmark::kMicrosecond);
BENCHMARK (paintLitLabelToggleMidFade)->Unit (benchmark::kMicrosecond);
} // namespace
