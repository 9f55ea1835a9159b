#pragma once

#include "PhysicsCompressor.h"

// The compressor's per-sample algorithm written out the plain way: one sample
// at a time, std::log10 and std::pow, one branch per rule. It is slow on
// purpose and serves as the yardstick for the optimised processInternal.
//
// It copies the settings, the coefficients the set-up computed and the signal
// state of a configured compressor, and from then on runs on its own copy.
class ReferenceCompressor
{
public:
    explicit ReferenceCompressor (const PhysicsCompressor& configured);

    // In place. When oversampled the control part runs on every
    // oversamplingFactor-th sample of the block, counted from its start.
    void process (float* samples, int numSamples, bool oversampled);

    // One sample; the control part runs when runControl is set.
    float processSample (float x, bool runControl);

    float gainReductionDb() const { return state.gainReductionDb; }

private:
    struct Settings
    {
        float thresholdDb, ratio, kneeDb, rangeDb;
        int physicsMode;
        float safety, stability;
        float scB0, scB1, scB2, scA1, scA2;
        float bigChangeThresholdDb;
        float forceMultiplier, damping;
        int releaseMode;
        bool rangeExtreme, forceExtreme, dampingExtreme;
        int oversamplingFactor;
        double sampleRate;
        float attackCoeff, releaseCoeff;
        float mass, peakHoldDecay;
        float effectiveHoldMs, effectiveReleaseMs;
    };

    struct State
    {
        float scX1, scX2, scY1, scY2;
        float previousStaticReductionDb;
        bool bigChange;
        float gainReductionDb, envelopeDb;
        float holdTimerMs, holdLevelDb;
        float velocity, position, force, acceleration;
        float smoothedGain;
        float detectorDb, peakHoldDb;
        bool peakDropping;
        float stabilityReductionDb;
    };

    float filterDetectorInput (float x);
    void runControlStep (float detectorInput);
    void followPeak (float levelDb);
    float targetReductionDb (float levelDb);
    float applyHold (float targetDb, float levelDb);
    float followEnvelope (float targetDb);
    float moveAir (float envelopeDb);
    float moveBox (float envelopeDb);
    bool safetyActive() const;

    Settings settings;
    State state;
};
