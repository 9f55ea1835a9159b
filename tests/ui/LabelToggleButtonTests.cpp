#include "LabelToggleButton.h"
#include "LookTestImages.h"
#include "WidgetEvents.h"

#include <gtest/gtest.h>

namespace
{
constexpr int editorPeriodMs = 16;
constexpr int ecoPeriodMs = 50;

// Runs the animation tick by tick, as the timer would, and records the level
// after each tick until the timer stops (or gives up after `limit` ticks).
std::vector<float> runFade (LabelToggleButton& button, int limit = 20)
{
    std::vector<float> levels;

    while (button.isTimerRunning() && (int) levels.size() < limit)
    {
        button.timerCallback();
        levels.push_back (button.litLevel);
    }

    return levels;
}

void expectLevels (const std::vector<float>& actual, const std::vector<float>& expected)
{
    ASSERT_EQ (actual.size(), expected.size());

    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR (actual[i], expected[i], 1e-5f) << "tick " << i + 1;
}

// An 80-pixel-wide button in the default accent red.
LabelToggleButton& sized (LabelToggleButton& button, int height = 20)
{
    button.setSize (80, height);
    button.offText = "DAMPING";
    button.onText = "DAMP EX";
    return button;
}

TEST (LabelToggleButton, FadesInOverSevenTicksAndStops)
{
    LabelToggleButton button;
    button.setLit (true, editorPeriodMs);

    EXPECT_TRUE (button.lit);
    EXPECT_EQ (button.litTarget, 1.0f);
    EXPECT_EQ (button.litLevel, 0.0f) << "the level moves only under the timer";
    EXPECT_EQ (button.getTimerInterval(), editorPeriodMs);

    expectLevels (runFade (button), { 0.15f, 0.3f, 0.45f, 0.6f, 0.75f, 0.9f, 1.0f });
    EXPECT_EQ (button.litLevel, 1.0f);
}

TEST (LabelToggleButton, FadesOutAtTheGivenPeriod)
{
    LabelToggleButton button;
    button.setLit (true, editorPeriodMs);
    runFade (button);

    button.setLit (false, ecoPeriodMs);

    EXPECT_EQ (button.getTimerInterval(), ecoPeriodMs);
    expectLevels (runFade (button), { 0.85f, 0.7f, 0.55f, 0.4f, 0.25f, 0.1f, 0.0f });
}

TEST (LabelToggleButton, TurnsBackMidFadeOnTheRunningTimer)
{
    LabelToggleButton button;
    button.setLit (true, editorPeriodMs);
    button.timerCallback();
    button.timerCallback();

    button.setLit (false, ecoPeriodMs);

    EXPECT_EQ (button.getTimerInterval(), editorPeriodMs);
    expectLevels (runFade (button), { 0.15f, 0.0f });
}

TEST (LabelToggleButton, RequestingTheCurrentStateChangesNothing)
{
    LabelToggleButton button;
    button.setLit (false, editorPeriodMs);
    EXPECT_FALSE (button.isTimerRunning());

    button.setLit (true, editorPeriodMs);
    runFade (button);
    button.setLit (true, ecoPeriodMs);

    EXPECT_FALSE (button.isTimerRunning());
    EXPECT_EQ (button.litLevel, 1.0f);
    EXPECT_EQ (button.litTarget, 1.0f);
}

TEST (LabelToggleButton, ClickingLeavesLitToTheOwner)
{
    LabelToggleButton button;
    sized (button);
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    test::DesktopWindow window (button);

    window.click ({ 40.0f, 10.0f });

    EXPECT_EQ (clicks, 1);
    EXPECT_FALSE (button.lit);
    EXPECT_EQ (button.getName(), "LabelToggleButton");
    EXPECT_FALSE (button.isOpaque());
}

struct BorderCase
{
    const char* name;
    bool lit;
    int fadeTicksAfterSwitchingOff; // -1: never switched on
    bool hovered, tinted;
};

class LabelToggleButtonBorder : public ::testing::TestWithParam<BorderCase>
{
};

// The outermost pixel column lies outside the body: besides half of the
// unlit outline, only the glow and the hover tint reach it.
TEST_P (LabelToggleButtonBorder, ShowsGlowAndHover)
{
    const auto& border = GetParam();
    LabelToggleButton button;
    sized (button);
    const auto plain = test::snapshotOf (button).getPixelAt (0, 10);

    if (border.lit || border.fadeTicksAfterSwitchingOff >= 0)
    {
        button.setLit (true, editorPeriodMs);
        runFade (button);
    }

    if (! border.lit && border.fadeTicksAfterSwitchingOff >= 0)
    {
        button.setLit (false, editorPeriodMs);
        for (int i = 0; i < border.fadeTicksAfterSwitchingOff; ++i)
            button.timerCallback();
    }

    button.setState (border.hovered ? juce::Button::buttonOver : juce::Button::buttonNormal);
    const auto pixel = test::snapshotOf (button).getPixelAt (0, 10);

    if (border.tinted)
    {
        EXPECT_GT (pixel.getAlpha(), plain.getAlpha());
        EXPECT_GT (pixel.getRed(), pixel.getGreen() + 0x20) << "tinted with the accent";
    }
    else
    {
        EXPECT_EQ (pixel, plain);
    }
}

INSTANTIATE_TEST_SUITE_P (States, LabelToggleButtonBorder,
                          ::testing::Values (BorderCase { "UnlitHovered", false, -1, true, true },
                                             BorderCase { "Lit", true, -1, false, true },
                                             BorderCase { "LitIgnoresHover", true, -1, true, true },
                                             BorderCase { "FadingOut", false, 3, false, true },
                                             BorderCase { "FadedOut", false, 7, false, false }),
                          [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST (LabelToggleButton, LitFaceTakesTheAccentAndUnlitWellStaysDark)
{
    LabelToggleButton button;
    sized (button);
    button.accentColour = juce::Colour (0xff3498db);

    const auto unlit = test::snapshotOf (button).getPixelAt (5, 10);
    button.setLit (true, editorPeriodMs);
    runFade (button);
    const auto lit = test::snapshotOf (button).getPixelAt (5, 10);

    EXPECT_LT (unlit.getBrightness(), 0.2f);
    EXPECT_GT (lit.getBlue(), lit.getRed() + 0x40);
    EXPECT_GT (lit.getBrightness(), 0.4f);
}

// Columns holding the text's ink, found by its colour.
juce::Range<int> inkColumns (const juce::Image& image, const std::function<bool (juce::Colour)>& isInk)
{
    int first = image.getWidth(), last = -1;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (isInk (image.getPixelAt (x, y)))
            {
                first = std::min (first, x);
                last = std::max (last, x);
            }

    return { first, last + 1 };
}

// Bodies under 16 px high use the 9 px font, others the 10 px one.
TEST (LabelToggleButton, SmallButtonsUseTheSmallerFont)
{
    const auto inkWidth = [] (int height)
    {
        LabelToggleButton button;
        sized (button, height);
        const auto ink = inkColumns (test::snapshotOf (button), [] (juce::Colour c)
                                     { return c.getBlue() > 0x60 && c.getBlue() > c.getRed() + 0x10; });
        EXPECT_NEAR ((float) (ink.getStart() + ink.getEnd()) / 2.0f, 40.0f, 1.0f) << "centred in the body";
        return (float) ink.getLength();
    };

    const auto small = inkWidth (14);
    const auto regular = inkWidth (18);

    EXPECT_NEAR (inkWidth (30), regular, 1.0f);
    EXPECT_NEAR (small / regular, 0.9f, 0.03f);
}

TEST (LabelToggleButton, SmallButtonsGlowTighter)
{
    // At the corner the fourth glow layer (spread 1.5, corner 3) covers the
    // corner pixel; at 0.7 of that spread it leaves most of it clear.
    const auto cornerAlpha = [] (int height)
    {
        LabelToggleButton button;
        sized (button, height);
        button.setLit (true, editorPeriodMs);
        runFade (button);
        return test::snapshotOf (button).getPixelAt (0, 0).getAlpha();
    };

    EXPECT_LT (cornerAlpha (14), cornerAlpha (18));
}
} // namespace
