#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_dsp/juce_dsp.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "BlockDelay.h"
#include "PhysicsCompressor.h"
#include "PresetManager.h"

class TarnwellCompressorAudioProcessor : public juce::AudioProcessor,
                                         public juce::AudioProcessorValueTreeState::Listener,
                                         private juce::Timer
{
public:
    TarnwellCompressorAudioProcessor();
    ~TarnwellCompressorAudioProcessor() override;

    static juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    //==========================================================================
    void prepareToPlay (double newSampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using juce::AudioProcessor::processBlock;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    const juce::String getName() const override { return JucePlugin_Name; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool isMidiEffect() const override { return false; }
    double getTailLengthSeconds() const override { return 0.0; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    juce::AudioProcessorParameter* getBypassParameter() const override;

    // Copies every setting into every compressor, then runs the reactions that
    // depend on which parameter changed. An empty ID is a full refresh.
    void parameterChanged (const juce::String& parameterID, float newValue) override;

    // Message thread, every 50 ms for the processor's whole life: rebuilds the
    // oversamplers requested from other threads and tells the host of the
    // parameters the plug-in wrote itself.
    void timerCallback() override;

    // Write the tempo-derived times (with offsets; the first also with tilt)
    // into the attack, hold and release parameters so the knobs show them.
    void updateTimingParametersForBPMSync();
    void updateBPMSyncUIParameters();

    // One block of the automatic gain and threshold assistants, from the
    // block's input RMS (after input gain) and its RMS and peak after
    // compression, all in dB, and its length. makeupForBlock returns the
    // make-up to apply.
    struct BlockLevels
    {
        float inputDb, outputDb, outputPeakDb;
        double seconds;
    };
    float makeupForBlock (const BlockLevels&);
    void stepAutoThreshold (const BlockLevels&);

    // The factor by which tilt moves a time along the note grid, at the tempo in use.
    float calculateTiltMultiplierForValue (float timeMs, float tiltPercent) const;

    // The tempo the compressors follow: the typed one in free mode, else the host's.
    double tempoInUse() const { return bpmFreeMode ? manualBPM : savedBPM; }

    // Tempi outside this range are taken as its nearest end.
    static constexpr double maximumBPM = 999.0;

    // A tempo as the compressors may follow it: nothing when it is not finite
    // and positive, else capped at maximumBPM.
    static std::optional<double> usableTempo (double bpm);

    // Takes a tempo read from a saved state as the host's last tempo.
    // Ignored unless finite and positive; capped at maximumBPM.
    void restoreSavedBPM (double bpm);

    // Makes the tree the live parameter state with its values final, as a
    // host state, a preset or an A/B slot holds them, then refreshes the
    // compressors.
    void applyFinalState (juce::ValueTree);

    //==========================================================================
    // Set when the tempo-sync display must be refreshed; the editor clears it.
    std::atomic<bool> bpmSyncUiDirty { true };

    // Display preferences, saved with the host state.
    bool showCmpCurve = true;
    bool showOutCurve = true;
    bool showDirtEffect = true;
    bool glowEnabled = false;
    bool showWaveformBars = true;
    bool ecoMode = false;
    juce::String pendingPresetName;
    std::atomic<bool> kneeGlowEnabled { true };

    juce::AudioProcessorValueTreeState parameters;

    std::vector<std::unique_ptr<PhysicsCompressor>> compressors;

    std::unique_ptr<PresetManager> presetManager;

    //==========================================================================
    // Audio path.
    double sampleRate = 44100.0;
    double savedBPM = 120.0;
    std::atomic<bool> hostIsPlaying { false }; // written by the audio thread, read by the editor

    int lookaheadSamples = 0;
    std::atomic<bool> lookaheadActive { false };
    std::atomic<bool> lookaheadChangePending { false };

    std::vector<BlockDelay> dryDelayLines;
    std::vector<std::vector<float>> dryBuffers;
    std::vector<BlockDelay> bypassDelayLines;
    std::vector<BlockDelay> lookaheadDelayLines;

    int appliedOversamplingLatency = 0;
    int reportedLatency = -1;

    juce::SmoothedValue<float> inputGainSmoother { 0.0f };
    juce::SmoothedValue<float> outputGainSmoother { 0.0f };
    juce::SmoothedValue<float> makeupGainSmoother { 0.0f };

    //==========================================================================
    // Analysis data for the editor: written by the audio thread only, read by
    // the editor's timer without a lock.
    float inputMeterLevel = 0.0f;
    std::atomic<float> rangeWarningGlow { 0.0f };
    float rangeGlowLevel = 0.0f;
    double rangeGlowHoldSeconds = 0.0; // left before the glow starts to fall
    static constexpr double rangeGlowHoldTime = 1.0;
    std::atomic<bool> clipIndicator { false };
    std::atomic<juce::uint64> clipTimeMs { 0 };
    std::atomic<float> makeupGainInUseDb { 0.0f };

    static constexpr int historySize = 2048;
    static constexpr int snapshotSize = 1024;
    std::vector<float> inputHistoryRing;
    std::atomic<int> inputHistoryWritePos { 0 };
    float inputHistoryEnvelope = 0.0f;
    std::vector<float> grHistoryRing;
    std::atomic<int> grHistoryWritePos { 0 };

    // The last 1024 history entries, oldest first. The editor reads the one
    // `frontSnapshot` names while the audio thread fills the other.
    struct WaveformSnapshot
    {
        std::vector<float> input, gainReduction;
        int writePos = 0;
        std::atomic<bool> ready { false };
    };
    std::array<WaveformSnapshot, 2> waveformSnapshots;
    std::atomic<int> frontSnapshot { 0 };
    int displayFrameCounter = 0;
    int displayFrameSamples = 735;

    //==========================================================================
    // The assistants only listen to blocks louder than this (input RMS).
    static constexpr float assistantSignalFloorDb = -40.0f;

    // Automatic gain: a run ends after this many seconds of signal or this
    // many on `secondsClock`, whichever comes first.
    static constexpr double autoGainSignalLimit = 2.5;
    static constexpr double autoGainTimeLimit = 10.0;
    bool autoGainLearning = false;
    float learnedMakeupDb = 0.0f;
    float predictedPeakDb = -100.0f;
    std::atomic<double> autoGainSignalSeconds { 0.0 };
    double autoGainStartTime = 0.0;

    // Automatic threshold, with its limits in seconds. Measuring takes a set
    // amount of signal; the signal limit ends a run that a host rendering
    // faster than real time would otherwise let go far beyond the time limit.
    enum class AutoThresholdState
    {
        idle,
        rampingRatio,
        measuring,
        adjusting,
        finishing
    };
    static constexpr double autoThresholdMeasuringTime = 0.6;
    static constexpr double autoThresholdSignalLimit = 28.0;
    static constexpr double autoThresholdTimeLimit = 25.0;
    std::atomic<AutoThresholdState> autoThresholdState { AutoThresholdState::idle };
    bool autoThresholdActive = false;
    bool autoThresholdIntelligent = false; // the variant chosen when the run started
    float autoThresholdDb = 0.0f;
    float autoRatio = 0.0f;
    // Signal blocks and seconds since measuring began.
    std::atomic<int> autoThresholdBlocks { 0 };
    std::atomic<double> autoThresholdSignalSeconds { 0.0 };
    double autoThresholdStartTime = 0.0;
    float savedRangeDb = 0.0f;
    float peakReductionDb = 0.0f;
    float smoothedInputDb = -100.0f;
    float minReductionDb = 100.0f, maxReductionDb = -100.0f;
    int nearRangeBlocks = 0;
    int reductionBlocks = 0;
    float savedThresholdDb = 0.0f, savedRatio = 0.0f, savedMakeupDb = 0.0f;

    // Seconds on the framework's monotonic millisecond clock, for the
    // assistants' time limits and the clip time; tests and the offline
    // renderer replace it.
    std::function<double()> secondsClock = [] { return juce::Time::getMillisecondCounterHiRes() / 1000.0; };

    //==========================================================================
    // Tempo sync and tilt.
    float baseAttackMs = 0.0f, baseHoldMs = 0.0f, baseReleaseMs = 0.0f;
    float bpmSyncAttackOffset = 0.0f, bpmSyncHoldOffset = 0.0f, bpmSyncReleaseOffset = 0.0f;
    bool bpmSyncWasOn = false;
    std::atomic<bool> timingUpdateInProgress { false };
    // While a host state, a preset or an A/B slot is applied its values are
    // final: the reactions that would derive times, offsets or the tempo mode
    // from them stand aside.
    std::atomic<bool> restoringState { false };
    double manualBPM = 120.0;
    bool bpmFreeMode = false;

private:
    static const juce::StringArray& reactingParameterIDs();

    std::atomic<float>* rawValue (const char* parameterID) const;
    void setParameterFromPlainValue (const char* parameterID, float plainValue);

    // Every parameter write the plug-in makes itself. A VST3 wrapper drops the
    // host notifications made while it applies a change from the host, on the
    // thread applying it: those are the writes of a parameter reaction. Such a
    // write is also marked (lock-free, any thread) and announced again from the
    // message thread. The assistants' writes from the audio path reach the
    // host as they are.
    void writeParameter (juce::RangedAudioParameter&, float normalisedValue);
    void announceWrittenParameters();
    std::atomic<juce::uint64> parametersToAnnounce { 0 };
    static thread_local bool reactionRunning; // on this thread, in parameterChanged

    // Audio-path steps.
    void followHostTempo();
    void writeDisplayHistory (const juce::AudioBuffer<float>&);
    void takeSnapshotIfDue (int numSamples);
    void updateClipIndicator (float outputPeak);
    void updateRangeWarningGlow (double blockSeconds);
    void processBypassed (juce::AudioBuffer<float>&);
    void applyGainRamp (juce::SmoothedValue<float>&, float target, juce::AudioBuffer<float>&);
    void applyOversamplingLatency (bool oversampled);
    void applyPendingLookaheadChange();
    void reportLatency();
    void delayAndCaptureDry (int channel, float* samples, int numSamples, bool captureDry);
    void compressChannels (juce::AudioBuffer<float>&, bool oversampled);
    static void compressOversampled (PhysicsCompressor* const* compressors, float* const* channels, int numChannels,
                                     int numSamples);
    // One channel, or two side by side.
    static void compressGroup (PhysicsCompressor* const* compressors, float* const* channels, int numChannels,
                               int numSamples, bool oversampled);
    void applyMakeupAndMix (juce::AudioBuffer<float>&, float mix, bool dryCaptured);
    static void protectOutput (juce::AudioBuffer<float>&);

    // Automatic gain and threshold.
    void startAutoThreshold();
    void cancelAutoThreshold();
    void clearReductionStatistics();
    void updateReductionStatistics (float reduction);
    int countThresholdBlock (double seconds);
    void adjustAutoThreshold (const BlockLevels&, float reduction);
    void moveParameterTowards (const char* parameterID, float plainTarget, float fraction);

    // Parameter reactions.
    void refreshCompressor (PhysicsCompressor&);
    void takeBaseTimesFromParameters();
    void applyTilt();
    bool hasTimeParameters() const;
    void applyTiltTo (float& attack, float& hold, float& release) const;
    void writeTimeParameters (float attack, float hold, float release);
    void storeTimeChange (const juce::String& parameterID);
    void rescaleOffsetsForTempoChange (double oldBPM, double newBPM);

    // Oversampler rebuilds allocate, so they run on the message thread: at once
    // when the request comes from there, else from timerCallback. The audio
    // thread processes without oversampling while a request is pending.
    void rebuildPendingOversamplers();
    std::atomic<bool> compressorsInUse { false };

    // Whether the block runs through the oversamplers: all of them or none,
    // decided once per block after marking the compressors in use, so that no
    // rebuild finishes between this decision and the processing it governs.
    bool oversamplersReady() const;

    // Host state.
    void restoreSettings (const juce::XmlElement&);
    void settleParametersOnValuesInForce();
    void writeValuesInForceIntoTree();
    void applyRangeRules();

    // Raw (denormalised) parameter values, looked up once; null when the tree
    // has no parameter of that ID.
    std::atomic<float>* thresholdParam = nullptr;
    std::atomic<float>* ratioParam = nullptr;
    std::atomic<float>* attackParam = nullptr;
    std::atomic<float>* releaseParam = nullptr;
    std::atomic<float>* holdParam = nullptr;
    std::atomic<float>* holdBypassParam = nullptr;
    std::atomic<float>* kneeParam = nullptr;
    std::atomic<float>* rangeParam = nullptr;
    std::atomic<float>* physicsModeParam = nullptr;
    std::atomic<float>* forceMultiplierParam = nullptr;
    std::atomic<float>* dampingParam = nullptr;
    std::atomic<float>* releaseModeParam = nullptr;
    std::atomic<float>* rangeExtremeParam = nullptr;
    std::atomic<float>* forceExtremeParam = nullptr;
    std::atomic<float>* dampingExtremeParam = nullptr;
    std::atomic<float>* bpmSyncParam = nullptr;
    std::atomic<float>* bpmSyncModeParam = nullptr;
    std::atomic<float>* bypassParam = nullptr;
    std::atomic<float>* tiltParam = nullptr;
    std::atomic<float>* makeupGainParam = nullptr;
    std::atomic<float>* inputGainParam = nullptr;
    std::atomic<float>* outputGainParam = nullptr;
    std::atomic<float>* autoGainParam = nullptr;
    std::atomic<float>* mixParam = nullptr;
    std::atomic<float>* safetyParam = nullptr;
    std::atomic<float>* stabilityParam = nullptr;
    std::atomic<float>* scHPFParam = nullptr;
    std::atomic<float>* oversamplingParam = nullptr;
    std::atomic<float>* autoThresholdParam = nullptr;
    std::atomic<float>* intAutoParam = nullptr;
    std::atomic<float>* lookaheadParam = nullptr;
    std::atomic<float>* noteGridParam = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TarnwellCompressorAudioProcessor)
};
