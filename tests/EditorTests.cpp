// The editor built in-process on a processor: its window limits, its layout
// at the two extreme sizes, and what its controls do, driven through JUCE's
// component API as a user's clicks and key presses would.
#include "EditorTestSupport.h"
#include "ParameterIDs.h"

#include <gtest/gtest.h>

namespace
{
namespace ids = ParameterIDs;
using test::click;
using test::EditorFixture;

using Editor = TarnwellCompressorAudioProcessorEditor;

// Components keep their alpha as a byte.
constexpr float alphaStep = 1.0f / 255.0f;

//==============================================================================
// Window size and limits.

TEST (EditorWindow, OpensAt900By720AndResizable)
{
    EditorFixture f;
    EXPECT_EQ (f.editor->getWidth(), 900);
    EXPECT_EQ (f.editor->getHeight(), 720);
    EXPECT_TRUE (f.editor->isResizable());
    EXPECT_EQ (f.processor.getActiveEditor(), f.editor.get());
}

struct ResizeCase
{
    int requestedWidth, requestedHeight, expectedWidth, expectedHeight;
};

class EditorResize : public ::testing::TestWithParam<ResizeCase> {};

TEST_P (EditorResize, HonoursLimitsAndAspectRatio)
{
    EditorFixture f;
    const auto c = GetParam();
    f.editor->setBoundsConstrained ({ 0, 0, c.requestedWidth, c.requestedHeight });
    EXPECT_EQ (f.editor->getWidth(), c.expectedWidth);
    EXPECT_EQ (f.editor->getHeight(), c.expectedHeight);
}

INSTANTIATE_TEST_SUITE_P (Requests, EditorResize,
                          ::testing::Values (ResizeCase { 1350, 1080, 1350, 1080 }, // the largest size
                                             ResizeCase { 1000, 800, 1000, 800 },   // in range, on the ratio
                                             ResizeCase { 2000, 1600, 1350, 1080 }, // too large
                                             ResizeCase { 400, 320, 900, 720 },     // too small
                                             ResizeCase { 1350, 720, 1350, 1080 },  // too wide for its height
                                             ResizeCase { 900, 1080, 1350, 1080 })); // too tall for its width

//==============================================================================
// Layout.

struct BoundsCase
{
    const char* name;
    std::function<juce::Rectangle<int> (Editor&)> bounds;
    juce::Rectangle<int> at900, at1350;
};

juce::Rectangle<int> r (int x, int y, int w, int h) { return { x, y, w, h }; }

template <typename Member>
std::function<juce::Rectangle<int> (Editor&)> componentBounds (Member member)
{
    return [member] (Editor& e) { return (e.*member).getBounds(); };
}

std::function<juce::Rectangle<int> (Editor&)> area (juce::Rectangle<int> Editor::*member)
{
    return [member] (Editor& e) { return e.*member; };
}

const BoundsCase layoutTable[] = {
    { "thresholdSlider", componentBounds (&Editor::thresholdSlider), r (63, 70, 39, 400), r (63, 70, 39, 760) },
    { "displayArea", area (&Editor::displayArea), r (110, 70, 735, 400), r (110, 70, 1185, 760) },
    { "outputMeterArea", area (&Editor::outputMeterArea), r (853, 80, 39, 380), r (1303, 80, 39, 740) },
    { "inputMeterArea", area (&Editor::inputMeterArea), r (8, 80, 39, 380), r (8, 80, 39, 740) },
    { "thresholdStripArea", area (&Editor::thresholdStripArea), r (100, 70, 12, 400), r (100, 70, 12, 760) },
    { "bpmLabel", componentBounds (&Editor::bpmLabel), r (609, 35, 35, 20), r (1059, 35, 35, 20) },
    { "bpmTextEditor", componentBounds (&Editor::bpmTextEditor), r (647, 35, 40, 20), r (1097, 35, 40, 20) },
    { "lookaheadButton", componentBounds (&Editor::lookaheadButton), r (820, 35, 75, 20), r (1270, 35, 75, 20) },
    { "ratioKnob", componentBounds (&Editor::ratioKnob), r (58, 500, 75, 75), r (114, 860, 75, 75) },
    { "attackKnob", componentBounds (&Editor::attackKnob), r (176, 500, 75, 75), r (288, 860, 75, 75) },
    { "holdKnob", componentBounds (&Editor::holdKnob), r (294, 500, 75, 75), r (462, 860, 75, 75) },
    { "releaseKnob", componentBounds (&Editor::releaseKnob), r (412, 500, 75, 75), r (636, 860, 75, 75) },
    { "kneeKnob", componentBounds (&Editor::kneeKnob), r (530, 500, 75, 75), r (810, 860, 75, 75) },
    { "rangeKnob", componentBounds (&Editor::rangeKnob), r (648, 500, 75, 75), r (984, 860, 75, 75) },
    { "makeupGainKnob", componentBounds (&Editor::makeupGainKnob), r (766, 500, 75, 75), r (1158, 860, 75, 75) },
    { "makeupGainLabel", componentBounds (&Editor::makeupGainLabel), r (766, 575, 75, 14), r (1158, 935, 75, 14) },
    { "attackNoteButton", componentBounds (&Editor::attackNoteButton), r (241, 574, 24, 24), r (353, 934, 24, 24) },
    { "attackDottedButton", componentBounds (&Editor::attackDottedButton), r (263, 560, 24, 24), r (375, 920, 24, 24) },
    { "releaseTripletButton", componentBounds (&Editor::releaseTripletButton), r (499, 588, 24, 24), r (723, 948, 24, 24) },
    { "tempoHoldTimeLabel", componentBounds (&Editor::tempoHoldTimeLabel), r (294, 590, 57, 12), r (462, 950, 57, 12) },
    { "rangeExtremeButton", componentBounds (&Editor::rangeExtremeButton), r (669, 589, 32, 14), r (1005, 949, 32, 14) },
    { "forceMultiplierKnob", componentBounds (&Editor::forceMultiplierKnob), r (15, 610, 60, 70), r (15, 970, 60, 70) },
    { "forceMultiplierLabel", componentBounds (&Editor::forceMultiplierLabel), r (0, 0, 0, 0), r (0, 0, 0, 0) },
    { "dampingExtremeButton", componentBounds (&Editor::dampingExtremeButton), r (92, 682, 62, 14), r (92, 1042, 62, 14) },
    { "physicsModeComboBox", componentBounds (&Editor::physicsModeComboBox), r (346, 650, 125, 24), r (346, 1010, 125, 24) },
    { "oversamplingButton", componentBounds (&Editor::oversamplingButton), r (251, 681, 18, 18), r (251, 1041, 18, 18) },
    { "oversamplingLabel", componentBounds (&Editor::oversamplingLabel), r (273, 681, 70, 18), r (273, 1041, 70, 18) },
    { "bpmSyncAdvancedButton", componentBounds (&Editor::bpmSyncAdvancedButton), r (533, 650, 55, 20), r (533, 1010, 55, 20) },
    { "stabilityScrew", componentBounds (&Editor::stabilityScrew), r (534, 683, 70, 18), r (534, 1043, 70, 18) },
    { "safetyKnob", componentBounds (&Editor::safetyKnob), r (591, 610, 60, 70), r (1041, 970, 60, 70) },
    { "mixLabel", componentBounds (&Editor::mixLabel), r (747, 683, 60, 14), r (1197, 1043, 60, 14) },
    { "outputGainKnob", componentBounds (&Editor::outputGainKnob), r (825, 610, 60, 70), r (1275, 970, 60, 70) },
    { "releaseModeButton", componentBounds (&Editor::releaseModeButton), r (104, 698, 38, 14), r (104, 1058, 38, 14) },
    { "bpmSyncScrewButton", componentBounds (&Editor::bpmSyncScrewButton), r (860, 672, 40, 40), r (1310, 1032, 40, 40) },
    { "outputReadoutLabel", componentBounds (&Editor::outputReadoutLabel), r (848, 482, 48, 16), r (1298, 842, 48, 16) },
    { "autoThresholdButton", componentBounds (&Editor::autoThresholdButton), r (109, 482, 38, 17), r (109, 842, 38, 17) },
    { "presetComboBox", componentBounds (&Editor::presetComboBox), r (70, 5, 165, 20), r (70, 5, 165, 20) },
    { "abButton", componentBounds (&Editor::abButton), r (271, 35, 35, 20), r (271, 35, 35, 20) },
    { "abSwapButton", componentBounds (&Editor::abSwapButton), r (0, 0, 0, 0), r (0, 0, 0, 0) },
};

class EditorLayout : public ::testing::TestWithParam<BoundsCase> {};

TEST_P (EditorLayout, PlacesEachComponentAtBothExtremeSizes)
{
    EditorFixture f;
    const auto& c = GetParam();
    EXPECT_EQ (c.bounds (*f.editor), c.at900) << "at 900x720";

    f.editor->setSize (1350, 1080);
    EXPECT_EQ (c.bounds (*f.editor), c.at1350) << "at 1350x1080";
}

INSTANTIATE_TEST_SUITE_P (Table, EditorLayout, ::testing::ValuesIn (layoutTable),
                          [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST (EditorLayout, ABExtrasAreLaidOutOnlyInABMode)
{
    EditorFixture f;
    f.editor->abModeActive = true;
    f.editor->resized();
    EXPECT_EQ (f.editor->abSwapButton.getBounds(), r (311, 35, 40, 20));
    EXPECT_EQ (f.editor->abStatusLabel.getBounds(), r (356, 35, 50, 20));
}

//==============================================================================
// Tempo-sync presets.

struct TempoSyncCase
{
    double bpm;
    bool advanced;
    float attack, hold, release;
};

class TempoSyncPreset : public ::testing::TestWithParam<TempoSyncCase> {};

TEST_P (TempoSyncPreset, WritesBeatFractionsAndTheMode)
{
    EditorFixture f;
    const auto c = GetParam();
    f.processor.savedBPM = c.bpm;

    click (f.editor->bpmSyncModeButton);
    click (c.advanced ? f.editor->bpmSyncAdvancedButton : f.editor->bpmSyncNormalButton);

    const float interval = 0.01f; // the time parameters' step
    EXPECT_NEAR (f.value (ids::attack), c.attack, interval);
    EXPECT_NEAR (f.value (ids::hold), c.hold, interval);
    EXPECT_NEAR (f.value (ids::release), c.release, interval);
    EXPECT_EQ (f.value (ids::bpmSyncMode), c.advanced ? 1.0f : 0.0f);
}

INSTANTIATE_TEST_SUITE_P (Tempi, TempoSyncPreset,
                          ::testing::Values (TempoSyncCase { 120.0, false, 31.25f, 125.0f, 250.0f },
                                             TempoSyncCase { 120.0, true, 15.625f, 62.5f, 125.0f },
                                             TempoSyncCase { 60.0, false, 31.25f, 125.0f, 500.0f },
                                             TempoSyncCase { 60.0, true, 15.625f, 125.0f, 250.0f },
                                             TempoSyncCase { 100.0, false, 18.75f, 150.0f, 300.0f },
                                             TempoSyncCase { 100.0, true, 18.75f, 75.0f, 150.0f }));

TEST (TempoSyncPreset, UsesTheTypedTempoInFreeModeAndClearsOffsets)
{
    EditorFixture f;
    f.processor.savedBPM = 60.0;
    f.processor.bpmFreeMode = true;
    f.processor.manualBPM = 120.0;
    f.processor.bpmSyncAttackOffset = 3.0f;

    click (f.editor->bpmSyncModeButton);
    click (f.editor->bpmSyncNormalButton);

    EXPECT_NEAR (f.value (ids::release), 250.0f, 0.01f);
    EXPECT_EQ (f.processor.bpmSyncAttackOffset, 0.0f);
}

TEST (TempoSyncChoice, AssistGivesWayToNormalAndAdvancedUntilTheEditorCloses)
{
    EditorFixture f;
    auto& e = *f.editor;
    EXPECT_TRUE (e.bpmSyncModeButton.isVisible());
    EXPECT_FALSE (e.bpmSyncNormalButton.isVisible());

    click (e.bpmSyncModeButton);
    click (e.bpmSyncAdvancedButton);
    e.updateBpmSyncModeButton();

    EXPECT_FALSE (e.bpmSyncModeButton.isVisible());
    EXPECT_TRUE (e.bpmSyncNormalButton.isVisible());
    EXPECT_TRUE (e.bpmSyncAdvancedButton.isVisible());
    EXPECT_EQ (e.bpmSyncAdvancedButton.findColour (juce::TextButton::buttonColourId), juce::Colour (0xffe74c3c));
    EXPECT_EQ (e.bpmSyncNormalButton.findColour (juce::TextButton::buttonColourId), juce::Colour (0xff4a4a5a));

    f.reopenEditor();
    EXPECT_TRUE (f.editor->bpmSyncModeButton.isVisible());
    EXPECT_EQ (f.editor->bpmSyncModeButton.getButtonText(), "ASSIST");
    EXPECT_FALSE (f.editor->bpmSyncAdvancedButton.isVisible());
}

//==============================================================================
// Automatic threshold buttons.

struct IntAutoCase
{
    float autoThresholdBefore, intAutoBefore, expectedAfter;
};

class IntAutoButton : public ::testing::TestWithParam<IntAutoCase> {};

TEST_P (IntAutoButton, FollowsAutoThresholdAndSwitchesBoth)
{
    EditorFixture f;
    const auto c = GetParam();
    f.set (ids::autoThreshold, c.autoThresholdBefore);
    f.set (ids::intAuto, c.intAutoBefore);

    click (f.editor->intAutoButton);

    EXPECT_EQ (f.value (ids::autoThreshold), c.expectedAfter);
    EXPECT_EQ (f.value (ids::intAuto), c.expectedAfter);
}

INSTANTIATE_TEST_SUITE_P (States, IntAutoButton,
                          ::testing::Values (IntAutoCase { 1.0f, 0.0f, 0.0f }, IntAutoCase { 1.0f, 1.0f, 0.0f },
                                             IntAutoCase { 0.0f, 0.0f, 1.0f }, IntAutoCase { 0.0f, 1.0f, 1.0f }));

TEST (AutoButtons, AutoAndLookaheadToggleTheirParameters)
{
    EditorFixture f;
    click (f.editor->lookaheadButton);
    EXPECT_EQ (f.value (ids::lookahead), 1.0f);
    click (f.editor->lookaheadButton);
    EXPECT_EQ (f.value (ids::lookahead), 0.0f);

    click (f.editor->autoThresholdButton);
    EXPECT_EQ (f.value (ids::autoThreshold), 1.0f);
    EXPECT_FALSE (f.editor->autoThresholdButton.getToggleState());
}

//==============================================================================
// Extreme switches and the ranges of their knobs.

struct ExtremeCase
{
    const char* extremeID;
    const char* valueID;
    juce::Slider& (*knob) (Editor&);
    LabelToggleButton& (*button) (Editor&);
    float aboveNarrow, narrowMaximum, wideMaximum;
};

class ExtremeSwitch : public ::testing::TestWithParam<ExtremeCase> {};

TEST_P (ExtremeSwitch, NarrowsTheKnobAndPullsItsValueDownForGood)
{
    EditorFixture f;
    const auto c = GetParam();
    auto& knob = c.knob (*f.editor);
    auto& button = c.button (*f.editor);

    f.set (c.extremeID, 1.0f);
    f.set (c.valueID, c.aboveNarrow);
    EXPECT_TRUE (button.lit);
    EXPECT_EQ (knob.getMaximum(), c.wideMaximum);
    EXPECT_NEAR (knob.getValue(), c.aboveNarrow, 0.01);

    click (button); // extreme off
    EXPECT_EQ (f.value (c.extremeID), 0.0f);
    EXPECT_FALSE (button.lit);
    EXPECT_EQ (knob.getMaximum(), c.narrowMaximum);
    EXPECT_NEAR (f.value (c.valueID), c.narrowMaximum, 0.01f);
    EXPECT_NEAR (knob.getValue(), c.narrowMaximum, 0.01);

    click (button); // extreme on again: the old value stays gone
    EXPECT_TRUE (button.lit);
    EXPECT_EQ (knob.getMaximum(), c.wideMaximum);
    EXPECT_NEAR (f.value (c.valueID), c.narrowMaximum, 0.01f);
}

INSTANTIATE_TEST_SUITE_P (
    Switches, ExtremeSwitch,
    ::testing::Values (
        ExtremeCase { ids::rangeExtreme, ids::range, [] (Editor& e) -> juce::Slider& { return e.rangeKnob; },
                      [] (Editor& e) -> LabelToggleButton& { return e.rangeExtremeButton; }, 65.0f, 40.0f, 80.0f },
        ExtremeCase { ids::forceExtreme, ids::forceMultiplier,
                      [] (Editor& e) -> juce::Slider& { return e.forceMultiplierKnob; },
                      [] (Editor& e) -> LabelToggleButton& { return e.forceExtremeButton; }, 150.0f, 100.0f, 200.0f },
        ExtremeCase { ids::dampingExtreme, ids::damping, [] (Editor& e) -> juce::Slider& { return e.dampingKnob; },
                      [] (Editor& e) -> LabelToggleButton& { return e.dampingExtremeButton; }, 15000.0f, 10000.0f,
                      20000.0f }));

TEST (ExtremeSwitch, ANarrowValueIsLeftAlone)
{
    EditorFixture f;
    f.set (ids::range, 12.0f);
    click (f.editor->rangeExtremeButton);
    click (f.editor->rangeExtremeButton);
    EXPECT_NEAR (f.value (ids::range), 12.0f, 0.01f);
}

//==============================================================================
// Release mode and physics mode.

TEST (ReleaseModeButton, ShowsBoxOrAirAndStaysLit)
{
    EditorFixture f;
    auto& button = f.editor->releaseModeButton;
    EXPECT_TRUE (button.lit);
    EXPECT_EQ (button.offText, "BOX");

    click (button);
    EXPECT_EQ (f.value (ids::releaseMode), 1.0f);
    EXPECT_EQ (button.onText, "AIR");
    EXPECT_EQ (button.offText, "AIR");
    EXPECT_EQ (button.accentColour, juce::Colour (0xff3498db));
    EXPECT_TRUE (button.lit);

    f.set (ids::releaseMode, 0.0f); // as a host would
    EXPECT_EQ (button.onText, "BOX");
    EXPECT_EQ (button.accentColour, juce::Colour (0xffe74c3c));
}

TEST (PhysicsControls, StandardModeDisablesForceAndDamping)
{
    EditorFixture f;
    f.set (ids::physicsMode, 0.0f);
    f.editor->updatePhysicsControlsAvailability();
    EXPECT_FALSE (f.editor->forceMultiplierKnob.isEnabled());
    EXPECT_NEAR (f.editor->dampingKnob.getAlpha(), 0.4f, alphaStep);

    f.set (ids::physicsMode, 3.0f);
    f.editor->updatePhysicsControlsAvailability();
    EXPECT_TRUE (f.editor->dampingKnob.isEnabled());
    EXPECT_FLOAT_EQ (f.editor->forceMultiplierKnob.getAlpha(), 1.0f);
}

//==============================================================================
// Tempo field and tempo mode.

struct TypedTempoCase
{
    const char* typed;
    const char* shown;
    double stored;
};

class TypedTempo : public ::testing::TestWithParam<TypedTempoCase> {};

TEST_P (TypedTempo, IsClampedStoredAndShown)
{
    EditorFixture f;
    const auto c = GetParam();
    auto& field = f.editor->bpmTextEditor;
    click (f.editor->bpmModeButton); // free mode: the field takes typing

    field.selectAll();
    field.keyPressed (juce::KeyPress (juce::KeyPress::backspaceKey));
    for (const auto* ch = c.typed; *ch != 0; ++ch)
        field.keyPressed (juce::KeyPress (*ch, {}, (juce::juce_wchar) *ch));
    field.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    test::dispatchPendingMessages();

    EXPECT_EQ (f.processor.manualBPM, c.stored);
    EXPECT_EQ (field.getText(), c.shown);
}

INSTANTIATE_TEST_SUITE_P (Entries, TypedTempo,
                          ::testing::Values (TypedTempoCase { "5", "20", 20.0 }, TypedTempoCase { "0", "20", 20.0 },
                                             TypedTempoCase { "", "20", 20.0 },
                                             TypedTempoCase { "140", "140", 140.0 },
                                             TypedTempoCase { "999", "999", 999.0 },
                                             TypedTempoCase { "1234", "123", 123.0 },
                                             TypedTempoCase { "9a9", "99", 99.0 }));

TEST (TempoMode, SwitchesTheFieldBetweenReadOnlyAndEditable)
{
    EditorFixture f;
    auto& e = *f.editor;
    ASSERT_FALSE (f.processor.bpmFreeMode);
    EXPECT_TRUE (e.bpmTextEditor.isReadOnly());
    EXPECT_NEAR (e.bpmTextEditor.getAlpha(), 0.7f, alphaStep);
    EXPECT_EQ (e.bpmModeButton.getButtonText(), "SYNC");

    f.processor.bpmSyncUiDirty = false;
    click (e.bpmModeButton);
    EXPECT_TRUE (f.processor.bpmFreeMode);
    EXPECT_TRUE (f.processor.bpmSyncUiDirty);
    EXPECT_FALSE (e.bpmTextEditor.isReadOnly());
    EXPECT_FLOAT_EQ (e.bpmTextEditor.getAlpha(), 1.0f);
    EXPECT_EQ (e.bpmModeButton.getButtonText(), "FREE");
    EXPECT_EQ (e.bpmModeButton.findColour (juce::TextButton::buttonColourId), juce::Colour (0xff4caf50));

    click (e.bpmModeButton);
    EXPECT_TRUE (e.bpmTextEditor.isReadOnly());
    EXPECT_EQ (e.bpmModeButton.getButtonText(), "SYNC");
    EXPECT_EQ (e.bpmModeButton.findColour (juce::TextButton::buttonColourId), juce::Colour (0xff2196f3));
}

TEST (TempoField, OpensWithTheManualTempoTruncated)
{
    EditorFixture f;
    f.processor.manualBPM = 133.9;
    f.processor.bpmFreeMode = true;
    f.reopenEditor();
    EXPECT_EQ (f.editor->bpmTextEditor.getText(), "133");
    EXPECT_FALSE (f.editor->bpmTextEditor.isReadOnly());
}

//==============================================================================
// Oversampling toggle.

TEST (OversamplingToggle, SwitchesBetweenOffAnd8x)
{
    EditorFixture f;
    auto* choice = dynamic_cast<juce::AudioParameterChoice*> (f.processor.parameters.getParameter (ids::oversampling));
    ASSERT_NE (choice, nullptr);
    EXPECT_FALSE (f.editor->oversamplingButton.getToggleState());

    click (f.editor->oversamplingButton);
    EXPECT_EQ (choice->getCurrentChoiceName(), "8x");
    click (f.editor->oversamplingButton);
    EXPECT_EQ (choice->getCurrentChoiceName(), "Off");
    EXPECT_EQ (f.editor->oversamplingLabel.getText(), "OVERSAMP 4x");
}

struct OversamplingOpenCase
{
    float choiceIndex;
    bool openSwitchedOn;
};

class OversamplingToggleOpening : public ::testing::TestWithParam<OversamplingOpenCase> {};

TEST_P (OversamplingToggleOpening, IsOnOnlyAboveTheMiddleChoice)
{
    EditorFixture f;
    f.set (ids::oversampling, GetParam().choiceIndex);
    f.reopenEditor();
    EXPECT_EQ (f.editor->oversamplingButton.getToggleState(), GetParam().openSwitchedOn);
}

INSTANTIATE_TEST_SUITE_P (Choices, OversamplingToggleOpening,
                          ::testing::Values (OversamplingOpenCase { 0.0f, false }, OversamplingOpenCase { 1.0f, false },
                                             OversamplingOpenCase { 2.0f, true }));

//==============================================================================
// Note grid, dotted and triplet buttons, hold caption.

bool variantButtonsVisible (Editor& e)
{
    for (auto* b : { &e.attackDottedButton, &e.attackTripletButton, &e.holdDottedButton, &e.holdTripletButton,
                     &e.releaseDottedButton, &e.releaseTripletButton })
        if (! b->isVisible())
            return false;
    return true;
}

TEST (NoteGrid, DottedAndTripletButtonsFollowItOnlyAfterItsFirstChange)
{
    EditorFixture f;
    f.set (ids::noteGrid, 0.0f);
    f.reopenEditor();
    auto& e = *f.editor;
    EXPECT_TRUE (variantButtonsVisible (e)); // shown until the grid next changes
    EXPECT_FALSE (e.noteGridButton.getToggleState());
    EXPECT_FALSE (e.attackKnob.snapToNoteGrid);

    click (e.noteGridButton);
    EXPECT_EQ (f.value (ids::noteGrid), 1.0f);
    EXPECT_TRUE (variantButtonsVisible (e));
    EXPECT_TRUE (e.releaseKnob.snapToNoteGrid);
    EXPECT_TRUE (e.holdNoteButton.getToggleState());

    f.set (ids::noteGrid, 0.0f);
    EXPECT_FALSE (e.attackDottedButton.isVisible());
    EXPECT_FALSE (e.noteGridButton.getToggleState());
    EXPECT_FALSE (e.attackNoteButton.getToggleState());
    EXPECT_FALSE (e.holdKnob.snapToNoteGrid);
}

TEST (NoteGrid, DottedButtonSetsTheFlagAndReSnapsItsKnob)
{
    EditorFixture f;
    auto& e = *f.editor;
    f.processor.savedBPM = 120.0;
    f.set (ids::noteGrid, 1.0f);
    f.set (ids::release, 260.0f);

    click (e.releaseDottedButton);
    EXPECT_TRUE (e.releaseDotted);
    EXPECT_TRUE (e.releaseKnob.dottedNotes);
    EXPECT_FALSE (e.attackKnob.dottedNotes);
    // 260 ms is nearest to half a beat (250 ms), which dotted makes 375 ms.
    EXPECT_NEAR (f.value (ids::release), 375.0f, 0.01f);
}

TEST (NoteGrid, KnobsTakeTheTempoInUse)
{
    EditorFixture f;
    f.processor.savedBPM = 90.0;
    f.processor.manualBPM = 140.0;
    f.editor->applyNoteGridSettings();
    EXPECT_EQ (f.editor->holdKnob.gridBpm, 90.0);

    click (f.editor->bpmModeButton);
    f.editor->applyNoteGridSettings();
    EXPECT_EQ (f.editor->holdKnob.gridBpm, 140.0);
}

TEST (HoldLabel, DimsWhileHoldIsBypassed)
{
    EditorFixture f;
    const auto dimmed = juce::Colour (0xff838383);
    f.set (ids::hold, 50.0f);
    f.set (ids::holdBypass, 1.0f);
    EXPECT_EQ (f.editor->holdLabel.findColour (juce::Label::textColourId), dimmed);

    f.set (ids::holdBypass, 0.0f);
    EXPECT_EQ (f.editor->holdLabel.findColour (juce::Label::textColourId), juce::Colours::lightgrey);

    // On the grid, a hold at its minimum counts as off as well.
    f.set (ids::noteGrid, 1.0f);
    f.set (ids::hold, 0.0f);
    f.set (ids::holdBypass, 1.0f);
    f.set (ids::holdBypass, 0.0f);
    EXPECT_EQ (f.editor->holdLabel.findColour (juce::Label::textColourId), dimmed);
}

//==============================================================================
// Tempo-sync screw and knee knob.

TEST (TempoSyncScrew, SwitchesBpmSyncAndLightsWithIt)
{
    EditorFixture f;
    EXPECT_FALSE (f.editor->bpmSyncScrewButton.lit);
    click (f.editor->bpmSyncScrewButton);
    EXPECT_EQ (f.value (ids::bpmSync), 1.0f);
    EXPECT_TRUE (f.editor->bpmSyncScrewButton.lit);

    f.set (ids::bpmSync, 0.0f);
    EXPECT_FALSE (f.editor->bpmSyncScrewButton.lit);

    f.set (ids::bpmSync, 1.0f);
    f.reopenEditor();
    EXPECT_TRUE (f.editor->bpmSyncScrewButton.lit);
}

TEST (KneeKnob, CentreDoubleClickTogglesTheGlowAndRingResetsTheKnee)
{
    EditorFixture f;
    auto& knee = f.editor->kneeKnob;
    const bool glowBefore = f.processor.kneeGlowEnabled;
    knee.onCentreDoubleClick();
    EXPECT_NE (f.processor.kneeGlowEnabled.load(), glowBefore);

    f.set (ids::knee, 7.0f);
    knee.onRingDoubleClick();
    EXPECT_NEAR (f.value (ids::knee), 2.0f, 0.001f);
}

//==============================================================================
// Construction details a user sees.

TEST (EditorConstruction, KnobsShowTheirParameterValueWithSuffix)
{
    EditorFixture f;
    EXPECT_EQ (f.editor->attackKnob.getTextFromValue (f.editor->attackKnob.getValue()), "10.00 ms");
    EXPECT_EQ (f.editor->ratioKnob.getTextFromValue (f.editor->ratioKnob.getValue()), "2.0:1");
    EXPECT_EQ (f.editor->attackKnob.altClickValue, 15.63f);
    EXPECT_NE (f.editor->holdKnob.bypassParameter, nullptr);
    EXPECT_EQ (f.editor->scHPFScrew.getMaximum(), 300.0);
    EXPECT_EQ (f.editor->physicsModeComboBox.getNumItems(), 4);
    EXPECT_EQ (f.editor->physicsModeComboBox.getText(), "F=ma Medium");
    EXPECT_EQ (f.editor->presetComboBox.getTextWhenNothingSelected(), "Select Preset...");
    EXPECT_EQ (f.editor->attackTripletButton.getTooltip(), "ATTACK Triplet notes (x2/3)");
}

TEST (EditorConstruction, ForceAndDampingCaptionsAreNeverVisible)
{
    EditorFixture f;
    EXPECT_FALSE (f.editor->forceMultiplierLabel.isShowing());
    EXPECT_TRUE (f.editor->forceMultiplierLabel.getBounds().isEmpty());
    EXPECT_TRUE (f.editor->dampingLabel.getBounds().isEmpty());
}
} // namespace
