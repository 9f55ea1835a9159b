#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

namespace juce
{
class AudioParameterBool;
}

// The time and knee knobs: a slider that can snap its millisecond value to
// note lengths of a tempo grid while dragging, jump to a fixed value on
// alt-click, toggle a linked on/off parameter on double-click and hand
// double-clicks on its centre cap or ring to callbacks. The owner writes the
// public members directly.
class CustomSlider : public juce::Slider
{
public:
    CustomSlider() = default;

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseDoubleClick (const juce::MouseEvent&) override;

    // Moves the current value onto the grid again, e.g. after the dotted or
    // triplet flag changed.
    void reSnapToGrid();

    std::function<void()> onCentreDoubleClick;
    std::function<void()> onRingDoubleClick;

    float altClickValue = 0.0f;
    bool altClickEnabled = false;

    bool snapToNoteGrid = false;
    double gridBpm = 120.0;
    bool dottedNotes = false;
    bool tripletNotes = false;

    // Not owned; toggled by a double-click anywhere on the knob.
    juce::AudioParameterBool* bypassParameter = nullptr;

    // Read by the knob look: 2 draws the knee glow at glowLevel (0...1).
    int glowMode = 0;
    float glowLevel = 0.0f;

    // Note lengths in beats.
    const std::vector<float> noteMultipliers { 1.0f / 128.0f, 1.0f / 64.0f, 1.0f / 32.0f, 1.0f / 16.0f, 1.0f / 8.0f,
                                               1.0f / 4.0f,   1.0f / 2.0f,  1.0f,         2.0f,         4.0f };

private:
    double gridSnapped (double milliseconds) const;
    bool handleDoubleClickOnCap (juce::Point<float> position);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CustomSlider)
};
