#pragma once

#include "RenderAnalysis.h"

#include <juce_graphics/juce_graphics.h>

// The picture --plot writes: input and output level over time with the gain
// reduction under it, and beside them the static curve of the settings used.
// Draws into a software image, so it needs no display.
class RenderPlot
{
public:
    struct Settings
    {
        float thresholdDb = -20.0f, ratio = 2.0f, kneeDb = 2.0f;
        juce::String title, subtitle;
    };

    static constexpr int width = 1680, height = 680;

    static juce::Image draw (const RenderAnalysis&, const Settings&);
};
