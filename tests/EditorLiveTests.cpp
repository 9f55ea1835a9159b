// The editor's live side: the refresh tick's ballistics, holds, readouts and
// waveform copy (the tick is called directly), and what the display, meters
// and panels draw (probed in rendered pictures).
#include "EditorTestSupport.h"
#include "ParameterIDs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

namespace
{
namespace ids = ParameterIDs;

constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;

// An open editor whose tick runs only when a test calls it.
struct LiveEditor : test::EditorFixture
{
    LiveEditor()
    {
        editor->stopTimer();
        processor.prepareToPlay (sampleRate, blockSize);
    }

    void tick (int times = 1)
    {
        for (int i = 0; i < times; ++i)
            editor->timerCallback();
    }

    void setGainReduction (float db) { processor.compressors.front()->gainReductionDb = db; }

    // The editor's own drawing, without its child components.
    juce::Image paintBackground()
    {
        juce::Image picture (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
        juce::Graphics g (picture);
        editor->paint (g);
        return picture;
    }

    juce::Image paintMeters()
    {
        juce::Image picture (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
        juce::Graphics g (picture);
        editor->drawInputMeter (g, editor->inputMeterArea.toFloat());
        editor->drawMeter (g, editor->outputMeterArea.toFloat(), editor->meterGainReduction);
        return picture;
    }

    juce::Image paintDisplay()
    {
        juce::Image picture (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
        juce::Graphics g (picture);
        editor->drawWaveform (g, editor->displayPanelArea());
        return picture;
    }
};

bool sameArea (const juce::Image& a, const juce::Image& b, juce::Rectangle<int> area)
{
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;
    return true;
}

//==============================================================================
// Ballistics with the transport stopped.

TEST (StoppedTransport, InputMeterFallsAbout0point915DbPerTickAndSnapsToMinus80BelowMinus75)
{
    LiveEditor f;
    f.processor.hostIsPlaying = false;

    f.editor->meterInputDb = -20.0f;
    f.tick();
    EXPECT_NEAR (f.editor->meterInputDb, -20.0f + 20.0f * std::log10 (0.9f), 1.0e-4f);

    f.editor->meterInputDb = -74.5f;
    f.tick();
    EXPECT_FLOAT_EQ (f.editor->meterInputDb, -80.0f);

    f.editor->meterInputDb = -75.0f; // not above -75: left alone
    f.tick();
    EXPECT_FLOAT_EQ (f.editor->meterInputDb, -75.0f);
}

TEST (StoppedTransport, GainReductionMeterDecaysBy0point88ToExactlyZero)
{
    LiveEditor f;
    f.processor.hostIsPlaying = false;
    f.editor->meterGainReduction = 10.0f;

    int ticks = 0;
    float previous = f.editor->meterGainReduction;
    while (f.editor->meterGainReduction > 0.0f && ticks < 200)
    {
        f.tick();
        ++ticks;
        const float now = f.editor->meterGainReduction;
        if (now > 0.0f)
            EXPECT_NEAR (now, previous * 0.88f, 1.0e-6f);
        else
            EXPECT_LT (previous * 0.88f, 0.001f);
        previous = now;
    }

    EXPECT_EQ (f.editor->meterGainReduction, 0.0f);
    EXPECT_FALSE (f.editor->meterActive);
}

TEST (StoppedTransport, CopiedHistoriesShiftLeftByFivePointsWithZerosAtTheEnd)
{
    for (const bool playing : { false, true })
    {
        SCOPED_TRACE (playing ? "playing" : "stopped");
        LiveEditor f;
        auto& snapshot = f.processor.waveformSnapshots[(size_t) f.processor.frontSnapshot.load()];
        for (size_t i = 0; i < snapshot.input.size(); ++i)
        {
            snapshot.input[i] = (float) (i + 1);
            snapshot.gainReduction[i] = -(float) (i + 1);
        }
        snapshot.ready = true;
        f.processor.hostIsPlaying = playing;

        f.tick();

        const auto& input = f.editor->inputHistory;
        const auto& gainReduction = f.editor->gainReductionHistory;
        ASSERT_EQ (input.size(), 1024u);
        ASSERT_EQ (gainReduction.size(), 1024u);
        const size_t shift = playing ? 0 : 5;
        EXPECT_EQ (input[0], (float) (1 + shift));
        EXPECT_EQ (gainReduction[100], -(float) (101 + shift));
        EXPECT_EQ (input[1023 - shift], 1024.0f);
        for (size_t i = 1024 - shift; i < 1024; ++i)
            EXPECT_EQ (input[i] + gainReduction[i], 0.0f) << i;
    }
}

TEST (WaveformHistory, ANotReadySnapshotGivesZeros)
{
    LiveEditor f;
    f.processor.hostIsPlaying = true;
    f.editor->inputHistory.assign (1024, 0.5f);
    f.tick();
    EXPECT_EQ (std::count (f.editor->inputHistory.begin(), f.editor->inputHistory.end(), 0.0f), 1024);
    EXPECT_EQ (f.editor->gainReductionHistory.size(), 1024u);
}

//==============================================================================
// The gain-reduction peak.

struct PeakHoldCase
{
    float holdMs;
    int holdTicks;
};

class PeakHold : public ::testing::TestWithParam<PeakHoldCase>
{
};

TEST_P (PeakHold, StaysForTruncatedHoldTimesPoint06TicksThenDropsAtOnce)
{
    LiveEditor f;
    f.set (ids::hold, GetParam().holdMs);
    f.processor.hostIsPlaying = true;

    f.setGainReduction (-12.0f);
    f.tick();
    EXPECT_FLOAT_EQ (f.editor->grPeak, 12.0f);
    EXPECT_EQ (f.editor->grPeakHoldTicks, GetParam().holdTicks);

    f.setGainReduction (-3.0f);
    for (int i = 0; i < GetParam().holdTicks; ++i)
    {
        f.tick();
        EXPECT_FLOAT_EQ (f.editor->grPeak, 12.0f) << "tick " << i;
    }

    f.tick();
    EXPECT_EQ (f.editor->grPeak, 0.0f);
}

INSTANTIATE_TEST_SUITE_P (HoldTimes, PeakHold,
                          ::testing::Values (PeakHoldCase { 100.0f, 6 }, PeakHoldCase { 50.0f, 3 },
                                             PeakHoldCase { 0.0f, 0 }));

TEST (PeakHoldBypassed, DecaysBy0point95PerTickWhateverTheTransport)
{
    for (const bool playing : { true, false })
    {
        LiveEditor f;
        f.set (ids::bypass, 1.0f);
        ASSERT_TRUE (f.editor->bypassButton.getToggleState());
        f.processor.hostIsPlaying = playing;
        f.setGainReduction (-20.0f); // never raises the peak while bypassed
        f.editor->grPeak = 10.0f;
        f.editor->grPeakHoldTicks = 4;

        f.tick();
        EXPECT_FLOAT_EQ (f.editor->grPeak, 9.5f);

        f.tick (200);
        EXPECT_EQ (f.editor->grPeak, 0.0f);
        EXPECT_EQ (f.editor->grPeakHoldTicks, 0);
    }
}

//==============================================================================
// Readouts.

struct TempoTimesCase
{
    double bpm;
    bool advanced;
    double attack, hold, release;
    juce::uint32 colour;
};

class TempoTimeReadouts : public ::testing::TestWithParam<TempoTimesCase>
{
};

TEST_P (TempoTimeReadouts, ShowTheBeatFractionsWithTwoDecimals)
{
    const auto& c = GetParam();

    // The same readouts whether the tempo comes from the host or is typed.
    for (const bool free : { false, true })
    {
        LiveEditor f;
        f.set (ids::bpmSyncMode, c.advanced ? 1.0f : 0.0f);
        f.processor.bpmFreeMode = free;
        (free ? f.processor.manualBPM : f.processor.savedBPM) = c.bpm;
        f.tick();

        const std::pair<juce::Label*, double> expected[] = { { &f.editor->tempoAttackTimeLabel, c.attack },
                                                             { &f.editor->tempoHoldTimeLabel, c.hold },
                                                             { &f.editor->tempoReleaseTimeLabel, c.release } };
        for (const auto& [label, ms] : expected)
        {
            const auto text = label->getText();
            EXPECT_TRUE (text.endsWith (" ms")) << text;
            EXPECT_EQ (text.upToFirstOccurrenceOf (" ", false, false).fromFirstOccurrenceOf (".", false, false).length(), 2)
                << text;
            EXPECT_NEAR (text.getDoubleValue(), ms, 0.0051) << text;
            EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colour (c.colour));
        }
    }
}

INSTANTIATE_TEST_SUITE_P (
    Tempi, TempoTimeReadouts,
    ::testing::Values (TempoTimesCase { 120.0, false, 31.25, 125.0, 250.0, 0xff3498db },
                       TempoTimesCase { 100.0, false, 18.75, 150.0, 300.0, 0xff3498db },
                       TempoTimesCase { 120.0, true, 15.625, 62.5, 125.0, 0xffe74c3c },
                       TempoTimesCase { 100.0, true, 18.75, 75.0, 150.0, 0xffe74c3c }));

TEST (Readouts, ShowLevelsWithOneDecimalAndHeldPeaks)
{
    LiveEditor f;
    f.processor.inputMeterLevel = 0.5f;
    f.setGainReduction (-6.26f);
    f.set (ids::threshold, -18.0f);
    f.tick();
    EXPECT_EQ (f.editor->inputReadoutLabel.getText(), "-6.0 dB");
    EXPECT_EQ (f.editor->outputReadoutLabel.getText(), "6.3 dB");
    EXPECT_EQ (f.editor->thresholdReadoutLabel.getText(), "-18.0 dB");

    f.editor->grHoldActive = true;
    f.editor->grHeldDb = 6.26f;
    f.setGainReduction (-2.0f);
    f.tick();
    EXPECT_EQ (f.editor->outputReadoutLabel.getText(), "6.3 dB");
    EXPECT_EQ (f.editor->outputReadoutLabel.findColour (juce::Label::outlineColourId), juce::Colour (0xff707070));
    EXPECT_EQ (f.editor->inputReadoutLabel.findColour (juce::Label::outlineColourId), juce::Colour (0xff505050));
}

// Whatever the audio thread leaves behind, the tick shows the floor value.
struct UnsafeReading
{
    const char* name;
    float value;
};

class UnsafeAudioThreadValues : public ::testing::TestWithParam<UnsafeReading>
{
};

TEST_P (UnsafeAudioThreadValues, NeverReachALabelKnobOrMeterAsNonFinite)
{
    LiveEditor f;
    const float bad = GetParam().value;
    f.set (ids::autoGain, 1.0f);
    f.processor.hostIsPlaying = true;
    f.processor.inputMeterLevel = bad;
    f.setGainReduction (bad);
    f.processor.makeupGainInUseDb = bad;
    f.processor.rangeWarningGlow = bad;
    auto& snapshot = f.processor.waveformSnapshots[(size_t) f.processor.frontSnapshot.load()];
    std::fill (snapshot.input.begin(), snapshot.input.end(), bad);
    std::fill (snapshot.gainReduction.begin(), snapshot.gainReduction.end(), bad);
    snapshot.ready = true;

    f.tick();

    EXPECT_EQ (f.editor->inputReadoutLabel.getText(), "-80.0 dB");
    EXPECT_EQ (f.editor->outputReadoutLabel.getText(), "0.0 dB");
    EXPECT_EQ (f.editor->meterInputDb, -80.0f);
    EXPECT_EQ (f.editor->meterGainReduction, 0.0f);
    EXPECT_EQ (f.editor->makeupGainKnob.getValue(), 0.0);
    EXPECT_EQ (f.editor->kneeKnob.glowLevel, 0.0f);
    for (size_t i = 0; i < 1024; ++i)
        ASSERT_EQ (f.editor->inputHistory[i] + f.editor->gainReductionHistory[i], 0.0f);
}

INSTANTIATE_TEST_SUITE_P (Readings, UnsafeAudioThreadValues,
                          ::testing::Values (UnsafeReading { "NaN", std::numeric_limits<float>::quiet_NaN() },
                                             UnsafeReading { "PlusInfinity", std::numeric_limits<float>::infinity() },
                                             UnsafeReading { "MinusInfinity",
                                                             -std::numeric_limits<float>::infinity() }),
                          [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
// The tick's period and the tempo field.

TEST (RefreshTimer, Runs16MsOr50MsInEcoModeAndSwitchesAtOnce)
{
    test::EditorFixture f;
    EXPECT_EQ (f.editor->getTimerInterval(), 16);

    f.processor.ecoMode = true;
    f.editor->startRefreshTimer();
    EXPECT_EQ (f.editor->getTimerInterval(), 50);

    f.reopenEditor();
    EXPECT_EQ (f.editor->getTimerInterval(), 50);

    f.processor.ecoMode = false;
    f.editor->startRefreshTimer();
    EXPECT_EQ (f.editor->getTimerInterval(), 16);
}

TEST (TempoField, ShowsTheTempoInUseButLeavesTypingAloneWhileFocused)
{
    LiveEditor f;
    f.processor.savedBPM = 128.7;
    f.tick();
    EXPECT_EQ (f.editor->bpmTextEditor.getText(), "128");

    f.processor.bpmFreeMode = true;
    f.processor.manualBPM = 90.0;
    f.tick();
    EXPECT_EQ (f.editor->bpmTextEditor.getText(), "90");

    f.editor->addToDesktop (0);
    f.editor->setVisible (true);
    f.editor->bpmTextEditor.grabKeyboardFocus();
    ASSERT_TRUE (f.editor->bpmTextEditor.hasKeyboardFocus (true));
    f.editor->bpmTextEditor.setText ("14", false);
    f.tick();
    EXPECT_EQ (f.editor->bpmTextEditor.getText(), "14");

    f.editor->bpmTextEditor.giveAwayKeyboardFocus();
    f.processor.manualBPM = 140.0;
    f.tick();
    EXPECT_EQ (f.editor->bpmTextEditor.getText(), "140");
    f.editor->removeFromDesktop();
}

TEST (FirstTick, RegistersForPresetNewsAndHandsOverARestoredPresetName)
{
    LiveEditor f;
    f.processor.pendingPresetName = "My Mix Bus";
    f.tick();
    EXPECT_EQ (f.processor.presetManager->currentPresetName, "My Mix Bus");
    EXPECT_TRUE (f.processor.pendingPresetName.isEmpty());
}

//==============================================================================
// Meters, probed at the coordinates their scales give (input meter bounds
// 8, 80, 39, 380 at 900x720; inner area from y 81.5, 377 high).

struct MeterBandCase
{
    float inputDb;
    juce::uint32 barColour;
};

class InputMeterBands : public ::testing::TestWithParam<MeterBandCase>
{
};

TEST_P (InputMeterBands, TakeTheHigherBandAtTheirBoundary)
{
    LiveEditor f;
    f.set (ids::threshold, -60.0f); // no threshold marker
    f.editor->meterInputDb = GetParam().inputDb;
    const float fraction = (GetParam().inputDb + 40.0f) / 40.0f;
    const int barMiddleY = (int) (81.5f + 377.0f - fraction * 377.0f / 2.0f);
    EXPECT_EQ (f.paintMeters().getPixelAt (27, barMiddleY), juce::Colour (GetParam().barColour));
}

INSTANTIATE_TEST_SUITE_P (Levels, InputMeterBands,
                          ::testing::Values (MeterBandCase { -29.0f, 0xff00a8ff }, MeterBandCase { -28.0f, 0xffffcc00 },
                                             MeterBandCase { -13.0f, 0xffffcc00 },
                                             MeterBandCase { -12.0f, 0xffff6600 }, MeterBandCase { 3.0f, 0xffff6600 }));

TEST (InputMeter, ShowsNoBarAtOrBelowMinus40Db)
{
    LiveEditor f;
    f.set (ids::threshold, -60.0f);
    f.editor->meterInputDb = -80.0f;
    const auto silent = f.paintMeters();

    f.editor->meterInputDb = -40.0f;
    EXPECT_TRUE (sameArea (f.paintMeters(), silent, { 0, 70, 60, 420 }));

    f.editor->meterInputDb = -39.0f;
    EXPECT_FALSE (sameArea (f.paintMeters(), silent, { 0, 70, 60, 420 }));
}

TEST (InputMeter, ThresholdMarkerOnlyFromMinus40DbAndOnTheTopEdgeAt0Db)
{
    LiveEditor f;
    f.editor->meterInputDb = -80.0f;
    f.set (ids::threshold, -60.0f);
    const auto noMarker = f.paintMeters();

    f.set (ids::threshold, -41.0f);
    EXPECT_TRUE (sameArea (f.paintMeters(), noMarker, { 0, 70, 60, 420 }));

    f.set (ids::threshold, 0.0f);
    const auto top = f.paintMeters();
    EXPECT_GT (top.getPixelAt (27, 80).getBrightness(), noMarker.getPixelAt (27, 80).getBrightness());
    EXPECT_TRUE (sameArea (top, noMarker, { 0, 100, 60, 300 }));
}

TEST (GainReductionMeter, FillsCompletelyAt40DbAndDrawsNegativeValuesByMagnitude)
{
    LiveEditor f;
    f.editor->grPeak = 0.0f;
    const auto outputMeter = f.editor->outputMeterArea; // 853, 80, 39, 380

    for (const float value : { 40.0f, 55.0f, -40.0f })
    {
        f.editor->meterGainReduction = value;
        const auto picture = f.paintMeters();
        const int x = outputMeter.getCentreX();
        EXPECT_EQ (picture.getPixelAt (x, 90), juce::Colour (0xffff6600)) << value;
        EXPECT_EQ (picture.getPixelAt (x, 450), juce::Colour (0xffff6600)) << value;
    }

    f.editor->meterGainReduction = 4.0f; // f = 0.1: red, hanging from the top
    const auto light = f.paintMeters();
    EXPECT_EQ (light.getPixelAt (outputMeter.getCentreX(), 100), juce::Colour (0xffdc143c));
    EXPECT_NE (light.getPixelAt (outputMeter.getCentreX(), 300), juce::Colour (0xffdc143c));
}

//==============================================================================
// The display (panel 115, 80, 715, 380 at 900x720).

struct ThresholdLineCase
{
    float thresholdDb;
    int lineRow;
};

class ThresholdLine : public ::testing::TestWithParam<ThresholdLineCase>
{
};

TEST_P (ThresholdLine, SitsTwoPixelsAboveWhereItsScalePutsIt)
{
    LiveEditor f;
    f.set (ids::threshold, GetParam().thresholdDb);
    const auto picture = f.paintDisplay();
    const juce::Colour orange (0xffff8000);

    EXPECT_EQ (picture.getPixelAt (600, GetParam().lineRow), orange);
    EXPECT_EQ (picture.getPixelAt (600, GetParam().lineRow + 1), orange);
    EXPECT_NE (picture.getPixelAt (600, GetParam().lineRow + 4), orange);
    EXPECT_EQ (picture.getPixelAt (110, GetParam().lineRow), orange); // the handle left of the display
}

// y = 80 + 380 - 2 - fraction * 380: the line of thickness 2 covers the rows
// just above and below it.
INSTANTIATE_TEST_SUITE_P (Thresholds, ThresholdLine,
                          ::testing::Values (ThresholdLineCase { -60.0f, 457 }, ThresholdLineCase { 0.0f, 77 }));

TEST (Display, BarsShowTheInputHistoryColouredAgainstTheThreshold)
{
    LiveEditor f;
    f.set (ids::threshold, -20.0f);
    f.editor->inputHistory.assign (1024, 0.5f); // -6 dB: above the threshold
    f.editor->gainReductionHistory.assign (1024, 0.0f);
    const auto loud = f.paintDisplay();
    const auto bar = loud.getPixelAt (600, 400);
    EXPECT_GT (bar.getRed(), 200);
    EXPECT_GT (bar.getGreen(), 200);
    EXPECT_LT (bar.getBlue(), 80);

    f.editor->inputHistory.assign (1024, 0.0f);
    EXPECT_EQ (f.paintDisplay().getPixelAt (600, 400), juce::Colour (0xff1e1e1e));
}

// The bar graph as its rules describe it: one antialiased line per bar.
juce::Image barByBar (const std::vector<float>& input, int w, int h, float threshold)
{
    juce::Image picture (juce::Image::ARGB, w, h, true);
    juce::Graphics g (picture);
    g.fillAll (juce::Colour (0xff1e1e1e));
    g.setColour (juce::Colour (0xff404040));
    g.drawLine (0.0f, (float) h / 2.0f, (float) w, (float) h / 2.0f, 0.5f);

    const int entries = (int) input.size();
    for (int x = 0; x < w && x * entries / w < entries; x += 2)
    {
        const float magnitude = std::abs (input[(size_t) (x * entries / w)]);
        const float db = magnitude > 0.0001f ? 20.0f * std::log10 (magnitude) : -80.0f;
        const float height = juce::jlimit (0.0f, 1.0f, (db + 60.0f) / 60.0f) * (float) h;
        if (db > threshold)
            g.setColour (juce::Colours::yellow.withAlpha ((juce::uint8) 0xe6));
        else
            g.setColour (juce::Colour (db > -40.0f ? 0xccdc143cu : 0x66dc143cu));
        const float thickness = db > threshold ? 2.0f : (db > -40.0f ? 1.5f : 1.0f);
        g.drawLine ((float) x, (float) h - 2.0f, (float) x, (float) h - 2.0f - height, thickness);
    }
    return picture;
}

TEST (Display, BarGraphHasExactlyThePixelsOfDrawingBarByBar)
{
    for (const int width : { 900, 1350 })
    {
        LiveEditor f;
        f.editor->setSize (width, (int) (width / 1.25));
        f.set (ids::threshold, -24.0f);

        // Levels from silence to above full scale, in uneven steps.
        std::vector<float> input (1024);
        for (size_t i = 0; i < input.size(); ++i)
            input[i] = std::pow (10.0f, (-70.0f + 75.0f * (float) ((i * 37) % 1024) / 1024.0f) / 20.0f);
        f.editor->inputHistory = input;
        f.paintDisplay();

        const auto& drawn = f.editor->waveformImage;
        const auto expected = barByBar (input, drawn.getWidth(), drawn.getHeight(), -24.0f);
        EXPECT_TRUE (sameArea (drawn, expected, expected.getBounds())) << width;
    }
}

TEST (Display, FreezingShowsTheCopyTakenAtThatMoment)
{
    LiveEditor f;
    f.editor->inputHistory.assign (1024, 0.5f);
    f.editor->gainReductionHistory.assign (1024, -3.0f);
    f.editor->toggleWaveformFreeze();
    const auto frozen = f.paintDisplay();

    f.editor->inputHistory.assign (1024, 0.0f);
    EXPECT_TRUE (sameArea (f.paintDisplay(), frozen, { 115, 80, 715, 380 }));

    f.editor->toggleWaveformFreeze();
    EXPECT_FALSE (f.editor->waveformFrozen);
    EXPECT_TRUE (f.editor->frozenInputHistory.empty());
    EXPECT_FALSE (sameArea (f.paintDisplay(), frozen, { 115, 80, 715, 380 }));
}

TEST (Display, StoresTheClickAreasOfItsSwitches)
{
    LiveEditor f;
    f.paintDisplay();
    EXPECT_EQ (f.editor->clampButtonArea, juce::Rectangle<int> (185, 90, 60, 20));
    EXPECT_EQ (f.editor->waveButtonArea, juce::Rectangle<int> (255, 90, 50, 20));
    EXPECT_EQ (f.editor->glowButtonArea, juce::Rectangle<int> (315, 90, 50, 20));
    EXPECT_EQ (f.editor->ecoButtonArea, juce::Rectangle<int> (375, 90, 40, 20));
    EXPECT_EQ (f.editor->cmpButtonArea, juce::Rectangle<int> (802, 432, 24, 12));
    EXPECT_EQ (f.editor->outButtonArea, juce::Rectangle<int> (802, 445, 24, 12));
}

//==============================================================================
// Background and panels.

TEST (Background, EcoModeDropsTheScanLines)
{
    // The display covers the panel; the first scan line shows in the row just
    // above it, and only the scan lines change colour with the glow switch.
    const juce::Rectangle<int> rowAboveDisplay (130, 79, 650, 1);

    for (const bool eco : { false, true })
    {
        LiveEditor f;
        f.processor.ecoMode = eco;
        f.processor.glowEnabled = false;
        const auto plain = f.paintBackground();
        f.processor.glowEnabled = true;
        const auto glowing = f.paintBackground();
        EXPECT_EQ (sameArea (plain, glowing, rowAboveDisplay), eco) << (eco ? "eco" : "normal");
    }
}

TEST (Background, WearLooksTheSameOnEveryPaintAndInEveryInstance)
{
    LiveEditor f;
    ASSERT_TRUE (f.editor->showDirtEffectShown);
    const auto first = f.paintBackground();
    EXPECT_TRUE (sameArea (f.paintBackground(), first, first.getBounds()));

    LiveEditor other;
    EXPECT_TRUE (sameArea (other.paintBackground(), first, first.getBounds()));

    other.editor->showDirtEffectShown = false;
    EXPECT_FALSE (sameArea (other.paintBackground(), first, { 0, 470, 900, 250 }));
}

TEST (Background, WithoutTexturesTheBodyIsFlatWithSheenAndTheDisplayStaysOnTop)
{
    LiveEditor f;
    f.editor->showDirtEffectShown = false;
    const auto textured = f.paintBackground();

    f.editor->panelImagesLoaded = false;
    const auto fallback = f.paintBackground();

    // Lower panel, left edge, half way down: flat grey lifted by the sheen.
    const auto body = fallback.getPixelAt (3, 720 - 125);
    EXPECT_EQ (body.getRed(), body.getGreen());
    EXPECT_EQ (body.getGreen(), body.getBlue());
    EXPECT_GT (body.getRed(), 0x1a);
    EXPECT_NE (body, textured.getPixelAt (3, 720 - 125));

    EXPECT_TRUE (sameArea (fallback, textured, { 140, 120, 600, 300 }));
}

//==============================================================================
// End to end: audio on its own thread, the real timer on the message thread.

struct PlayingTransport : juce::AudioPlayHead
{
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm (120.0);
        info.setIsPlaying (true);
        return info;
    }
};

TEST (LiveEditorEndToEnd, APlayingSignalReachesTheWaveformMetersAndReadouts)
{
    test::EditorFixture f;
    PlayingTransport transport;
    f.processor.setPlayHead (&transport);
    f.processor.prepareToPlay (sampleRate, blockSize);
    f.set (ids::threshold, -30.0f);

    const auto silent = f.editor->inputReadoutLabel.getText();
    std::atomic<bool> running { true };

    std::thread audioThread ([&]
    {
        juce::AudioBuffer<float> block (2, blockSize);
        juce::MidiBuffer midi;
        int position = 0;
        const auto blockMs = 1000.0 * blockSize / sampleRate;
        auto next = juce::Time::getMillisecondCounterHiRes();

        while (running)
        {
            test::fillTestSignal (block, sampleRate, position);
            f.processor.processBlock (block, midi);
            position += blockSize;
            next += blockMs;
            // Paced like an audio device, so the display scrolls as it would.
            while (running && juce::Time::getMillisecondCounterHiRes() < next)
                std::this_thread::yield();
        }
    });

    juce::MessageManager::getInstance()->runDispatchLoopUntil (1000);
    running = false;
    audioThread.join();

    juce::Image picture (juce::Image::ARGB, f.editor->getWidth(), f.editor->getHeight(), true);
    {
        juce::Graphics g (picture);
        f.editor->paintEntireComponent (g, false);
    }

    // Waveform bars rise from the display's baseline (panel 115, 80, 715, 380).
    int barColumns = 0;
    for (int x = 170; x < 830; x += 2)
        if (picture.getPixelAt (x, 440).getRed() > 120)
            ++barColumns;
    EXPECT_GT (barColumns, 50);

    // Both meters show a bar: the input meter low down, the gain-reduction meter at its top.
    const auto inputBar = picture.getPixelAt (27, 450);
    EXPECT_GT (std::max ({ inputBar.getRed(), inputBar.getGreen(), inputBar.getBlue() }), 150);
    const auto reductionBar = picture.getPixelAt (f.editor->outputMeterArea.getCentreX(), 85);
    EXPECT_GT (reductionBar.getRed(), 150);

    EXPECT_GT (f.editor->meterInputDb, -40.0f);
    EXPECT_GT (f.editor->meterGainReduction, 0.0f);
    EXPECT_NE (f.editor->inputReadoutLabel.getText(), silent);
    EXPECT_NE (f.editor->outputReadoutLabel.getText(), "0.0 dB");

    f.processor.setPlayHead (nullptr);
}
} // namespace
