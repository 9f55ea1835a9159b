#include "CircularButtonLookAndFeel.h"
#include "ToggleButtonLookAndFeel.h"

#include "LookTestImages.h"

#include <gtest/gtest.h>

#include <array>

namespace
{
enum class IconState
{
    normal,
    on,
    hover
};

// Every picture of every set gets a colour of its own, so a probe names both
// the set and the picture that was drawn.
juce::Colour iconColour (int setIndex, IconState state)
{
    return juce::Colour::fromRGB ((juce::uint8) (20 + 30 * setIndex), (juce::uint8) (40 + 80 * (int) state), 0x90);
}

struct IconSetCase
{
    bool circular;
    const char* key;
    const char* buttonText;
    int buttonSize;
};

constexpr std::array<IconSetCase, 7> iconSetCases { {
    { true, "N", "N", 24 },
    { true, "T", "T", 24 },
    { true, "D", "D", 24 },
    { false, "BYPASS", "BYPASS", 18 },
    { false, "AUTOGAIN", "AUTO GAIN", 18 },
    { false, "NOTEGRID", "NOTE GRID", 18 },
    { false, "OVERSAMP", "OVERSAMP", 18 },
} };

struct IconLooks
{
    CircularButtonLookAndFeel circular;
    ToggleButtonLookAndFeel toggle;

    juce::LookAndFeel& lookFor (const IconSetCase& c)
    {
        return c.circular ? static_cast<juce::LookAndFeel&> (circular) : toggle;
    }

    void setIconSet (const IconSetCase& c, const juce::String& key,
                     const juce::Image& normal, const juce::Image& on, const juce::Image& hover)
    {
        if (c.circular)
            circular.setIconSet (key, normal, on, hover);
        else
            toggle.setIconSet (key, normal, on, hover);
    }

    void fillEverySet()
    {
        for (int i = 0; i < (int) iconSetCases.size(); ++i)
        {
            const auto& c = iconSetCases[(size_t) i];
            const auto size = c.buttonSize;
            setIconSet (c, c.key,
                        test::solidImage (iconColour (i, IconState::normal), size, size),
                        test::solidImage (iconColour (i, IconState::on), size, size),
                        test::solidImage (iconColour (i, IconState::hover), size, size));
        }
    }
};

// A button as the editor makes it: the given text, the given square size,
// visible, with a background colour the icon looks must not paint.
struct IconButton
{
    juce::TextButton button;

    IconButton (juce::LookAndFeel& look, const juce::String& text, int width, int height)
    {
        button.setButtonText (text);
        button.setColour (juce::TextButton::buttonColourId, juce::Colours::red);
        button.setColour (juce::TextButton::textColourOffId, juce::Colours::yellow);
        button.setSize (width, height);
        button.setVisible (true);
        button.setLookAndFeel (&look);
    }

    ~IconButton() { button.setLookAndFeel (nullptr); }

    void setToggled (bool on) { button.setToggleState (on, juce::dontSendNotification); }
    void hover() { test::hover (button); }
    void press() { test::press (button); }
};

struct StateCase
{
    bool toggledOn;
    bool hovered;
    IconState shown;
};

constexpr std::array<StateCase, 4> stateCases { {
    { false, false, IconState::normal },
    { false, true, IconState::hover },
    { true, false, IconState::on },
    { true, true, IconState::on },
} };
} // namespace

TEST (IconButtonLook, ButtonTextPicksTheSetAndStatePicksThePicture)
{
    IconLooks looks;
    looks.fillEverySet();

    for (int i = 0; i < (int) iconSetCases.size(); ++i)
    {
        const auto& c = iconSetCases[(size_t) i];

        for (const auto& state : stateCases)
        {
            SCOPED_TRACE (juce::String (c.buttonText) + (state.toggledOn ? " on" : " off")
                          + (state.hovered ? " hovered" : ""));
            IconButton icon (looks.lookFor (c), c.buttonText, c.buttonSize, c.buttonSize);
            icon.setToggled (state.toggledOn);

            if (state.hovered)
                icon.hover();

            const auto expected = iconColour (i, state.shown);
            const auto image = test::snapshotOf (icon.button);
            const auto last = c.buttonSize - 1;

            EXPECT_EQ (image.getPixelAt (0, 0), expected);
            EXPECT_EQ (image.getPixelAt (last / 2, last / 2), expected);
            EXPECT_EQ (image.getPixelAt (last, last), expected);
            EXPECT_EQ (test::snapshotOf (icon.button, 2.0f).getPixelAt (c.buttonSize, c.buttonSize), expected);
        }
    }
}

TEST (IconButtonLook, APressedButtonThatIsOffShowsItsHoverPicture)
{
    IconLooks looks;
    looks.fillEverySet();
    IconButton icon (looks.circular, "D", 24, 24);

    icon.press();

    EXPECT_EQ (test::snapshotOf (icon.button).getPixelAt (12, 12), iconColour (2, IconState::hover));
}

TEST (IconButtonLook, ButtonTextsThatNameNoSetDrawNothing)
{
    IconLooks looks;
    looks.fillEverySet();

    const std::array<std::pair<bool, const char*>, 7> cases { {
        { false, "AUTOGAIN" },
        { false, "NOTEGRID" },
        { false, "Bypass" },
        { false, "N" },
        { true, "n" },
        { true, "BYPASS" },
        { true, "" },
    } };

    for (const auto& [circular, text] : cases)
    {
        SCOPED_TRACE (text);
        IconButton icon (circular ? static_cast<juce::LookAndFeel&> (looks.circular) : looks.toggle, text, 24, 24);

        EXPECT_TRUE (test::isFullyTransparent (test::snapshotOf (icon.button)));
        icon.setToggled (true);
        EXPECT_TRUE (test::isFullyTransparent (test::snapshotOf (icon.button)));
    }
}

TEST (IconButtonLook, SetsNeverFilledDrawNothingInAnyState)
{
    for (const auto& c : iconSetCases)
    {
        for (const auto& state : stateCases)
        {
            SCOPED_TRACE (c.buttonText);
            IconLooks looks;
            IconButton icon (looks.lookFor (c), c.buttonText, c.buttonSize, c.buttonSize);
            icon.setToggled (state.toggledOn);

            if (state.hovered)
                icon.hover();

            EXPECT_TRUE (test::isFullyTransparent (test::snapshotOf (icon.button)));
        }
    }
}

TEST (IconButtonLook, KeysAreMatchedExactly)
{
    const auto red = test::solidImage (juce::Colours::red, 24, 24);

    const std::array<std::pair<IconSetCase, const char*>, 5> cases { {
        { iconSetCases[0], "n" },
        { iconSetCases[0], "N " },
        { iconSetCases[3], "bypass" },
        { iconSetCases[4], "AUTO GAIN" },
        { iconSetCases[5], "NOTE GRID" },
    } };

    for (const auto& [c, key] : cases)
    {
        SCOPED_TRACE (key);
        IconLooks looks;
        looks.setIconSet (c, key, red, red, red);
        IconButton icon (looks.lookFor (c), c.buttonText, c.buttonSize, c.buttonSize);

        EXPECT_TRUE (test::isFullyTransparent (test::snapshotOf (icon.button)));
    }
}

TEST (IconButtonLook, APictureMissingFromASetLeavesThatStateBlank)
{
    IconLooks looks;
    const auto green = juce::Colours::green;
    looks.toggle.setIconSet ("OVERSAMP", test::solidImage (green, 18, 18), test::solidImage (green, 18, 18), {});
    IconButton icon (looks.toggle, "OVERSAMP", 18, 18);

    EXPECT_EQ (test::snapshotOf (icon.button).getPixelAt (9, 9), green);
    icon.hover();
    EXPECT_TRUE (test::isFullyTransparent (test::snapshotOf (icon.button)));
}

TEST (IconButtonLook, PicturesAreScaledUniformlyToFitAndCentred)
{
    struct ScaleCase
    {
        int imageWidth, imageHeight, buttonWidth, buttonHeight;
        juce::Rectangle<int> covered;
    };

    const std::array<ScaleCase, 5> cases { {
        { 12, 12, 24, 24, { 0, 0, 24, 24 } },
        { 48, 48, 24, 24, { 0, 0, 24, 24 } },
        { 24, 12, 24, 24, { 0, 6, 24, 12 } },
        { 12, 24, 24, 24, { 6, 0, 12, 24 } },
        { 18, 18, 36, 24, { 6, 0, 24, 24 } },
    } };

    const auto blue = juce::Colours::blue;

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.imageWidth) + "x" + juce::String (c.imageHeight) + " in "
                      + juce::String (c.buttonWidth) + "x" + juce::String (c.buttonHeight));
        CircularButtonLookAndFeel look;
        const auto picture = test::solidImage (blue, c.imageWidth, c.imageHeight);
        look.setIconSet ("T", picture, picture, picture);
        IconButton icon (look, "T", c.buttonWidth, c.buttonHeight);
        const auto image = test::snapshotOf (icon.button);

        // Pixels a step inside the covered area are solid, pixels a step
        // outside it are empty; the edges themselves may be resampled.
        const auto inner = c.covered.reduced (1);
        EXPECT_EQ (image.getPixelAt (inner.getX(), inner.getY()), blue);
        EXPECT_EQ (image.getPixelAt (inner.getRight() - 1, inner.getBottom() - 1), blue);

        if (c.covered.getX() > 1)
        {
            EXPECT_EQ (image.getPixelAt (c.covered.getX() - 2, c.buttonHeight / 2).getAlpha(), 0);
            EXPECT_EQ (image.getPixelAt (c.covered.getRight() + 1, c.buttonHeight / 2).getAlpha(), 0);
        }

        if (c.covered.getY() > 1)
        {
            EXPECT_EQ (image.getPixelAt (c.buttonWidth / 2, c.covered.getY() - 2).getAlpha(), 0);
            EXPECT_EQ (image.getPixelAt (c.buttonWidth / 2, c.covered.getBottom() + 1).getAlpha(), 0);
        }
    }
}
