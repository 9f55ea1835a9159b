#include "MetallicComboBoxLookAndFeel.h"
#include "MetallicLabelLookAndFeel.h"
#include "MetallicModeButtonLookAndFeel.h"
#include "MetallicTextEditorLookAndFeel.h"

#include "LookTestImages.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace
{
constexpr int gradientTolerance = 2;

// Attaches a look for the lifetime of a test and detaches it before the look
// goes, as the editor does.
struct ScopedLook
{
    ScopedLook (juce::Component& c, juce::LookAndFeel& look) : component (c) { component.setLookAndFeel (&look); }
    ~ScopedLook() { component.setLookAndFeel (nullptr); }

    juce::Component& component;
};

int maximumRed (const juce::Image& image)
{
    int maximum = 0;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            maximum = std::max (maximum, (int) image.getPixelAt (x, y).getRed());

    return maximum;
}

juce::Colour mostCoveredPixelOf (const juce::Image& image)
{
    juce::Colour mostCovered;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() > mostCovered.getAlpha())
                mostCovered = image.getPixelAt (x, y);

    return mostCovered;
}
} // namespace

//==============================================================================
// Mode buttons, 41 px tall: pixel row 16 sits exactly on the gradient's 0.4
// stop, rows 4 and 36 at 0.1 and 0.9.
TEST (MetallicModeButtonLook, FaceGradientAndHaloFollowTheButtonState)
{
    enum class Mouse
    {
        away,
        over,
        pressed
    };

    struct StateCase
    {
        Mouse mouse;
        juce::Colour top, middle, bottom;
        bool halo;
    };

    const auto c = juce::Colour (0xff3080f0);
    const std::array<StateCase, 3> cases { {
        { Mouse::away, c.brighter (0.2f), c, c.darker (0.25f), false },
        { Mouse::over, c.brighter (0.3f), c.brighter (0.15f), c, true },
        { Mouse::pressed, c.darker (0.3f), c.darker (0.15f), c.darker (0.4f), false },
    } };

    for (const auto& state : cases)
    {
        SCOPED_TRACE ((int) state.mouse);
        MetallicModeButtonLookAndFeel look;
        juce::TextButton button;
        button.setColour (juce::TextButton::buttonColourId, c);
        button.setBounds (0, 0, 80, 41);
        button.setVisible (true);
        ScopedLook scoped (button, look);

        if (state.mouse == Mouse::over)
            test::hover (button);
        else if (state.mouse == Mouse::pressed)
            test::press (button);

        const auto image = test::snapshotOf (button);

        EXPECT_PRED3 (test::isNear, image.getPixelAt (40, 4), state.top.interpolatedWith (state.middle, 0.25f),
                      gradientTolerance);
        EXPECT_PRED3 (test::isNear, image.getPixelAt (40, 16), state.middle, gradientTolerance);
        EXPECT_PRED3 (test::isNear, image.getPixelAt (40, 36),
                      state.middle.interpolatedWith (state.bottom, 0.5f / 0.6f), gradientTolerance);

        // The one-pixel outline covers column 0 fully; the halo, when drawn,
        // tints it.
        const auto edge = image.getPixelAt (0, 20);
        EXPECT_EQ (test::isNear (edge, c.darker (0.5f), 1), ! state.halo) << juce::String::toHexString ((int) edge.getARGB());
    }
}

TEST (MetallicModeButtonLook, TextIsWhiteAndDimsWhilePressedWhateverTheButtonsTextColours)
{
    MetallicModeButtonLookAndFeel look;
    juce::TextButton button ("LOOKAHEAD");
    button.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff323c50));
    button.setColour (juce::TextButton::textColourOffId, juce::Colours::red);
    button.setColour (juce::TextButton::textColourOnId, juce::Colours::red);
    button.setBounds (0, 0, 90, 24);
    button.setVisible (true);
    ScopedLook scoped (button, look);
    const auto isReddish = [] (juce::Colour pixel) { return pixel.getRed() > pixel.getGreen() + 40; };

    auto image = test::snapshotOf (button);
    EXPECT_EQ (maximumRed (image), 0xff);
    EXPECT_GT (test::countPixelsOfColour (image, juce::Colours::white), 0);
    EXPECT_EQ (test::countPixels (image, isReddish), 0);

    test::press (button);
    image = test::snapshotOf (button);
    EXPECT_EQ (maximumRed (image), 0xe7);
    EXPECT_GT (test::countPixelsOfColour (image, juce::Colour (0xffe7e7e7)), 0);
}

//==============================================================================
TEST (MetallicLabelLook, OnlyTheExactHeldOutlineColourLightsTheReadout)
{
    struct OutlineCase
    {
        juce::uint32 outline;
        bool held;
    };

    const std::array<OutlineCase, 5> cases { {
        { 0xff707070, true },
        { 0xff505050, false },
        { 0xff707071, false },
        { 0xfe707070, false },
        { 0x00000000, false },
    } };

    const juce::Colour heldText (0xfff0ffff), normalText (0xffe0f0ff);
    constexpr int width = 120, height = 24;

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String::toHexString ((int) c.outline));
        MetallicLabelLookAndFeel look;
        juce::Label label ({}, "-12.3 dB");
        label.setFont (juce::Font (20.0f, juce::Font::bold));
        label.setJustificationType (juce::Justification::centredLeft);
        label.setColour (juce::Label::outlineColourId, juce::Colour (c.outline));
        label.setColour (juce::Label::textColourId, juce::Colours::red);
        label.setColour (juce::Label::backgroundColourId, juce::Colours::red);
        label.setSize (width, height);
        ScopedLook scoped (label, look);

        const auto top = juce::Colour (c.held ? 0xff1f2a3a : 0xff1a2535);
        const auto bottom = juce::Colour (c.held ? 0xff2f4055 : 0xff2a3a50);
        const auto image = test::snapshotOf (label);

        EXPECT_EQ (image.getPixelAt (0, height / 2), juce::Colour (c.held ? 0xff5a6a80 : 0xff4a5a70));
        EXPECT_PRED3 (test::isNear, image.getPixelAt (width - 6, height / 2),
                      top.interpolatedWith (bottom, (height / 2 + 0.5f) / height), gradientTolerance);
        EXPECT_GT (test::countPixelsOfColour (image, c.held ? heldText : normalText), 0);
        EXPECT_EQ (test::countPixelsOfColour (image, c.held ? normalText : heldText), 0);
        EXPECT_EQ (test::countPixels (image, [] (juce::Colour p) { return p.getRed() > p.getBlue() + 40; }), 0);
    }
}

//==============================================================================
TEST (MetallicTextEditorLook, OutlineTurnsBlueWhileTheFieldHasKeyboardFocus)
{
    MetallicTextEditorLookAndFeel look;
    juce::Component window;
    juce::TextEditor field;
    ScopedLook scoped (field, look);
    field.setBounds (10, 10, 80, 24);
    window.setSize (100, 44);
    window.addAndMakeVisible (field);
    window.addToDesktop (0);
    window.setVisible (true);

    auto image = test::snapshotOf (field);
    EXPECT_EQ (image.getPixelAt (0, 12), juce::Colour (0xff4a5a70));
    EXPECT_PRED3 (test::isNear, image.getPixelAt (40, 12),
                  juce::Colour (0xff1a2535).interpolatedWith (juce::Colour (0xff2a3a50), 12.5f / 24.0f),
                  gradientTolerance);

    field.grabKeyboardFocus();
    ASSERT_TRUE (field.hasKeyboardFocus (true));
    image = test::snapshotOf (field);
    EXPECT_EQ (image.getPixelAt (0, 12), juce::Colour (MetallicTextEditorLookAndFeel::focusColour));

    window.removeFromDesktop();
}

TEST (MetallicTextEditorLook, CaretIsBlue)
{
    MetallicTextEditorLookAndFeel look;
    juce::TextEditor field;
    const std::unique_ptr<juce::CaretComponent> caret (look.createCaretComponent (&field));

    ASSERT_NE (caret, nullptr);
    EXPECT_EQ (caret->findColour (juce::CaretComponent::caretColourId),
               juce::Colour (MetallicTextEditorLookAndFeel::focusColour));
}

//==============================================================================
namespace
{
constexpr juce::uint32 arrowColour = 0xffa0b0c0;

juce::Image drawnComboBox (MetallicComboBoxLookAndFeel& look, juce::ComboBox& box, bool buttonDown,
                           int buttonX, int buttonWidth)
{
    return test::drawnImage (box.getWidth(), box.getHeight(), 1.0f, [&] (juce::Graphics& g) {
        look.drawComboBox (g, box.getWidth(), box.getHeight(), buttonDown, buttonX, 0, buttonWidth, box.getHeight(), box);
    });
}
} // namespace

TEST (MetallicComboBoxLook, TextSitsLeftOfTheArrowInThirteenPixelType)
{
    struct SizeCase
    {
        int width, height;
        juce::Rectangle<int> labelBounds;
    };

    const std::array<SizeCase, 2> cases { {
        { 150, 26, { 8, 0, 122, 26 } },
        { 20, 26, { 8, 0, 0, 26 } },
    } };

    for (const auto& c : cases)
    {
        MetallicComboBoxLookAndFeel look;
        juce::ComboBox box;
        ScopedLook scoped (box, look);
        box.setSize (c.width, c.height);
        auto* label = dynamic_cast<juce::Label*> (box.getChildComponent (0));

        ASSERT_NE (label, nullptr);
        EXPECT_EQ (label->getBounds(), c.labelBounds);
        EXPECT_FLOAT_EQ (label->getFont().getHeight(), 13.0f);
    }
}

// With the arrow button the box gives it (x 130, 20 wide, 26 tall) the arrow
// is the triangle (138, 11), (142, 11), (140, 17); pixel (139, 12) lies inside.
TEST (MetallicComboBoxLook, ArrowTurnsBlueWhileTheButtonIsDown)
{
    MetallicComboBoxLookAndFeel look;
    juce::ComboBox box;
    ScopedLook scoped (box, look);
    box.setSize (150, 26);
    box.addItem ("Standard", 1);
    box.setSelectedId (1, juce::dontSendNotification);

    const auto shown = test::snapshotOf (box);
    EXPECT_EQ (shown.getPixelAt (139, 12), juce::Colour (arrowColour));
    EXPECT_EQ (shown.getPixelAt (0, 13), juce::Colour (0xff1a2535));

    EXPECT_EQ (drawnComboBox (look, box, true, 130, 20).getPixelAt (139, 12),
               juce::Colour (MetallicComboBoxLookAndFeel::accentColour));
}

TEST (MetallicComboBoxLook, ArrowButtonsNoWiderThanSixteenPixelsShowNoArrow)
{
    MetallicComboBoxLookAndFeel look;
    juce::ComboBox box;
    box.setSize (150, 26);

    for (const int buttonWidth : { 16, 10, 0 })
    {
        SCOPED_TRACE (buttonWidth);
        const auto image = drawnComboBox (look, box, false, 150 - buttonWidth, buttonWidth);

        EXPECT_EQ (test::countPixels (image, [] (juce::Colour p) { return test::isNear (p, juce::Colour (arrowColour), 24); }), 0);
    }
}

//==============================================================================
TEST (MetallicComboBoxLook, MenuBackgroundHasAOnePixelFrame)
{
    MetallicComboBoxLookAndFeel look;
    const auto image = test::drawnImage (120, 80, 1.0f, [&] (juce::Graphics& g) { look.drawPopupMenuBackground (g, 120, 80); });

    for (const auto& frame : { juce::Point<int> (0, 40), juce::Point<int> (119, 40), juce::Point<int> (60, 0), juce::Point<int> (60, 79) })
        EXPECT_EQ (image.getPixelAt (frame.x, frame.y), juce::Colour (0xff5a6a80));

    EXPECT_PRED3 (test::isNear, image.getPixelAt (60, 40),
                  juce::Colour (0xff3a4a60).interpolatedWith (juce::Colour (0xff252d40), 40.5f / 80.0f), gradientTolerance);
}

// A 120 x 22 item at (0, 0): the tick dot is the circle (103, 5, 12, 12).
TEST (MetallicComboBoxLook, TickedItemsGainADotWithoutMovingTheirText)
{
    MetallicComboBoxLookAndFeel look;
    const juce::Rectangle<int> area (0, 0, 120, 22);
    const auto drawItem = [&] (bool highlighted, bool ticked) {
        return test::drawnImage (area.getWidth(), area.getHeight(), 1.0f, [&] (juce::Graphics& g) {
            look.drawPopupMenuItem (g, area, false, true, highlighted, ticked, false, "F=ma Heavy", {}, nullptr, nullptr);
        });
    };

    for (const bool highlighted : { false, true })
    {
        SCOPED_TRACE (highlighted ? "highlighted" : "plain");
        const auto plain = drawItem (highlighted, false);
        const auto ticked = drawItem (highlighted, true);
        const auto dot = juce::Colour (MetallicComboBoxLookAndFeel::accentColour);

        EXPECT_EQ (ticked.getPixelAt (109, 11), dot);
        EXPECT_NE (plain.getPixelAt (109, 11), dot);

        for (int y = 0; y < area.getHeight(); ++y)
            for (int x = 0; x < 103; ++x)
                ASSERT_EQ (ticked.getPixelAt (x, y), plain.getPixelAt (x, y)) << x << ", " << y;
    }
}

TEST (MetallicComboBoxLook, HighlightedItemsAreFilledWithWhiteText)
{
    MetallicComboBoxLookAndFeel look;
    const juce::Rectangle<int> area (0, 0, 120, 22);
    const auto drawItem = [&] (bool highlighted) {
        return test::drawnImage (area.getWidth(), area.getHeight(), 1.0f, [&] (juce::Graphics& g) {
            look.drawPopupMenuItem (g, area, false, true, highlighted, false, false, "Standard", {}, nullptr, nullptr);
        });
    };

    const auto plain = drawItem (false);
    EXPECT_EQ (plain.getPixelAt (2, 2).getAlpha(), 0);
    EXPECT_PRED3 (test::isNear, mostCoveredPixelOf (plain), juce::Colour (0xffc0d0e0), 3);

    // Text starts 10 pixels in.
    for (int y = 0; y < area.getHeight(); ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ (plain.getPixelAt (x, y).getAlpha(), 0) << x << ", " << y;

    const auto highlighted = drawItem (true);
    EXPECT_EQ (highlighted.getPixelAt (2, 2), juce::Colour (0xff4a6080));
    EXPECT_GT (maximumRed (highlighted), 0xd0);
}
