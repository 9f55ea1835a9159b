// Presses, drags and releases on the editor's surface and the note value
// pop-up, sent as mouse events through the window's peer, so that JUCE's own
// hit-testing decides which component each press reaches.
#include "EditorTestSupport.h"
#include "ParameterIDs.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
namespace ids = ParameterIDs;
using test::click;
using test::dispatchPendingMessages;
using Editor = TarnwellCompressorAudioProcessorEditor;
using Point = juce::Point<int>;

// The editor in a window of its own, painted once so that the display has
// stored its switches' click areas, and a mouse to use on it.
struct EditorOnScreen : test::EditorFixture
{
    EditorOnScreen()
    {
        editor->addToDesktop (0);
        editor->setVisible (true);
        paint();
    }

    ~EditorOnScreen()
    {
        if (editor == nullptr)
            return;

        // The mouse is shared by all tests: none may leave its button down.
        release (lastPosition);
        editor->removeFromDesktop();
    }

    juce::Image paint()
    {
        juce::Image picture (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
        juce::Graphics g (picture);
        editor->paintEntireComponent (g, true);
        return picture;
    }

    void send (Point position, juce::ModifierKeys buttons)
    {
        // Far enough apart that no two presses make a double click.
        time += 1000;
        lastPosition = position;
        editor->getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position.toFloat(),
                                             buttons, juce::MouseInputSource::defaultPressure,
                                             juce::MouseInputSource::defaultOrientation, time);
    }

    void press (Point p) { send (p, juce::ModifierKeys::leftButtonModifier); }
    void drag (Point p) { send (p, juce::ModifierKeys::leftButtonModifier); }
    void release (Point p) { send (p, {}); }

    void clickAt (Point p)
    {
        press (p);
        release (p);
        dispatchPendingMessages();
    }

    juce::int64 time = juce::Time::currentTimeMillis();
    Point lastPosition;
};

// At 900x720 the display panel is (115, 80, 715, 380) inside the display area (110, 70, 735, 400).
constexpr int displayTop = 70, displayHeight = 400;

Point centreOf (juce::Rectangle<int> r) { return r.getCentre(); }

int thresholdLineY (float thresholdDb)
{
    const float level = juce::jlimit (0.0f, 1.0f, (thresholdDb + 60.0f) / 60.0f);
    return juce::roundToInt (displayTop + displayHeight - 2 - displayHeight * level);
}

// A spot inside the display away from the threshold line and the switches.
const Point quietDisplaySpot { 500, 300 };

//==============================================================================
// The display's switches, at the places the display draws them.

struct SwitchCase
{
    const char* name;
    juce::Rectangle<int> area;
    std::function<bool (EditorOnScreen&)> state;
};

const SwitchCase switchCases[] = {
    { "CMP", { 802, 432, 24, 12 }, [] (EditorOnScreen& f) { return f.processor.showCmpCurve; } },
    { "OUT", { 802, 445, 24, 12 }, [] (EditorOnScreen& f) { return f.processor.showOutCurve; } },
    { "CLAMP", { 185, 90, 60, 20 }, [] (EditorOnScreen& f) { return f.value (ids::clampWaveforms) > 0.5f; } },
    { "WAVE", { 255, 90, 50, 20 }, [] (EditorOnScreen& f) { return f.processor.showWaveformBars; } },
    { "GLOW", { 315, 90, 50, 20 }, [] (EditorOnScreen& f) { return f.processor.glowEnabled; } },
    { "ECO", { 375, 90, 40, 20 }, [] (EditorOnScreen& f) { return f.processor.ecoMode; } },
    { "WEAR", { 12, 48, 65, 14 }, [] (EditorOnScreen& f) { return f.processor.showDirtEffect; } },
};

class DisplaySwitch : public ::testing::TestWithParam<SwitchCase> {};

TEST_P (DisplaySwitch, APressFlipsItAndASecondPressFlipsItBack)
{
    EditorOnScreen f;
    const auto& c = GetParam();
    const bool before = c.state (f);

    f.clickAt (centreOf (c.area));
    EXPECT_NE (c.state (f), before);
    EXPECT_FALSE (f.editor->waveformFrozen);

    f.paint();
    f.clickAt (centreOf (c.area));
    EXPECT_EQ (c.state (f), before);
    EXPECT_FALSE (f.editor->waveformFrozen);
}

INSTANTIATE_TEST_SUITE_P (Table, DisplaySwitch, ::testing::ValuesIn (switchCases),
                          [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST (DisplaySwitch, CmpAndOutAreKeptInTheEditorsCopiesToo)
{
    EditorOnScreen f;
    f.clickAt (centreOf ({ 802, 432, 24, 12 }));
    f.clickAt (centreOf ({ 802, 445, 24, 12 }));
    EXPECT_EQ (f.editor->showCmpCurveShown, f.processor.showCmpCurve);
    EXPECT_EQ (f.editor->showOutCurveShown, f.processor.showOutCurve);
}

TEST (DisplaySwitch, EcoRestartsTheRefreshTimerAt50AndBackAt16Ms)
{
    EditorOnScreen f;
    ASSERT_EQ (f.editor->getTimerInterval(), 16);

    f.clickAt (centreOf ({ 375, 90, 40, 20 }));
    EXPECT_EQ (f.editor->getTimerInterval(), 50);

    f.paint();
    f.clickAt (centreOf ({ 375, 90, 40, 20 }));
    EXPECT_EQ (f.editor->getTimerInterval(), 16);
}

TEST (DisplaySwitch, WearSwitchReachesTheKnobLook)
{
    EditorOnScreen f;
    const bool before = f.editor->showDirtEffectShown;
    f.clickAt (centreOf ({ 12, 48, 65, 14 }));
    EXPECT_NE (f.editor->showDirtEffectShown, before);
    EXPECT_EQ (f.processor.showDirtEffect, f.editor->showDirtEffectShown);
}

//==============================================================================
// Threshold drags.

struct DragCase
{
    const char* name;
    bool fromTheLine; // else from the grab strip left of the display
    int dragToY;
    float expectedDb;
};

class ThresholdDrag : public ::testing::TestWithParam<DragCase> {};

TEST_P (ThresholdDrag, FollowsTheMouseWithinTheRangeUntilRelease)
{
    EditorOnScreen f;
    const auto& c = GetParam();
    f.set (ids::threshold, -30.0f);

    const Point start = c.fromTheLine ? Point { 400, thresholdLineY (-30.0f) + 7 } : Point { 105, 300 };
    f.press (start);
    EXPECT_TRUE (f.editor->thresholdDragActive);
    EXPECT_FALSE (f.editor->waveformFrozen);

    f.drag ({ start.x, c.dragToY });
    EXPECT_NEAR (f.value (ids::threshold), c.expectedDb, 0.051f);

    f.release ({ start.x, c.dragToY });
    EXPECT_FALSE (f.editor->thresholdDragActive);

    // A later drag no longer moves it.
    f.press (quietDisplaySpot);
    f.drag ({ quietDisplaySpot.x, 200 });
    f.release ({ quietDisplaySpot.x, 200 });
    EXPECT_NEAR (f.value (ids::threshold), c.expectedDb, 0.051f);
}

INSTANTIATE_TEST_SUITE_P (Table, ThresholdDrag,
                          ::testing::Values (DragCase { "LineToTop", true, displayTop, 0.0f },
                                             DragCase { "LineBelowDisplay", true, 700, -60.0f },
                                             DragCase { "LineAboveEditor", true, -40, 0.0f },
                                             DragCase { "LineToMiddle", true, displayTop + 100, -15.0f },
                                             DragCase { "StripToTop", false, displayTop, 0.0f },
                                             DragCase { "StripBelowDisplay", false, 700, -60.0f }),
                          [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST (ThresholdDrag, APressNineOrMorePixelsFromTheLineFreezesInstead)
{
    EditorOnScreen f;
    f.set (ids::threshold, -30.0f);
    f.press ({ 400, thresholdLineY (-30.0f) - 9 });
    EXPECT_FALSE (f.editor->thresholdDragActive);
    EXPECT_TRUE (f.editor->waveformFrozen);
    f.release ({ 400, thresholdLineY (-30.0f) - 9 });
}

//==============================================================================
// Freezing.

bool showsPauseBadge (const juce::Image& picture)
{
    // The badge's text sits in (125, 90, 50, 20) at 900x720, drawn in cyan.
    for (int y = 90; y < 110; ++y)
        for (int x = 125; x < 175; ++x)
            if (const auto c = picture.getPixelAt (x, y); c.getGreen() > 120 && c.getBlue() > 120 && c.getRed() < 80)
                return true;
    return false;
}

TEST (WaveformFreeze, APressInTheDisplayAwayFromTheLineFreezesAndUnfreezes)
{
    EditorOnScreen f;
    EXPECT_FALSE (showsPauseBadge (f.paint()));

    f.clickAt (quietDisplaySpot);
    EXPECT_TRUE (f.editor->waveformFrozen);
    EXPECT_TRUE (showsPauseBadge (f.paint()));

    f.clickAt (quietDisplaySpot);
    EXPECT_FALSE (f.editor->waveformFrozen);
    EXPECT_FALSE (showsPauseBadge (f.paint()));
}

TEST (WaveformFreeze, APressOutsideTheDisplayDoesNotFreeze)
{
    EditorOnScreen f;
    f.clickAt ({ 450, 480 }); // the panel below the display
    f.clickAt ({ 5, 300 });   // left of the input meter
    EXPECT_FALSE (f.editor->waveformFrozen);
}

//==============================================================================
// Readout holds and the clip latch.

TEST (ReadoutHold, InputReadoutHoldsTheCurrentLevelAndReleasesOnTheNextPress)
{
    EditorOnScreen f;
    f.processor.inputMeterLevel = 0.5f;

    f.clickAt (centreOf (f.editor->inputReadoutLabel.getBounds()));
    EXPECT_TRUE (f.editor->inputHoldActive);
    EXPECT_NEAR (f.editor->inputHeldDb, 20.0f * std::log10 (0.5f), 1.0e-4f);

    f.clickAt (centreOf (f.editor->inputReadoutLabel.getBounds()));
    EXPECT_FALSE (f.editor->inputHoldActive);

    f.processor.inputMeterLevel = 0.0f;
    f.clickAt (centreOf (f.editor->inputReadoutLabel.getBounds()));
    EXPECT_FLOAT_EQ (f.editor->inputHeldDb, -80.0f);
}

TEST (ReadoutHold, GainReductionReadoutHoldsTheMagnitudeAndZeroWithoutACompressor)
{
    EditorOnScreen f;
    f.clickAt (centreOf (f.editor->outputReadoutLabel.getBounds()));
    EXPECT_TRUE (f.editor->grHoldActive);
    EXPECT_FLOAT_EQ (f.editor->grHeldDb, 0.0f);
    f.clickAt (centreOf (f.editor->outputReadoutLabel.getBounds()));
    EXPECT_FALSE (f.editor->grHoldActive);

    f.processor.prepareToPlay (48000.0, 256);
    f.processor.compressors.front()->gainReductionDb = -6.5f;
    f.clickAt (centreOf (f.editor->outputReadoutLabel.getBounds()));
    EXPECT_FLOAT_EQ (f.editor->grHeldDb, 6.5f);
    f.processor.releaseResources();
}

TEST (ClipLatch, APressOnTheOutputKnobAcknowledgesTheClip)
{
    EditorOnScreen f;
    f.processor.clipIndicator = true;
    f.processor.clipTimeMs = 1234;
    f.editor->outputClipLatched = true;
    const float gain = f.value (ids::outputGain);

    f.clickAt (centreOf (f.editor->outputGainKnob.getBounds()));

    EXPECT_FALSE (f.editor->outputClipLatched);
    EXPECT_FALSE (f.processor.clipIndicator.load());
    EXPECT_EQ (f.processor.clipTimeMs.load(), 0u);
    EXPECT_FLOAT_EQ (f.value (ids::outputGain), gain);
}

//==============================================================================
// The note value pop-up.

juce::StringArray popUpTexts (Editor& e)
{
    juce::StringArray texts;
    for (const auto& button : e.noteValueSelector->noteButtons)
        texts.add (button->getButtonText());
    return texts;
}

juce::Button& noteButtonNamed (Editor& e, const juce::String& name)
{
    for (const auto& button : e.noteValueSelector->noteButtons)
        if (button->getButtonText().upToFirstOccurrenceOf (" - ", false, false) == name)
            return *button;
    throw std::runtime_error ("no note value " + name.toStdString());
}

TEST (NoteValuePopUp, ListsTenValuesAt120BpmBesideTheAttackButton)
{
    EditorOnScreen f;
    f.clickAt (centreOf (f.editor->attackNoteButton.getBounds()));

    ASSERT_NE (f.editor->noteValueSelector, nullptr);
    EXPECT_EQ (f.editor->noteValueSelector->getBounds(), juce::Rectangle<int> (270, 420, 200, 300));
    EXPECT_EQ (f.editor->noteValueSelector->getParentComponent(), f.editor.get());
    EXPECT_EQ (popUpTexts (*f.editor),
               juce::StringArray ({ "1/512 - 3.9 ms", "1/256 - 7.8 ms", "1/128 - 15.6 ms", "1/64 - 31.2 ms",
                                    "1/32 - 62.5 ms", "1/16 - 125.0 ms", "1/8 - 250.0 ms", "1/4 - 500.0 ms",
                                    "1/2 - 1000.0 ms", "1/1 - 2000.0 ms" }));
    EXPECT_EQ (f.editor->noteValueSelector->noteButtons[9]->getBounds(), juce::Rectangle<int> (8, 271, 184, 22));
}

struct TempoCase
{
    bool freeMode;
    double hostBPM, typedBPM;
    const char* quarterText;
};

class NoteValuePopUpTempo : public ::testing::TestWithParam<TempoCase> {};

TEST_P (NoteValuePopUpTempo, UsesTheTempoInUseAndAtLeastOneBpm)
{
    EditorOnScreen f;
    const auto& c = GetParam();
    f.processor.bpmFreeMode = c.freeMode;
    f.processor.savedBPM = c.hostBPM;
    f.processor.manualBPM = c.typedBPM;

    click (f.editor->holdNoteButton);
    ASSERT_NE (f.editor->noteValueSelector, nullptr);
    EXPECT_EQ (popUpTexts (*f.editor)[7], c.quarterText);
}

INSTANTIATE_TEST_SUITE_P (Tempi, NoteValuePopUpTempo,
                          ::testing::Values (TempoCase { false, 90.0, 120.0, "1/4 - 666.7 ms" },
                                             TempoCase { true, 90.0, 150.0, "1/4 - 400.0 ms" },
                                             TempoCase { false, 0.0, 120.0, "1/4 - 60000.0 ms" },
                                             TempoCase { false, -5.0, 120.0, "1/4 - 60000.0 ms" }));

struct ChoiceCase
{
    const char* knob;
    const char* value;
    const char* parameter;
    float expectedMs;
};

class NoteValueChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P (NoteValueChoice, SetsTheKnobWithinItsRangeAndCloses)
{
    EditorOnScreen f;
    const auto& c = GetParam();
    auto& e = *f.editor;
    auto& noteButton = juce::String (c.knob) == "attack" ? e.attackNoteButton
                       : juce::String (c.knob) == "hold" ? e.holdNoteButton
                                                         : e.releaseNoteButton;

    f.clickAt (centreOf (noteButton.getBounds()));
    ASSERT_NE (e.noteValueSelector, nullptr);
    const auto chosen = e.getLocalArea (&noteButtonNamed (e, c.value), noteButtonNamed (e, c.value).getLocalBounds());
    f.clickAt (centreOf (chosen));

    EXPECT_NEAR (f.value (c.parameter), c.expectedMs, 0.01f);
    EXPECT_EQ (e.noteValueSelector, nullptr);
    EXPECT_EQ (e.noteSelectorAnchor.getComponent(), nullptr);
    for (auto* child : e.getChildren())
        EXPECT_EQ (dynamic_cast<NoteValueSelector*> (child), nullptr);
}

INSTANTIATE_TEST_SUITE_P (Table, NoteValueChoice,
                          ::testing::Values (ChoiceCase { "attack", "1/32", ids::attack, 62.5f },
                                             ChoiceCase { "attack", "1/4", ids::attack, 100.0f }, // the knob's maximum
                                             ChoiceCase { "hold", "1/16", ids::hold, 125.0f },
                                             ChoiceCase { "release", "1/2", ids::release, 1000.0f }));

TEST (NoteValuePopUp, SameButtonClosesItAndAnotherButtonMovesIt)
{
    EditorOnScreen f;
    auto& e = *f.editor;

    f.clickAt (centreOf (e.attackNoteButton.getBounds()));
    f.clickAt (centreOf (e.attackNoteButton.getBounds()));
    EXPECT_EQ (e.noteValueSelector, nullptr);

    f.clickAt (centreOf (e.attackNoteButton.getBounds()));
    f.clickAt (centreOf (e.releaseNoteButton.getBounds()));
    ASSERT_NE (e.noteValueSelector, nullptr);
    EXPECT_EQ (e.noteSelectorAnchor.getComponent(), &e.releaseNoteButton);
    EXPECT_EQ (e.noteValueSelector->getBounds(), juce::Rectangle<int> (506, 420, 200, 300));

    int popUps = 0;
    for (auto* child : e.getChildren())
        popUps += dynamic_cast<NoteValueSelector*> (child) != nullptr ? 1 : 0;
    EXPECT_EQ (popUps, 1);
}

TEST (NoteValuePopUp, APressOutsideTheDisplayClosesItButNotOneOnItOrInTheDisplay)
{
    EditorOnScreen f;
    auto& e = *f.editor;
    f.clickAt (centreOf (e.attackNoteButton.getBounds()));

    f.clickAt ({ 280, 440 }); // on the pop-up's header, over the display
    f.clickAt ({ 273, 480 }); // on the pop-up left of its buttons, below the display
    EXPECT_NE (e.noteValueSelector, nullptr);

    f.clickAt (quietDisplaySpot);
    EXPECT_NE (e.noteValueSelector, nullptr);
    EXPECT_TRUE (e.waveformFrozen);

    f.clickAt ({ 600, 480 });
    EXPECT_EQ (e.noteValueSelector, nullptr);
}

TEST (NoteValuePopUp, APressOnTheOutputKnobClosesItWhenNoClipIsLatched)
{
    EditorOnScreen f;
    f.clickAt (centreOf (f.editor->attackNoteButton.getBounds()));
    f.clickAt (centreOf (f.editor->outputGainKnob.getBounds()));
    EXPECT_EQ (f.editor->noteValueSelector, nullptr);
}

TEST (NoteValuePopUp, GoesWithTheEditor)
{
    EditorOnScreen f;
    f.clickAt (centreOf (f.editor->attackNoteButton.getBounds()));
    const juce::Component::SafePointer<juce::Component> popUp (f.editor->noteValueSelector.get());
    f.editor->removeFromDesktop();
    f.closeEditor();
    EXPECT_EQ (popUp, nullptr);
}
} // namespace
