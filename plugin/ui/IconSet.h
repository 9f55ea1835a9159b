#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>

// The three pictures of one icon button. An image left null draws nothing, so
// the button stays invisible until its artwork has been handed over.
struct IconSet
{
    juce::Image normal;
    juce::Image on;
    juce::Image hover;

    void assign (const juce::Image& normalImage, const juce::Image& onImage, const juce::Image& hoverImage)
    {
        normal = normalImage;
        on = onImage;
        hover = hoverImage;
    }

    // A button that is on always shows its on picture; hovering only lights
    // a button that is off.
    const juce::Image& imageFor (bool toggledOn, bool highlighted) const
    {
        if (toggledOn)
            return on;

        return highlighted ? hover : normal;
    }

    // Scales the picture uniformly, up or down, to the largest size that fits
    // the button and centres it.
    void draw (juce::Graphics& g, const juce::Button& button, bool highlighted) const
    {
        const auto& image = imageFor (button.getToggleState(), highlighted);

        if (image.isNull())
            return;

        const auto width = (float) button.getWidth();
        const auto height = (float) button.getHeight();
        const auto imageWidth = (float) image.getWidth();
        const auto imageHeight = (float) image.getHeight();
        const auto scale = std::min (width / imageWidth, height / imageHeight);

        g.drawImageTransformed (image,
                                juce::AffineTransform::scale (scale)
                                    .translated ((width - imageWidth * scale) * 0.5f,
                                                 (height - imageHeight * scale) * 0.5f));
    }
};
