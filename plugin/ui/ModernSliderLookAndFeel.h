#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Draws the rotary knobs (value ring, film-strip or vector body, knee glow,
// wear marks), the vertical threshold fader and the knobs' value boxes.
// The editor sets the public members; nothing else persists between paints.
class ModernSliderLookAndFeel : public juce::LookAndFeel_V4
{
public:
    ModernSliderLookAndFeel() = default;
    ~ModernSliderLookAndFeel() override = default;

    void fillTextEditorBackground (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height,
                           float sliderPos, float minSliderPos, float maxSliderPos,
                           juce::Slider::SliderStyle, juce::Slider&) override;

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height,
                           float sliderPos, float rotaryStartAngle, float rotaryEndAngle,
                           juce::Slider&) override;

    juce::Label* createSliderTextBox (juce::Slider&) override;

    // Knob frames stacked vertically, frame 0 at the top.
    juce::Image knobFilmStrip;
    int filmStripFrames = 128;
    bool useFilmStrip = false;
    bool showDirtEffect = true;

private:
    struct KnobGeometry
    {
        float cx, cy, radius, toAngle;
    };

    bool canDrawFilmStrip() const;
    void drawFilmStripKnob (juce::Graphics&, const KnobGeometry&, float sliderPos, bool glow, bool dimmed) const;
    static void drawVectorKnob (juce::Graphics&, const KnobGeometry&);
    static void drawValueArc (juce::Graphics&, const KnobGeometry&, float rotaryStartAngle,
                              juce::Colour fill, bool glow, float glowLevel);
    static void drawKnobWear (juce::Graphics&, const KnobGeometry&, float intensity);

    static void drawFaderFill (juce::Graphics&, float trackLeft, float thumbY, float bottom,
                               float t, bool isThreshold, bool redScheme);
    static void drawFaderThumb (juce::Graphics&, float thumbX, float thumbTop, float thumbW, float v);
    static void drawThumbWear (juce::Graphics&, float thumbX, float thumbTop, float thumbW);
};
