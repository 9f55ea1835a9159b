#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// Helpers for tests that draw widgets and looks into software images.
namespace test
{
inline juce::Image solidImage (juce::Colour colour, int width, int height)
{
    juce::Image image (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    juce::Graphics (image).fillAll (colour);
    return image;
}

// Draws `paint` into a transparent image of the given logical size at the
// given scale, as a display of that density would.
inline juce::Image drawnImage (int width, int height, float scale, const std::function<void (juce::Graphics&)>& paint)
{
    juce::Image image (juce::Image::ARGB, juce::roundToInt ((float) width * scale),
                       juce::roundToInt ((float) height * scale), true, juce::SoftwareImageType());
    juce::Graphics g (image);
    g.addTransform (juce::AffineTransform::scale (scale));
    paint (g);
    return image;
}

inline juce::Image snapshotOf (juce::Component& component, float scale = 1.0f)
{
    return drawnImage (component.getWidth(), component.getHeight(), scale,
                       [&component] (juce::Graphics& g) { component.paintEntireComponent (g, true); });
}

// A mouse event at the centre of the component, from the main mouse source.
inline juce::MouseEvent mouseEventAtCentreOf (juce::Component& component)
{
    const auto centre = component.getLocalBounds().getCentre().toFloat();
    const auto now = juce::Time::getCurrentTime();
    return { juce::Desktop::getInstance().getMainMouseSource(), centre, juce::ModifierKeys(),
             juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
             juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
             juce::MouseInputSource::defaultTiltY, &component, &component, now, centre, now, 1, false };
}

// The mouse moving onto the component and pressing there, delivered through
// the component's public mouse-listener interface.
inline void hover (juce::Component& component) { component.mouseEnter (mouseEventAtCentreOf (component)); }
inline void press (juce::Component& component) { component.mouseDown (mouseEventAtCentreOf (component)); }

inline bool isFullyTransparent (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;

    return true;
}

inline int countPixels (const juce::Image& image, const std::function<bool (juce::Colour)>& matches)
{
    int count = 0;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (matches (image.getPixelAt (x, y)))
                ++count;

    return count;
}

inline int countPixelsOfColour (const juce::Image& image, juce::Colour colour)
{
    return countPixels (image, [colour] (juce::Colour pixel) { return pixel == colour; });
}

inline bool isNear (juce::Colour actual, juce::Colour expected, int tolerance)
{
    return std::abs (actual.getRed() - expected.getRed()) <= tolerance
        && std::abs (actual.getGreen() - expected.getGreen()) <= tolerance
        && std::abs (actual.getBlue() - expected.getBlue()) <= tolerance
        && std::abs (actual.getAlpha() - expected.getAlpha()) <= tolerance;
}
} // namespace test

// Lets gtest print colours as 0xAARRGGBB.
namespace juce
{
inline void PrintTo (const Colour& colour, std::ostream* os)
{
    *os << "0x" << colour.toDisplayString (true).toLowerCase();
}
} // namespace juce
