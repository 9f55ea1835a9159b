#include "CustomSlider.h"
#include "WidgetEvents.h"

#include "../../plugin/ParameterIDs.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <optional>

namespace
{
// A 100 x 100 knob over 0...1000 ms: the rotary drag moves the value by
// 1000 / 250 = 4 ms per pixel, so a drag of 65 pixels from 0 lands on 260 ms
// before any snapping. Its cap is centred at (50, 42) with radius 9; the ring
// reaches out to 17.5.
constexpr int knobSize = 100;
constexpr double msPerPixel = 4.0;
const juce::Point<float> knobMiddle { 50.0f, 50.0f };

class SnappingKnob : public ::testing::Test
{
protected:
    SnappingKnob()
    {
        knob.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
        knob.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        knob.setRange (0.0, 1000.0);
        knob.setSize (knobSize, knobSize);
        knob.onValueChange = [this] { ++changes; };
    }

    // Drags right from the middle by the pixels that make `unsnapped` ms.
    void dragTo (double unsnapped, double from = 0.0)
    {
        knob.setValue (from, juce::dontSendNotification);
        window.drag (knobMiddle, knobMiddle.translated ((float) ((unsnapped - from) / msPerPixel), 0.0f));
    }

    CustomSlider knob;
    test::DesktopWindow window { knob };
    int changes = 0;
};

struct SnapCase
{
    const char* name;
    double dragged;
    bool dotted, triplet;
    double expected;
};

class DragSnapping : public SnappingKnob, public ::testing::WithParamInterface<SnapCase>
{
};

// At 120 BPM a beat is 500 ms.
TEST_P (DragSnapping, LandsOnTheNearestNote)
{
    const auto& snap = GetParam();
    knob.snapToNoteGrid = true;
    knob.dottedNotes = snap.dotted;
    knob.tripletNotes = snap.triplet;

    dragTo (snap.dragged);

    EXPECT_NEAR (knob.getValue(), snap.expected, 1e-3);
}

INSTANTIATE_TEST_SUITE_P (
    At120Bpm, DragSnapping,
    ::testing::Values (SnapCase { "HalfBeat", 260.0, false, false, 250.0 },
                       SnapCase { "HalfBeatDotted", 260.0, true, false, 375.0 },
                       SnapCase { "HalfBeatTriplet", 260.0, false, true, 500.0 / 3.0 },
                       SnapCase { "BothFlagsCancel", 260.0, true, true, 250.0 },
                       // nearest is the triplet of one beat (333 ms): the beat itself is taken
                       SnapCase { "TripletOfOneBeatPicksTheBeat", 300.0, false, false, 500.0 },
                       // nearest is the dotted half beat (375 ms): the half beat is taken
                       SnapCase { "DottedHalfBeatPicksTheHalfBeat", 380.0, false, false, 250.0 },
                       SnapCase { "LongestNote", 1000.0, false, false, 1000.0 }),
    [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST_F (SnappingKnob, FollowsTheGridTempo)
{
    knob.snapToNoteGrid = true;
    knob.gridBpm = 60.0; // beat 1000 ms

    dragTo (260.0);

    EXPECT_NEAR (knob.getValue(), 250.0, 1e-3);
}

TEST_F (SnappingKnob, DraggingNearTheMinimumLandsOnIt)
{
    knob.snapToNoteGrid = true;

    dragTo (0.05, 100.0);

    EXPECT_EQ (knob.getValue(), 0.0);
}

TEST_F (SnappingKnob, DragsFreelyWithoutSnappingOrWithoutTempo)
{
    dragTo (260.0);
    EXPECT_NEAR (knob.getValue(), 260.0, 1e-9);

    knob.snapToNoteGrid = true;
    knob.gridBpm = 0.0;
    dragTo (260.0);
    EXPECT_NEAR (knob.getValue(), 260.0, 1e-9);

    knob.gridBpm = -120.0;
    dragTo (380.0);
    EXPECT_NEAR (knob.getValue(), 380.0, 1e-9);
}

struct ReSnapCase
{
    const char* name;
    bool snapping;
    double bpm, value;
    bool dotted;
    double expected;
};

class ReSnapping : public SnappingKnob, public ::testing::WithParamInterface<ReSnapCase>
{
};

TEST_P (ReSnapping, MovesTheValueOntoTheGrid)
{
    const auto& snap = GetParam();
    knob.setValue (snap.value, juce::dontSendNotification);
    knob.snapToNoteGrid = snap.snapping;
    knob.gridBpm = snap.bpm;
    knob.dottedNotes = snap.dotted;

    knob.reSnapToGrid();

    EXPECT_NEAR (knob.getValue(), snap.expected, 1e-4);
    EXPECT_EQ (changes, snap.expected == snap.value ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P (
    Cases, ReSnapping,
    ::testing::Values (ReSnapCase { "ZeroGoesToTheShortestNote", true, 120.0, 0.0, false, 500.0 / 128.0 },
                       ReSnapCase { "DottedSwitchedOn", true, 120.0, 250.0, true, 375.0 },
                       ReSnapCase { "WithoutSnappingNothingMoves", false, 120.0, 260.0, false, 260.0 },
                       ReSnapCase { "WithoutTempoNothingMoves", true, 0.0, 260.0, false, 260.0 }),
    [] (const auto& testCase) { return std::string (testCase.param.name); });

struct AltClickCase
{
    const char* name;
    bool altClickEnabled;
    juce::ModifierKeys modifiers;
    double expected;
};

class AltClick : public SnappingKnob, public ::testing::WithParamInterface<AltClickCase>
{
};

// The knob's own alt-click reset (to 40) shows where the click went on to
// the ordinary slider handling.
TEST_P (AltClick, SetsTheAltClickValueOnlyWhenEnabled)
{
    const auto& alt = GetParam();
    knob.setValue (600.0, juce::dontSendNotification);
    knob.setDoubleClickReturnValue (true, 40.0);
    knob.altClickValue = 125.0f;
    knob.altClickEnabled = alt.altClickEnabled;
    changes = 0;

    window.click (knobMiddle, alt.modifiers);

    EXPECT_EQ (knob.getValue(), alt.expected);
}

INSTANTIATE_TEST_SUITE_P (
    Cases, AltClick,
    ::testing::Values (AltClickCase { "Enabled", true, juce::ModifierKeys::altModifier, 125.0 },
                       AltClickCase { "NotEnabled", false, juce::ModifierKeys::altModifier, 40.0 },
                       AltClickCase { "EnabledButNoAlt", true, {}, 600.0 }),
    [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST_F (SnappingKnob, AltClickStartsNoDrag)
{
    knob.altClickValue = 125.0f;
    knob.altClickEnabled = true;

    window.press (knobMiddle, juce::ModifierKeys::altModifier);
    window.press (knobMiddle.translated (50.0f, 0.0f), juce::ModifierKeys::altModifier);
    window.release (knobMiddle.translated (50.0f, 0.0f));

    EXPECT_EQ (knob.getValue(), 125.0);
    EXPECT_EQ (changes, 1);
}

struct DoubleClickCase
{
    const char* name;
    bool centreCallback, ringCallback, bypass;
    juce::Point<float> position;
    int expectedCentreCalls, expectedRingCalls;
    double expectedValue;
    bool expectedBypass;
};

class DoubleClick : public SnappingKnob, public ::testing::WithParamInterface<DoubleClickCase>
{
};

TEST_P (DoubleClick, GoesToTheRightPlace)
{
    const auto& click = GetParam();
    juce::AudioParameterBool holdBypass { juce::ParameterID { ParameterIDs::holdBypass, 1 }, "Hold Bypass", false };
    int centreCalls = 0, ringCalls = 0;

    if (click.centreCallback)
        knob.onCentreDoubleClick = [&] { ++centreCalls; };
    if (click.ringCallback)
        knob.onRingDoubleClick = [&] { ++ringCalls; };
    if (click.bypass)
        knob.bypassParameter = &holdBypass;

    knob.setDoubleClickReturnValue (true, 0.0);
    knob.setValue (500.0, juce::dontSendNotification);
    window.doubleClick (click.position);

    EXPECT_EQ (centreCalls, click.expectedCentreCalls);
    EXPECT_EQ (ringCalls, click.expectedRingCalls);
    EXPECT_EQ (knob.getValue(), click.expectedValue);
    EXPECT_EQ (holdBypass.get(), click.expectedBypass);
}

INSTANTIATE_TEST_SUITE_P (
    Places, DoubleClick,
    ::testing::Values (
        DoubleClickCase { "CapCallsCentre", true, true, false, { 50.0f, 42.0f }, 1, 0, 500.0, false },
        DoubleClickCase { "CapEdge", true, true, false, { 59.0f, 42.0f }, 1, 0, 500.0, false },
        DoubleClickCase { "RingCallsRing", true, true, false, { 63.0f, 42.0f }, 0, 1, 500.0, false },
        // 10 px below the cap's centre, which sits 8 px above the middle
        DoubleClickCase { "BelowTheMiddleIsRing", true, true, false, { 50.0f, 52.0f }, 0, 1, 500.0, false },
        DoubleClickCase { "RingWithoutItsCallbackResets", true, false, false, { 63.0f, 42.0f }, 0, 0, 0.0, false },
        DoubleClickCase { "BeyondTheRingResets", true, true, false, { 50.0f, 62.0f }, 0, 0, 0.0, false },
        DoubleClickCase { "NoCallbacksResets", false, false, false, { 50.0f, 42.0f }, 0, 0, 0.0, false },
        DoubleClickCase { "BypassOnCap", true, true, true, { 50.0f, 42.0f }, 0, 0, 500.0, true },
        DoubleClickCase { "BypassBeyondTheRing", false, false, true, { 90.0f, 90.0f }, 0, 0, 500.0, true }),
    [] (const auto& testCase) { return std::string (testCase.param.name); });

TEST_F (SnappingKnob, DoubleClickTogglesTheBypassBackAndForth)
{
    juce::AudioParameterBool holdBypass { juce::ParameterID { ParameterIDs::holdBypass, 1 }, "Hold Bypass", false };
    knob.bypassParameter = &holdBypass;

    window.doubleClick (knobMiddle);
    EXPECT_TRUE (holdBypass.get());
    window.doubleClick (knobMiddle);
    EXPECT_FALSE (holdBypass.get());
}
} // namespace
