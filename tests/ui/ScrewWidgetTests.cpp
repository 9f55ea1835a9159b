#include "LookTestImages.h"
#include "ScrewButton.h"
#include "ScrewSlider.h"
#include "WidgetEvents.h"

#include <gtest/gtest.h>

namespace
{
// The editor's trim size: the 70-pixel band fills it, so the screw sits at
// (32, 9) and the number in (42, 3, 28, 12).
constexpr int trimWidth = 70;
constexpr int trimHeight = 18;
const juce::Point<float> screwCentre { 32.0f, 9.0f };
const juce::Point<float> numberPosition { 50.0f, 9.0f };

bool isGrey (juce::Colour c, int tolerance = 6)
{
    return std::abs (c.getRed() - c.getGreen()) <= tolerance && std::abs (c.getGreen() - c.getBlue()) <= tolerance;
}

// The most blue-tinted ink of the number: blue minus red over its area,
// right of where the screw's glow ends.
int strongestBlueCast (const juce::Image& image)
{
    int strongest = std::numeric_limits<int>::min();

    for (int y = 3; y < 15; ++y)
        for (int x = 45; x < trimWidth; ++x)
            if (const auto c = image.getPixelAt (x, y); c.getAlpha() > 0x80)
                strongest = std::max (strongest, c.getBlue() - c.getRed());

    return strongest;
}

struct SlotCase
{
    double value;
    juce::Point<int> inSlot, onHead;
};

class ScrewSliderDrawing : public ::testing::TestWithParam<SlotCase>
{
};

// The slot is horizontal at 0 and a quarter turn round at 100.
TEST_P (ScrewSliderDrawing, SlotTurnsWithTheValue)
{
    const auto [value, inSlot, onHead] = GetParam();
    ScrewSlider slider;
    slider.setSize (trimWidth, trimHeight);
    slider.setValue (value);
    const auto image = test::snapshotOf (slider);

    EXPECT_EQ (image.getPixelAt (inSlot.x, inSlot.y), juce::Colour (0xff0a0a0a));
    EXPECT_TRUE (isGrey (image.getPixelAt (onHead.x, onHead.y), 2));
    EXPECT_GT (image.getPixelAt (onHead.x, onHead.y).getRed(), 0x50);
}

INSTANTIATE_TEST_SUITE_P (Values, ScrewSliderDrawing,
                          ::testing::Values (SlotCase { 0.0, { 28, 8 }, { 32, 5 } },
                                             SlotCase { 100.0, { 32, 5 }, { 28, 8 } }));

TEST (ScrewSlider, GlowsBlueWithTheValueAndGreysTheNumberAtZero)
{
    ScrewSlider slider;
    slider.setSize (trimWidth, trimHeight);

    const auto off = test::snapshotOf (slider);
    EXPECT_EQ (off.getPixelAt (32, 0).getAlpha(), 0) << "no glow at 0";
    EXPECT_LE (strongestBlueCast (off), 2) << "grey number at 0";

    slider.setValue (50.0);
    const auto half = test::snapshotOf (slider);
    slider.setValue (100.0);
    const auto full = test::snapshotOf (slider);

    const auto halfGlow = half.getPixelAt (32, 0);
    const auto fullGlow = full.getPixelAt (32, 0);
    EXPECT_GT (halfGlow.getAlpha(), 0);
    EXPECT_GT (fullGlow.getAlpha(), halfGlow.getAlpha());
    EXPECT_GT (fullGlow.getBlue(), 0xf0);
    EXPECT_LT (fullGlow.getRed(), 0x10);
    EXPECT_GT (strongestBlueCast (full), 0x10) << "blue-white number above 0";
}

TEST (ScrewSlider, DrawsTheCaptionLeftOfTheScrew)
{
    ScrewSlider slider;
    slider.setSize (trimWidth, trimHeight);
    const auto withoutCaption = [&] { slider.caption = {}; return test::snapshotOf (slider); }();
    slider.caption = "HPF";
    const auto withCaption = test::snapshotOf (slider);

    const auto differs = [&] (int fromX, int toX)
    {
        for (int y = 0; y < trimHeight; ++y)
            for (int x = fromX; x < toX; ++x)
                if (withCaption.getPixelAt (x, y) != withoutCaption.getPixelAt (x, y))
                    return true;
        return false;
    };

    EXPECT_TRUE (differs (0, 23));
    EXPECT_FALSE (differs (23, trimWidth));
}

// Typing into the number: each row types some keys after clicking the number
// and then ends the edit in one way.
enum class Ending { returnKey, escapeKey, focusElsewhere, clickOnScrew };

struct EditCase
{
    const char* name;
    juce::String keys;
    bool clearFirst;
    Ending ending;
    double expected;
};

class ScrewSliderEditing : public ::testing::TestWithParam<EditCase>
{
protected:
    ScrewSliderEditing()
    {
        container.setSize (trimWidth + 30, trimHeight);
        container.addAndMakeVisible (slider);
        container.addAndMakeVisible (elsewhere);
        slider.setBounds (0, 0, trimWidth, trimHeight);
        elsewhere.setBounds (trimWidth, 0, 30, trimHeight);
        slider.setValue (40.0, juce::dontSendNotification);
        slider.onValueChange = [this] { ++changes; };
    }

    juce::TextEditor& valueEditor() { return *dynamic_cast<juce::TextEditor*> (slider.getChildComponent (0)); }

    juce::Component container;
    ScrewSlider slider;
    juce::TextEditor elsewhere;
    int changes = 0;
};

TEST_P (ScrewSliderEditing, EndsTheEdit)
{
    const auto& edit = GetParam();
    test::DesktopWindow window (container);
    test::snapshotOf (container); // the number's place is known once drawn

    window.click (numberPosition);
    ASSERT_TRUE (valueEditor().isVisible());
    ASSERT_TRUE (valueEditor().hasKeyboardFocus (false));
    EXPECT_EQ (valueEditor().getText(), "40");
    EXPECT_EQ (valueEditor().getHighlightedRegion(), juce::Range<int> (0, 2));

    if (edit.clearFirst)
        window.pressKey (juce::KeyPress::backspaceKey);

    window.type (edit.keys);

    switch (edit.ending)
    {
        case Ending::returnKey:      window.pressKey (juce::KeyPress::returnKey); break;
        case Ending::escapeKey:      window.pressKey (juce::KeyPress::escapeKey); break;
        case Ending::focusElsewhere: elsewhere.grabKeyboardFocus(); test::deliverPendingMessages(); break;
        case Ending::clickOnScrew:   window.click (screwCentre); break;
    }

    EXPECT_FALSE (valueEditor().isVisible());
    EXPECT_EQ (slider.getValue(), edit.expected);
    EXPECT_EQ (changes, edit.expected == 40.0 ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P (
    Edits, ScrewSliderEditing,
    ::testing::Values (EditCase { "ReturnClampsToMaximum", "250", false, Ending::returnKey, 100.0 },
                       EditCase { "ReturnApplies", "7", false, Ending::returnKey, 7.0 },
                       EditCase { "OnlyDigitsAreTyped", "1x2", false, Ending::returnKey, 12.0 },
                       EditCase { "AtMostFourDigits", "00056", false, Ending::returnKey, 5.0 },
                       EditCase { "EscapeKeepsTheValue", "7", false, Ending::escapeKey, 40.0 },
                       EditCase { "FocusLossApplies", "30", false, Ending::focusElsewhere, 30.0 },
                       EditCase { "EmptyTextOnFocusLossKeepsTheValue", "", true, Ending::focusElsewhere, 40.0 },
                       EditCase { "ClickElsewhereApplies", "30", false, Ending::clickOnScrew, 30.0 }),
    [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST (ScrewSlider, LeavesOutTheNumberWhileEditing)
{
    ScrewSlider slider;
    slider.setSize (trimWidth, trimHeight);
    slider.setValue (100.0);
    test::DesktopWindow window (slider);

    // The slider's own drawing, without the editor's.
    const auto ownDrawing = [&slider]
    {
        juce::Image image (juce::Image::ARGB, trimWidth, trimHeight, true, juce::SoftwareImageType());
        juce::Graphics g (image);
        slider.paint (g);
        return image;
    };

    EXPECT_GT (strongestBlueCast (ownDrawing()), 0x10);
    window.click (numberPosition);
    ASSERT_TRUE (slider.getChildComponent (0)->isVisible());
    EXPECT_EQ (strongestBlueCast (ownDrawing()), std::numeric_limits<int>::min());
}

struct ResetCase
{
    const char* name;
    bool doubleClick;
    juce::ModifierKeys modifiers;
};

class ScrewSliderReset : public ::testing::TestWithParam<ResetCase>
{
};

TEST_P (ScrewSliderReset, ReturnsToZero)
{
    const auto& reset = GetParam();
    ScrewSlider slider;
    slider.setSize (trimWidth, trimHeight);
    slider.setValue (60.0);
    test::DesktopWindow window (slider);
    test::snapshotOf (slider);

    if (reset.doubleClick)
        window.doubleClick (screwCentre);
    else
        window.click (screwCentre, reset.modifiers);

    EXPECT_EQ (slider.getValue(), 0.0);
}

INSTANTIATE_TEST_SUITE_P (Gestures, ScrewSliderReset,
                          ::testing::Values (ResetCase { "DoubleClick", true, {} },
                                             ResetCase { "AltClick", false, juce::ModifierKeys::altModifier }),
                          [] (const auto& testCase) { return std::string (testCase.param.name); });

// ScrewButton in its editor size: 40 x 40, centre (20, 20).
struct ScrewButtonCase
{
    const char* name;
    bool lit, hovered, greyHead;
    juce::Colour outerGlow;  // (37, 20): only the widest lit glow reaches it
    juce::Colour innerRing;  // (28, 20): the hover circle or lit glows, outside the recess
};

class ScrewButtonDrawing : public ::testing::TestWithParam<ScrewButtonCase>
{
};

TEST_P (ScrewButtonDrawing, GlowsOnlyWhereItShould)
{
    const auto& state = GetParam();
    ScrewButton button;
    button.setSize (40, 40);
    button.lit = state.lit;
    button.setState (state.hovered ? juce::Button::buttonOver : juce::Button::buttonNormal);
    const auto image = test::snapshotOf (button);

    const auto near = [] (juce::Colour actual, juce::Colour expected)
    {
        return std::abs (actual.getAlpha() - expected.getAlpha()) <= 2
               && (expected.getAlpha() == 0
                   || (std::abs (actual.getRed() - expected.getRed()) <= 3
                       && std::abs (actual.getGreen() - expected.getGreen()) <= 3
                       && std::abs (actual.getBlue() - expected.getBlue()) <= 3));
    };

    EXPECT_TRUE (near (image.getPixelAt (37, 20), state.outerGlow)) << image.getPixelAt (37, 20).toDisplayString (true);
    EXPECT_TRUE (near (image.getPixelAt (28, 20), state.innerRing)) << image.getPixelAt (28, 20).toDisplayString (true);

    const auto head = image.getPixelAt (20, 20);
    EXPECT_EQ (head.getRed() > head.getGreen() + 0x60, state.lit) << "red head when lit";
    EXPECT_EQ (isGrey (head), state.greyHead) << "grey head when unlit, unless the hover tint covers it";
}

// Over one another: 0x26ff0000, then 0x40ff3300 and 0x59ff4400 inside radius 15.4.
const auto litInnerRing = juce::Colour (0x26ff0000).overlaidWith (juce::Colour (0x40ff3300))
                                                   .overlaidWith (juce::Colour (0x59ff4400));

INSTANTIATE_TEST_SUITE_P (
    States, ScrewButtonDrawing,
    ::testing::Values (ScrewButtonCase { "Unlit", false, false, true, juce::Colour(), juce::Colour() },
                       ScrewButtonCase { "UnlitHovered", false, true, false, juce::Colour(), juce::Colour (0x26ff6600) },
                       ScrewButtonCase { "Lit", true, false, false, juce::Colour (0x26ff0000), litInnerRing },
                       ScrewButtonCase { "LitIgnoresHover", true, true, false, juce::Colour (0x26ff0000), litInnerRing }),
    [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST (ScrewButton, ClickingLeavesLitToTheOwner)
{
    ScrewButton button;
    button.setSize (40, 40);
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    test::DesktopWindow window (button);

    window.click ({ 20.0f, 20.0f });

    EXPECT_EQ (clicks, 1);
    EXPECT_FALSE (button.lit);
    EXPECT_EQ (button.getName(), "ScrewButton");
    EXPECT_FALSE (button.isOpaque());
}
} // namespace
