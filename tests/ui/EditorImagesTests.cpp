#include "EditorImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
constexpr float pi = juce::MathConstants<float>::pi;

struct ExpectedImage
{
    int index, width, height;
};

int countDifferentPixels (const juce::Image& a, const juce::Image& b)
{
    int different = 0;

    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                ++different;

    return different;
}

// The knob's white index mark is the only near-white part of the skirt; its
// brightness-weighted direction, clockwise from twelve o'clock, is where the
// knob points.
float pointerAngle (const juce::Image& strip, int frame)
{
    constexpr int frameSize = 64;
    constexpr float innerRadius = 23.5f, outerRadius = 27.5f, markBrightness = 0.75f;
    const auto centre = (float) frameSize * 0.5f;
    float sumX = 0.0f, sumY = 0.0f;

    for (int y = 0; y < frameSize; ++y)
    {
        for (int x = 0; x < frameSize; ++x)
        {
            const auto dx = (float) x + 0.5f - centre, dy = (float) y + 0.5f - centre;
            const auto r = std::hypot (dx, dy);
            const auto brightness = strip.getPixelAt (x, frame * frameSize + y).getBrightness();

            if (r >= innerRadius && r <= outerRadius && brightness > markBrightness)
            {
                const auto weight = brightness - markBrightness;
                sumX += weight * dx / r;
                sumY += weight * dy / r;
            }
        }
    }

    return std::atan2 (sumX, -sumY);
}
} // namespace

TEST (EditorImages, EveryResourceDecodesAtItsSize)
{
    const std::vector<ExpectedImage> expected {
        { EditorImages::topPanel, 900, 70 },
        { EditorImages::bottomPanel, 900, 250 },
        { EditorImages::knobFilmStrip, 64, 64 * EditorImages::knobFilmStripFrames },
        { EditorImages::logo, 76, 40 },
    };

    for (const auto& e : expected)
    {
        const auto image = EditorImages::get (e.index);
        ASSERT_TRUE (image.isValid()) << "resource " << e.index;
        EXPECT_EQ (image.getWidth(), e.width) << "resource " << e.index;
        EXPECT_EQ (image.getHeight(), e.height) << "resource " << e.index;
    }

    for (int index = EditorImages::firstCircularButtonIcon; index < EditorImages::logo; ++index)
    {
        const auto iconSize = index < EditorImages::firstToggleButtonIcon ? 24 : 18;
        const auto image = EditorImages::get (index);
        ASSERT_TRUE (image.isValid()) << "resource " << index;
        EXPECT_EQ (image.getWidth(), iconSize) << "resource " << index;
        EXPECT_EQ (image.getHeight(), iconSize) << "resource " << index;
    }
}

TEST (EditorImages, NumbersOutsideTheTableGiveAnInvalidImage)
{
    EXPECT_FALSE (EditorImages::get (-1).isValid());
    EXPECT_FALSE (EditorImages::get (EditorImages::count).isValid());
}

TEST (EditorImages, KnobPointerTurnsSteadilyOverTheRotaryArc)
{
    constexpr int frames = EditorImages::knobFilmStripFrames;
    constexpr float startAngle = 1.2f * pi, endAngle = 2.8f * pi;
    constexpr float nominalStep = (endAngle - startAngle) / (float) (frames - 1);
    constexpr float endTolerance = 0.06f;

    const auto strip = EditorImages::get (EditorImages::knobFilmStrip);
    ASSERT_TRUE (strip.isValid());

    const auto firstFrame = strip.getClippedImage ({ 0, 0, 64, 64 });
    const auto lastFrame = strip.getClippedImage ({ 0, 64 * (frames - 1), 64, 64 });
    EXPECT_GT (countDifferentPixels (firstFrame, lastFrame), 100);

    // Unwrapped onto the knob's own arc, which passes through twelve o'clock.
    auto previous = pointerAngle (strip, 0) + 2.0f * pi;
    EXPECT_NEAR (previous, startAngle, endTolerance);

    for (int frame = 1; frame < frames; ++frame)
    {
        auto angle = pointerAngle (strip, frame);

        while (angle < previous - pi)
            angle += 2.0f * pi;

        const auto step = angle - previous;
        EXPECT_GT (step, 0.3f * nominalStep) << "frame " << frame;
        EXPECT_LT (step, 2.0f * nominalStep) << "frame " << frame;
        previous = angle;
    }

    EXPECT_NEAR (previous, endAngle, endTolerance);
}

TEST (EditorImages, EachIconSetShowsThreeDistinctStates)
{
    const int firstIcons[] { EditorImages::noteIcons,      EditorImages::tripletIcons,   EditorImages::dottedIcons,
                             EditorImages::bypassToggle,   EditorImages::autoGainToggle, EditorImages::noteGridToggle,
                             EditorImages::oversamplingToggle };

    for (const auto first : firstIcons)
    {
        const auto normal = EditorImages::get (first + EditorImages::normalState);
        const auto on = EditorImages::get (first + EditorImages::onState);
        const auto hover = EditorImages::get (first + EditorImages::hoverState);
        ASSERT_TRUE (normal.isValid() && on.isValid() && hover.isValid()) << "set " << first;

        const auto minimumDifference = normal.getWidth() * normal.getHeight() / 10;
        EXPECT_GT (countDifferentPixels (normal, on), minimumDifference) << "set " << first;
        EXPECT_GT (countDifferentPixels (normal, hover), minimumDifference) << "set " << first;
        EXPECT_GT (countDifferentPixels (on, hover), minimumDifference) << "set " << first;
    }
}

TEST (EditorImages, IconSetsDifferFromEachOther)
{
    const int circularIcons[] { EditorImages::noteIcons, EditorImages::tripletIcons, EditorImages::dottedIcons };
    const int toggleIcons[] { EditorImages::bypassToggle, EditorImages::autoGainToggle, EditorImages::noteGridToggle,
                              EditorImages::oversamplingToggle };

    const auto expectAllDifferent = [] (const auto& indices)
    {
        for (size_t i = 0; i < std::size (indices); ++i)
            for (size_t j = i + 1; j < std::size (indices); ++j)
                EXPECT_GT (countDifferentPixels (EditorImages::get (indices[i]), EditorImages::get (indices[j])), 10)
                    << "sets " << indices[i] << " and " << indices[j];
    };

    expectAllDifferent (circularIcons);
    expectAllDifferent (toggleIcons);
}
