// Construction and lifecycle of the editor: every component with its look,
// texts, colours and attachment, the parameter listeners, the window limits
// and the orderly teardown.
#include "PluginEditor.h"

#include "EditorColours.h"
#include "EditorImages.h"
#include "ParameterIDs.h"

namespace
{
namespace ids = ParameterIDs;
using namespace EditorColours;

constexpr float rotaryStartAngle = juce::MathConstants<float>::pi * 1.2f;
constexpr float rotaryEndAngle = juce::MathConstants<float>::pi * 2.8f;

constexpr int knobTextBoxHeight = 16;
constexpr int iconButtonSize = 24;
constexpr float captionFontHeight = 10.0f;
constexpr float toggleCaptionFontHeight = 11.0f;
constexpr float tempoTimeFontHeight = 9.0f;
constexpr float tempoFieldFontHeight = 12.0f;
constexpr int tempoFieldMaxCharacters = 3;

constexpr double scHPFMaximumHz = 300.0;
constexpr float attackAltClickMs = 15.63f;
constexpr float holdAltClickMs = 125.0f;
constexpr float releaseAltClickMs = 250.0f;
constexpr float kneeAltClickDb = 2.0f;

// Text box width and value suffix of a knob, by its caption.
struct KnobTextBox
{
    int width;
    const char* suffix;
};

KnobTextBox textBoxFor (const juce::String& caption)
{
    if (caption == "RATIO")
        return { 60, ":1" };
    if (caption == "ATTACK" || caption == "HOLD" || caption == "RELEASE")
        return { 60, " ms" };
    if (caption == "KNEE" || caption == "INPUT" || caption == "RANGE" || caption == "MAKEUP" || caption == "OUTPUT")
        return { 60, " dB" };
    if (caption == "MIX")
        return { 60, "%" };
    if (caption == "TILT" || caption == "SAFETY")
        return { 48, "%" };
    if (caption == "FORCE" || caption == "DAMPING")
        return { 48, "" };
    return { 0, "" };
}

juce::Font boldFont (float height) { return juce::Font (height, juce::Font::bold); }
juce::Font plainFont (float height) { return juce::Font (height, juce::Font::plain); }
} // namespace

const std::array<const char*, TarnwellCompressorAudioProcessorEditor::numListenedParameters>
    TarnwellCompressorAudioProcessorEditor::listenedParameterIDs { ids::noteGrid,       ids::holdBypass,
                                                                    ids::releaseMode,    ids::rangeExtreme,
                                                                    ids::forceExtreme,   ids::dampingExtreme,
                                                                    ids::bpmSync };

//==============================================================================
TarnwellCompressorAudioProcessorEditor::TarnwellCompressorAudioProcessorEditor (TarnwellCompressorAudioProcessor& p)
    : juce::AudioProcessorEditor (p), audioProcessor (p)
{
    setupKnobs();
    setupThresholdSliderAndReadouts();
    setupPhysicsMode();
    setupTempoTimeLabels();
    setupNoteButtons();
    setupNoteVariantButtons();
    setupSquareToggle (bypassButton, bypassLabel, "BYPASS", "BYPASS");
    setupExtremeButtons();
    setupNoteGridButton();

    bpmSyncScrewButton.onClick = [this] { switchTempoSync(); };
    addAndMakeVisible (bpmSyncScrewButton);

    setupTempoSyncButtons();
    setupSquareToggle (autoGainButton, autoGainLabel, "AUTO GAIN", "AUTO GAIN");
    setupAutoButtons();
    createAttachments();
    setupScrews();
    setupOversamplingButton();
    setupPresetBar();
    setupTempoField();

    for (const auto* id : listenedParameterIDs)
        audioProcessor.parameters.addParameterListener (id, this);

    clampWaveformsShown = rawValue (ids::clampWaveforms, 0.0f) > 0.5f;

    setupWindow();

    updateBpmSyncModeButton();
    updatePhysicsControlsAvailability();
    updateRangeExtremeButton();
    updateForceExtremeButton();
    updateDampingExtremeButton();
    // The screw would otherwise show off until bpmSync next changes.
    updateForceModeButton();

    applyNoteGridSettings();
    copyDisplaySwitches();
    loadImages();
    startRefreshTimer();
}

TarnwellCompressorAudioProcessorEditor::~TarnwellCompressorAudioProcessorEditor()
{
    resetLookAndFeels();

    if (audioProcessor.presetManager != nullptr)
        audioProcessor.presetManager->removeListener (this);

    for (const auto* id : listenedParameterIDs)
        audioProcessor.parameters.removeParameterListener (id, this);

    stopTimer();
}

//==============================================================================
void TarnwellCompressorAudioProcessorEditor::setupKnob (juce::Slider& slider, juce::Label& label,
                                                        const juce::String& caption)
{
    slider.setSliderStyle (juce::Slider::RotaryVerticalDrag);
    slider.setName (caption);

    const auto textBox = textBoxFor (caption);
    if (textBox.width > 0)
    {
        slider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, textBox.width, knobTextBoxHeight);
        slider.setTextValueSuffix (textBox.suffix);
    }
    else
    {
        slider.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    }

    slider.setRotaryParameters (rotaryStartAngle, rotaryEndAngle, true);
    slider.setColour (juce::Slider::rotarySliderFillColourId, juce::Colour (knobFill));
    slider.setColour (juce::Slider::rotarySliderOutlineColourId, juce::Colour (knobOutline));
    slider.setColour (juce::Slider::thumbColourId, juce::Colour (knobThumb));
    slider.setColour (juce::Slider::textBoxTextColourId, juce::Colour (knobTextBoxText));
    slider.setColour (juce::Slider::textBoxBackgroundColourId, juce::Colour (knobTextBoxBackground));
    slider.setLookAndFeel (&modernSliderLookAndFeel);
    addAndMakeVisible (slider);

    label.setText (caption, juce::dontSendNotification);
    label.setJustificationType (juce::Justification::centred);
    label.setFont (boldFont (captionFontHeight));
    label.setColour (juce::Label::textColourId, juce::Colours::lightgrey);
    addAndMakeVisible (label);
}

void TarnwellCompressorAudioProcessorEditor::setupKnobs()
{
    setupKnob (ratioKnob, ratioLabel, "RATIO");

    setupKnob (attackKnob, attackLabel, "ATTACK");
    attackKnob.altClickValue = attackAltClickMs;
    attackKnob.altClickEnabled = true;

    setupKnob (releaseKnob, releaseLabel, "RELEASE");
    releaseKnob.altClickValue = releaseAltClickMs;
    releaseKnob.altClickEnabled = true;

    setupKnob (holdKnob, holdLabel, "HOLD");
    holdKnob.altClickValue = holdAltClickMs;
    holdKnob.altClickEnabled = true;
    holdKnob.bypassParameter = dynamic_cast<juce::AudioParameterBool*> (
        audioProcessor.parameters.getParameter (ids::holdBypass));

    setupKnob (kneeKnob, kneeLabel, "KNEE");
    kneeKnob.altClickValue = kneeAltClickDb;
    kneeKnob.altClickEnabled = true;
    kneeKnob.onCentreDoubleClick = [this] { toggleKneeGlow(); };
    kneeKnob.onRingDoubleClick = [this] { resetKneeFromRing(); };

    setupKnob (rangeKnob, rangeLabel, "RANGE");
    setupKnob (forceMultiplierKnob, forceMultiplierLabel, "FORCE");
    setupKnob (dampingKnob, dampingLabel, "DAMPING");
    setupKnob (makeupGainKnob, makeupGainLabel, "MAKEUP");
    setupKnob (tiltKnob, tiltLabel, "TILT");
    setupKnob (inputGainKnob, inputGainLabel, "INPUT");

    setupKnob (outputGainKnob, outputGainLabel, "OUTPUT");
    outputGainKnob.addMouseListener (this, false);

    setupKnob (mixKnob, mixLabel, "MIX");
    setupKnob (safetyKnob, safetyLabel, "SAFETY");
}

void TarnwellCompressorAudioProcessorEditor::setupThresholdSliderAndReadouts()
{
    thresholdSlider.setSliderStyle (juce::Slider::LinearVertical);
    thresholdSlider.setName ("THRESHOLD");
    thresholdSlider.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    thresholdSlider.setColour (juce::Slider::trackColourId, juce::Colour (knobOutline));
    thresholdSlider.setColour (juce::Slider::thumbColourId, juce::Colour (knobFill));
    thresholdSlider.setLookAndFeel (&modernSliderLookAndFeel);
    addAndMakeVisible (thresholdSlider);

    for (auto* readout : { &inputReadoutLabel, &thresholdReadoutLabel, &outputReadoutLabel })
    {
        readout->setJustificationType (juce::Justification::centred);
        readout->setFont (boldFont (captionFontHeight));
        readout->setLookAndFeel (&metallicLabelLookAndFeel);
    }

    // Clicks on the input and output readouts toggle their holds.
    for (auto* clickableReadout : { &inputReadoutLabel, &outputReadoutLabel })
    {
        clickableReadout->addMouseListener (this, false);
        clickableReadout->setInterceptsMouseClicks (true, true);
    }

    addAndMakeVisible (inputReadoutLabel);
    addAndMakeVisible (thresholdReadoutLabel);
    addAndMakeVisible (outputReadoutLabel);
}

void TarnwellCompressorAudioProcessorEditor::setupPhysicsMode()
{
    physicsModeComboBox.addItemList ({ "Standard", "F=ma Light", "F=ma Medium", "F=ma Heavy" }, 1);
    physicsModeComboBox.setLookAndFeel (&metallicComboBoxLookAndFeel);
    addAndMakeVisible (physicsModeComboBox);

    physicsModeLabel.setText ("Physics Mode", juce::dontSendNotification);
    physicsModeLabel.setFont (boldFont (captionFontHeight));
    physicsModeLabel.setColour (juce::Label::textColourId, juce::Colours::lightgrey);
    physicsModeLabel.setJustificationType (juce::Justification::centred);
    addAndMakeVisible (physicsModeLabel);
}

void TarnwellCompressorAudioProcessorEditor::setupTempoTimeLabels()
{
    for (auto* label : { &tempoAttackTimeLabel, &tempoHoldTimeLabel, &tempoReleaseTimeLabel })
    {
        label->setFont (plainFont (tempoTimeFontHeight));
        label->setColour (juce::Label::textColourId, juce::Colours::white);
        label->setJustificationType (juce::Justification::centred);
        addAndMakeVisible (*label);
    }
}

void TarnwellCompressorAudioProcessorEditor::setupNoteButtons()
{
    for (auto* button : { &attackNoteButton, &holdNoteButton, &releaseNoteButton })
    {
        button->setButtonText ("N");
        button->setSize (iconButtonSize, iconButtonSize);
        button->setLookAndFeel (&circularButtonLookAndFeel);
        addAndMakeVisible (*button);
    }

    attackNoteButton.onClick = [this] { openNoteSelectorFor (attackNoteButton, attackKnob); };
    holdNoteButton.onClick = [this] { openNoteSelectorFor (holdNoteButton, holdKnob); };
    releaseNoteButton.onClick = [this] { openNoteSelectorFor (releaseNoteButton, releaseKnob); };
}

void TarnwellCompressorAudioProcessorEditor::setupNoteVariantButtons()
{
    struct Variant
    {
        juce::TextButton& button;
        const char* text;
        const char* tooltip;
    };

    const Variant variants[] = {
        { attackDottedButton, "D", "ATTACK Dotted notes (x1.5)" },
        { attackTripletButton, "T", "ATTACK Triplet notes (x2/3)" },
        { holdDottedButton, "D", "HOLD Dotted notes (x1.5)" },
        { holdTripletButton, "T", "HOLD Triplet notes (x2/3)" },
        { releaseDottedButton, "D", "RELEASE Dotted notes (x1.5)" },
        { releaseTripletButton, "T", "RELEASE Triplet notes (x2/3)" },
    };

    for (const auto& variant : variants)
    {
        variant.button.setButtonText (variant.text);
        variant.button.setSize (iconButtonSize, iconButtonSize);
        variant.button.setLookAndFeel (&circularButtonLookAndFeel);
        variant.button.setClickingTogglesState (true);
        variant.button.setTooltip (variant.tooltip);
        addAndMakeVisible (variant.button);
    }

    attackDottedButton.onClick = [this] { switchNoteVariant (attackDottedButton, attackDotted, attackKnob); };
    attackTripletButton.onClick = [this] { switchNoteVariant (attackTripletButton, attackTriplet, attackKnob); };
    holdDottedButton.onClick = [this] { switchNoteVariant (holdDottedButton, holdDotted, holdKnob); };
    holdTripletButton.onClick = [this] { switchNoteVariant (holdTripletButton, holdTriplet, holdKnob); };
    releaseDottedButton.onClick = [this] { switchNoteVariant (releaseDottedButton, releaseDotted, releaseKnob); };
    releaseTripletButton.onClick = [this] { switchNoteVariant (releaseTripletButton, releaseTriplet, releaseKnob); };
}

void TarnwellCompressorAudioProcessorEditor::setupSquareToggle (juce::TextButton& button, juce::Label& label,
                                                                const juce::String& text,
                                                                const juce::String& caption)
{
    button.setButtonText (text);
    button.setClickingTogglesState (true);
    button.setLookAndFeel (&toggleButtonLookAndFeel);
    addAndMakeVisible (button);

    label.setText (caption, juce::dontSendNotification);
    label.setFont (plainFont (toggleCaptionFontHeight));
    label.setColour (juce::Label::textColourId, juce::Colours::white);
    addAndMakeVisible (label);
}

void TarnwellCompressorAudioProcessorEditor::setupExtremeButtons()
{
    releaseModeButton.offText = "BOX";
    releaseModeButton.onText = "BOX";
    releaseModeButton.accentColour = juce::Colour (boxAccent);
    releaseModeButton.setLit (true, lightAnimationPeriodMs());
    releaseModeButton.onClick = [this]
    {
        toggleParameter (ids::releaseMode);
        updateReleaseModeButton();
    };
    addAndMakeVisible (releaseModeButton);
    updateReleaseModeButton();

    rangeExtremeButton.offText = "40";
    rangeExtremeButton.onText = "80";
    rangeExtremeButton.accentColour = juce::Colour (rangeExtremeAccent);
    rangeExtremeButton.onClick = [this]
    {
        toggleParameter (ids::rangeExtreme);
        updateRangeExtremeButton();
    };
    addAndMakeVisible (rangeExtremeButton);
    updateRangeExtremeButton();

    forceExtremeButton.offText = "FORCE";
    forceExtremeButton.onText = "FORCE EX";
    forceExtremeButton.accentColour = juce::Colour (extremeAccent);
    forceExtremeButton.onClick = [this]
    {
        toggleParameter (ids::forceExtreme);
        updateForceExtremeButton();
    };
    addAndMakeVisible (forceExtremeButton);
    updateForceExtremeButton();

    dampingExtremeButton.offText = "DAMPING";
    dampingExtremeButton.onText = "DAMP EX";
    dampingExtremeButton.accentColour = juce::Colour (extremeAccent);
    dampingExtremeButton.onClick = [this]
    {
        toggleParameter (ids::dampingExtreme);
        updateDampingExtremeButton();
    };
    addAndMakeVisible (dampingExtremeButton);
    updateDampingExtremeButton();
}

void TarnwellCompressorAudioProcessorEditor::setupNoteGridButton()
{
    noteGridButton.setButtonText ("NOTE GRID");
    noteGridButton.setClickingTogglesState (true);
    noteGridButton.setLookAndFeel (&toggleButtonLookAndFeel);
    noteGridButton.onClick = [this] { switchNoteGrid(); };
    noteGridEnabled = rawValue (ids::noteGrid, 1.0f) > 0.5f;
    noteGridButton.setToggleState (noteGridEnabled, juce::dontSendNotification);
    addAndMakeVisible (noteGridButton);

    noteGridLabel.setText ("NOTE GRID", juce::dontSendNotification);
    noteGridLabel.setFont (plainFont (toggleCaptionFontHeight));
    noteGridLabel.setColour (juce::Label::textColourId, juce::Colours::white);
    addAndMakeVisible (noteGridLabel);
}

void TarnwellCompressorAudioProcessorEditor::setupTempoSyncButtons()
{
    struct ModeButton
    {
        juce::TextButton& button;
        const char* text;
        juce::uint32 colour;
    };

    const ModeButton buttons[] = {
        { bpmSyncModeButton, "ASSIST", assistButton },
        { bpmSyncNormalButton, "NORMAL", normalButtonActive },
        { bpmSyncAdvancedButton, "ADVANCED", advancedButtonActive },
    };

    for (const auto& b : buttons)
    {
        b.button.setButtonText (b.text);
        b.button.setColour (juce::TextButton::buttonColourId, juce::Colour (b.colour));
        b.button.setColour (juce::TextButton::textColourOffId, juce::Colours::white);
        b.button.setLookAndFeel (&metallicModeButtonLookAndFeel);
        addAndMakeVisible (b.button);
    }

    bpmSyncModeButton.onClick = [this] { openTempoSyncModeChoice(); };
    bpmSyncNormalButton.onClick = [this] { applyTempoSyncPreset (false); };
    bpmSyncAdvancedButton.onClick = [this] { applyTempoSyncPreset (true); };

    bpmSyncNormalButton.setVisible (false);
    bpmSyncAdvancedButton.setVisible (false);
}

void TarnwellCompressorAudioProcessorEditor::setupAutoButtons()
{
    struct AutoButton
    {
        juce::TextButton& button;
        const char* text;
    };

    const AutoButton buttons[] = {
        { autoThresholdButton, "AUTO" },
        { intAutoButton, "INT AUTO" },
        { lookaheadButton, "LOOKAHEAD" },
    };

    for (const auto& b : buttons)
    {
        b.button.setButtonText (b.text);
        b.button.setClickingTogglesState (false);
        b.button.setColour (juce::TextButton::buttonColourId, juce::Colour (autoButtonIdle));
        b.button.setColour (juce::TextButton::textColourOffId, juce::Colours::lightgrey);
        b.button.setLookAndFeel (&metallicModeButtonLookAndFeel);
        addAndMakeVisible (b.button);
    }

    autoThresholdButton.onClick = [this] { toggleParameter (ids::autoThreshold); };
    intAutoButton.onClick = [this] { switchIntelligentAutoThreshold(); };
    lookaheadButton.onClick = [this] { toggleParameter (ids::lookahead); };
}

void TarnwellCompressorAudioProcessorEditor::createAttachments()
{
    auto& tree = audioProcessor.parameters;

    const auto attachSlider = [&tree] (const char* id, juce::Slider& slider) -> std::unique_ptr<SliderAttachment>
    {
        if (tree.getParameter (id) == nullptr)
            return nullptr;
        return std::make_unique<SliderAttachment> (tree, id, slider);
    };

    const auto attachButton = [&tree] (const char* id, juce::Button& button) -> std::unique_ptr<ButtonAttachment>
    {
        if (tree.getParameter (id) == nullptr)
            return nullptr;
        return std::make_unique<ButtonAttachment> (tree, id, button);
    };

    thresholdAttachment = attachSlider (ids::threshold, thresholdSlider);
    ratioAttachment = attachSlider (ids::ratio, ratioKnob);
    attackAttachment = attachSlider (ids::attack, attackKnob);
    releaseAttachment = attachSlider (ids::release, releaseKnob);
    holdAttachment = attachSlider (ids::hold, holdKnob);
    kneeAttachment = attachSlider (ids::knee, kneeKnob);
    rangeAttachment = attachSlider (ids::range, rangeKnob);

    if (tree.getParameter (ids::physicsMode) != nullptr)
        physicsModeAttachment = std::make_unique<ComboBoxAttachment> (tree, ids::physicsMode, physicsModeComboBox);

    forceMultiplierAttachment = attachSlider (ids::forceMultiplier, forceMultiplierKnob);
    dampingAttachment = attachSlider (ids::damping, dampingKnob);
    bypassAttachment = attachButton (ids::bypass, bypassButton);
    makeupGainAttachment = attachSlider (ids::makeupGain, makeupGainKnob);
    tiltAttachment = attachSlider (ids::tilt, tiltKnob);
    inputGainAttachment = attachSlider (ids::inputGain, inputGainKnob);
    outputGainAttachment = attachSlider (ids::outputGain, outputGainKnob);
    autoGainAttachment = attachButton (ids::autoGain, autoGainButton);
    mixAttachment = attachSlider (ids::mix, mixKnob);
    safetyAttachment = attachSlider (ids::safety, safetyKnob);
}

void TarnwellCompressorAudioProcessorEditor::setupScrews()
{
    auto& tree = audioProcessor.parameters;

    addAndMakeVisible (stabilityScrew);
    stabilityScrew.caption = "STB";
    stabilityScrew.setTooltip ("Stability: Reduces gain fluctuation at low threshold settings (0-100%)");
    if (tree.getParameter (ids::stability) != nullptr)
        stabilityAttachment = std::make_unique<SliderAttachment> (tree, ids::stability, stabilityScrew);

    addAndMakeVisible (scHPFScrew);
    scHPFScrew.caption = "HPF";
    scHPFScrew.setRange (0.0, scHPFMaximumHz, 1.0);
    scHPFScrew.setDoubleClickReturnValue (true, 0.0, juce::ModifierKeys::altModifier);
    scHPFScrew.setTooltip ("SC HPF: Sidechain High-Pass Filter (0-300Hz, 0=Off)");
    if (tree.getParameter (ids::scHPF) != nullptr)
        scHPFAttachment = std::make_unique<SliderAttachment> (tree, ids::scHPF, scHPFScrew);
}

void TarnwellCompressorAudioProcessorEditor::setupOversamplingButton()
{
    oversamplingButton.setButtonText ("OVERSAMP");
    oversamplingButton.setClickingTogglesState (true);
    oversamplingButton.setLookAndFeel (&toggleButtonLookAndFeel);
    oversamplingButton.onClick = [this] { switchOversampling(); };
    oversamplingButton.setToggleState (normalisedValue (ids::oversampling) > 0.5f, juce::dontSendNotification);
    addAndMakeVisible (oversamplingButton);

    oversamplingLabel.setText ("OVERSAMP 4x", juce::dontSendNotification);
    oversamplingLabel.setFont (plainFont (toggleCaptionFontHeight));
    oversamplingLabel.setColour (juce::Label::textColourId, juce::Colours::white);
    addAndMakeVisible (oversamplingLabel);
}

void TarnwellCompressorAudioProcessorEditor::setupPresetBar()
{
    presetLabel.setText ("PRESET", juce::dontSendNotification);
    presetLabel.setFont (boldFont (captionFontHeight));
    presetLabel.setColour (juce::Label::textColourId, juce::Colours::white);
    addAndMakeVisible (presetLabel);

    presetComboBox.setTextWhenNothingSelected ("Select Preset...");
    presetComboBox.setLookAndFeel (&metallicComboBoxLookAndFeel);
    addAndMakeVisible (presetComboBox);

    const std::pair<juce::TextButton*, const char*> buttons[] = {
        { &previousPresetButton, "<" }, { &nextPresetButton, ">" }, { &savePresetButton, "Save" },
        { &deletePresetButton, "Delete" }, { &abButton, "A/B" },    { &abSwapButton, "A<->B" },
    };

    for (const auto& [button, text] : buttons)
    {
        button->setButtonText (text);
        button->setColour (juce::TextButton::buttonColourId, juce::Colour (presetButton));
        button->setLookAndFeel (&metallicModeButtonLookAndFeel);
        addAndMakeVisible (*button);
    }

    abButton.setClickingTogglesState (true);
    abButton.setTooltip ("Enable A/B comparison mode");
    abSwapButton.setTooltip ("Swap between A and B slots");

    presetComboBox.onChange = [this] { loadChosenPreset(); };
    previousPresetButton.onClick = [this] { stepPreset (-1); };
    nextPresetButton.onClick = [this] { stepPreset (1); };
    savePresetButton.onClick = [this] { savePreset(); };
    deletePresetButton.onClick = [this] { deleteCurrentPreset(); };
    abButton.onClick = [this] { switchAbMode(); };
    abSwapButton.onClick = [this] { swapAbSlots(); };

    abStatusLabel.setFont (boldFont (captionFontHeight));
    abStatusLabel.setJustificationType (juce::Justification::centred);
    abStatusLabel.setColour (juce::Label::textColourId, juce::Colour (abStatusText));
    addAndMakeVisible (abStatusLabel);
}

void TarnwellCompressorAudioProcessorEditor::setupTempoField()
{
    bpmLabel.setText ("BPM:", juce::dontSendNotification);
    bpmLabel.setFont (plainFont (captionFontHeight));
    bpmLabel.setColour (juce::Label::textColourId, juce::Colours::white);
    bpmLabel.setJustificationType (juce::Justification::centredRight);
    addAndMakeVisible (bpmLabel);

    bpmTextEditor.setInputFilter (new juce::TextEditor::LengthAndCharacterRestriction (tempoFieldMaxCharacters,
                                                                                       "0123456789"),
                                  true);
    bpmTextEditor.setJustification (juce::Justification::centred);
    bpmTextEditor.setFont (plainFont (tempoFieldFontHeight));
    bpmTextEditor.setColour (juce::TextEditor::backgroundColourId, juce::Colour (tempoFieldBackground));
    bpmTextEditor.setColour (juce::TextEditor::textColourId, juce::Colour (tempoFieldText));
    bpmTextEditor.setColour (juce::TextEditor::outlineColourId, juce::Colour (tempoFieldOutline));
    bpmTextEditor.setColour (juce::TextEditor::highlightColourId, juce::Colour (tempoFieldHighlight));
    bpmTextEditor.setIndents (0, -2);
    bpmTextEditor.setLookAndFeel (&metallicTextEditorLookAndFeel);
    bpmTextEditor.setText (juce::String ((int) audioProcessor.manualBPM), juce::dontSendNotification);
    bpmTextEditor.onReturnKey = [this] { commitManualTempo (true); };
    bpmTextEditor.onFocusLost = [this] { commitManualTempo (false); };
    addAndMakeVisible (bpmTextEditor);

    bpmModeButton.setColour (juce::TextButton::textColourOffId, juce::Colours::white);
    bpmModeButton.setLookAndFeel (&metallicModeButtonLookAndFeel);
    bpmModeButton.onClick = [this] { switchTempoMode(); };
    addAndMakeVisible (bpmModeButton);

    showTempoMode();
}

void TarnwellCompressorAudioProcessorEditor::setupWindow()
{
    setSize (minimumWidth, minimumHeight);
    setResizable (true, true);
    setResizeLimits (minimumWidth, minimumHeight, maximumWidth, maximumHeight);
    getConstrainer()->setFixedAspectRatio (aspectRatio);
    setWantsKeyboardFocus (false);
}

void TarnwellCompressorAudioProcessorEditor::copyDisplaySwitches()
{
    showCmpCurveShown = audioProcessor.showCmpCurve;
    showOutCurveShown = audioProcessor.showOutCurve;
    showDirtEffectShown = audioProcessor.showDirtEffect;
    modernSliderLookAndFeel.showDirtEffect = showDirtEffectShown;
}

void TarnwellCompressorAudioProcessorEditor::loadImages()
{
    topPanelImage = EditorImages::get (EditorImages::topPanel);
    bottomPanelImage = EditorImages::get (EditorImages::bottomPanel);
    knobFilmStripImage = EditorImages::get (EditorImages::knobFilmStrip);
    logoImage = EditorImages::get (EditorImages::logo);

    for (size_t i = 0; i < circularButtonIcons.size(); ++i)
        circularButtonIcons[i] = EditorImages::get (EditorImages::firstCircularButtonIcon + (int) i);
    for (size_t i = 0; i < toggleButtonIcons.size(); ++i)
        toggleButtonIcons[i] = EditorImages::get (EditorImages::firstToggleButtonIcon + (int) i);

    modernSliderLookAndFeel.knobFilmStrip = knobFilmStripImage;
    modernSliderLookAndFeel.filmStripFrames = EditorImages::knobFilmStripFrames;
    modernSliderLookAndFeel.useFilmStrip = knobFilmStripImage.isValid();

    if (circularButtonIcons[0].isValid())
    {
        const char* keys[] = { "N", "T", "D" };
        for (size_t set = 0; set < 3; ++set)
            circularButtonLookAndFeel.setIconSet (keys[set], circularButtonIcons[set * 3],
                                                  circularButtonIcons[set * 3 + 1],
                                                  circularButtonIcons[set * 3 + 2]);
    }

    if (toggleButtonIcons[0].isValid())
    {
        const char* keys[] = { "BYPASS", "AUTOGAIN", "NOTEGRID", "OVERSAMP" };
        for (size_t set = 0; set < 4; ++set)
            toggleButtonLookAndFeel.setIconSet (keys[set], toggleButtonIcons[set * 3],
                                                toggleButtonIcons[set * 3 + 1], toggleButtonIcons[set * 3 + 2]);
    }

    panelImagesLoaded = topPanelImage.isValid() && bottomPanelImage.isValid() && knobFilmStripImage.isValid();
}

void TarnwellCompressorAudioProcessorEditor::resetLookAndFeels()
{
    for (auto* child : getChildren())
        child->setLookAndFeel (nullptr);
}

