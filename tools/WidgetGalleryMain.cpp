// tarnwell-widget-gallery: draws every widget and look of the editor in each
// of its states onto one dark panel and writes it as a PNG at 1x and at 2x, so
// the artwork can be reviewed without opening the plug-in.
//
//   tarnwell-widget-gallery [OUT.png]      (also writes OUT@2x.png)
//
// Run it on a display (xvfb-run -a): the focused text fields need a window.
#include "CircularButtonLookAndFeel.h"
#include "CustomSlider.h"
#include "EditorImages.h"
#include "LabelToggleButton.h"
#include "MetallicComboBoxLookAndFeel.h"
#include "MetallicLabelLookAndFeel.h"
#include "MetallicModeButtonLookAndFeel.h"
#include "MetallicTextEditorLookAndFeel.h"
#include "ModernSliderLookAndFeel.h"
#include "ScrewButton.h"
#include "ScrewSlider.h"
#include "ToggleButtonLookAndFeel.h"

#include "../plugin/ParameterIDs.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <iostream>
#include <iterator>
#include <utility>

namespace
{
constexpr int galleryWidth = 1000;
constexpr int galleryHeight = 1000;
constexpr int margin = 20;
constexpr int captionHeight = 18;
constexpr int itemCaptionHeight = 14;
constexpr int groupGap = 4;
constexpr float highDensityScale = 2.0f;

// Where each row of the gallery starts.
namespace RowTop
{
constexpr int knobs = 50;
constexpr int glowKnobs = 175;
constexpr int faders = 300;
constexpr int labelToggles = 580;
constexpr int iconButtons = 665;
constexpr int modeButtons = 750;
constexpr int comboBoxes = 860;
} // namespace RowTop

// Sizes the editor gives these widgets.
constexpr int knobSize = 75;
constexpr int knobCell = 80;
constexpr int knobTextBoxWidth = 60;
constexpr int knobTextBoxHeight = 16;
constexpr int faderWidth = 39;
constexpr int faderHeight = 220;
constexpr int faderCell = 48;
constexpr int screwSliderWidth = 70;
constexpr int screwSliderHeight = 18;
constexpr int screwButtonSize = 40;
constexpr int circularButtonSize = 24;
constexpr int squareToggleSize = 18;
constexpr int modeButtonHeight = 20;
constexpr int editorToggleHeight = 14;
constexpr int largeToggleHeight = 20;
constexpr int comboBoxWidth = 125;
constexpr int comboBoxHeight = 24;

constexpr float knobStartAngle = 1.2f * juce::MathConstants<float>::pi;
constexpr float knobEndAngle = 2.8f * juce::MathConstants<float>::pi;

const juce::Colour panelBase { 0xff2d2d2d };
const juce::Colour panelTint { 0x8c383838 };
const juce::Colour captionColour { 0xffc0d8f0 };
const juce::Colour itemCaptionColour { 0xff8090a0 };

juce::Font captionFont() { return juce::Font (10.0f, juce::Font::bold); }
juce::Font itemCaptionFont() { return juce::Font (9.0f, juce::Font::plain); }

//==============================================================================
// Labels on the panel, in the editor's caption style.
void drawCaption (juce::Graphics& g, const juce::String& text, int x, int y, int width = 600)
{
    g.setFont (captionFont());
    g.setColour (juce::Colours::black.withAlpha ((juce::uint8) 0x80));
    g.drawText (text, x + 1, y + 1, width, captionHeight, juce::Justification::centredLeft, false);
    g.setColour (captionColour);
    g.drawText (text, x, y, width, captionHeight, juce::Justification::centredLeft, false);
}

void drawItemCaption (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area)
{
    g.setFont (itemCaptionFont());
    g.setColour (itemCaptionColour);
    g.drawText (text, area, juce::Justification::centredTop, false);
}

// Draws within the given area only, with the area's corner as origin, as a
// parent clips its child.
template <typename Paint>
void paintWithin (juce::Graphics& g, juce::Rectangle<int> area, Paint&& paint)
{
    const juce::Graphics::ScopedSaveState saved (g);
    g.setOrigin (area.getPosition());
    g.reduceClipRegion (area.withZeroOrigin());
    paint();
}

void paintAt (juce::Graphics& g, juce::Component& component, juce::Point<int> topLeft)
{
    paintWithin (g, component.getLocalBounds() + topLeft, [&] { component.paintEntireComponent (g, false); });
}

// The editor's body: the brushed bottom-panel texture under a grey veil.
void drawPanel (juce::Graphics& g, int width, int height)
{
    g.fillAll (panelBase);

    const auto texture = EditorImages::get (EditorImages::bottomPanel);
    if (texture.isValid())
        g.drawImage (texture, juce::Rectangle<float> (0.0f, 0.0f, (float) width, (float) height),
                     juce::RectanglePlacement::stretchToFit);

    g.setColour (panelTint);
    g.fillRect (0, 0, width, height);
}

//==============================================================================
struct KnobSetting
{
    juce::String caption, suffix;
    double minimum, maximum, interval, skew;
    int decimals;
};

const KnobSetting mixKnob { "MIX", "%", 0.0, 100.0, 0.1, 1.0, 1 };
const KnobSetting kneeKnob { "KNEE", " dB", 0.0, 10.0, 0.1, 1.0, 1 };
const KnobSetting holdKnob { "HOLD", " ms", 0.0, 300.0, 0.01, 0.5, 2 };

// As the editor styles a knob: rotary angles, text box, suffix and colours.
void styleKnob (juce::Slider& knob, const KnobSetting& setting, juce::LookAndFeel& look, double proportion)
{
    knob.setSliderStyle (juce::Slider::RotaryVerticalDrag);
    knob.setName (setting.caption);
    knob.setTextBoxStyle (juce::Slider::TextBoxBelow, false, knobTextBoxWidth, knobTextBoxHeight);
    knob.setTextValueSuffix (setting.suffix);
    knob.setRotaryParameters (knobStartAngle, knobEndAngle, true);
    knob.setColour (juce::Slider::rotarySliderFillColourId, juce::Colour (0xffdc143c));
    knob.setColour (juce::Slider::rotarySliderOutlineColourId, juce::Colour (0xff2d2d2d));
    knob.setColour (juce::Slider::thumbColourId, juce::Colour (0xfff0f0f0));
    knob.setColour (juce::Slider::textBoxTextColourId, juce::Colour (0xffe0e0e0));
    knob.setColour (juce::Slider::textBoxBackgroundColourId, juce::Colour (0xff1a1a1a));
    knob.setLookAndFeel (&look);
    knob.setRange (setting.minimum, setting.maximum, setting.interval);
    knob.setSkewFactor (setting.skew);
    knob.setNumDecimalPlacesToDisplay (setting.decimals);
    knob.setSize (knobSize, knobSize);
    knob.setValue (knob.proportionOfLengthToValue (proportion), juce::dontSendNotification);
}

void styleFader (juce::Slider& fader, juce::LookAndFeel& look, double valueDb)
{
    fader.setSliderStyle (juce::Slider::LinearVertical);
    fader.setName ("THRESHOLD");
    fader.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    fader.setColour (juce::Slider::trackColourId, juce::Colour (0xff2d2d2d));
    fader.setColour (juce::Slider::thumbColourId, juce::Colour (0xffdc143c));
    fader.setLookAndFeel (&look);
    fader.setRange (-60.0, 0.0, 0.1);
    fader.setSize (faderWidth, faderHeight);
    fader.setValue (valueDb, juce::dontSendNotification);
}

// A click at the given point, delivered to the component as the window would.
juce::MouseEvent clickAt (juce::Component& component, juce::Point<float> position)
{
    const auto now = juce::Time::getCurrentTime();
    return { juce::Desktop::getInstance().getMainMouseSource(), position, juce::ModifierKeys(),
             juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
             juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
             juce::MouseInputSource::defaultTiltY, &component, &component, now, position, now, 1, false };
}

//==============================================================================
// Draws the whole gallery. The looks are configured once, as the editor
// configures its own; each widget is made, set into its state, drawn and
// dropped again.
class Gallery
{
public:
    Gallery()
    {
        filmStripLook.knobFilmStrip = EditorImages::get (EditorImages::knobFilmStrip);
        filmStripLook.filmStripFrames = EditorImages::knobFilmStripFrames;
        filmStripLook.useFilmStrip = filmStripLook.knobFilmStrip.isValid();

        assignIconSets (circularLook, EditorImages::firstCircularButtonIcon, { "N", "T", "D" });
        assignIconSets (toggleLook, EditorImages::firstToggleButtonIcon, { "BYPASS", "AUTOGAIN", "NOTEGRID", "OVERSAMP" });

        // Focus needs a window: the fields that show it live in this one.
        focusWindow.setSize (200, 40);
        focusWindow.addToDesktop (0);
        focusWindow.setVisible (true);
    }

    ~Gallery() { focusWindow.removeFromDesktop(); }

    juce::Image render (float scale)
    {
        juce::Image image (juce::Image::ARGB, juce::roundToInt (galleryWidth * scale),
                           juce::roundToInt (galleryHeight * scale), true, juce::SoftwareImageType());
        juce::Graphics g (image);
        g.addTransform (juce::AffineTransform::scale (scale));

        drawPanel (g, galleryWidth, galleryHeight);
        drawTitle (g);
        drawKnobs (g, RowTop::knobs);
        drawGlowAndHoldKnobs (g, RowTop::glowKnobs);
        drawFaders (g, RowTop::faders);
        drawScrewWidgets (g, RowTop::faders);
        drawLabelToggles (g, RowTop::labelToggles);
        drawIconButtons (g, RowTop::iconButtons);
        drawModeButtons (g, RowTop::modeButtons);
        drawReadoutsAndTextFields (g, RowTop::modeButtons);
        drawComboBoxes (g, RowTop::comboBoxes);
        return image;
    }

private:
    // Each set is three consecutive images, handed over under the set's key.
    template <typename IconLook>
    static void assignIconSets (IconLook& look, int firstIcon, std::initializer_list<const char*> keys)
    {
        constexpr int imagesPerSet = 3;
        int set = firstIcon;

        for (const auto* key : keys)
        {
            look.setIconSet (key, EditorImages::get (set + EditorImages::normalState),
                             EditorImages::get (set + EditorImages::onState),
                             EditorImages::get (set + EditorImages::hoverState));
            set += imagesPerSet;
        }
    }

    static void drawTitle (juce::Graphics& g)
    {
        g.setFont (juce::Font (16.0f, juce::Font::bold));
        g.setColour (juce::Colour (0xffe0e0e0));
        g.drawText ("TARNWELL COMPRESSOR", margin, 12, 400, 20, juce::Justification::centredLeft, false);
        g.setFont (juce::Font (10.0f, juce::Font::plain));
        g.setColour (juce::Colour (0xffdc143c));
        g.drawText ("Widget and look gallery", margin + 215, 14, 300, 18, juce::Justification::centredLeft, false);
    }

    // One knob drawn at a cell of a row, with its caption under it.
    template <typename Configure>
    void drawKnob (juce::Graphics& g, juce::LookAndFeel& look, const KnobSetting& setting, double proportion,
                   int x, int y, const juce::String& itemCaption, Configure&& configure)
    {
        CustomSlider knob;
        styleKnob (knob, setting, look, proportion);
        configure (knob);
        paintAt (g, knob, { x, y });
        drawItemCaption (g, itemCaption, { x - 2, y + knobSize + 1, knobCell - 2, itemCaptionHeight });
        knob.setLookAndFeel (nullptr);
    }

    // Film strip and vector bodies at three positions, bare and worn.
    void drawKnobs (juce::Graphics& g, int top)
    {
        struct Group
        {
            const char* caption;
            ModernSliderLookAndFeel& look;
            bool wear;
        };
        const Group groups[] { { "KNOBS - FILM STRIP, NO WEAR", filmStripLook, false },
                               { "FILM STRIP, WEAR (MIX)", filmStripLook, true },
                               { "KNOBS - VECTOR, NO WEAR", vectorLook, false },
                               { "VECTOR, WEAR (MIX)", vectorLook, true } };
        const double positions[] { 0.0, 0.5, 1.0 };
        const char* const positionCaptions[] { "position 0", "position 0.5", "position 1" };

        int x = margin;
        for (const auto& group : groups)
        {
            drawCaption (g, group.caption, x, top, 3 * knobCell);
            group.look.showDirtEffect = group.wear;

            for (int i = 0; i < 3; ++i)
            {
                drawKnob (g, group.look, mixKnob, positions[i], x, top + captionHeight, positionCaptions[i],
                          [] (CustomSlider&) {});
                x += knobCell;
            }

            x += groupGap;
        }

        filmStripLook.showDirtEffect = vectorLook.showDirtEffect = true;
    }

    void drawGlowAndHoldKnobs (juce::Graphics& g, int top)
    {
        constexpr int kneeGlowMode = 2;
        constexpr double kneeProportion = 0.5;
        const float glowLevels[] { 0.01f, 0.5f, 1.0f };

        int x = margin;
        for (auto* look : { &filmStripLook, &vectorLook })
        {
            drawCaption (g, look == &filmStripLook ? "KNEE GLOW - FILM STRIP" : "KNEE GLOW - VECTOR", x, top,
                         3 * knobCell);

            for (const auto level : glowLevels)
            {
                drawKnob (g, *look, kneeKnob, kneeProportion, x, top + captionHeight,
                          "glow " + juce::String (level, 2),
                          [level] (CustomSlider& knob)
                          {
                              knob.glowMode = kneeGlowMode;
                              knob.glowLevel = level;
                          });
                x += knobCell;
            }

            x += groupGap;
        }

        constexpr double holdProportion = 0.5;
        juce::AudioParameterBool holdBypass { juce::ParameterID { ParameterIDs::holdBypass, 1 }, "Hold Bypass", false };
        drawCaption (g, "HOLD - BYPASS OFF / ON", x, top, 3 * knobCell);

        for (const bool bypassed : { false, true })
        {
            holdBypass.setValueNotifyingHost (bypassed ? 1.0f : 0.0f);
            drawKnob (g, filmStripLook, holdKnob, holdProportion, x, top + captionHeight,
                      bypassed ? "dimmed" : "normal",
                      [&holdBypass] (CustomSlider& knob) { knob.bypassParameter = &holdBypass; });
            x += knobCell;
        }
    }

    // The threshold fader across its zones, bare and with thumb wear.
    void drawFaders (juce::Graphics& g, int top)
    {
        const double levels[] { 0.0, -20.0, -35.0, -45.0, -50.0, -60.0 };

        int x = margin;
        for (const bool wear : { false, true })
        {
            drawCaption (g, wear ? "THRESHOLD - WEAR" : "THRESHOLD FADER - NO WEAR", x, top, 6 * faderCell);
            filmStripLook.showDirtEffect = wear;

            for (const auto level : levels)
            {
                juce::Slider fader;
                styleFader (fader, filmStripLook, level);
                const int faderX = x + (faderCell - faderWidth) / 2;
                paintAt (g, fader, { faderX, top + captionHeight });
                drawItemCaption (g, juce::String ((int) level) + " dB",
                                 { x, top + captionHeight + faderHeight + 2, faderCell, itemCaptionHeight });
                fader.setLookAndFeel (nullptr);
                x += faderCell;
            }

            x += 12;
        }

        filmStripLook.showDirtEffect = true;
    }

    void drawScrewWidgets (juce::Graphics& g, int top)
    {
        constexpr int left = 640;
        constexpr int cell = 84;

        drawCaption (g, "SCREW SLIDERS", left, top, 4 * cell);
        int x = left;
        for (const auto value : { 0.0, 50.0, 100.0 })
        {
            ScrewSlider screw;
            screw.setSize (screwSliderWidth, screwSliderHeight);
            screw.setValue (value, juce::dontSendNotification);
            paintAt (g, screw, { x, top + captionHeight + 4 });
            drawItemCaption (g, "value " + juce::String ((int) value),
                             { x, top + captionHeight + 26, screwSliderWidth, itemCaptionHeight });
            x += cell;
        }

        drawEditingScrewSlider (g, { left, top + captionHeight + 50 });

        const int buttonsTop = top + 120;
        drawCaption (g, "SCREW BUTTON", left, buttonsTop, 3 * cell);

        struct ButtonState
        {
            const char* caption;
            bool lit, highlighted;
        };
        const ButtonState states[] { { "unlit", false, false }, { "lit", true, false }, { "hovered", false, true } };

        x = left;
        for (const auto& state : states)
        {
            ScrewButton button;
            button.setSize (screwButtonSize, screwButtonSize);
            button.lit = state.lit;
            paintWithin (g, button.getLocalBounds() + juce::Point<int> (x + 15, buttonsTop + captionHeight + 4),
                         [&] { button.paintButton (g, state.highlighted, false); });
            drawItemCaption (g, state.caption,
                             { x, buttonsTop + captionHeight + screwButtonSize + 6, screwSliderWidth, itemCaptionHeight });
            x += cell;
        }
    }

    // Opens the trim's number field as a click on the number does, with the
    // typed text selected and the caret showing.
    void drawEditingScrewSlider (juce::Graphics& g, juce::Point<int> topLeft)
    {
        ScrewSlider screw;
        screw.caption = "HPF";
        screw.setRange (0.0, 300.0, 1.0);
        screw.setValue (120.0, juce::dontSendNotification);
        screw.setBounds (0, 0, screwSliderWidth, screwSliderHeight);
        focusWindow.addAndMakeVisible (screw);

        juce::Image scratch (juce::Image::ARGB, screwSliderWidth, screwSliderHeight, true);
        juce::Graphics scratchGraphics (scratch);
        screw.paintEntireComponent (scratchGraphics, false); // places the number

        // The number's box spans 42 to 70 of the trim's 70-pixel band.
        const juce::Point<float> numberCentre (56.0f, screwSliderHeight / 2.0f);
        screw.mouseDown (clickAt (screw, numberCentre));

        paintAt (g, screw, topLeft);
        drawItemCaption (g, "number field open (HPF 120)",
                         { topLeft.x - 8, topLeft.y + 22, screwSliderWidth + 60, itemCaptionHeight });
        focusWindow.removeChildComponent (&screw);
    }

    void drawLabelToggles (juce::Graphics& g, int top)
    {
        struct ToggleState
        {
            const char* caption;
            const char* offText;
            const char* onText;
            juce::uint32 accent;
            int width, height;
            bool lit;
            float level;
            bool highlighted;
        };

        constexpr juce::uint32 boxRed = 0xffe74c3c, airBlue = 0xff3498db, rangeOrange = 0xffff6600;
        const ToggleState regular[] {
            { "unlit", "FORCE", "FORCE EX", boxRed, 62, largeToggleHeight, false, 0.0f, false },
            { "hovered", "FORCE", "FORCE EX", boxRed, 62, largeToggleHeight, false, 0.0f, true },
            { "fading out", "FORCE", "FORCE EX", boxRed, 62, largeToggleHeight, false, 0.5f, false },
            { "half lit", "FORCE", "FORCE EX", boxRed, 62, largeToggleHeight, true, 0.5f, false },
            { "lit", "FORCE", "FORCE EX", boxRed, 62, largeToggleHeight, true, 1.0f, false },
        };
        const ToggleState small[] {
            { "BOX lit", "BOX", "BOX", boxRed, 38, editorToggleHeight, true, 1.0f, false },
            { "AIR lit", "AIR", "AIR", airBlue, 38, editorToggleHeight, true, 1.0f, false },
            { "40 unlit", "40", "80", rangeOrange, 32, editorToggleHeight, false, 0.0f, false },
            { "80 lit", "40", "80", rangeOrange, 32, editorToggleHeight, true, 1.0f, false },
            { "hovered", "DAMPING", "DAMP EX", boxRed, 62, editorToggleHeight, false, 0.0f, true },
            { "half lit", "DAMPING", "DAMP EX", boxRed, 62, editorToggleHeight, true, 0.5f, false },
            { "lit", "DAMPING", "DAMP EX", boxRed, 62, editorToggleHeight, true, 1.0f, false },
        };

        const auto drawRow = [&] (const ToggleState* states, int count, int left, const char* caption)
        {
            drawCaption (g, caption, left, top, 500);
            int x = left + 8;

            for (int i = 0; i < count; ++i)
            {
                const auto& state = states[i];
                LabelToggleButton toggle;
                toggle.setSize (state.width, state.height);
                toggle.offText = state.offText;
                toggle.onText = state.onText;
                toggle.accentColour = juce::Colour (state.accent);
                toggle.lit = state.lit;
                toggle.litLevel = toggle.litTarget = state.level;

                const int rowMiddle = top + captionHeight + 14;
                paintWithin (g, toggle.getLocalBounds() + juce::Point<int> (x, rowMiddle - state.height / 2),
                             [&] { toggle.paintButton (g, state.highlighted, false); });
                drawItemCaption (g, state.caption, { x - 10, rowMiddle + 16, state.width + 20, itemCaptionHeight });
                x += juce::jmax (state.width, 44) + 18;
            }
        };

        drawRow (regular, (int) std::size (regular), margin, "LABEL TOGGLES - 20 PX");
        drawRow (small, (int) std::size (small), 440, "LABEL TOGGLES - 14 PX (AS IN THE EDITOR)");
    }

    void drawIconButtons (juce::Graphics& g, int top)
    {
        struct IconState
        {
            const char* caption;
            bool on, highlighted;
        };
        const IconState states[] { { "normal", false, false }, { "on", true, false }, { "hover", false, true } };

        const auto drawSets = [&] (juce::LookAndFeel& look, std::initializer_list<const char*> texts, int size,
                                   int left, const char* caption)
        {
            drawCaption (g, caption, left, top, 500);
            int x = left + 4;

            for (const auto* text : texts)
            {
                for (const auto& state : states)
                {
                    juce::TextButton button (text);
                    button.setSize (size, size);
                    button.setToggleState (state.on, juce::dontSendNotification);
                    const juce::Point<int> topLeft (x + (36 - size) / 2,
                                                    top + captionHeight + 4 + (circularButtonSize - size) / 2);
                    paintWithin (g, button.getLocalBounds() + topLeft,
                                 [&]
                                 {
                                     look.drawButtonBackground (g, button, {}, state.highlighted, false);
                                     look.drawButtonText (g, button, state.highlighted, false);
                                 });
                    drawItemCaption (g, state.caption, { x, top + captionHeight + 30, 36, itemCaptionHeight });
                    x += 36;
                }

                x += 10;
            }
        };

        drawSets (circularLook, { "N", "T", "D" }, circularButtonSize, margin, "NOTE BUTTONS N / T / D");
        drawSets (toggleLook, { "BYPASS", "AUTO GAIN", "NOTE GRID", "OVERSAMP" }, squareToggleSize, 390,
                  "SQUARE TOGGLES BYPASS / AUTO GAIN / NOTE GRID / OVERSAMP");
    }

    void drawModeButtons (juce::Graphics& g, int top)
    {
        struct ModeButton
        {
            const char* text;
            juce::uint32 colour;
            int width, height;
        };
        const ModeButton buttons[] { { "ASSIST", 0xff2d8659, 112, modeButtonHeight },
                                     { "NORMAL", 0xff3498db, 55, modeButtonHeight },
                                     { "ADVANCED", 0xffe74c3c, 55, modeButtonHeight },
                                     { "AUTO", 0xff323c50, 38, 17 },
                                     { "LOOKAHEAD", 0xff323c50, 75, modeButtonHeight },
                                     { "SYNC", 0xff2196f3, 53, modeButtonHeight },
                                     { "FREE", 0xff4caf50, 53, modeButtonHeight },
                                     { "Save", 0xff3a4a60, 55, modeButtonHeight } };

        struct ModeState
        {
            const char* caption;
            bool highlighted, down;
        };
        const ModeState states[] { { "normal", false, false }, { "highlighted", true, false }, { "down", true, true } };

        drawCaption (g, "MODE BUTTONS", margin, top);
        int y = top + captionHeight + 2;

        for (const auto& state : states)
        {
            drawItemCaption (g, state.caption, { margin, y + 4, 60, itemCaptionHeight });
            int x = margin + 64;

            for (const auto& mode : buttons)
            {
                juce::TextButton button (mode.text);
                button.setSize (mode.width, mode.height);
                const juce::Colour colour (mode.colour);
                paintWithin (g, button.getLocalBounds() + juce::Point<int> (x, y),
                             [&]
                             {
                                 modeLook.drawButtonBackground (g, button, colour, state.highlighted, state.down);
                                 modeLook.drawButtonText (g, button, state.highlighted, state.down);
                             });
                x += mode.width + 8;
            }

            y += 28;
        }
    }

    void drawReadoutsAndTextFields (juce::Graphics& g, int top)
    {
        constexpr int left = 660;
        constexpr juce::uint32 normalOutline = 0xff505050, heldOutline = MetallicLabelLookAndFeel::heldOutlineColour;

        drawCaption (g, "READOUTS", left, top, 150);
        int x = left;
        for (const bool held : { false, true })
        {
            juce::Label readout;
            readout.setLookAndFeel (&labelLook);
            readout.setSize (48, 16);
            readout.setFont (juce::Font (10.0f, juce::Font::bold));
            readout.setJustificationType (juce::Justification::centred);
            readout.setColour (juce::Label::textColourId, juce::Colours::white);
            readout.setColour (juce::Label::outlineColourId, juce::Colour (held ? heldOutline : normalOutline));
            readout.setText (held ? "-3.8" : "-12.4", juce::dontSendNotification);
            paintAt (g, readout, { x, top + captionHeight + 4 });
            drawItemCaption (g, held ? "held" : "normal", { x, top + captionHeight + 24, 48, itemCaptionHeight });
            readout.setLookAndFeel (nullptr);
            x += 60;
        }

        const int fieldLeft = left + 140;
        drawCaption (g, "TEMPO FIELD", fieldLeft, top, 150);
        drawTempoField (g, { fieldLeft, top + captionHeight + 2 }, false);
        drawTempoField (g, { fieldLeft + 60, top + captionHeight + 2 }, true);
    }

    // The tempo entry as the editor sets it up; focus is given through a window.
    void drawTempoField (juce::Graphics& g, juce::Point<int> topLeft, bool focused)
    {
        juce::TextEditor field;
        field.setLookAndFeel (&textEditorLook);
        field.setInputRestrictions (3, "0123456789");
        field.setJustification (juce::Justification::centred);
        field.setFont (juce::Font (12.0f, juce::Font::plain));
        field.setColour (juce::TextEditor::backgroundColourId, juce::Colour (0xff2a2a3a));
        field.setColour (juce::TextEditor::textColourId, juce::Colour (0xffe0f0ff));
        field.setColour (juce::TextEditor::outlineColourId, juce::Colour (0xff505050));
        field.setColour (juce::TextEditor::highlightColourId, juce::Colour (0xff00a8ff));
        field.setIndents (0, -2);
        field.setBounds (0, 0, 40, 20);
        field.setText ("120", false);
        focusWindow.addAndMakeVisible (field);

        if (focused)
        {
            field.grabKeyboardFocus();
            field.setCaretPosition (3);
        }

        paintAt (g, field, topLeft);
        drawItemCaption (g, focused ? "focused" : "not focused", { topLeft.x - 8, topLeft.y + 24, 56, itemCaptionHeight });
        focusWindow.removeChildComponent (&field);
        field.setLookAndFeel (nullptr);
    }

    void drawComboBoxes (juce::Graphics& g, int top)
    {
        const juce::StringArray modes { "Standard", "F=ma Light", "F=ma Medium", "F=ma Heavy" };
        constexpr int tickedItem = 2, highlightedItem = 1;

        drawCaption (g, "COMBO BOX - CLOSED / PRESSED", margin, top, 300);
        int x = margin;
        for (const bool pressed : { false, true })
        {
            juce::ComboBox box;
            box.setLookAndFeel (&comboLook);
            box.setSize (comboBoxWidth, comboBoxHeight);
            for (int i = 0; i < modes.size(); ++i)
                box.addItem (modes[i], i + 1);
            box.setSelectedItemIndex (tickedItem, juce::dontSendNotification);

            // Drawn as ComboBox::paint does, with the arrow button held down or not.
            auto& label = *box.getChildComponent (0);
            const int arrowX = label.getRight();
            paintWithin (g, box.getLocalBounds() + juce::Point<int> (x, top + captionHeight + 4),
                         [&]
                         {
                             comboLook.drawComboBox (g, comboBoxWidth, comboBoxHeight, pressed, arrowX, 0,
                                                     comboBoxWidth - arrowX, comboBoxHeight, box);
                             paintAt (g, label, label.getPosition());
                         });
            box.setLookAndFeel (nullptr);
            x += comboBoxWidth + 12;
        }

        drawPopupMenu (g, modes, tickedItem, highlightedItem, { x + 20, top });
    }

    // The pop-up of the physics-mode box as the box opens it: its width, one
    // row per item as tall as the box, a ticked and a highlighted item.
    void drawPopupMenu (juce::Graphics& g, const juce::StringArray& items, int tickedItem, int highlightedItem,
                        juce::Point<int> topLeft)
    {
        drawCaption (g, "POP-UP MENU - TICKED / HIGHLIGHTED", topLeft.x, topLeft.y, 300);

        const int border = comboLook.getPopupMenuBorderSize();
        const int width = comboBoxWidth;
        const int height = items.size() * comboBoxHeight + 2 * border;

        paintWithin (g, { topLeft.x, topLeft.y + captionHeight + 4, width, height },
                         [&]
                         {
                             comboLook.drawPopupMenuBackground (g, width, height);

                             for (int i = 0; i < items.size(); ++i)
                             {
                                 const juce::Rectangle<int> area (border, border + i * comboBoxHeight, width - 2 * border,
                                                                  comboBoxHeight);
                                 comboLook.drawPopupMenuItem (g, area, false, true, i == highlightedItem, i == tickedItem,
                                                              false, items[i], {}, nullptr, nullptr);
                             }
                         });
    }

    ModernSliderLookAndFeel filmStripLook;
    ModernSliderLookAndFeel vectorLook;
    CircularButtonLookAndFeel circularLook;
    ToggleButtonLookAndFeel toggleLook;
    MetallicModeButtonLookAndFeel modeLook;
    MetallicLabelLookAndFeel labelLook;
    MetallicTextEditorLookAndFeel textEditorLook;
    MetallicComboBoxLookAndFeel comboLook;
    juce::Component focusWindow;
};

bool writePng (const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream stream (file);
    return stream.openedOk() && juce::PNGImageFormat().writeImageToStream (image, stream);
}

juce::File highDensitySibling (const juce::File& file)
{
    return file.getSiblingFile (file.getFileNameWithoutExtension() + "@2x" + file.getFileExtension());
}
} // namespace

int main (int argc, char* argv[])
{
    const juce::ScopedJuceInitialiser_GUI gui;

    const auto output = juce::File::getCurrentWorkingDirectory().getChildFile (argc > 1 ? argv[1] : "widget-gallery.png");
    Gallery gallery;

    for (const auto& [file, scale] : { std::pair { output, 1.0f }, std::pair { highDensitySibling (output), highDensityScale } })
    {
        if (! writePng (gallery.render (scale), file))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            return 1;
        }

        std::cout << "wrote " << file.getFullPathName() << "\n";
    }

    return 0;
}
