#pragma once

#include "PolyphaseOversampler.h"

#include <juce_dsp/juce_dsp.h>

#include <cstdint>

// One channel of the compressor: level detector, static curve shaped by the
// physics mode, stability, hold, attack/release envelope and a damped moving
// mass that follows the envelope. The processor writes the public settings
// directly and then calls the set-up functions; processInternal runs on the
// audio thread and only reads what the set-up computed.
class PhysicsCompressor
{
public:
    //==========================================================================
    // Settings and state. Levels in dB, times in ms, reductions as negative dB.
    float thresholdDb = -20.0f;
    float ratio = 2.0f;
    float attackMs = 10.0f;
    float releaseMs = 100.0f;
    float holdMs = 0.0f;
    float kneeDb = 2.0f;
    float rangeDb = 40.0f;
    int physicsMode = 2;              // 0 Standard, 1 Light, 2 Medium, 3 Heavy
    double tempoFactor = 1.0;         // tempo / 120 BPM
    int bpmSyncMode = 0;              // 0 Normal, otherwise Advanced
    bool bpmSyncEnabled = false;
    float tilt = 0.0f;                // percent, -100..100
    float safety = 0.0f;              // percent
    float stability = 0.0f;           // percent
    float sidechainHpfHz = 0.0f;      // 0 = filter off

    float scX1 = 0.0f, scX2 = 0.0f, scY1 = 0.0f, scY2 = 0.0f;
    float scB0 = 0.0f, scB1 = 0.0f, scB2 = 0.0f, scA1 = 0.0f, scA2 = 0.0f; // scB0 == 0 bypasses

    float previousStaticReductionDb = 0.0f; // positive dB
    float bigChangeThresholdDb = 4.0f;
    bool bigChange = false;

    float attackOffsetMs = 0.0f, holdOffsetMs = 0.0f, releaseOffsetMs = 0.0f;

    float forceMultiplier = 1.0f;     // 0.05..100
    float damping = 1.0f;             // 1..10000
    int releaseMode = 0;              // 0 BOX, 1 AIR
    bool rangeExtreme = false, forceExtreme = false, dampingExtreme = false;

    int oversamplingFactor = 1;       // factor in use: 1, 4 or 8
    int requestedOversamplingFactor = 1;
    std::unique_ptr<PolyphaseOversampler> oversampler;
    int oversamplingLatency = 0;      // host-rate samples
    std::atomic<bool> oversamplingUpdatePending { false };

    double sampleRate = 44100.0;      // always the host rate, also when oversampled

    float gainReductionDb = 0.0f;
    float envelopeDb = 0.0f;
    float attackCoeff = 0.0f, releaseCoeff = 0.0f;
    float holdTimerMs = 0.0f;
    float holdLevelDb = 0.0f;
    float mass = 1.0f;
    float velocity = 0.0f, position = 0.0f, force = 0.0f, acceleration = 0.0f;
    float smoothedGain = 1.0f;
    float detectorDb = -100.0f;
    float peakHoldDb = -100.0f;
    bool peakDropping = false;
    float peakHoldDecay = 0.999f;
    float stabilityReductionDb = 0.0f;
    float effectiveAttackMs = 10.0f;
    float effectiveHoldMs = 0.0f;
    float effectiveReleaseMs = 100.0f;

    // Largest block the host announced; the oversampler is sized for it.
    int maxBlockSize = 0;

    //==========================================================================
    static constexpr float modeMasses[4] = { 0.0f, 0.2f, 0.8f, 2.0f };
    static constexpr float tiltGridBeats[10] = { 1.0f / 128.0f, 1.0f / 64.0f, 1.0f / 32.0f, 1.0f / 16.0f, 1.0f / 8.0f,
                                                 1.0f / 4.0f,   1.0f / 2.0f,  1.0f,         2.0f,         4.0f };

    //==========================================================================
    // Set-up (message thread or the thread that changed a parameter).

    // Brings a freshly constructed compressor to the host rate. Does not clear
    // the signal state: the processor makes a new compressor per preparation.
    void prepare (double hostSampleRate, int hostMaxBlockSize);

    // Effective times (tempo sync, tilt) and the two envelope coefficients.
    void updateCoefficients();

    // The factor by which a tilt moves a time towards its neighbour on the
    // note grid, at this compressor's tempo.
    float calculateTiltMultiplierForValue (float timeMs, float tiltPercent) const;

    // The same at a given tempo; shared with the processor.
    static float calculateTiltMultiplier (float timeMs, float tiltPercent, double bpm);

    // Butterworth high-pass coefficients from sidechainHpfHz and sampleRate.
    void updateSidechainFilter();

    // Switches the mode; a real change drops the old mode's hold and mass state.
    void setPhysicsMode (int newMode);

    // Oversampling choice 0/1/2 -> factor 1/4/8. Only marks the request; the
    // allocation happens in updateOversamplingIfNeeded.
    void requestOversampling (int choiceIndex);
    static int oversamplingFactorForChoice (int choiceIndex) noexcept;

    // True when a block may run through the oversampler: one is built for a
    // factor of at least 2 and no other factor is waiting to replace it. The
    // request flag is read first: it stays set for the whole of a rebuild.
    bool isOversamplerReady() const noexcept
    {
        return ! oversamplingUpdatePending.load() && oversampler != nullptr && oversamplingFactor >= 2;
    }

    // The most host samples the oversampler takes in one call.
    int oversamplerBlockLimit() const noexcept { return std::max ((int) (sampleRate / 44.1), maxBlockSize); }

    // Applies a pending request. Allocates: never call it while a block of
    // this compressor is being processed.
    void updateOversamplingIfNeeded();

    //==========================================================================
    // Audio thread. In place; when oversampled the control part runs on every
    // oversamplingFactor-th sample only. A non-finite sample counts as silence
    // for the detector and passes through non-finite; the processor zeroes it.
    // Allocates nothing and takes no lock.
    void processInternal (float* samples, int numSamples, bool oversampled) noexcept;

    // Two channels, each with the result processInternal gives it alone. The
    // two recursions run side by side, so each one's wait for its previous
    // step overlaps the other's work.
    static void processPair (PhysicsCompressor& first, PhysicsCompressor& second, float* firstSamples,
                             float* secondSamples, int numSamples, bool oversampled) noexcept;

    // The target reduction (<= 0 dB) of one control step at this level: static
    // curve, safety knee and mode shaping. Updates the big-change tracking as
    // a control step does, so not for use while a block is being processed.
    float computeTargetReductionDb (float levelDb) noexcept;

private:
    // A block is worked through in chunks, pass by pass: the sidechain
    // filter, the detector logarithms, the static curve, the control steps,
    // the linear gains and the gain smoothing. The passes without state
    // vectorise, and the recursive ones keep their state in registers.
    static constexpr int chunkSize = 64;

    struct ControlSteps
    {
        int count = 0;
        float detectorInput[chunkSize];
        float levelDb[chunkSize];
        float plainReductionDb[chunkSize];
        std::int32_t bigChange[chunkSize]; // as wide as the floats, so the curve pass vectorises
        float shapeGain[chunkSize];
        float targetDb[chunkSize];
        float reductionDb[chunkSize];
        float gain[chunkSize];
    };

    // The state carried from control step to control step, worked on as a
    // local copy so that it stays in registers.
    struct StepState
    {
        float peakHoldDb;
        bool peakDropping;
        float stabilityReductionDb, holdTimerMs, holdLevelDb, envelopeDb, gainReductionDb;
        float position, velocity, force, acceleration;
    };

    // What the force setting contributes to the mass stage.
    struct ForceTerms
    {
        float force;              // after the safety boost
        float scaledForce;        // force scale 2 times force
        float heavyScaledForce;   // heavy mode's larger scale times force, for deepening moves
        float accelerationFactor;
        float boostFactor;        // extra speed for large displacements
        float velocityStep;       // velocity change per unit of scaled force and step
        bool deepens;             // heavy mode with extra force: the heavy scale applies to deepening moves
        float velocityGain, heavyVelocityGain; // the scales times velocityStep
    };

    // The static curve's settings, resolved for the mode.
    struct CurveSettings
    {
        float thresholdDb, slope;
        float plainLimitDb, shapedLimitDb;  // before and after the mode's factor
        float kneeDb, halfKneeDb, halfBigChangeKneeDb; // a negative half width: no knee
        float bigChangeThresholdDb;
        float forceBoostFactor;             // 1 without the boost
        bool shaped;
        float shapeWeight, shapeExponent;
    };

    // Settings turned into the factors the control steps use, once per block.
    struct BlockSettings
    {
        CurveSettings curve;
        float peakHoldDecay, peakDropThresholdDb;
        float stabilityWeight;
        bool holdActive;
        float holdStepMs, holdLimitMs;
        float holdRestartLevelDb;          // a level above this ends a long hold
        float attackCoeff, slowAttackCoeff;
        bool slowAttackPossible;
        float releaseCoeff;
        bool dampedRelease;
        float log2ReleaseCoeff, inverseReleaseDepth, releaseDamping, releaseExponentScale;
        bool massless, air, boostable;
        float airAttackRate, airReleaseRate;
        ForceTerms forceTerms, boostedForceTerms; // without and with the safety boost
        float inverseSampleRate, inverseMass, dampingFactor;
        bool heavyDamping;
        float heavyDampingFactor, maxSpeed, travelDb;
        bool extraSettling;
        float extraSettlingRate, extraSettlingScale;
    };

    // One channel's block in progress: where its chunk lies, its settings,
    // the gain held between control steps and the chunk's control steps.
    struct BlockRun
    {
        PhysicsCompressor& compressor;
        float* samples;
        int controlStep;
        BlockSettings settings;
        float heldGain;
        int chunkStart = 0, chunkLength = 0, firstControl = 0;
        ControlSteps steps {};
    };

    BlockSettings captureBlockSettings() const noexcept;
    CurveSettings curveSettings() const noexcept;
    ForceTerms forceTermsFor (float forceValue) const noexcept;

    int controlStepFor (bool oversampled) const noexcept { return oversampled ? std::max (oversamplingFactor, 1) : 1; }
    BlockRun startBlock (float* samples, bool oversampled) noexcept;
    static forcedinline void prepareChunk (BlockRun& run, int start, int length) noexcept;
    static forcedinline void finishChunk (BlockRun& run) noexcept;

    forcedinline void filterDetectorInputs (const float* samples, int numSamples, int firstControl, int controlStep,
                                      ControlSteps& steps) noexcept;
    static forcedinline void measureLevels (ControlSteps& steps) noexcept;
    forcedinline void shapeTargets (ControlSteps& steps, const CurveSettings& curve) noexcept;
    static forcedinline void runControlSteps (BlockRun& run) noexcept;
    static forcedinline void runControlStepsSideBySide (BlockRun& first, BlockRun& second) noexcept;
    static forcedinline float controlStep (StepState& state, float levelDb, float staticTargetDb, bool bigChangeNow,
                                     const BlockSettings& k) noexcept;
    forcedinline void finishControlSteps (const StepState& state, const ControlSteps& steps) noexcept;
    static forcedinline void convertToGains (ControlSteps& steps) noexcept;
    static forcedinline void applyGains (BlockRun& run) noexcept;
    static forcedinline void applyGainsSideBySide (BlockRun& first, BlockRun& second) noexcept;

    static forcedinline void followPeak (StepState& state, float levelDb, const BlockSettings& k) noexcept;
    static forcedinline float plainReductionDb (float levelDb, const CurveSettings& c) noexcept;
    static forcedinline float halfKneeFor (bool bigChangeNow, const CurveSettings& c) noexcept;
    static forcedinline bool insideKnee (float levelDb, bool bigChangeNow, const CurveSettings& c) noexcept;
    static forcedinline float kneeCurveDb (float levelDb, bool bigChangeNow, const CurveSettings& c) noexcept;
    static forcedinline float shapeGainFor (float base, const CurveSettings& c) noexcept;
    static forcedinline float finishTargetDb (float overDb, float shapeGain, const CurveSettings& c) noexcept;
    static forcedinline float applyStability (StepState& state, float targetDb, const BlockSettings& k) noexcept;
    static forcedinline float applyHold (StepState& state, float targetDb, float levelDb, const BlockSettings& k) noexcept;
    static forcedinline float followEnvelope (StepState& state, float targetDb, const BlockSettings& k) noexcept;
    static forcedinline float moveAir (StepState& state, float envelope, const BlockSettings& k) noexcept;
    static forcedinline float moveBox (StepState& state, float envelope, const ForceTerms& f, const BlockSettings& k) noexcept;

    inline StepState loadStepState() const noexcept;
    inline void storeStepState (const StepState& state) noexcept;
    void applyTempoSync();
    void applyTilt();
};
