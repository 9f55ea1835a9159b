// Where every component sits. Controls keep their sizes at every window size;
// only positions, the display area and the threshold slider's height follow
// the window.
#include "PluginEditor.h"

namespace
{
constexpr int headerHeight = 70;
constexpr int bottomPanelHeight = 250;
constexpr int middleBandInset = headerHeight + bottomPanelHeight;

constexpr int headerRowY = 5;
constexpr int secondRowY = 35;
constexpr int rowHeight = 20;

constexpr int knobSize = 75;
constexpr int knobRowFromBottom = 220;
constexpr int knobRowLeft = 15;
constexpr int knobRowFixedWidth = 555;
constexpr int knobRowGaps = 8;
constexpr int minimumKnobGap = 8;
constexpr int knobCaptionHeight = 14;

constexpr int lowerRowFromBottom = 110;
constexpr int smallKnobWidth = 60;
constexpr int smallKnobHeight = 70;
constexpr int noteButtonSize = 24;

// Cuts widths off a row from the left, with a gap before each piece.
struct RowCursor
{
    int x, y, height;

    juce::Rectangle<int> next (int gapBefore, int width)
    {
        x += gapBefore;
        juce::Rectangle<int> area (x, y, width, height);
        x += width;
        return area;
    }
};
} // namespace

void TarnwellCompressorAudioProcessorEditor::resized()
{
    layOutHeader();
    layOutMiddleBand();
    layOutKnobRow();
    layOutLowerRow();
}

void TarnwellCompressorAudioProcessorEditor::layOutHeader()
{
    const int w = getWidth();

    presetLabel.setBounds (10, headerRowY, 60, rowHeight);
    presetComboBox.setBounds (70, headerRowY, juce::jmin (165, w - 85), rowHeight);

    RowCursor row { 70, secondRowY, rowHeight };
    previousPresetButton.setBounds (row.next (0, 30));
    nextPresetButton.setBounds (row.next (5, 30));
    savePresetButton.setBounds (row.next (15, 55));
    deletePresetButton.setBounds (row.next (3, 55));
    abButton.setBounds (row.next (8, 35));

    // Before A/B mode is first switched on these keep empty bounds.
    if (abModeActive)
    {
        abSwapButton.setBounds (row.next (5, 40));
        abStatusLabel.setBounds (row.next (5, 50));
    }

    bpmLabel.setBounds (w - 291, secondRowY, 35, rowHeight);
    bpmTextEditor.setBounds (w - 253, secondRowY, 40, rowHeight);
    bpmModeButton.setBounds (w - 209, secondRowY, 53, rowHeight);
    intAutoButton.setBounds (w - 153, secondRowY, 70, rowHeight);
    lookaheadButton.setBounds (w - 80, secondRowY, 75, rowHeight);
}

void TarnwellCompressorAudioProcessorEditor::layOutMiddleBand()
{
    const int w = getWidth();
    const int d = getHeight() - middleBandInset;

    thresholdSlider.setBounds (63, headerHeight, 39, d);

    inputMeterArea = { 8, 80, 39, d - 20 };
    outputMeterArea = { w - 47, 80, 39, d - 20 };
    displayArea = { 110, headerHeight, w - 165, d };
    thresholdStripArea = { 100, headerHeight, 12, d };

    const int readoutY = d + 82;
    inputReadoutLabel.setBounds (3, readoutY, 48, 16);
    thresholdReadoutLabel.setBounds (58, readoutY, 48, 16);
    autoThresholdButton.setBounds (109, readoutY, 38, 17);
    outputReadoutLabel.setBounds (w - 52, readoutY, 48, 16);
}

void TarnwellCompressorAudioProcessorEditor::layOutKnobRow()
{
    const int y1 = getHeight() - knobRowFromBottom;
    const int gap = juce::jmax (minimumKnobGap, (getWidth() - knobRowFixedWidth) / knobRowGaps);

    const std::pair<juce::Slider*, juce::Label*> knobs[] = {
        { &ratioKnob, &ratioLabel },   { &attackKnob, &attackLabel },         { &holdKnob, &holdLabel },
        { &releaseKnob, &releaseLabel }, { &kneeKnob, &kneeLabel },           { &rangeKnob, &rangeLabel },
        { &makeupGainKnob, &makeupGainLabel },
    };

    int x = knobRowLeft + gap;
    for (const auto& [knob, label] : knobs)
    {
        knob->setBounds (x, y1, knobSize, knobSize);
        label->setBounds (x, y1 + knobSize, knobSize, knobCaptionHeight);
        x += knobSize + gap;
    }

    rangeExtremeButton.setBounds (rangeKnob.getX() + 21, y1 + 89, 32, 14);

    struct TimeKnobExtras
    {
        juce::Slider& knob;
        juce::Label& timeLabel;
        juce::Button& note;
        juce::Button& dotted;
        juce::Button& triplet;
    };

    const TimeKnobExtras extras[] = {
        { attackKnob, tempoAttackTimeLabel, attackNoteButton, attackDottedButton, attackTripletButton },
        { holdKnob, tempoHoldTimeLabel, holdNoteButton, holdDottedButton, holdTripletButton },
        { releaseKnob, tempoReleaseTimeLabel, releaseNoteButton, releaseDottedButton, releaseTripletButton },
    };

    for (const auto& e : extras)
    {
        const int k = e.knob.getX();
        e.timeLabel.setBounds (k, y1 + 90, 57, 12);
        e.note.setBounds (k + 65, y1 + 74, noteButtonSize, noteButtonSize);
        e.dotted.setBounds (k + 87, y1 + 60, noteButtonSize, noteButtonSize);
        e.triplet.setBounds (k + 87, y1 + 88, noteButtonSize, noteButtonSize);
    }
}

void TarnwellCompressorAudioProcessorEditor::layOutLowerRow()
{
    const int w = getWidth();
    const int h = getHeight();
    const int y2 = h - lowerRowFromBottom;

    forceMultiplierKnob.setBounds (15, y2, smallKnobWidth, smallKnobHeight);
    dampingKnob.setBounds (93, y2, smallKnobWidth, smallKnobHeight);
    tiltKnob.setBounds (171, y2, smallKnobWidth, smallKnobHeight);
    forceExtremeButton.setBounds (16, y2 + 72, 58, 14);
    dampingExtremeButton.setBounds (92, y2 + 72, 62, 14);
    releaseModeButton.setBounds (104, y2 + 88, 38, 14);
    tiltLabel.setBounds (171, y2 + 73, smallKnobWidth, knobCaptionHeight);
    // The extreme buttons caption these two knobs.
    forceMultiplierLabel.setBounds ({});
    dampingLabel.setBounds ({});

    const std::pair<juce::Button*, juce::Label*> toggles[] = {
        { &bypassButton, &bypassLabel },
        { &autoGainButton, &autoGainLabel },
        { &noteGridButton, &noteGridLabel },
        { &oversamplingButton, &oversamplingLabel },
    };

    int toggleY = y2 + 5;
    for (const auto& [button, label] : toggles)
    {
        button->setBounds (251, toggleY, 18, 18);
        label->setBounds (273, toggleY, 70, 18);
        toggleY += 22;
    }

    physicsModeComboBox.setBounds (346, y2 + 40, 125, 24);
    physicsModeLabel.setBounds (346, y2 + 67, 125, 14);
    bpmSyncModeButton.setBounds (476, y2 + 40, 112, 20);
    bpmSyncNormalButton.setBounds (476, y2 + 40, 55, 20);
    bpmSyncAdvancedButton.setBounds (533, y2 + 40, 55, 20);
    scHPFScrew.setBounds (460, y2 + 73, 70, 18);
    stabilityScrew.setBounds (534, y2 + 73, 70, 18);

    const std::pair<juce::Slider*, juce::Label*> rightKnobs[] = {
        { &safetyKnob, &safetyLabel },
        { &inputGainKnob, &inputGainLabel },
        { &mixKnob, &mixLabel },
        { &outputGainKnob, &outputGainLabel },
    };

    int x = w - 309;
    for (const auto& [knob, label] : rightKnobs)
    {
        knob->setBounds (x, y2, smallKnobWidth, smallKnobHeight);
        label->setBounds (x, y2 + 73, smallKnobWidth, knobCaptionHeight);
        x += 78;
    }

    bpmSyncScrewButton.setBounds (w - 40, h - 48, 40, 40);
}
