#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "PluginProcessor.h"
#include "PresetManager.h"

#include "CircularButtonLookAndFeel.h"
#include "CustomSlider.h"
#include "LabelToggleButton.h"
#include "MetallicComboBoxLookAndFeel.h"
#include "MetallicLabelLookAndFeel.h"
#include "MetallicModeButtonLookAndFeel.h"
#include "MetallicTextEditorLookAndFeel.h"
#include "ModernSliderLookAndFeel.h"
#include "NoteValueSelector.h"
#include "ScrewButton.h"
#include "ScrewSlider.h"
#include "ToggleButtonLookAndFeel.h"

// The plug-in's window: knobs on a metallic panel, screw trims, tempo
// controls, a preset bar and the live display areas. Its components are
// public so that tools and tests can operate them the way a user does.
class TarnwellCompressorAudioProcessorEditor : public juce::AudioProcessorEditor,
                                               public juce::Timer,
                                               public PresetManager::Listener,
                                               public juce::AudioProcessorValueTreeState::Listener
{
public:
    explicit TarnwellCompressorAudioProcessorEditor (TarnwellCompressorAudioProcessor&);
    ~TarnwellCompressorAudioProcessorEditor() override;

    static constexpr int minimumWidth = 900;
    static constexpr int minimumHeight = 720;
    static constexpr int maximumWidth = 1350;
    static constexpr int maximumHeight = 1080;
    static constexpr double aspectRatio = 1.25;

    //==========================================================================
    void resized() override;
    void timerCallback() override;
    void presetLoaded (const juce::String& name) override;
    void presetListChanged() override;

    // May be called on any thread; components are only touched on the
    // message thread (see deliverPendingParameterReactions).
    void parameterChanged (const juce::String& parameterID, float newValue) override;

    // Runs, on the message thread, the reactions that parameter changes made
    // on other threads left behind. A timer calls it; tests may call it directly.
    void deliverPendingParameterReactions();

    // Keeps controls in step with parameters that change behind their backs.
    void updatePhysicsControlsAvailability();
    void updateReleaseModeButton();
    void updateRangeExtremeButton();
    void updateForceExtremeButton();
    void updateDampingExtremeButton();
    void updateForceModeButton();
    void updateBpmSyncModeButton();

    // Hands the note-grid switch, the tempo and the dotted/triplet flags to
    // the three time knobs; never moves a knob by itself.
    void applyNoteGridSettings();

    //==========================================================================
    // Knobs and their captions.
    juce::Slider thresholdSlider;
    juce::Slider ratioKnob;
    CustomSlider attackKnob, holdKnob, releaseKnob, kneeKnob;
    juce::Slider rangeKnob, makeupGainKnob, forceMultiplierKnob, dampingKnob, tiltKnob, safetyKnob,
        inputGainKnob, mixKnob, outputGainKnob;
    juce::Label ratioLabel, attackLabel, holdLabel, releaseLabel, kneeLabel, rangeLabel, makeupGainLabel,
        forceMultiplierLabel, dampingLabel, tiltLabel, safetyLabel, inputGainLabel, mixLabel, outputGainLabel;

    ScrewSlider stabilityScrew, scHPFScrew;

    juce::ComboBox physicsModeComboBox;
    juce::Label physicsModeLabel;

    LabelToggleButton releaseModeButton, rangeExtremeButton, forceExtremeButton, dampingExtremeButton;

    juce::TextButton bypassButton, autoGainButton, noteGridButton, oversamplingButton;
    juce::Label bypassLabel, autoGainLabel, noteGridLabel, oversamplingLabel;

    juce::TextButton bpmSyncModeButton, bpmSyncNormalButton, bpmSyncAdvancedButton;
    ScrewButton bpmSyncScrewButton;
    juce::TextButton autoThresholdButton, intAutoButton, lookaheadButton;

    juce::Label bpmLabel;
    juce::TextEditor bpmTextEditor;
    juce::TextButton bpmModeButton;

    juce::TextButton attackNoteButton, holdNoteButton, releaseNoteButton;
    juce::TextButton attackDottedButton, holdDottedButton, releaseDottedButton;
    juce::TextButton attackTripletButton, holdTripletButton, releaseTripletButton;
    juce::Label tempoAttackTimeLabel, tempoHoldTimeLabel, tempoReleaseTimeLabel;

    juce::Label inputReadoutLabel, thresholdReadoutLabel, outputReadoutLabel;

    // Preset bar.
    juce::Label presetLabel;
    juce::ComboBox presetComboBox;
    juce::TextButton savePresetButton, deletePresetButton, previousPresetButton, nextPresetButton, abButton;
    juce::TextButton abSwapButton;
    juce::Label abStatusLabel;

    //==========================================================================
    // Editor state.
    bool noteGridEnabled = true;
    bool attackDotted = false, attackTriplet = false;
    bool holdDotted = false, holdTriplet = false;
    bool releaseDotted = false, releaseTriplet = false;
    bool bpmSyncModeChoiceOpen = false;
    bool clampWaveformsShown = true;
    bool showCmpCurveShown = true, showOutCurveShown = true, showDirtEffectShown = true;
    bool abModeActive = false;
    // True when the two panel textures and the knob film strip all decoded.
    bool panelImagesLoaded = false;

    // Areas the display and meters draw into, written by resized().
    juce::Rectangle<int> inputMeterArea, outputMeterArea, displayArea, thresholdStripArea;

    //==========================================================================
    // ---- Live display: refresh tick, meters, waveform display, panels ----
    void paint (juce::Graphics&) override;

    // Draws the display into `area` and stores the click areas of its switches.
    void drawWaveform (juce::Graphics&, juce::Rectangle<float> area);
    void drawInputMeter (juce::Graphics&, juce::Rectangle<float> bounds);
    // The gain-reduction meter for `value` dB (drawn by its magnitude).
    void drawMeter (juce::Graphics&, juce::Rectangle<float> bounds, float value);

    // Switches the display between the live histories and a frozen copy.
    void toggleWaveformFreeze();

    // (Re)starts the refresh tick at the period ecoMode asks for (16 or 50 ms).
    void startRefreshTimer();

    // The audio thread's current readings, made safe to show: the input peak
    // in dB (-80 when silent or not finite) and the gain-reduction magnitude
    // in dB (0 when there is no compressor or the value is not finite).
    float currentInputLevelDb() const;
    float currentGainReductionDb() const;

    // The display panel rectangle paint() hands to drawWaveform.
    juce::Rectangle<float> displayPanelArea() const;
    // What the tick repaints: the meters and the display (and the strip
    // below it that unclamped curves may reach).
    juce::Rectangle<int> liveRegion() const;

    static constexpr int historyLength = 1024;

    // Display state, written by the tick and read by the drawing.
    float meterGainReduction = 0.0f;
    float meterInputDb = -80.0f;
    bool meterActive = false;
    float grPeak = 0.0f;
    int grPeakHoldTicks = 0;
    bool inputHoldActive = false;
    float inputHeldDb = -60.0f;
    bool grHoldActive = false;
    float grHeldDb = 0.0f;
    bool outputClipLatched = false;
    std::optional<bool> outputClipShown; // the latch state the output knob's colours show
    int physicsCheckCounter = 0;
    float autoPulsePhase = 0.0f;
    int snapshotIndex = -1;
    std::vector<float> inputHistory = std::vector<float> ((size_t) historyLength, 0.0f);
    std::vector<float> gainReductionHistory;

    bool waveformFrozen = false;
    std::vector<float> frozenInputHistory, frozenGainReductionHistory;
    juce::Image waveformImage;
    juce::Rectangle<float> waveformImageArea;
    // One fully covered column pair of each kind of bar, copied into the graph.
    juce::Image waveformBarStrip;

    // Click areas of the display's switches, in editor coordinates; each
    // drawWaveform call stores them. The wear switch's area never moves.
    juce::Rectangle<int> cmpButtonArea, outButtonArea, clampButtonArea, waveButtonArea, glowButtonArea,
        ecoButtonArea;
    juce::Rectangle<int> dirtButtonArea { 12, 48, 65, 14 };
    // ---- end of live display ----

    //==========================================================================
    // ---- Preset bar, A/B comparison, note value pop-up, surface mouse ----
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;

    // Refills the preset combo box: one section per category, factory
    // presets first within it, and the current name as its text.
    void updatePresetComboBox();
    // Dialogs, all asynchronous: save under a typed name, delete the current
    // preset, and the refusal of a factory preset's name.
    void savePreset();
    void deleteCurrentPreset();
    void showFactoryNameConflictAlert (const juce::String& name);
    void updateAbStatusLabel();

    // Opens the note value pop-up beside `anchor`; closes it instead when
    // `anchor` opened the one showing.
    void showNoteSelector (juce::Component* anchor, std::function<void (float)> onNoteSelected);

    bool abShowingB = false;
    bool thresholdDragActive = false;
    std::unique_ptr<NoteValueSelector> noteValueSelector;
    juce::Component::SafePointer<juce::Component> noteSelectorAnchor;
    // ---- end of preset bar, A/B, note value pop-up, surface mouse ----

private:
    using SliderAttachment = juce::AudioProcessorValueTreeState::SliderAttachment;
    using ButtonAttachment = juce::AudioProcessorValueTreeState::ButtonAttachment;
    using ComboBoxAttachment = juce::AudioProcessorValueTreeState::ComboBoxAttachment;

    // The parameters whose changes the editor reacts to, in registration order.
    static constexpr int numListenedParameters = 7;
    static const std::array<const char*, numListenedParameters> listenedParameterIDs;

    // Reactions to parameter changes made off the message thread: the calling
    // thread only stores the value and raises a flag (no allocation, no lock),
    // and a timer on the message thread runs the reactions.
    class PendingParameterReactions : private juce::Timer
    {
    public:
        explicit PendingParameterReactions (TarnwellCompressorAudioProcessorEditor&);
        ~PendingParameterReactions() override;

        void post (int index, float value) noexcept;
        void cancel (int index) noexcept;
        void deliver();

    private:
        void timerCallback() override { deliver(); }

        TarnwellCompressorAudioProcessorEditor& editor;
        std::array<std::atomic<float>, numListenedParameters> values {};
        std::array<std::atomic<bool>, numListenedParameters> pending {};
    };

    // Construction steps.
    void setupKnob (juce::Slider&, juce::Label&, const juce::String& caption);
    void setupKnobs();
    void setupThresholdSliderAndReadouts();
    void setupPhysicsMode();
    void setupTempoTimeLabels();
    void setupNoteButtons();
    void setupNoteVariantButtons();
    void setupSquareToggle (juce::TextButton&, juce::Label&, const juce::String& text, const juce::String& caption);
    void setupExtremeButtons();
    void setupNoteGridButton();
    void setupTempoSyncButtons();
    void setupAutoButtons();
    void createAttachments();
    void setupScrews();
    void setupOversamplingButton();
    void setupPresetBar();
    void setupTempoField();
    void setupWindow();
    void copyDisplaySwitches();
    void loadImages();
    void resetLookAndFeels();

    // ---- Live display: the refresh tick's steps ----
    void completeSetUpOnFirstTick();
    void handOverPendingPresetName();
    void showOutputClip();
    void showReadouts (float inputDb, float gainReductionDb);
    void advanceMeters (float inputDb, float gainReductionDb);
    void advanceGainReductionPeak (bool mayRise);
    void showTempoTimes();
    void checkPhysicsControlsNow();
    void followAutoGain();
    void showTempoField();
    void refreshTempoModeWhenFlagged();
    void showKneeGlow();
    void pulseAutoThresholdButtons();
    void showLookahead();
    void copyWaveformSnapshot();
    bool parameterIsOn (const char* parameterID, bool strictlyAboveHalf) const;
    float thresholdShown() const;
    void paintPanels (juce::Graphics&);
    void paintLiveDisplays (juce::Graphics&);
    void paintWear (juce::Graphics&);
    bool firstTickDone = false;

    // The panels under the live displays (body, header, titles, logo, display
    // panel with grid and scan lines) as last drawn, and what they showed.
    struct PanelLook
    {
        int width = 0, height = 0;
        bool eco = false, glow = false, textured = false;
        bool operator== (const PanelLook&) const;
    };
    juce::Image panelCache;
    PanelLook panelCacheLook;
    // ---- end of live display ----

    // ---- Preset bar, A/B comparison, note value pop-up, surface mouse ----
    void loadChosenPreset();
    void stepPreset (int step);
    void saveUnderName (const juce::String& name);
    void confirmOverwrite (const juce::String& name);
    void switchAbMode();
    void swapAbSlots();
    void openNoteSelectorFor (juce::Button& noteButton, juce::Slider& knob);
    void closeNoteSelector();
    bool pressOnDisplaySwitch (juce::Point<int> position);
    bool pressNearThresholdLine (juce::Point<int> position) const;
    bool pressOnReadout (const juce::MouseEvent&, juce::Point<int> position);
    void dragThreshold (int mouseY);
    // ---- end of preset bar, A/B, note value pop-up, surface mouse ----

    // Layout steps.
    void layOutHeader();
    void layOutMiddleBand();
    void layOutKnobRow();
    void layOutLowerRow();

    // Control handlers.
    void toggleParameter (const char* parameterID);
    void setParameterNormalised (const char* parameterID, float normalisedValue);
    float normalisedValue (const char* parameterID) const;
    float rawValue (const char* parameterID, float fallback) const;
    void switchNoteGrid();
    void switchNoteVariant (juce::TextButton&, bool& flag, CustomSlider& knob);
    void switchTempoSync();
    void openTempoSyncModeChoice();
    void applyTempoSyncPreset (bool advanced);
    void switchIntelligentAutoThreshold();
    void switchOversampling();
    void switchTempoMode();
    void commitManualTempo (bool giveAwayFocus);
    void toggleKneeGlow();
    void resetKneeFromRing();

    // Helpers of the update functions.
    double tempo() const;
    int lightAnimationPeriodMs() const;
    void showTempoMode();
    void applyExtremeRange (LabelToggleButton&, juce::Slider&, const char* extremeID, const char* valueID,
                            juce::Range<double> narrow, juce::Range<double> wide, double interval);
    void reactToParameter (int index, float newValue);
    void reactToNoteGrid (float newValue);
    void reactToHoldBypass();

    TarnwellCompressorAudioProcessor& audioProcessor;

    //==========================================================================
    // Attachments, each declared after its component so it goes first.
    std::unique_ptr<SliderAttachment> thresholdAttachment, ratioAttachment, attackAttachment, releaseAttachment,
        holdAttachment, kneeAttachment, rangeAttachment, forceMultiplierAttachment, dampingAttachment,
        makeupGainAttachment, tiltAttachment, inputGainAttachment, outputGainAttachment, mixAttachment,
        safetyAttachment, stabilityAttachment, scHPFAttachment;
    std::unique_ptr<ComboBoxAttachment> physicsModeAttachment;
    std::unique_ptr<ButtonAttachment> bypassAttachment, autoGainAttachment;

    juce::Image topPanelImage, bottomPanelImage, knobFilmStripImage, logoImage;
    std::array<juce::Image, 9> circularButtonIcons;
    std::array<juce::Image, 12> toggleButtonIcons;

    // Looks, declared after every component so that they outlive none of them.
    ModernSliderLookAndFeel modernSliderLookAndFeel;
    CircularButtonLookAndFeel circularButtonLookAndFeel;
    ToggleButtonLookAndFeel toggleButtonLookAndFeel;
    MetallicComboBoxLookAndFeel metallicComboBoxLookAndFeel;
    MetallicModeButtonLookAndFeel metallicModeButtonLookAndFeel;
    MetallicTextEditorLookAndFeel metallicTextEditorLookAndFeel;
    MetallicLabelLookAndFeel metallicLabelLookAndFeel;

    PendingParameterReactions pendingReactions { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TarnwellCompressorAudioProcessorEditor)
};
